#pragma once
// What the subcommands share: output on stdout/stderr, reading options, the default
// database and component plug-in, and the exit status of a failure.
#include <QString>
#include <QStringList>
#include <optional>

namespace qmx44::apps {

// "qmx44 <command>: <text>" on stderr.
void printError(const QString &command, const QString &text);
void printOut(const QString &text);

// Takes "--name VALUE" or "--name=VALUE" out of `args`. Throws UsageError when the
// option is given without a value.
std::optional<QString> takeOption(QStringList &args, const QString &name);
// Takes the flag "--name" out of `args`.
bool takeFlag(QStringList &args, const QString &name);

// A wrong command line: reported with the command's synopsis, exit status 2.
struct UsageError {
    QString text;
};
// Throws UsageError when an unknown option ("-x", "--x") is left in `args`.
void rejectUnknownOptions(const QStringList &args);

// The demo database used when nothing names another: ~/.local/share/qmx44/demo.sqlite.
QString defaultDatabase();

// The per-user configuration file, shared with the desktop application's window settings:
// $XDG_CONFIG_HOME/qmx44/qmx44.conf (~/.config/qmx44/qmx44.conf by default).
QString configurationFile();
// The key in the configuration file naming the database: [database] connection=...
inline constexpr const char *kConnectionKey = "database/connection";

// The database a command works on, first found of: the --db option, the environment
// variable QMX44_DB, the configuration file's database/connection, the demo database.
// An empty variable or key counts as not set; a key read as a list (an unquoted comma)
// throws StartFailure naming the file.
QString resolveConnection(const std::optional<QString> &dbOption);

// The database `connection` names, for messages and the log: without its password, and
// never the raw string when it cannot be read (it may hold one).
QString displayedConnection(const QString &connection);

// The folder of the log (platform/core/log.h): $QMX44_LOG_DIR, else $XDG_STATE_HOME/qmx44,
// else ~/.local/state/qmx44. An empty variable counts as not set.
QString logFolder();

// The component plug-in that comes with this executable: the installed one (in
// lib/qmx44/components beside the program's bin/), else the one in the build's
// components folder, else the executable's own folder. Empty when none is found.
QString builtComponent();

} // namespace qmx44::apps
