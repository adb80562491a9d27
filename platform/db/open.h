#pragma once
// Opening a database by its connection string: the back-end is chosen from the string,
// and the schema is checked (and created or upgraded) as the mode asks.
#include "platform/db/connection.h"

#include <QString>
#include <memory>

namespace qmx44::db {

enum class OpenMode {
    // The usual way: a missing SQLite file is created; an empty database gets the
    // schema; an older qmx44 database is upgraded. A database that is not ours (tables
    // but no Version_Esquema) or of a newer schema version is refused, nothing written.
    Upgrade,
    // The database must exist and be a qmx44 database at exactly this program's schema
    // version; nothing is created or changed.
    Existing,
    // No schema checks at all (maintenance tools and tests). A missing SQLite file is
    // still created.
    Raw,
};

// Connection strings:
//   PATH, sqlite:PATH                 an SQLite file; ":memory:" for a private in-memory one
//   postgresql://user:pw@host:port/db a PostgreSQL server
//   postgresql://user@/db?host=/socket/dir&port=5432   the same over a Unix socket
//   odbc:DSN  or  odbc:DRIVER={...};SERVER=...          any ODBC source
// An ODBC source is a site's own server: it is used as it is, never created or upgraded.
// Every failure throws qmx44::RuntimeError naming the problem.
std::unique_ptr<Conexion> open(const QString &connectionString, OpenMode mode = OpenMode::Upgrade);

// The same, also telling the schema version found before any upgrade (0 for a new
// database, or when nothing was checked).
std::unique_ptr<Conexion> open(const QString &connectionString, OpenMode mode, int &versionFound);

} // namespace qmx44::db
