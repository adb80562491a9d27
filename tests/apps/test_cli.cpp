// The qmx44 command line run as a separate process: help and usage, init-db, register /
// unregister, run, and bad input (nothing usable, a foreign database, a newer schema, a
// locked database) giving a clear error, a non-zero status and no writes.
#include "platform/db/open.h"
#include "platform/db/schema.h"
#include "tests/support/test_db.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    // Runs qmx44 with a private home and component folder.
    Result qmx44(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), tmp.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("QMX44_COMPONENT_PATH"), components);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QMX44_EXECUTABLE), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "qmx44 " << args.join(u' ').toStdString() << " did not finish";
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    // What is on disk for an SQLite database: its bytes and whether side files exist.
    static QByteArray fingerprint(const QString &path)
    {
        QCryptographicHash h(QCryptographicHash::Sha1);
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            h.addData(f.readAll());
        for (const char *side : {"-wal", "-shm", "-journal"})
            h.addData(QByteArray(QFileInfo::exists(path + QLatin1String(side)) ? "1" : "0"));
        return h.result();
    }

    QTemporaryDir tmp;
    QString components = tmp.filePath(QStringLiteral("components"));
};

// Guards against a wrong command line being taken as success (scripts rely on status 2).
TEST_F(CliTest, HelpAndUsage)
{
    const Result help = qmx44({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    for (const char *command : {"init-db", "register", "unregister", "run"})
        EXPECT_TRUE(help.out.contains(QLatin1String(command))) << command;

    EXPECT_EQ(qmx44({}).status, 2);
    EXPECT_EQ(qmx44({QStringLiteral("nope")}).status, 2);
    EXPECT_EQ(qmx44({QStringLiteral("init-db")}).status, 2);
    EXPECT_EQ(qmx44({QStringLiteral("init-db"), QStringLiteral("--bogus"), tmp.filePath("x.sqlite")}).status, 2);
    EXPECT_EQ(qmx44({QStringLiteral("run"), QStringLiteral("--db")}).status, 2);
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("x.sqlite")));
}

// Guards against a connection string that names nothing usable being "repaired" by
// creating something, or failing without saying why.
TEST_F(CliTest, ConnectionNamingNothingUsableIsRefused)
{
    const QString junk = tmp.filePath(QStringLiteral("junk.sqlite"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is no database, just some text that happens to be long enough");
    }
    const QByteArray junkBefore = fingerprint(junk);
    const QString nowhere = tmp.filePath(QStringLiteral("no/such/folder/db.sqlite"));
    const QStringList bad = {QStringLiteral("mysql://server/db"), nowhere, tmp.path(), junk,
                             QStringLiteral("sqlite:%1?colour=blue").arg(tmp.filePath("c.sqlite"))};
    for (const QString &connection : bad) {
        for (const QStringList &args : {QStringList{QStringLiteral("init-db"), QStringLiteral("--demo"), connection},
                                        QStringList{QStringLiteral("run"), QStringLiteral("--db"), connection}}) {
            const Result r = qmx44(args);
            EXPECT_EQ(r.status, 1) << args.join(u' ').toStdString();
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("qmx44 ") + args.first() + u':'))
                << r.err.toStdString();
            EXPECT_GT(r.err.trimmed().size(), 30) << "no explanation: " << r.err.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("no"))));
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("c.sqlite"))));
    EXPECT_EQ(fingerprint(junk), junkBefore);
    EXPECT_FALSE(QFileInfo::exists(components)) << "the component was registered despite the bad database";
}

// Guards against another program's database being given our schema or demo rows.
TEST_F(CliTest, ForeignDatabaseIsLeftAlone)
{
    const QString file = tmp.filePath(QStringLiteral("ajena.sqlite"));
    {
        auto c = db::open(QStringLiteral("sqlite:") + file, db::OpenMode::Raw);
        c->run(QStringLiteral("CREATE TABLE Cliente (Id INTEGER PRIMARY KEY, Nombre TEXT)"));
        c->run(QStringLiteral("INSERT INTO Cliente (Nombre) VALUES ('Ana')"));
    }
    const QByteArray before = fingerprint(file);
    for (const QStringList &args : {QStringList{QStringLiteral("init-db"), QStringLiteral("--demo"), file},
                                    QStringList{QStringLiteral("init-db"), file},
                                    QStringList{QStringLiteral("run"), QStringLiteral("--db"), file}}) {
        const Result r = qmx44(args);
        EXPECT_EQ(r.status, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("no es de qmx44"))) << r.err.toStdString();
    }
    EXPECT_EQ(fingerprint(file), before);
    EXPECT_FALSE(QFileInfo::exists(components));
}

class CliBackendTest : public CliTest, public ::testing::WithParamInterface<std::string> {};

