#include "tests/support/test_db.h"

#include "platform/db/admin.h"
#include "platform/db/open.h"
#include "tests/support/pg_pool.h"

#include <QFile>
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cstdlib>
#include <mutex>
#include <stdexcept>

namespace qmx44::test {

namespace {

QString pgAdminUrl()
{
    return qEnvironmentVariable("QMX44_TEST_PG");
}

void checkBackend(const std::string &backend)
{
    if (backend == "sqlite")
        return;
    if (backend == "postgres") {
        if (pgAdminUrl().isEmpty())
            throw std::invalid_argument("qmx44::test: back-end \"postgres\" asked for, but QMX44_TEST_PG is not set");
        return;
    }
    throw std::invalid_argument("qmx44::test: unknown back-end \"" + backend + "\"");
}

// ---- SQLite: a template file per process, copied for each fresh database. ----------

QTemporaryDir &sqliteFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qmx44-test-XXXXXX"));
    return dir;
}

QString sqliteTemplate(bool demo)
{
    static QString built[2];
    QString &path = built[demo ? 1 : 0];
    if (path.isEmpty()) {
        const QString file = sqliteFolder().filePath(demo ? QStringLiteral("template-demo.sqlite")
                                                          : QStringLiteral("template.sqlite"));
        {
            auto c = db::open(QStringLiteral("sqlite:") + file, db::OpenMode::Upgrade);
            if (demo)
                db::loadDemo(*c);
        } // closing the last connection folds the write-ahead log into the file
        path = file;
    }
    return path;
}

void removeSqlite(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

std::mutex &registryMutex()
{
    static std::mutex m;
    return m;
}

} // namespace

std::vector<std::string> backends()
{
    std::vector<std::string> list{"sqlite"};
    // ctest lists the cases once, when the programs are built, usually without a
    // server; the PostgreSQL cases are listed all the same so that a later run under
    // scripts/with-postgres finds them. Run without a server they do not exist, and a
    // filter naming one runs nothing.
    if (!pgAdminUrl().isEmpty() || GTEST_FLAG_GET(list_tests))
        list.push_back("postgres");
    return list;
}

std::string backendLabel(const std::string &backend)
{
    return backend;
}

struct FreshDatabase::Impl {
    std::string backend;
    QString connectionString;
    QString sqlitePath;
    std::unique_ptr<PgPoolDatabase> pg;
    std::unique_ptr<db::Conexion> connection;
};

FreshDatabase::FreshDatabase(const std::string &backend, bool demo) : d(std::make_unique<Impl>())
{
    checkBackend(backend);
    d->backend = backend;
    std::lock_guard lock(registryMutex());
    if (backend == "sqlite") {
        static int counter = 0;
        d->sqlitePath = sqliteFolder().filePath(QStringLiteral("db-%1.sqlite").arg(++counter));
        removeSqlite(d->sqlitePath);
        if (!QFile::copy(sqliteTemplate(demo), d->sqlitePath))
            throw std::runtime_error("cannot copy the SQLite template database");
        d->connectionString = QStringLiteral("sqlite:") + d->sqlitePath;
    } else {
        d->pg = std::make_unique<PgPoolDatabase>(demo);
        d->connectionString = d->pg->connectionString();
    }
    d->connection = db::open(d->connectionString, db::OpenMode::Upgrade);
}

FreshDatabase::~FreshDatabase()
{
    d->connection.reset();
    if (!d->sqlitePath.isEmpty())
        removeSqlite(d->sqlitePath);
    d->pg.reset();
}

db::Conexion &FreshDatabase::connection()
{
    if (!d->connection)
        d->connection = db::open(d->connectionString, db::OpenMode::Upgrade);
    return *d->connection;
}

QString FreshDatabase::connectionString() const
{
    return d->connectionString;
}

void FreshDatabase::closeConnection()
{
    d->connection.reset();
}

namespace {

// A connection that owns its fresh database and removes it when destroyed.
class OwningConexion final : public db::Conexion {
public:
    explicit OwningConexion(std::unique_ptr<FreshDatabase> fresh) : m_fresh(std::move(fresh)), m_c(m_fresh->connection()) {}
    db::Backend backend() const override { return m_c.backend(); }
    std::unique_ptr<db::RecordSet> execute(const QString &s) override { return m_c.execute(s); }
    std::unique_ptr<db::RecordSet> query(const QString &s, const QVariantList &v) override { return m_c.query(s, v); }
    int run(const QString &s, const QVariantList &v) override { return m_c.run(s, v); }
    void begin() override { m_c.begin(); }
    void commit() override { m_c.commit(); }
    void rollback() override { m_c.rollback(); }
    bool inTransaction() const override { return m_c.inTransaction(); }

private:
    std::unique_ptr<FreshDatabase> m_fresh;
    db::Conexion &m_c;
};

std::vector<std::unique_ptr<FreshDatabase>> &keptDatabases()
{
    static std::vector<std::unique_ptr<FreshDatabase>> kept;
    return kept;
}

void dropKeptDatabases()
{
    keptDatabases().clear();
}

} // namespace

std::unique_ptr<db::Conexion> freshDatabase(const std::string &backend, bool demo)
{
    return std::make_unique<OwningConexion>(std::make_unique<FreshDatabase>(backend, demo));
}

QString connectionString(const std::string &backend, bool demo)
{
    auto fresh = std::make_unique<FreshDatabase>(backend, demo);
    fresh->closeConnection();
    const QString cs = fresh->connectionString();
    std::lock_guard lock(registryMutex());
    if (keptDatabases().empty()) {
        // Registered after the database layer is in use, so it runs before Qt's own
        // clean-up at exit.
        std::atexit(dropKeptDatabases);
    }
    keptDatabases().push_back(std::move(fresh));
    return cs;
}

} // namespace qmx44::test
