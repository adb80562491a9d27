// Every test program runs with a QGuiApplication on the offscreen platform, made before
// the first test and removed after the last, as the product's executables do: printing
// draws PDFs. qmx44_add_test adds this source to every program. A program that made its
// own application keeps it. The widget tests (qmx44_add_test WIDGETS, built with
// QMX44_WIDGET_TESTS) get a QApplication, on the platform QT_QPA_PLATFORM names when set
// (the one test under a virtual X server). The programs tests start log into the build
// tree unless QMX44_LOG_DIR says otherwise.
#ifdef QMX44_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        // Nothing a test does keeps drafts in the user's own data folder.
        if (m_dataHome.isValid())
            qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef QMX44_TEST_LOG_DIR
        // The qmx44 processes a test starts keep their log in the build tree, never in the
        // user's own state folder.
        if (qEnvironmentVariableIsEmpty("QMX44_LOG_DIR"))
            qputenv("QMX44_LOG_DIR", QMX44_TEST_LOG_DIR);
#endif
        static int argc = 1;
        static char name[] = "qmx44_test";
        static char *argv[] = {name, nullptr};
        m_app = std::make_unique<TestApplication>(argc, argv);
    }
    void TearDown() override
    {
        m_app.reset();
    }

private:
    QTemporaryDir m_dataHome;
    std::unique_ptr<TestApplication> m_app;
};

::testing::Environment *const kGuiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace
