#pragma once
// Test databases on the PostgreSQL server named by QMX44_TEST_PG: a pool of databases
// shared by all test processes, each handed out to one fixture at a time and reset to
// its template's content (much faster than creating a database per test).
#include "platform/db/connection.h"

#include <QString>
#include <memory>

namespace qmx44::test {

// The database is this object's for as long as it lives (an advisory lock held on the
// server); it is reset to the template's content when claimed, never when released,
// so a failing test leaves it for inspection until the next claim.
class PgPoolDatabase {
public:
    // Throws std::runtime_error when the server cannot be used.
    explicit PgPoolDatabase(bool demo);
    ~PgPoolDatabase();
    PgPoolDatabase(const PgPoolDatabase &) = delete;
    PgPoolDatabase &operator=(const PgPoolDatabase &) = delete;

    const QString &connectionString() const { return m_connectionString; }

private:
    std::unique_ptr<db::Conexion> m_lockHolder;
    QString m_connectionString;
};

// Checks that QMX44_TEST_PG names a reachable server (throws std::runtime_error).
void requirePgServer();

} // namespace qmx44::test
