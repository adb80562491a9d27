// qmx44: the host application and its tools. `qmx44 COMMAND [ARGS]`; see --help.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/gui/start_failure.h"
#include "apps/host_setup.h"
#include "platform/core/error.h"
#include "platform/core/log.h"
#include "ui/system_clipboard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <memory>
#include <optional>

using namespace qmx44::apps;

namespace {

void printHelp()
{
    QString text = QStringLiteral("usage: qmx44 [COMMAND] [ARGS]\n       qmx44 --version\n\ncommands:\n");
    for (const Command &c : commands())
        text += QStringLiteral("  %1 %2\n      %3\n").arg(c.name, c.synopsis, c.summary);
    text += QStringLiteral("\nqmx44 COMMAND --help tells more of a command. Without a command, qmx44 is the "
                           "desktop application (gui).\n"
                           "CONNECTION is an SQLite file (PATH or sqlite:PATH), a PostgreSQL URL "
                           "(postgresql://user@host:port/db) or odbc:DSN.\n"
                           "The screen component is taken from $QMX44_COMPONENT_PATH, else "
                           "~/.local/share/qmx44/components,\nelse from the component that came with qmx44.");
    printOut(text);
}

// The desktop application (`gui`, or no subcommand) needs widgets. The scenario runner
// prints documents, and drawing them needs Qt's graphical part: it gets one on the
// window-less "offscreen" platform unless the caller chose a platform.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    // The scenario runner's widget driver works the desktop application's windows.
    const bool script = argc >= 2 && qstrcmp(argv[1], "script") == 0;
    bool widgets = false;
    for (int i = 2; script && i < argc; ++i)
        widgets = widgets || qstrcmp(argv[i], "--widgets") == 0;
    if (widgets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 2 || qstrcmp(argv[1], "gui") == 0 || widgets) {
        QCoreApplication::setOrganizationName(QStringLiteral("qmx44"));
        QCoreApplication::setApplicationName(QStringLiteral("qmx44"));
        auto app = std::make_unique<QApplication>(argc, argv);
        // Every window's icon, and the desktop entry a window system matches the
        // windows to (its icon and name in a task bar).
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/qmx44/qmx44.png")));
        QGuiApplication::setDesktopFileName(QStringLiteral("qmx44"));
        qmx44::ui::useSystemClipboard();
        return app;
    }
    if (script) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// The database a command works on, for the log: named without its password, never by
// the raw string. Empty for commands without one.
QString databaseOf(const QString &command, QStringList args)
{
    std::optional<QString> connection;
    try {
        connection = takeOption(args, QStringLiteral("db"));
    } catch (const UsageError &) {
    }
    if (command == u"gui" || command == u"run" || command == u"rebate") {
        try {
            connection = resolveConnection(connection);
        } catch (const StartFailure &) {
            return QString(); // the command reports it
        }
    } else if (command == u"script" && !connection)
        connection = QStringLiteral(":memory:");
    else if (command == u"init-db" && !args.isEmpty())
        connection = args.last();
    return connection ? QStringLiteral(", database ") + displayedConnection(*connection) : QString();
}

// A start that cannot go on: on standard error, in the log and, in the desktop application
// on a real screen, in a dialog (never on the window-less platforms, where nobody could
// close it).
int reportStartFailure(const QString &command, const StartFailure &failure)
{
    printError(command, failure.problem);
    if (!failure.advice.isEmpty())
        printError(command, failure.advice);
    qmx44::log::error(QStringLiteral("start failed, exit status %1: %2").arg(failure.status).arg(failure.text()));
    const QString platform = QGuiApplication::platformName();
    if (command == u"gui" && qobject_cast<QApplication *>(QCoreApplication::instance()) && platform != u"offscreen"
        && platform != u"minimal")
        gui::showStartFailure(failure.problem, failure.advice);
    return failure.status;
}

int runCommand(const Command &command, const QStringList &args)
{
    try {
        return command.run(args);
    } catch (const UsageError &e) {
        printError(command.name, e.text);
        printError(command.name, QStringLiteral("usage: qmx44 %1 %2").arg(command.name, command.synopsis));
        return kExitUsage;
    } catch (const StartFailure &failure) {
        return reportStartFailure(command.name, failure);
    } catch (const std::exception &e) {
        printError(command.name, qmx44::describe(e));
        qmx44::log::error(QStringLiteral("%1 failed: %2").arg(command.name, qmx44::describe(e)));
        return kExitFailure;
    }
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = makeApplication(argc, argv);
    QStringList args = app->arguments().mid(1);
    // No subcommand: the desktop application.
    const QString name = args.isEmpty() ? QStringLiteral("gui") : args.takeFirst();
    if (name == u"--help" || name == u"-h" || name == u"help") {
        printHelp();
        return kExitOk;
    }
    if (name == u"--version") {
        printOut(QStringLiteral("qmx44 " QMX44_VERSION));
        return kExitOk;
    }
    const Command *command = findCommand(name);
    if (!command) {
        printError(QString(), QStringLiteral("unknown command '%1' (see qmx44 --help)").arg(name));
        return kExitUsage;
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printOut(commandHelp(*command));
        return kExitOk;
    }
    // Every command's start and stop in the log, with the version and the database.
    qmx44::log::openLog(logFolder());
    const QString what = QStringLiteral("qmx44 " QMX44_VERSION " %1%2").arg(command->name, databaseOf(name, args));
    qmx44::log::info(QStringLiteral("start %1").arg(what));
    const int status = runCommand(*command, args);
    qmx44::log::info(QStringLiteral("stop %1, exit status %2").arg(what).arg(status));
    qmx44::log::closeLog();
    return status;
}
