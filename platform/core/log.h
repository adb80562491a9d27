#pragma once
// The program's log: one line per event, appended to a file that several qmx44 processes
// may share (a department's clerks on one account, the load test's clerks). Off until a
// program turns it on with openLog(): libraries write to it freely and nothing is written
// when no program asked for it (unit tests, tools).
//
// A line: "2026-01-31T17:04:05.123Z 4242 ERROR text" (UTC time with milliseconds, process
// id, level, text on one line). Each line goes to the file in one write on a file opened
// for appending, so lines of processes writing at once never mix. When the file reaches
// its limit it is rotated: FILE.2 becomes FILE.3, FILE.1 becomes FILE.2, FILE becomes
// FILE.1, and a new FILE is started; a process still writing to the old file writes into
// FILE.1, so no line is lost.
//
// Nothing secret is written: callers name a database by ConnectionSpec::display().
#include <QString>
#include <QtGlobal>

namespace qmx44::log {

enum class Level { Info, Warning, Error };

struct LogOptions {
    qint64 rotateAt = 1024 * 1024; // bytes
    int kept = 3;                  // rotated files kept besides the current one
};

// Appends from now on to FOLDER/qmx44.log, making FOLDER when missing. A log that cannot
// be opened turns the log off with one warning on standard error; the program goes on.
// True when the log is on.
bool openLog(const QString &folder, const LogOptions &options = {});
// Turns the log off (closes the file).
void closeLog();
// The file being written, empty when the log is off.
QString logFile();

void write(Level level, const QString &text);
inline void info(const QString &text)
{
    write(Level::Info, text);
}
inline void warning(const QString &text)
{
    write(Level::Warning, text);
}
inline void error(const QString &text)
{
    write(Level::Error, text);
}

} // namespace qmx44::log
