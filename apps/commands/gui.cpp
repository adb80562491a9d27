// `qmx44 gui [--db CONNECTION] [--user USER] [--walkthrough FOLDER]` (also `qmx44` alone):
// the desktop application. The database is prepared as `run` prepares it; the clerk signs
// in (unless --user names the user) and works in the main window. With --walkthrough the
// application goes through a clerk's work by itself, writing a picture of the window after
// each step and the printed note into FOLDER.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/gui/main_window.h"
#include "apps/gui/sign_in.h"
#include "apps/gui/startup_probe.h"
#include "apps/gui/walkthrough.h"
#include "apps/host_setup.h"
#include "component/prog_id.h"
#include "platform/db/connection_string.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QTimer>

namespace qmx44::apps {

namespace {

// The sign-in asked in dialogs.
class DialogCredentials : public Credentials {
public:
    bool interactive() const override { return true; }
    std::optional<LoginPassword> serverLogin(const QString &database, const QString &login,
                                             const QString &problem) override
    {
        // The first refusal is the server asking: no need to call it a problem.
        const bool noPasswordYet = problem.contains(QLatin1String("no password supplied"));
        const auto given =
            gui::askPassword(database, QStringLiteral("&Usuario de la base:"), login,
                             noPasswordYet ? QString() : QStringLiteral("El servidor rechazó la contraseña."));
        if (!given)
            return std::nullopt;
        return LoginPassword{given->user, given->password};
    }
    std::optional<QString> pickUser(db::Conexion &database) override { return gui::signIn(database); }
    std::optional<LoginPassword> userPassword(const QString &database, const QString &preset,
                                              const QString &problem) override
    {
        const auto given = gui::askPassword(database, QStringLiteral("&Usuario:"), preset, problem);
        if (!given)
            return std::nullopt;
        return LoginPassword{given->user, given->password};
    }
};

int runGui(const QStringList &arguments)
{
    QStringList args = arguments;
    const auto dbOption = takeOption(args, QStringLiteral("db"));
    const auto user = takeOption(args, QStringLiteral("user"));
    const auto walkthrough = takeOption(args, QStringLiteral("walkthrough"));
    rejectUnknownOptions(args);
    if (!args.isEmpty())
        throw UsageError{QStringLiteral("unexpected argument %1").arg(args.first())};
    const QString connection = resolveConnection(dbOption);
    // The walk-through signs in as whoever it likes and saves notes: only ever on a demo
    // database it makes itself.
    if (walkthrough) {
        db::ConnectionSpec spec;
        try {
            spec = db::parseConnectionString(connection);
        } catch (const RuntimeError &) {
        }
        if (spec.backend != db::Backend::Sqlite || spec.inMemory() || QFileInfo::exists(spec.path))
            throw StartFailure{kExitFailure,
                               QStringLiteral("The walk-through works only on a new demo database, and %1 is not one.")
                                   .arg(displayedConnection(connection)),
                               QStringLiteral("Give it an SQLite file that does not exist yet, e.g. --db "
                                              "/tmp/walkthrough.sqlite.")};
    }
    DialogCredentials credentials;
    HeadlessCredentials noDialogs;
    // An unknown --user, or nobody to sign in, ends the start here.
    // The walk-through works as a clerk of every branch unless told whom.
    const std::optional<QString> who = walkthrough && !user ? std::optional<QString>(QStringLiteral("CXP01")) : user;
    auto started = startOn(connection, {who, /*signIn=*/!walkthrough, /*usersNeeded=*/true},
                           walkthrough ? static_cast<Credentials &>(noDialogs) : credentials);
    if (!started)
        return kExitOk; // the clerk closed the sign-in
    std::shared_ptr<db::Conexion> database(std::move(started->database));
    const QString databaseName = displayedConnection(connection);

    if (walkthrough) {
        const bool ok =
            gui::runWalkthrough(database, started->user, builtComponent(), QDir(*walkthrough).absolutePath(),
                                [](const QString &line) { printOut(line); });
        if (!ok)
            printError(QStringLiteral("gui"), QStringLiteral("the walk-through met problems"));
        return ok ? kExitOk : kExitFailure;
    }

    // Printed notes are written beside the default database, in the user's data folder.
    const QString printed = QFileInfo(defaultDatabase()).absoluteDir().filePath(QStringLiteral("printed"));
    QDir().mkpath(printed);
    auto context = gui::makeContext(database, started->user, printed);
    // A note being entered is kept as a draft of this database in the user's data folder.
    context->draftDatabase = db::parseConnectionString(connection).identity();
    host::ScreenSession screen(context, component::ProgId, builtComponent());
    if (!componentFound(QStringLiteral("gui"), screen))
        return kExitFailure;
    gui::MainWindow window(screen, databaseName);
    window.show();
    if (gui::startupProbe() == u"screen") {
        QTimer::singleShot(0, &window, [&window] {
            QElapsedTimer clock;
            clock.start();
            if (QMdiSubWindow *opened = window.openScreen())
                gui::reportWhenPainted(opened->widget(), QStringLiteral("screen"), &clock);
        });
    }
    return QApplication::exec();
}

} // namespace

QMX44_COMMAND(
    "gui", "[--db CONNECTION] [--user USER] [--walkthrough FOLDER]",
    "the desktop application (also qmx44 alone); --walkthrough: a clerk's work, pictured step by step in FOLDER",
    "--db CONNECTION\tthe database (default: $QMX44_DB, the configuration file, then the demo database, created "
    "when missing)\n"
    "--user USER\tsigns USER in without asking\n"
    "--walkthrough FOLDER\tgoes through a clerk's work by itself, writing a picture of the window after each "
    "step and the printed note into FOLDER",
    runGui);

} // namespace qmx44::apps
