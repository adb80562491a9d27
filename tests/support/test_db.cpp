#include "tests/support/test_db.h"

#include "platform/db/admin.h"
#include "platform/db/clerks.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace qmx44::test {

namespace {

QString pgAdminUrl()
{
    return qEnvironmentVariable("QMX44_TEST_PG");
}

std::mutex &registryMutex()
{
    static std::mutex m;
    return m;
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
        const QString file =
            sqliteFolder().filePath(demo ? QStringLiteral("template-demo.sqlite") : QStringLiteral("template.sqlite"));
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

// ---- PostgreSQL: a template database per content, copied for each fresh database. --

QString pgUrl(const QString &database = {})
{
    db::ConnectionSpec spec = db::parseConnectionString(pgAdminUrl());
    if (spec.backend != db::Backend::Postgres)
        throw std::runtime_error("QMX44_TEST_PG must be a postgresql:// URL");
    if (!database.isEmpty())
        spec.database = database;
    return spec.toString();
}

std::unique_ptr<db::Conexion> pgAdmin()
{
    try {
        return db::open(pgUrl(), db::OpenMode::Raw);
    } catch (const RuntimeError &e) {
        throw std::runtime_error(
            ("QMX44_TEST_PG is set but its server cannot be used: " + e.description()).toStdString());
    }
}

// The schema files and the demo company as built into the library: a template made
// from other contents (an older build, on a server that outlives the run) is never used.
QString contentFingerprint()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QStringList files;
    for (QDirIterator it(QStringLiteral(":/qmx44/db"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files.append(it.next());
    files.sort();
    for (const QString &name : files) {
        QFile f(name);
        if (f.open(QIODevice::ReadOnly))
            hash.addData(name.toUtf8() + f.readAll());
    }
    return QString::fromLatin1(hash.result().toHex().left(12));
}

// Makes `name` a copy of the template for these contents. The template is built by
// whichever test process comes first, under a private name published by renaming; the
// advisory lock, held until `admin` closes, keeps the processes from building it twice.
void createPgDatabase(db::Conexion &admin, const QString &name, bool demo)
{
    const QString tpl = QStringLiteral("qmx44_tpl_%1_%2")
                            .arg(contentFingerprint(), demo ? QLatin1String("demo") : QLatin1String("base"));
    admin.query(QStringLiteral("SELECT pg_advisory_lock(440045)"));
    if (admin.query(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {tpl})->eof()) {
        const QString building = tpl + QStringLiteral("_b");
        admin.run(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(building));
        admin.run(QStringLiteral("CREATE DATABASE %1").arg(building));
        {
            auto c = db::open(pgUrl(building), db::OpenMode::Upgrade);
            if (demo)
                db::loadDemo(*c);
        }
        admin.run(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(building, tpl));
    }
    admin.run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    admin.run(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY").arg(name, tpl));
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

std::vector<std::string> serverBackends()
{
    auto all = backends();
    std::erase_if(all, [](const std::string &b) { return b != "postgres"; });
    return all;
}

std::string backendLabel(const std::string &backend)
{
    return backend;
}

struct FreshDatabase::Impl {
    QString connectionString;
    QString sqlitePath;
    QString pgName;
    std::unique_ptr<db::Conexion> connection;
};

FreshDatabase::FreshDatabase(const std::string &backend, bool demo) : d(std::make_unique<Impl>())
{
    std::lock_guard lock(registryMutex());
    static int counter = 0;
    ++counter;
    if (backend == "sqlite") {
        d->sqlitePath = sqliteFolder().filePath(QStringLiteral("db-%1.sqlite").arg(counter));
        removeSqlite(d->sqlitePath);
        if (!QFile::copy(sqliteTemplate(demo), d->sqlitePath))
            throw std::runtime_error("cannot copy the SQLite template database");
        d->connectionString = QStringLiteral("sqlite:") + d->sqlitePath;
    } else if (backend == "postgres" && !pgAdminUrl().isEmpty()) {
        const QString name = QStringLiteral("qmx44_t_%1_%2").arg(QCoreApplication::applicationPid()).arg(counter);
        createPgDatabase(*pgAdmin(), name, demo);
        d->pgName = name;
        d->connectionString = pgUrl(name);
    } else {
        throw std::invalid_argument("qmx44::test: back-end \"" + backend
                                    + "\" is unknown or has no server (QMX44_TEST_PG)");
    }
    d->connection = db::open(d->connectionString, db::OpenMode::Upgrade);
}

FreshDatabase::~FreshDatabase()
{
    d->connection.reset();
    if (!d->sqlitePath.isEmpty())
        removeSqlite(d->sqlitePath);
    try {
        if (!d->pgName.isEmpty())
            pgAdmin()->run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(d->pgName));
    } catch (...) {
        // left for the throwaway server's removal
    }
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

QString clerkConnectionString(FreshDatabase &fresh, const QString &user)
{
    static std::atomic<int> counter = 0;
    const QString login =
        QStringLiteral("%1_%2_%3").arg(user.toLower()).arg(QCoreApplication::applicationPid()).arg(++counter);
    // The throwaway server checks every password but its superuser's.
    const QString password = QStringLiteral("clave de ") + login;
    db::addClerk(fresh.connection(), login, user, password);
    db::ConnectionSpec spec = db::parseConnectionString(fresh.connectionString());
    spec.user = login;
    spec.password = password;
    return spec.toString();
}

std::unique_ptr<db::Conexion> clerkConnection(FreshDatabase &fresh, const QString &user)
{
    return db::open(clerkConnectionString(fresh, user), db::OpenMode::Existing);
}

namespace {

// A connection that owns its fresh database and removes it when destroyed.
class OwningConexion final : public db::Conexion {
public:
    explicit OwningConexion(std::unique_ptr<FreshDatabase> fresh)
        : m_fresh(std::move(fresh)), m_c(m_fresh->connection())
    {
    }
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

} // namespace

std::unique_ptr<db::Conexion> freshDatabase(const std::string &backend, bool demo)
{
    return std::make_unique<OwningConexion>(std::make_unique<FreshDatabase>(backend, demo));
}

} // namespace qmx44::test
