#pragma once
// Turns the screen's statements, written for a server with ISNULL and '+' on strings,
// into the SQL of the back-end that runs them.
#include "platform/db/connection.h"

#include <QString>
#include <QVariantList>

namespace qmx44::db {

// For SQLite and PostgreSQL: the function ISNULL( (any letter case, as a whole word)
// becomes COALESCE(, and a '+' with a string literal right beside it (blanks between
// do not count) becomes '||'. String literals ('' inside doubles a quote) and quoted
// identifiers are copied untouched, and so is everything else. For ODBC the text is
// returned as it is.
QString translate(const QString &tsql, Backend backend);

// A catalogue search as it runs on a back-end: its SQL and the values bound to it.
struct CatalogueQuery {
    QString sql;
    QVariantList parameters;
};

// A catalogue statement (the screen's dialect, giving CLAVE and DESCRIPCION, no ORDER BY
// of its own on ODBC) as the search for `filter` runs it on `backend`: ordered by CLAVE
// and at most `limit` rows. The filter is always bound, never spliced in.
//
// By default the rows kept are those whose CLAVE or DESCRIPCION holds the filter in any
// letter case, tested on every row the statement gives. A statement over many rows says
// itself where the filter applies, so that the database can test it before joining:
// MATCHES(expression) holds where the expression holds the filter in any letter case,
// and MATCHES_UPPER(expression) where it holds the filter in upper case (for keys, which
// the fields hold in upper case: a plain test, much faster). The statement is then
// filtered by its own tests alone; without a filter they hold for every row.
CatalogueQuery catalogueSearch(const QString &statement, Backend backend, int limit, const QString &filter);

// The pattern that finds `text` anywhere in a value on `backend`, without regard to letter
// case in any alphabet (each cased letter a class of both cases): a GLOB on SQLite, a
// regular expression on PostgreSQL, a LIKE pattern on ODBC. Every other character stands
// for itself.
QString containsPattern(const QString &text, Backend backend);

} // namespace qmx44::db
