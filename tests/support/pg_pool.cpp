#include "tests/support/pg_pool.h"

#include "platform/db/admin.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "platform/db/schema.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <stdexcept>

namespace qmx44::test {

namespace {

// The schema files and the demo company as built into the library: databases made
// from other contents are never reused.
QString contentFingerprint()
{
    static const QString fp = [] {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        QStringList files;
        QDirIterator it(QStringLiteral(":/qmx44/db"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        files.sort();
        for (const QString &name : files) {
            QFile f(name);
            if (f.open(QIODevice::ReadOnly)) {
                hash.addData(name.toUtf8());
                hash.addData(f.readAll());
            }
        }
        // The pool's own reset machinery is part of what a pooled database holds.
        hash.addData("pool-v1");
        return QString::fromLatin1(hash.result().toHex().left(12));
    }();
    return fp;
}

db::ConnectionSpec pgSpec(const QString &database = {})
{
    db::ConnectionSpec spec = db::parseConnectionString(qEnvironmentVariable("QMX44_TEST_PG"));
    if (spec.backend != db::Backend::Postgres)
        throw std::runtime_error("QMX44_TEST_PG must be a postgresql:// URL");
    if (!database.isEmpty())
        spec.database = database;
    return spec;
}

std::unique_ptr<db::Conexion> pgAdmin()
{
    try {
        return db::open(pgSpec().toString(), db::OpenMode::Raw);
    } catch (const RuntimeError &e) {
        throw std::runtime_error(("QMX44_TEST_PG is set but its server cannot be used: " + e.description()).toStdString());
    }
}

QString kind(bool demo)
{
    return demo ? QStringLiteral("demo") : QStringLiteral("base");
}

bool exists(db::Conexion &admin, const QString &name)
{
    return !admin.query(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {name})->eof();
}

QString copyClause(db::Conexion &admin)
{
    auto rs = admin.query(QStringLiteral("SHOW server_version_num"));
    // From version 15 on, a small database is copied faster file by file.
    return rs->field(rs->columns().value(0)).toInt() >= 150000 ? QStringLiteral(" STRATEGY FILE_COPY") : QString();
}

// A pooled database keeps a copy of its tables' first content in the schema
// qmx44_pristine, with a function that puts it back when nothing but rows changed.
const char *const kPristineMachinery[] = {
    R"(CREATE FUNCTION qmx44_pristine.shape() RETURNS text LANGUAGE sql AS $$
  SELECT md5(coalesce((SELECT string_agg(table_name || '.' || column_name || ':' || data_type || ':'
                                         || coalesce(column_default, ''), ',' ORDER BY table_name, column_name)
                         FROM information_schema.columns WHERE table_schema = 'public'), '')
          || coalesce((SELECT string_agg(indexname || ':' || indexdef, ',' ORDER BY indexname)
                         FROM pg_indexes WHERE schemaname = 'public'), ''))
$$)",
    R"(CREATE TABLE qmx44_pristine.qmx44_shape AS SELECT qmx44_pristine.shape() AS shape)",
    R"(CREATE FUNCTION qmx44_pristine.reset() RETURNS boolean LANGUAGE plpgsql AS $$
DECLARE t text;
BEGIN
  IF qmx44_pristine.shape() IS DISTINCT FROM (SELECT shape FROM qmx44_pristine.qmx44_shape) THEN
    RETURN false;
  END IF;
  EXECUTE (SELECT 'TRUNCATE ' || string_agg('public.' || quote_ident(table_name), ', ')
             FROM information_schema.tables WHERE table_schema = 'public' AND table_type = 'BASE TABLE');
  FOR t IN SELECT table_name FROM information_schema.tables
            WHERE table_schema = 'qmx44_pristine' AND table_name <> 'qmx44_shape' LOOP
    EXECUTE format('INSERT INTO public.%I SELECT * FROM qmx44_pristine.%I', t, t);
  END LOOP;
  RETURN true;
END $$)",
};

// The template of the pool: built once per server for these contents by whichever
// test process comes first, under a private name, and published by renaming.
QString poolTemplate(db::Conexion &admin, bool demo)
{
    const QString name = QStringLiteral("qmx44_tpl_%1_%2").arg(contentFingerprint(), kind(demo));
    admin.query(QStringLiteral("SELECT pg_advisory_lock(440045)"));
    struct Unlock {
        db::Conexion &c;
        ~Unlock()
        {
            try {
                c.query(QStringLiteral("SELECT pg_advisory_unlock(440045)"));
            } catch (...) {
            }
        }
    } unlock{admin};
    if (exists(admin, name))
        return name;
    const QString building = name + QStringLiteral("_b");
    admin.run(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(building));
    admin.run(QStringLiteral("CREATE DATABASE %1").arg(building));
    {
        auto c = db::open(pgSpec(building).toString(), db::OpenMode::Upgrade);
        if (demo)
            db::loadDemo(*c);
        c->run(QStringLiteral("CREATE SCHEMA qmx44_pristine"));
        for (const QString &table : db::tableNames(*c))
            c->run(QStringLiteral("CREATE TABLE qmx44_pristine.%1 AS SELECT * FROM public.%1").arg(table));
        for (const char *statement : kPristineMachinery)
            c->run(QString::fromUtf8(statement));
    }
    admin.run(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(building, name));
    return name;
}

bool resetInPlace(const QString &database)
{
    try {
        auto c = db::open(pgSpec(database).toString(), db::OpenMode::Raw);
        // A session some test left behind holding locks must not stall the run.
        c->run(QStringLiteral("SET lock_timeout = '3s'"));
        auto rs = c->query(QStringLiteral("SELECT qmx44_pristine.reset() AS ok"));
        return rs->field(QStringLiteral("ok")).toBool();
    } catch (const RuntimeError &) {
        return false;
    }
}

} // namespace

void requirePgServer()
{
    pgAdmin();
}

PgPoolDatabase::PgPoolDatabase(bool demo)
{
    m_lockHolder = pgAdmin();
    db::Conexion &admin = *m_lockHolder;
    const QString tpl = poolTemplate(admin, demo);

    // Claim the first free slot: the advisory lock is held by this session until the
    // object goes, and is released by the server if the process dies.
    const int pool = (contentFingerprint().left(6).toInt(nullptr, 16) << 1) | (demo ? 1 : 0);
    int slot = 0;
    for (;; ++slot) {
        auto rs = admin.query(QStringLiteral("SELECT pg_try_advisory_lock(?, ?) AS mine"), {pool, slot});
        if (rs->field(QStringLiteral("mine")).toBool())
            break;
    }
    const QString name = QStringLiteral("qmx44_pool_%1_%2_%3").arg(contentFingerprint(), kind(demo)).arg(slot);
    if (!exists(admin, name) || !resetInPlace(name)) {
        admin.run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        admin.run(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2%3").arg(name, tpl, copyClause(admin)));
    }
    m_connectionString = pgSpec(name).toString();
}

PgPoolDatabase::~PgPoolDatabase() = default;

} // namespace qmx44::test
