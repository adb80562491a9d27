// The versioned schema, the demo company and the refusals that leave a database
// exactly as it was: not ours, newer, or named by nonsense. A locked database is
// connection_test's; a scheme that names no back-end, connection_string_test's.
#include "platform/db/admin.h"
#include "platform/db/open.h"
#include "platform/db/schema.h"
#include "platform/db/sql_script.h"
#include "tests/support/test_db.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <latch>
#include <thread>

using qmx44::RuntimeError;
using qmx44::db::Conexion;
using qmx44::db::OpenMode;

namespace {

qint64 scalar(Conexion &db, const QString &sql)
{
    auto rs = db.query(sql);
    return rs->field(rs->columns().value(0)).toLongLong();
}

QString describeFailure(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.description();
    }
    return QStringLiteral("<no error>");
}

// The whole content of an SQLite database file, to prove nothing was written.
QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "missing";
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// Drops every table of `db`, then applies the program's schema steps up to `version`.
void upgradeFromScratchTo(Conexion &db, int version)
{
    for (const QString &table : qmx44::db::tableNames(db))
        db.run(QStringLiteral("DROP TABLE %1").arg(table));
    QList<QStringList> steps;
    for (int v = 1; v <= version; ++v)
        steps.append(qmx44::db::schemaStep(v, db.backend()));
    qmx44::db::upgradeSchema(db, steps);
}

class SchemaTest : public ::testing::TestWithParam<std::string> {};

// Guards against a database written by a newer program being used (or "upgraded")
// by this one.
TEST_P(SchemaTest, NewerVersionIsRefusedWithNothingWritten)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    const int newer = qmx44::db::knownSchemaVersion() + 1;
    fresh.connection().run(QStringLiteral("INSERT INTO Version_Esquema (Ve_Version) VALUES (?)"), {newer});
    fresh.closeConnection();
    for (OpenMode mode : {OpenMode::Upgrade, OpenMode::Existing}) {
        const QString why = describeFailure([&] { qmx44::db::open(fresh.connectionString(), mode); });
        EXPECT_TRUE(why.contains(QString::number(newer)) && why.contains(QStringLiteral("más nueva")))
            << why.toStdString();
    }
    const QString why = describeFailure([&] { qmx44::db::initDatabase(fresh.connectionString(), true); });
    EXPECT_TRUE(why.contains(QStringLiteral("más nueva"))) << why.toStdString();
    auto raw = qmx44::db::open(fresh.connectionString(), OpenMode::Raw);
    EXPECT_EQ(0, scalar(*raw, QStringLiteral("SELECT COUNT(*) FROM Proveedor")));
    EXPECT_EQ(newer, scalar(*raw, QStringLiteral("SELECT COUNT(*) FROM Version_Esquema")));
}

// Guards against an upgrade that skips a step, applies one twice, or leaves a failed
// step half applied: each step is one transaction with its version row.
TEST_P(SchemaTest, UpgradesOneStepAtATimeAndStopsAtAFailingStep)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    Conexion &db = fresh.connection();
    QList<QStringList> steps;
    for (int v = 1; v <= qmx44::db::knownSchemaVersion(); ++v)
        steps.append(qmx44::db::schemaStep(v, db.backend()));
    const int current = int(steps.size());
    steps.append({QStringLiteral("ALTER TABLE Proveedor ADD COLUMN Pv_Nuevo TEXT DEFAULT 'n'")});
    steps.append({QStringLiteral("CREATE TABLE Paso_Tres (a TEXT)"),
                  QStringLiteral("INSERT INTO Tabla_Que_No_Existe VALUES (1)")});

    const QString why = describeFailure([&] { qmx44::db::upgradeSchema(db, steps); });
    EXPECT_TRUE(why.contains(QStringLiteral("paso %1").arg(current + 2))) << why.toStdString();
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(current + 1, scalar(db, QStringLiteral("SELECT MAX(Ve_Version) FROM Version_Esquema")));
    EXPECT_EQ(current + 1, scalar(db, QStringLiteral("SELECT COUNT(*) FROM Version_Esquema")));
    EXPECT_FALSE(qmx44::db::tableNames(db).contains(QStringLiteral("Paso_Tres"), Qt::CaseInsensitive));
    db.run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES ('X')"));
    EXPECT_EQ(1, scalar(db, QStringLiteral("SELECT COUNT(*) FROM Proveedor WHERE Pv_Nuevo = 'n'")));

    steps.last() = {QStringLiteral("CREATE TABLE Paso_Tres (a TEXT DEFAULT '')")};
    EXPECT_EQ(current + 1, qmx44::db::upgradeSchema(db, steps));
    EXPECT_EQ(current + 2, scalar(db, QStringLiteral("SELECT MAX(Ve_Version) FROM Version_Esquema")));
}

