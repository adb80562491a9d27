#pragma once
// The table of `qmx44` subcommands. Each subcommand lives in its own source file under
// commands/ and adds itself to the table with one QMX44_COMMAND line, so a new
// subcommand is one more file.
#include <QString>
#include <QStringList>
#include <vector>

namespace qmx44::apps {

// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the job failed (bad database, missing plug-in...)
inline constexpr int kExitUsage = 2;   // the command line was wrong
// A start that cannot go on, nothing written (see StartFailure):
inline constexpr int kExitUnreachable = 3; // the database cannot be reached or opened
inline constexpr int kExitSchema = 4;      // the database is empty, not ours, or newer than the program
inline constexpr int kExitUnknownUser = 5; // the user is unknown to the database, or it has no users

struct Command {
    QString name;                        // "init-db"
    QString synopsis;                    // "[--demo] CONNECTION"
    QString summary;                     // one line for --help
    QString options;                     // "--db CONNECTION\tthe database...\n..." for COMMAND --help
    int (*run)(const QStringList &args); // args after the subcommand's name
};

// `qmx44 COMMAND --help`: the usage, what the command does and each option or argument.
QString commandHelp(const Command &command);

// Every registered subcommand, sorted by name.
const std::vector<Command> &commands();
const Command *findCommand(const QString &name);

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

} // namespace qmx44::apps

#define QMX44_CONCAT_(a, b) a##b
#define QMX44_CONCAT(a, b) QMX44_CONCAT_(a, b)
// Adds a subcommand to the table:
// QMX44_COMMAND("name", "synopsis", "summary", "OPTION\tmeaning\n...", function).
#define QMX44_COMMAND(name, synopsis, summary, options, function)                                                      \
    static const ::qmx44::apps::CommandRegistration QMX44_CONCAT(qmx44_command_, __LINE__)                             \
    {                                                                                                                  \
        ::qmx44::apps::Command                                                                                         \
        {                                                                                                              \
            QStringLiteral(name), QStringLiteral(synopsis), QStringLiteral(summary), QStringLiteral(options), function \
        }                                                                                                              \
    }
