// The widget test programs (qmx44_add_test WIDGETS) run with a QApplication on the
// offscreen platform unless QT_QPA_PLATFORM names another (the one test under a virtual X
// server), made before the first test and removed after the last.
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "qmx44_test";
        static char *argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

::testing::Environment *const kGuiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace
