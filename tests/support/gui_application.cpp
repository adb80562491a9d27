// Every test program runs with a QGuiApplication on the offscreen platform, made before
// the first test and removed after the last, as the product's executables do: printing
// draws PDFs. qmx44_add_test adds this source to every program. A program that made its
// own application keeps it. The widget tests (qmx44_add_test WIDGETS, built with
// QMX44_WIDGET_TESTS) get a QApplication, on the platform QT_QPA_PLATFORM names when set
// (the one test under a virtual X server).
#ifdef QMX44_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
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
        m_app = std::make_unique<TestApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<TestApplication> m_app;
};

::testing::Environment *const kGuiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace
