#pragma once
// One line of a scenario script read into its command and arguments: blanks separate
// arguments, an argument in double quotes may hold blanks (\" and \\ escape inside it),
// and for `exec` / `query` the rest of the line is kept whole as the SQL text.
#include <QString>
#include <QStringList>
#include <optional>

namespace qmx44::apps::script {

// A line the runner cannot carry out: the run stops with exit status 2 and this text,
// prefixed by the line number, on standard error.
struct ScriptError {
    QString text;
};

struct ScriptLine {
    int number = 0;   // counted from 1
    QString command;  // the first word as written
    QStringList args; // the arguments, quotes removed
    QString rest;     // everything after the command word and its blanks, as written
};

// Reads line `number`. Nothing for a blank line or a comment (first non-blank character
// '#'). Throws ScriptError for an unterminated quote or a closing quote glued to more
// text (`"a"b`).
std::optional<ScriptLine> parseLine(const QString &text, int number);

} // namespace qmx44::apps::script