// Guards against the demo company loaded twice, or over a company's own documents.
TEST_P(SchemaTest, DemoLoadsOnceIntoAnEmptyCompany)
{
    qmx44::test::FreshDatabase fresh(GetParam(), true);
    const qint64 lines = qmx44::db::summarize(fresh.connection()).purchaseLines;
    fresh.closeConnection();
    const QString why = describeFailure([&] { qmx44::db::initDatabase(fresh.connectionString(), true); });
    EXPECT_TRUE(why.contains(QStringLiteral("ya tiene documentos"))) << why.toStdString();
    EXPECT_EQ(lines, qmx44::db::summarize(fresh.connection()).purchaseLines);
    EXPECT_FALSE(fresh.connection().inTransaction());
}

// Guards against demo data left half-loaded when it is refused for a company that
// has catalogues but no documents yet.
TEST_P(SchemaTest, DemoRefusedOverCatalogueRowsWritesNothing)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    fresh.connection().run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES (?)"),
                           {QStringLiteral("MIO")});
    const QString why = describeFailure([&] { qmx44::db::loadDemo(fresh.connection()); });
    EXPECT_TRUE(why.contains(QStringLiteral("Proveedor"))) << why.toStdString();
    EXPECT_EQ(1, scalar(fresh.connection(), QStringLiteral("SELECT COUNT(*) FROM Proveedor")));
    EXPECT_EQ(0, scalar(fresh.connection(), QStringLiteral("SELECT COUNT(*) FROM Producto")));
}

// Guards against several clerks starting at once on a new database failing, or applying
// a schema step twice: the steps are taken one program at a time.
TEST_P(SchemaTest, ProgramsStartingAtOnceCreateTheSchemaOnce)
{
    if (GetParam() != "postgres")
        GTEST_SKIP() << "a new SQLite file is made by one program on one machine";
    qmx44::test::FreshDatabase fresh(GetParam());
    Conexion &db = fresh.connection();
    const QString schema =
        db.query(QStringLiteral("SELECT current_schema() AS s"))->field(QStringLiteral("s")).toString();
    db.run(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema));
    db.run(QStringLiteral("CREATE SCHEMA %1").arg(schema));
    fresh.closeConnection();

    constexpr int kPrograms = 4;
    std::latch start(kPrograms);
    std::vector<std::thread> programs;
    for (int i = 0; i < kPrograms; ++i)
        programs.emplace_back([&] {
            start.arrive_and_wait();
            EXPECT_EQ(QStringLiteral("<no error>"),
                      describeFailure([&] { qmx44::db::initDatabase(fresh.connectionString(), false); }));
        });
    for (std::thread &t : programs)
        t.join();
    EXPECT_EQ(qmx44::db::knownSchemaVersion(),
              scalar(fresh.connection(), QStringLiteral("SELECT COUNT(*) FROM Version_Esquema")));
}

