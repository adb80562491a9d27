#pragma once
// Opening a database by its connection string: the back-end is chosen from the string,
// and the schema is checked (and created or upgraded) as the mode asks.
#include "platform/core/error.h"
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
    // A program's start on the database it was given: a missing SQLite file is created
    // with the schema, an older qmx44 database is upgraded; an empty database (a server's
    // new database, an empty file) is refused like one that is not ours or is newer: it is
    // made a qmx44 database with `qmx44 init-db`, never by a start.
    Start,
};

// Why a database could not be opened, for whoever has to tell the user what to do.
enum class OpenFailure {
    Unreachable, // no such file or folder, server not answering, login refused, no driver
    NoSchema,    // an empty database (OpenMode::Start only)
    NotOurs,     // tables, but no Version_Esquema
    Newer,       // written by a newer program
};

class OpenError : public RuntimeError {
public:
    OpenError(OpenFailure failure, const QString &description) : RuntimeError(description), m_failure(failure) {}
    OpenFailure failure() const noexcept { return m_failure; }

private:
    OpenFailure m_failure;
};

// Connection strings:
//   PATH, sqlite:PATH                 an SQLite file; ":memory:" for a private in-memory one
//   postgresql://user:pw@host:port/db a PostgreSQL server
//   postgresql://user@/db?host=/socket/dir&port=5432   the same over a Unix socket
//   odbc:DSN  or  odbc:DRIVER={...};SERVER=...          any ODBC source
// An ODBC source is a site's own server: it is used as it is, never created or upgraded.
// Every failure throws qmx44::RuntimeError naming the problem; a database that cannot be
// reached or is refused for its schema throws OpenError, with nothing written (a missing
// SQLite file this call created is removed again).
std::unique_ptr<Conexion> open(const QString &connectionString, OpenMode mode = OpenMode::Upgrade);

// The same, also telling the schema version found before any upgrade (0 for a new
// database, or when nothing was checked). With OpenMode::Start, 0 means a new SQLite
// file, or an ODBC source (never checked).
std::unique_ptr<Conexion> open(const QString &connectionString, OpenMode mode, int &versionFound);

// Removes an SQLite database file and the journal files beside it.
void removeSqliteFiles(const QString &path);

} // namespace qmx44::db
