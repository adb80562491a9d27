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

} // namespace qmx44::db
