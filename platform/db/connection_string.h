#pragma once
// Reads the one string that names a database ("PATH", "sqlite:PATH",
// "postgresql://user@host:port/db", "odbc:DSN") into the pieces a driver needs.
#include "platform/db/connection.h"

#include <QList>
#include <QPair>
#include <QString>

namespace qmx44::db {

// How long a PostgreSQL session waits, in milliseconds, unless its connection string
// says otherwise (0: without limit). A clerk whose laptop sleeps inside a save must not
// hold the purchase's or the folio counter's lock for everyone until the server notices.
inline constexpr int kDefaultLockTimeoutMs = 15000;              // for another clerk's lock
inline constexpr int kDefaultIdleInTransactionTimeoutMs = 60000; // a dead client's open transaction
inline constexpr int kDefaultStatementTimeoutMs = 120000;        // any one statement

struct ConnectionSpec {
    Backend backend = Backend::Sqlite;
    // SQLite: the file, or ":memory:".
    QString path;
    // PostgreSQL. host may be a folder holding the server's Unix socket.
    QString host;
    int port = -1;
    QString user;
    QString password;
    QString database;
    // Further libpq options from the URL's query (sslmode=..., connect_timeout=...).
    QList<QPair<QString, QString>> options;
    // The session's limits, qmx44's own keys of the query (lock_timeout=5s,
    // idle_in_transaction_session_timeout=..., statement_timeout=...: a number of ms, s or
    // min), never among `options`, which libpq would refuse.
    int lockTimeoutMs = kDefaultLockTimeoutMs;
    int idleInTransactionTimeoutMs = kDefaultIdleInTransactionTimeoutMs;
    int statementTimeoutMs = kDefaultStatementTimeoutMs;
    // ODBC: a data source name or a whole ODBC connection string.
    QString odbc;

    bool inMemory() const { return backend == Backend::Sqlite && path == QLatin1String(":memory:"); }
    // The string again, without the password (for messages and the log; an ODBC string's
    // PWD= shown as "***", braces and all).
    QString display() const;
    // The database as something kept per database names it: display() with an SQLite
    // file's absolute path (so the folder it was named from does not matter), ":memory:"
    // for an in-memory one.
    QString identity() const;
    // The string again, password included: parseConnectionString(toString()) gives
    // back the same pieces.
    QString toString() const;
};

// Throws qmx44::RuntimeError naming the problem when the string names nothing usable;
// the refusal shows no character of a password. In a URL the user part runs to the last
// '@' before the query, so a password may hold '/' or '@' unencoded (a database name
// holding '@' is written %40).
ConnectionSpec parseConnectionString(const QString &connectionString);

} // namespace qmx44::db