// Guards against a key column that takes a NULL on one back-end and refuses it on the
// other. Every column outside a key has a default, so naming the key columns is enough;
// '20240101' is a valid text, integer and date on both back-ends.
TEST_P(SchemaTest, EveryKeyColumnRefusesNull)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    Conexion &db = fresh.connection();
    const auto keys = qmx44::db::primaryKeys(db);
    EXPECT_EQ(qmx44::db::tableNames(db).size(), keys.size()) << "every table has a primary key";
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        const auto insert = [&](const QString &nullColumn) {
            QStringList values;
            for (const QString &column : it.value())
                values.append(column == nullColumn ? QStringLiteral("NULL") : QStringLiteral("'20240101'"));
            return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(it.key(), it.value().join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
        };
        // A purchase's line made its header already.
        db.run(QStringLiteral("DELETE FROM %1").arg(it.key()));
        EXPECT_EQ(QStringLiteral("<no error>"), describeFailure([&] { db.run(insert({})); }))
            << insert({}).toStdString();
        for (const QString &column : it.value())
            EXPECT_NE(QStringLiteral("<no error>"), describeFailure([&] { db.run(insert(column)); }))
                << insert(column).toStdString();
    }
}

// Guards against the save-token step losing a company's notes, or leaving their token
// NULL (a look-up by token would then have to treat NULL and '' alike).
TEST_P(SchemaTest, VersionThreeGainsTheSaveTokenKeepingItsNotes)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    Conexion &db = fresh.connection();
    upgradeFromScratchTo(db, 3);
    db.run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio) VALUES ('1', 1, 'C1')"));

    EXPECT_EQ(3, qmx44::db::upgradeSchema(db));
    EXPECT_EQ(1, scalar(db, QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Token = ''")));
}

// Guards against the purchase search missing a purchase, offering one that is gone, or
// showing a header that is no longer the purchase's: the header table is filled from the
// purchases a company has, and follows every insert, change and delete of their lines.
TEST_P(SchemaTest, PurchaseHeadersFollowTheirLines)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    Conexion &db = fresh.connection();
    upgradeFromScratchTo(db, 6);
    const QString line = QStringLiteral("INSERT INTO COMPRA (Co_Folio, Co_Linea, Pv_Cve_Proveedor, Es_Cve_Estado) "
                                        "VALUES (?, ?, ?, 'AC')");
    db.run(line, {QStringLiteral("C1"), 2, QStringLiteral("P1")});
    db.run(line, {QStringLiteral("C1"), 1, QStringLiteral("P1")});
    qmx44::db::upgradeSchema(db);
    const auto headers = [&] {
        QStringList rows;
        for (auto rs = db.query(QStringLiteral("SELECT Co_Folio, Pv_Cve_Proveedor, Es_Cve_Estado "
                                               "FROM Compra_Encabezado ORDER BY Co_Folio"));
             !rs->eof(); rs->moveNext())
            rows << rs->field(QStringLiteral("Co_Folio")).toString() + u' '
                    + rs->field(QStringLiteral("Pv_Cve_Proveedor")).toString() + u' '
                    + rs->field(QStringLiteral("Es_Cve_Estado")).toString();
        return rows;
    };
    EXPECT_EQ(QStringList{"C1 P1 AC"}, headers());

    db.run(line, {QStringLiteral("C2"), 1, QStringLiteral("P2")});
    db.run(line, {QStringLiteral("C2"), 2, QStringLiteral("P2")});
    db.run(QStringLiteral("UPDATE COMPRA SET Es_Cve_Estado = 'CA' WHERE Co_Folio = 'C1'"));
    EXPECT_EQ((QStringList{"C1 P1 CA", "C2 P2 AC"}), headers());
    // One line moved to another folio: both purchases stay; all moved: the old one goes.
    db.run(QStringLiteral("UPDATE COMPRA SET Co_Folio = 'C3' WHERE Co_Folio = 'C2' AND Co_Linea = 1"));
    EXPECT_EQ((QStringList{"C1 P1 CA", "C2 P2 AC", "C3 P2 AC"}), headers());
    db.run(QStringLiteral("UPDATE COMPRA SET Co_Folio = 'C3' WHERE Co_Folio = 'C2'"));
    EXPECT_EQ((QStringList{"C1 P1 CA", "C3 P2 AC"}), headers());
    db.run(QStringLiteral("DELETE FROM COMPRA WHERE Co_Folio = 'C3' AND Co_Linea = 1"));
    EXPECT_EQ((QStringList{"C1 P1 CA", "C3 P2 AC"}), headers());
    db.run(QStringLiteral("DELETE FROM COMPRA WHERE Co_Folio = 'C1'"));
    EXPECT_EQ(QStringList{"C3 P2 AC"}, headers());
}

