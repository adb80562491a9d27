#pragma once
// Turns the screen's statements, written for a server with ISNULL and '+' on strings,
// into the SQL of the back-end that runs them.
#include "platform/db/connection.h"

#include <QString>

namespace qmx44::db {

// For SQLite and PostgreSQL: the function ISNULL( (any letter case, as a whole word)
// becomes COALESCE(, and a '+' with a string literal right beside it (blanks between
// do not count) becomes '||'. String literals ('' inside doubles a quote) and quoted
// identifiers are copied untouched, and so is everything else. For ODBC the text is
// returned as it is.
QString translate(const QString &tsql, Backend backend);

// A catalogue statement (the screen's dialect, giving CLAVE and DESCRIPCION, no ORDER BY
// of its own on ODBC) as the search runs it on `backend`: ordered by CLAVE, at most `limit`
// rows, and with `filtered` only the rows whose CLAVE or DESCRIPCION holds the text: then
// the statement takes containsPattern(text) bound twice. The filter is never spliced in.
QString catalogueSearchSql(const QString &statement, Backend backend, int limit, bool filtered);

// The pattern that finds `text` anywhere in a value on `backend`, without regard to letter
// case in any alphabet (each cased letter a class of both cases): a GLOB on SQLite, a
// regular expression on PostgreSQL, a LIKE pattern on ODBC. Every other character stands
// for itself.
QString containsPattern(const QString &text, Backend backend);

} // namespace qmx44::db