// Guards against an older program writing into a database of a newer schema.
TEST_P(CliBackendTest, NewerSchemaIsRefused)
{
    test::FreshDatabase fresh(GetParam(), /*demo=*/true);
    fresh.connection().run(QStringLiteral("INSERT INTO Version_Esquema (Ve_Version, Ve_Fecha) VALUES (999, '2099-01-01')"));
    const qint64 suppliers = [&] {
        auto rs = fresh.connection().query(QStringLiteral("SELECT COUNT(*) AS n FROM Proveedor"));
        return rs->field(QStringLiteral("n")).toLongLong();
    }();
    fresh.closeConnection();

    for (const QStringList &args : {QStringList{QStringLiteral("init-db"), fresh.connectionString()},
                                    QStringList{QStringLiteral("run"), QStringLiteral("--db"), fresh.connectionString()}}) {
        const Result r = qmx44(args);
        EXPECT_EQ(r.status, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("999"))) << r.err.toStdString();
    }
    auto c = db::open(fresh.connectionString(), db::OpenMode::Raw);
    auto rs = c->query(QStringLiteral("SELECT COUNT(*) AS n FROM Proveedor"));
    EXPECT_EQ(rs->field(QStringLiteral("n")).toLongLong(), suppliers);
    EXPECT_FALSE(QFileInfo::exists(components));
}

// Guards against the main job failing on a good database, not registering the screen,
// or summarising the wrong things.
TEST_P(CliBackendTest, RunRegistersTheComponentAndSummarises)
{
    const QString connection = test::connectionString(GetParam(), /*demo=*/true);
    const Result r = qmx44({QStringLiteral("run"), QStringLiteral("--db"), connection,
                            QStringLiteral("--user"), QStringLiteral("GDL01")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray version = "schema version " + QByteArray::number(db::knownSchemaVersion());
    for (const char *expected : {version.constData(), "branches 2", "suppliers 5", "products 20",
                                 "purchases 9", "credit notes 3", "user GDL01: branch 001, warehouse any",
                                 "Component QMX44.Pantalla", "module COMPRAS", "(loaded)"})
        EXPECT_TRUE(r.out.contains(QLatin1String(expected))) << expected << "\n" << r.out.toStdString();
    EXPECT_EQ(QDir(components).entryList(QDir::Files).size(), 1);

    // A second run finds it registered; an unknown user is refused.
    EXPECT_EQ(qmx44({QStringLiteral("run"), QStringLiteral("--db"), connection}).status, 0);
    const Result unknown = qmx44({QStringLiteral("run"), QStringLiteral("--db"), connection,
                                  QStringLiteral("--user"), QStringLiteral("NADIE")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("NADIE"))) << unknown.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, CliBackendTest, ::testing::ValuesIn(test::backends()),
                         test::backendName);

// Guards against `run` failing on a first start, when there is no database yet.
TEST_F(CliTest, RunCreatesTheDemoDatabaseWhenMissing)
{
    const QString file = tmp.filePath(QStringLiteral("nueva.sqlite"));
    const Result r = qmx44({QStringLiteral("run"), QStringLiteral("--db"), file});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("purchases 9"))) << r.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(file));

    // The default database, named or not, gets its folder made on a first start.
    const QString standard = tmp.filePath(QStringLiteral("home/.local/share/qmx44/demo.sqlite"));
    const Result named = qmx44({QStringLiteral("run"), QStringLiteral("--db"), standard});
    ASSERT_EQ(named.status, 0) << named.err.toStdString();
    ASSERT_TRUE(QFile::remove(standard));
    const Result implicit = qmx44({QStringLiteral("run")});
    ASSERT_EQ(implicit.status, 0) << implicit.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(standard));
}

// Guards against a database locked by another writer being half-initialised.
TEST_F(CliTest, LockedDatabaseIsRefusedAndGetsNoDemoRows)
{
    test::FreshDatabase fresh("sqlite", /*demo=*/false);
    db::Conexion &holder = fresh.connection();
    holder.begin();
    holder.run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor) VALUES ('BLOQUEO', 'x')"));

    const Result r = qmx44({QStringLiteral("init-db"), QStringLiteral("--demo"),
                            fresh.connectionString() + QStringLiteral("?busy_timeout=200")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("locked"), Qt::CaseInsensitive)
                || r.err.contains(QStringLiteral("bloque"), Qt::CaseInsensitive))
        << r.err.toStdString();
    holder.rollback();
    auto rs = holder.query(QStringLiteral("SELECT COUNT(*) AS n FROM Proveedor"));
    EXPECT_EQ(rs->field(QStringLiteral("n")).toLongLong(), 0);
}

// Guards against register installing something that is not a component, and
// unregister leaving the component behind.
TEST_F(CliTest, RegisterAndUnregister)
{
    const QString fake = tmp.filePath(QStringLiteral("libfalso.so"));
    {
        QFile f(fake);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("nothing");
    }
    EXPECT_EQ(qmx44({QStringLiteral("register"), fake}).status, 1);
    EXPECT_FALSE(QFileInfo::exists(components));

    const Result reg = qmx44({QStringLiteral("register")});
    ASSERT_EQ(reg.status, 0) << reg.err.toStdString();
    EXPECT_TRUE(reg.out.contains(QStringLiteral("QMX44.Pantalla")));
    const QString installed = QDir(components).filePath(QFileInfo(QStringLiteral(QMX44_COMPONENT_FILE)).fileName());
    EXPECT_TRUE(QFileInfo::exists(installed));

    EXPECT_EQ(qmx44({QStringLiteral("unregister")}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(installed));
    EXPECT_EQ(qmx44({QStringLiteral("unregister")}).status, 0);
}

} // namespace
