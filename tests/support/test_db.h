#pragma once
// Fresh databases for tests, on every back-end available to this run.
//
// SQLite is always available (each database is a new file in a temporary folder, so
// other processes can open it too). PostgreSQL is added when the environment variable
// QMX44_TEST_PG holds a connection URL to an administrative database (scripts/with-postgres
// exports it); each fresh database is then a new database on that server, copied from a
// template with the schema (and the demo company when asked) and dropped when the
// FreshDatabase goes. When QMX44_TEST_PG is set but the server cannot be reached,
// freshDatabase("postgres") throws: the test fails loudly, it never skips.
//
// backends() names "postgres" when QMX44_TEST_PG is set, and always while a program
// only lists its tests (--gtest_list_tests, as ctest's discovery does at build time):
// ctest then knows the PostgreSQL cases, runs them under scripts/with-postgres, and
// without a server those cases run nothing (no test matches their filter).
//
// Typical use in a value-parameterised suite:
//
//   class MyTest : public ::testing::TestWithParam<std::string> {};
//   TEST_P(MyTest, Something) {
//       auto db = qmx44::test::freshDatabase(GetParam(), /*demo=*/true);
//       auto rs = db->execute("SELECT Pv_Descripcion FROM Proveedor WHERE ...");
//       ...
//   }
//   INSTANTIATE_TEST_SUITE_P(Backends, MyTest,
//                            ::testing::ValuesIn(qmx44::test::backends()),
//                            qmx44::test::backendName);
//
// Tests that launch other processes (the qmx44 executable, concurrency tests) ask for
// the database's connection string instead of (or besides) the open connection:
//
//   qmx44::test::FreshDatabase fresh("postgres", /*demo=*/true);
//   QString cs = fresh.connectionString();       // hand it to the child process
//   qmx44::db::Conexion &db = fresh.connection(); // or use it here
//
#include "platform/db/connection.h"

#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace qmx44::test {

// "sqlite" always; "postgres" as well when QMX44_TEST_PG is set (or tests are only
// being listed, see above).
std::vector<std::string> backends();
// backends() without SQLite, for what only a server has (roles, grants, its guard).
std::vector<std::string> serverBackends();

// Name printer for INSTANTIATE_TEST_SUITE_P over backends(): gives "sqlite"/"postgres".
// For tuple parameters write your own printer and call backendLabel() on the back-end.
std::string backendLabel(const std::string &backend);
struct BackendName {
    template <class ParamInfo>
    std::string operator()(const ParamInfo &info) const
    {
        return backendLabel(info.param);
    }
};
inline constexpr BackendName backendName{};

// A fresh database with the current schema (and the demo company when demo is true).
// Owns the database: destroying it closes its connection and removes the database
// (the temporary SQLite file, or the PostgreSQL database).
class FreshDatabase {
public:
    FreshDatabase(const std::string &backend, bool demo = false);
    ~FreshDatabase();
    FreshDatabase(const FreshDatabase &) = delete;
    FreshDatabase &operator=(const FreshDatabase &) = delete;

    // The open connection to the database.
    db::Conexion &connection();
    // A connection string that qmx44::db::open() and the qmx44 executable accept for
    // this database (e.g. "sqlite:/tmp/.../db.sqlite" or "postgresql://...").
    QString connectionString() const;
    // Releases the open connection, leaving the database in place until destruction
    // (so that another process may be the only user of it).
    void closeConnection();

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

// PostgreSQL: a new login, made a clerk mapped to `user` (db::addClerk on the database's
// own connection, the server's superuser), and a connection to the database as that
// login. Logins are the cluster's, so each name is new for the whole run.
std::unique_ptr<db::Conexion> clerkConnection(FreshDatabase &fresh, const QString &user);
// The same login's connection string (another process's, or a second connection).
QString clerkConnectionString(FreshDatabase &fresh, const QString &user);

// Shorthand: an open connection to a fresh database; the database is removed when the
// returned connection is destroyed.
std::unique_ptr<db::Conexion> freshDatabase(const std::string &backend, bool demo = false);

} // namespace qmx44::test