INSTANTIATE_TEST_SUITE_P(Backends, SchemaTest, ::testing::ValuesIn(qmx44::test::backends()), qmx44::test::backendName);

// ---- SQLite files -------------------------------------------------------------------------

class SchemaSqliteFileTest : public ::testing::Test {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A database at schema version 2 holding the demo company.
    std::unique_ptr<Conexion> versionTwoWithDemo()
    {
        auto c = qmx44::db::open(path("v2.sqlite"), OpenMode::Raw);
        qmx44::db::upgradeSchema(*c, {qmx44::db::schemaStep(1, c->backend()), qmx44::db::schemaStep(2, c->backend())});
        QFile demo(QStringLiteral(":/qmx44/db/demo/demo.sql"));
        EXPECT_TRUE(demo.open(QIODevice::ReadOnly));
        for (const QString &statement : qmx44::db::splitSqlScript(QString::fromUtf8(demo.readAll())))
            c->run(statement);
        return c;
    }
    QTemporaryDir dir;
};

// Every row of every table but Version_Esquema, and every column (but whether a key
// column is NOT NULL) and index, as text to compare.
std::string contents(Conexion &db)
{
    QStringList lines;
    for (const QString &table : qmx44::db::tableNames(db)) {
        const bool rows = table != QStringLiteral("Version_Esquema");
        for (auto rs = db.query(QStringLiteral("SELECT * FROM %1").arg(table)); rows && !rs->eof(); rs->moveNext()) {
            QString row = table;
            for (const QString &column : rs->columns()) {
                const QVariant v = rs->field(column);
                row += u'|' + (v.isNull() ? QStringLiteral("NULL") : v.toString());
            }
            lines.append(row);
        }
        auto rs = db.query(QStringLiteral("SELECT name, type, dflt_value, pk, \"notnull\" FROM pragma_table_info(?)"),
                           {table});
        for (; !rs->eof(); rs->moveNext())
            lines.append(QStringLiteral("%1 column %2 %3 %4 %5")
                             .arg(table, rs->field(QStringLiteral("name")).toString(),
                                  rs->field(QStringLiteral("type")).toString(),
                                  rs->field(QStringLiteral("dflt_value")).toString(),
                                  rs->field(QStringLiteral("pk")).toInt() > 0
                                      ? QStringLiteral("key")
                                      : rs->field(QStringLiteral("notnull")).toString()));
    }
    for (auto rs = db.query(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
         !rs->eof(); rs->moveNext())
        lines.append(rs->field(QStringLiteral("sql")).toString().simplified());
    lines.sort();
    return lines.join(u'\n').toStdString();
}

// Guards against the rebuild of the tables for NOT NULL keys losing or altering a row,
// a column's type or default, or an index, in a company's existing database.
TEST_F(SchemaSqliteFileTest, VersionTwoUpgradesWithRowsAndColumnsIntact)
{
    auto db = versionTwoWithDemo();
    const std::string before = contents(*db);
    // Through the rebuild only: later steps add tables of their own.
    QList<QStringList> steps;
    for (int v = 1; v <= 3; ++v)
        steps.append(qmx44::db::schemaStep(v, db->backend()));
    EXPECT_EQ(2, qmx44::db::upgradeSchema(*db, steps));
    EXPECT_EQ(before, contents(*db));
    EXPECT_EQ(3, scalar(*db, QStringLiteral("SELECT COUNT(*) FROM Version_Esquema")));
    EXPECT_EQ(3, qmx44::db::upgradeSchema(*db));
    EXPECT_EQ(qmx44::db::SchemaState::Current, qmx44::db::inspectSchema(*db).state);
}

// Guards against rows with a NULL key being dropped or given a made-up key by the
// upgrade, or the refusal not saying where they are.
TEST_F(SchemaSqliteFileTest, NullKeyRowsRefuseTheUpgradeNamingTableAndRows)
{
    auto db = versionTwoWithDemo();
    db->run(QStringLiteral("INSERT INTO COMPRA (Co_Folio, Co_Linea) VALUES ('C9', NULL), ('C9', NULL)"));
    const std::string before = contents(*db);
    const QString why = describeFailure([&] { qmx44::db::upgradeSchema(*db); });
    EXPECT_TRUE(why.contains(QStringLiteral("la tabla COMPRA tiene 2 renglones sin valor en su clave")))
        << why.toStdString();
    EXPECT_EQ(before, contents(*db));
    EXPECT_EQ(2, qmx44::db::inspectSchema(*db).version);
}

// Guards against a new file that is not set up (no schema, no write-ahead log), and a
// report that does not say what was done.
TEST_F(SchemaSqliteFileTest, InitCreatesAFileWithSchemaAndDemo)
{
    const auto report = qmx44::db::initDatabase(path("nueva.sqlite"), true);
    EXPECT_EQ(0, report.versionBefore);
    EXPECT_EQ(qmx44::db::knownSchemaVersion(), report.versionAfter);
    EXPECT_TRUE(report.demoLoaded);
    auto db = qmx44::db::open(QStringLiteral("sqlite:") + path("nueva.sqlite"), OpenMode::Existing);
    auto mode = db->query(QStringLiteral("PRAGMA journal_mode"));
    EXPECT_EQ(QStringLiteral("wal"), mode->field(mode->columns().value(0)).toString().toLower());
    auto fk = db->query(QStringLiteral("PRAGMA foreign_keys"));
    EXPECT_EQ(1, fk->field(fk->columns().value(0)).toInt());
}

// Guards against a database of another program being taken over: it must be refused,
// byte for byte unchanged.
TEST_F(SchemaSqliteFileTest, ForeignDatabaseIsRefusedUntouched)
{
    const QString file = path("ajena.sqlite");
    {
        auto raw = qmx44::db::open(file, OpenMode::Raw);
        raw->run(QStringLiteral("CREATE TABLE clientes (id INTEGER PRIMARY KEY, nombre TEXT)"));
        raw->run(QStringLiteral("INSERT INTO clientes (nombre) VALUES ('Ana')"));
        raw->run(QStringLiteral("PRAGMA journal_mode = DELETE"));
    }
    const QByteArray before = fileHash(file);
    for (OpenMode mode : {OpenMode::Upgrade, OpenMode::Existing}) {
        const QString why = describeFailure([&] { qmx44::db::open(file, mode); });
        EXPECT_TRUE(why.contains(QStringLiteral("no es de qmx44"))) << why.toStdString();
    }
    const QString why = describeFailure([&] { qmx44::db::initDatabase(file, true); });
    EXPECT_TRUE(why.contains(QStringLiteral("Version_Esquema"))) << why.toStdString();
    EXPECT_EQ(before, fileHash(file));
    EXPECT_FALSE(QFile::exists(file + QStringLiteral("-wal")));
}

// Guards against a connection that names nothing usable (a missing folder, a file that
// is no database, a missing file where only an existing database may be used) creating
// something or failing without saying what is wrong.
TEST_F(SchemaSqliteFileTest, NonsenseIsRefusedNamingTheProblemAndCreatesNothing)
{
    QFile text(path("texto.sqlite"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("esto no es una base de datos, solo texto plano que ocupa más de cien bytes para que SQLite lea su "
               "cabecera completa");
    text.close();
    const std::pair<QString, const char *> cases[] = {{path("no/existe/empresa.sqlite"), "no existe la carpeta"},
                                                      {path("texto.sqlite"), "not a database"}};
    for (const auto &[cs, mentions] : cases) {
        const QString why = describeFailure([&] { qmx44::db::initDatabase(cs, true); });
        EXPECT_TRUE(why.contains(QString::fromUtf8(mentions), Qt::CaseInsensitive)) << why.toStdString();
    }
    const QString why = describeFailure([&] { qmx44::db::open(path("falta.sqlite"), OpenMode::Existing); });
    EXPECT_TRUE(why.contains(QStringLiteral("No existe"))) << why.toStdString();
    EXPECT_EQ(QStringList({QStringLiteral("texto.sqlite")}),
              QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot));
}

} // namespace
