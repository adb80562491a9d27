#pragma once
// Splits an SQL file (the schema steps, the demo company) into its statements.
#include <QString>
#include <QStringList>

namespace qmx44::db {

// Statements end at ';' outside string literals (dollar-quoted ones, "$$ ... $$" and
// "$tag$ ... $tag$", included), quoted identifiers and comments ("-- ..." to the end of
// the line, "/* ... */"). Comments are dropped; statements that
// are empty once trimmed are left out. An SQLite trigger is one statement: the
// semicolons of its body (BEGIN ... END) do not end it.
QStringList splitSqlScript(const QString &script);

} // namespace qmx44::db
