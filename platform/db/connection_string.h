#pragma once
// Reads the one string that names a database ("PATH", "sqlite:PATH",
// "postgresql://user@host:port/db", "odbc:DSN") into the pieces a driver needs.
#include "platform/db/connection.h"

#include <QList>
#include <QPair>
#include <QString>

namespace qmx44::db {

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
    // ODBC: a data source name or a whole ODBC connection string.
    QString odbc;

    bool inMemory() const { return backend == Backend::Sqlite && path == QLatin1String(":memory:"); }
    // The string again, without the password (for messages; an ODBC string's PWD= shown
    // as "***").
    QString display() const;
    // The string again, password included: parseConnectionString(toString()) gives
    // back the same pieces.
    QString toString() const;
};

// Throws qmx44::RuntimeError naming the problem when the string names nothing usable.
ConnectionSpec parseConnectionString(const QString &connectionString);

} // namespace qmx44::db
