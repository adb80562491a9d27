// The versioned schema, the demo company and the refusals that leave a database
// exactly as it was: not ours, newer, locked, or named by nonsense.
#include "platform/db/admin.h"
#include "platform/db/open.h"
#include "platform/db/schema.h"
#include "tests/support/test_db.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

class SchemaTest : public ::testing::TestWithParam<std::string> {};

// Guards against a schema step missing a table or index the screen and the document
// object rely on, or an unrecorded version.
TEST_P(SchemaTest, NewDatabaseGetsTheWholeSchema)
{
    auto db = qmx44::test::freshDatabase(GetParam());
    EXPECT_EQ(qmx44::db::knownSchemaVersion(), qmx44::db::inspectSchema(*db).version);
    EXPECT_EQ(int(qmx44::db::SchemaState::Current), int(qmx44::db::inspectSchema(*db).state));
    const QStringList tables = qmx44::db::tableNames(*db);
    for (const char *t : {"COMPRA", "Producto", "Proveedor", "Sucursal", "Almacen", "Moneda", "Comprador",
                          "Causa_Nota_Credito_Proveedor", "Direccion_Entrega", "NOTA_CREDITO_PROVEEDOR",
                          "Nota_Credito_Aplicacion", "Parametro", "Usuario", "Usuario_Permiso", "Periodo_Operativo",
                          "Tipo_Cambio", "Folio_Contador", "Documento_Direccion", "Campo_Adicional",
                          "Campo_Adicional_Valor", "Formato_Impresion", "Version_Esquema"})
        EXPECT_TRUE(tables.contains(QString::fromLatin1(t), Qt::CaseInsensitive)) << t;
    // The print format the demo parameter names, and the note counter, come with the schema.
    EXPECT_EQ(1, scalar(*db, QStringLiteral("SELECT COUNT(*) FROM Formato_Impresion WHERE Fi_Nombre = 'NCP_BONIFICACION'")));
    EXPECT_EQ(1, scalar(*db, QStringLiteral("SELECT COUNT(*) FROM Folio_Contador WHERE Fc_Documento = 'NOTA_CREDITO_PROVEEDOR'")));
}

// Guards against a column without a default, which would make every writer that does
// not know it fail (inserting only the keys must work in every table).
TEST_P(SchemaTest, EveryColumnOutsideTheKeyHasADefault)
{
    auto db = qmx44::test::freshDatabase(GetParam());
    const QMap<QString, QString> keys = {
        {QStringLiteral("COMPRA"), QStringLiteral("Co_Folio, Co_Linea")},
        {QStringLiteral("NOTA_CREDITO_PROVEEDOR"), QStringLiteral("Nc_Folio, Nc_Linea")},
        {QStringLiteral("Direccion_Entrega"), QStringLiteral("De_Tabla, De_Documento, De_ID")},
        {QStringLiteral("Usuario_Permiso"), QStringLiteral("Us_Cve_Usuario, Pe_Modulo, Pe_Clave")},
        {QStringLiteral("Periodo_Operativo"), QStringLiteral("Po_Modulo, Po_Fecha_Inicio")},
        {QStringLiteral("Tipo_Cambio"), QStringLiteral("Mn_Cve_Moneda, Tc_Fecha")},
        {QStringLiteral("Documento_Direccion"), QStringLiteral("Dd_Tabla, Dd_Documento, Dd_Entidad")},
        {QStringLiteral("Campo_Adicional"), QStringLiteral("Ca_Tabla, Ca_Campo")},
        {QStringLiteral("Campo_Adicional_Valor"), QStringLiteral("Ca_Tabla, Ca_Campo, Cv_Clave")},
    };
    const QMap<QString, QString> single = {
        {QStringLiteral("Sucursal"), QStringLiteral("Sc_Cve_Sucursal")}, {QStringLiteral("Almacen"), QStringLiteral("Al_Cve_Almacen")},
        {QStringLiteral("Proveedor"), QStringLiteral("Pv_Cve_Proveedor")}, {QStringLiteral("Producto"), QStringLiteral("Pr_Cve_Producto")},
        {QStringLiteral("Moneda"), QStringLiteral("Mn_Cve_Moneda")}, {QStringLiteral("Comprador"), QStringLiteral("Cm_Cve_Comprador")},
        {QStringLiteral("Causa_Nota_Credito_Proveedor"), QStringLiteral("Cn_Cve_Causa_Nota_Credito_Proveedor")},
        {QStringLiteral("Nota_Credito_Aplicacion"), QStringLiteral("Nc_Folio")}, {QStringLiteral("Parametro"), QStringLiteral("Pa_Nombre")},
        {QStringLiteral("Usuario"), QStringLiteral("Us_Cve_Usuario")}, {QStringLiteral("Folio_Contador"), QStringLiteral("Fc_Documento")},
        {QStringLiteral("Formato_Impresion"), QStringLiteral("Fi_Nombre")},
    };
    auto insertKeys = [&](const QString &table, const QString &columns) {
        QVariantList values;
        QStringList marks;
        for (const QString &column : columns.split(QStringLiteral(", "))) {
            values.append(column.endsWith(QStringLiteral("Linea")) ? QVariant(1)
                          : column.contains(QStringLiteral("Fecha")) ? QVariant(QDate(2030, 1, 1))
                                                                     : QVariant(QStringLiteral("ZZ")));
            marks.append(QStringLiteral("?"));
        }
        EXPECT_NO_THROW(db->run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns, marks.join(QLatin1Char(','))), values))
            << table.toStdString();
    };
    for (auto it = keys.begin(); it != keys.end(); ++it)
        insertKeys(it.key(), it.value());
    for (auto it = single.begin(); it != single.end(); ++it)
        insertKeys(it.key(), it.value());
    // A table added later must be added above too.
    for (const QString &table : qmx44::db::tableNames(*db)) {
        const bool listed = table.compare(QStringLiteral("Version_Esquema"), Qt::CaseInsensitive) == 0
            || std::any_of(keys.keyBegin(), keys.keyEnd(), [&](const QString &k) { return k.compare(table, Qt::CaseInsensitive) == 0; })
            || std::any_of(single.keyBegin(), single.keyEnd(), [&](const QString &k) { return k.compare(table, Qt::CaseInsensitive) == 0; });
        EXPECT_TRUE(listed) << "table not checked: " << table.toStdString();
    }
    auto note = db->query(QStringLiteral("SELECT Es_Cve_Estado, Nc_Precio_Neto_Importe, Co_Folio FROM NOTA_CREDITO_PROVEEDOR"));
    EXPECT_EQ(QStringLiteral("AC"), note->field(QStringLiteral("Es_Cve_Estado")).toString());
    EXPECT_DOUBLE_EQ(0, note->field(QStringLiteral("Nc_Precio_Neto_Importe")).toDouble());
    EXPECT_EQ(QString(), note->field(QStringLiteral("Co_Folio")).toString());
}

// Guards against opening a current database writing to it (a second version row, a
// step applied twice).
TEST_P(SchemaTest, ReopeningACurrentDatabaseChangesNothing)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    const qint64 rows = scalar(fresh.connection(), QStringLiteral("SELECT COUNT(*) FROM Version_Esquema"));
    fresh.closeConnection();
    int found = -1;
    auto again = qmx44::db::open(fresh.connectionString(), OpenMode::Upgrade, found);
    EXPECT_EQ(qmx44::db::knownSchemaVersion(), found);
    EXPECT_EQ(rows, scalar(*again, QStringLiteral("SELECT COUNT(*) FROM Version_Esquema")));
    EXPECT_NO_THROW(qmx44::db::open(fresh.connectionString(), OpenMode::Existing));
}

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
        EXPECT_TRUE(why.contains(QString::number(newer)) && why.contains(QStringLiteral("más nueva"))) << why.toStdString();
    }
    const QString why = describeFailure([&] { qmx44::db::initDatabase(fresh.connectionString(), true); });
    EXPECT_TRUE(why.contains(QStringLiteral("más nueva"))) << why.toStdString();
    auto raw = qmx44::db::open(fresh.connectionString(), OpenMode::Raw);
    EXPECT_EQ(0, scalar(*raw, QStringLiteral("SELECT COUNT(*) FROM Proveedor")));
    EXPECT_EQ(newer, scalar(*raw, QStringLiteral("SELECT COUNT(*) FROM Version_Esquema")));
}

// Guards against a database without the version table (another program's) being
// upgraded or demo-loaded: refused, and no table created or removed.
TEST_P(SchemaTest, DatabaseWithoutVersionTableIsRefused)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    fresh.connection().run(QStringLiteral("DROP TABLE Version_Esquema"));
    const QStringList before = qmx44::db::tableNames(fresh.connection());
    fresh.closeConnection();
    const QString why = describeFailure([&] { qmx44::db::initDatabase(fresh.connectionString(), true); });
    EXPECT_TRUE(why.contains(QStringLiteral("no es de qmx44"))) << why.toStdString();
    auto raw = qmx44::db::open(fresh.connectionString(), OpenMode::Raw);
    EXPECT_EQ(before.size(), qmx44::db::tableNames(*raw).size());
    EXPECT_EQ(0, scalar(*raw, QStringLiteral("SELECT COUNT(*) FROM Proveedor")));
}

// Guards against an upgrade that skips a step, applies one twice, or leaves a failed
// step half applied: each step is one transaction with its version row.
TEST_P(SchemaTest, UpgradesOneStepAtATimeAndStopsAtAFailingStep)
{
    qmx44::test::FreshDatabase fresh(GetParam());
    Conexion &db = fresh.connection();
    QList<QStringList> steps;
    for (int v = 1; v <= qmx44::db::knownSchemaVersion(); ++v)
        steps.append(qmx44::db::schemaStep(v));
    const int current = int(steps.size());
    steps.append({QStringLiteral("ALTER TABLE Proveedor ADD COLUMN Pv_Nuevo TEXT DEFAULT 'n'")});
    steps.append({QStringLiteral("CREATE TABLE Paso_Tres (a TEXT)"), QStringLiteral("INSERT INTO Tabla_Que_No_Existe VALUES (1)")});

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
    // This program's own steps now find a newer database.
    const QString newer = describeFailure([&] { qmx44::db::upgradeSchema(db); });
    EXPECT_TRUE(newer.contains(QStringLiteral("más nueva"))) << newer.toStdString();
}

// Guards against the demo company loaded twice, or over a company's own documents.
TEST_P(SchemaTest, DemoLoadsOnceIntoAnEmptyCompany)
{
    qmx44::test::FreshDatabase fresh(GetParam(), true);
    const auto summary = qmx44::db::summarize(fresh.connection());
    EXPECT_EQ(qmx44::db::knownSchemaVersion(), summary.schemaVersion);
    EXPECT_EQ(9, summary.purchases);
    EXPECT_EQ(3, summary.notes);
    EXPECT_EQ(1, summary.cancelledNotes);
    EXPECT_EQ(5, summary.suppliers);
    EXPECT_EQ(20, summary.products);
    EXPECT_TRUE(qmx44::db::summaryText(summary).contains(QStringLiteral("Compras: 9")));

    const qint64 lines = summary.purchaseLines;
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
    fresh.connection().run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES (?)"), {QStringLiteral("MIO")});
    const QString why = describeFailure([&] { qmx44::db::loadDemo(fresh.connection()); });
    EXPECT_TRUE(why.contains(QStringLiteral("Proveedor"))) << why.toStdString();
    EXPECT_EQ(1, scalar(fresh.connection(), QStringLiteral("SELECT COUNT(*) FROM Proveedor")));
    EXPECT_EQ(0, scalar(fresh.connection(), QStringLiteral("SELECT COUNT(*) FROM Producto")));
}

INSTANTIATE_TEST_SUITE_P(db, SchemaTest, ::testing::ValuesIn(qmx44::test::backends()), qmx44::test::backendName);

// ---- SQLite files -------------------------------------------------------------------------

class dbSqliteFiles : public ::testing::Test {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

// Guards against a new file that is not set up (no schema, no write-ahead log), and a
// report that does not say what was done.
TEST_F(dbSqliteFiles, InitCreatesAFileWithSchemaAndDemo)
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
    EXPECT_EQ(9, qmx44::db::summarize(*db).purchases);
}

// Guards against a database of another program being taken over: it must be refused,
// byte for byte unchanged.
TEST_F(dbSqliteFiles, ForeignDatabaseIsRefusedUntouched)
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

struct Nonsense {
    const char *name;
    const char *text; // "%1" is the temporary folder
    const char *mentions;
};

void PrintTo(const Nonsense &n, std::ostream *os) { *os << n.name; }

class dbNonsenseConnection : public ::testing::TestWithParam<Nonsense> {
protected:
    QTemporaryDir dir;
};

// Guards against a connection string that names nothing usable creating something or
// failing without saying what is wrong.
TEST_P(dbNonsenseConnection, IsRefusedNamingTheProblemAndCreatesNothing)
{
    QFile text(dir.filePath(QStringLiteral("texto.sqlite")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("esto no es una base de datos, solo texto plano que ocupa más de cien bytes para que SQLite lea su cabecera completa");
    text.close();
    const QString cs = QString::fromUtf8(GetParam().text).arg(dir.path());
    const QString why = describeFailure([&] { qmx44::db::initDatabase(cs, true); });
    EXPECT_TRUE(why.contains(QString::fromUtf8(GetParam().mentions), Qt::CaseInsensitive)) << why.toStdString();
    EXPECT_EQ(QStringList({QStringLiteral("texto.sqlite")}), QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot));
}

const Nonsense kNonsense[] = {
    {"unknown_scheme", "mysql://root@localhost/empresa", "mysql"},
    {"missing_folder", "%1/no/existe/empresa.sqlite", "no existe la carpeta"},
    {"a_folder", "sqlite:%1", "carpeta"},
    {"not_a_database", "%1/texto.sqlite", "not a database"},
    {"unreachable_postgres", "postgresql://postgres@/empresa?host=%1/sin-servidor&port=1", "No se pudo abrir la base de datos"},
    {"unknown_odbc_source", "odbc:QMX44_NO_EXISTE", "QMX44_NO_EXISTE"},
};

INSTANTIATE_TEST_SUITE_P(db, dbNonsenseConnection, ::testing::ValuesIn(kNonsense),
                         [](const auto &p) { return std::string(p.param.name); });

// Guards against a missing file being created when only an existing database may be
// used.
TEST_F(dbSqliteFiles, ExistingModeDoesNotCreateAFile)
{
    const QString why = describeFailure([&] { qmx44::db::open(path("falta.sqlite"), OpenMode::Existing); });
    EXPECT_TRUE(why.contains(QStringLiteral("No existe"))) << why.toStdString();
    EXPECT_FALSE(QFile::exists(path("falta.sqlite")));
}

// Guards against a database locked by another program failing without a clear
// message, or being half set up.
TEST_F(dbSqliteFiles, LockedDatabaseGivesAClearErrorAndNoDemo)
{
    const QString file = path("bloqueada.sqlite");
    qmx44::db::initDatabase(file, false);
    auto holder = qmx44::db::open(file, OpenMode::Existing);
    holder->begin();
    const QString why = describeFailure([&] {
        auto c = qmx44::db::open(QStringLiteral("sqlite:") + file + QStringLiteral("?busy_timeout=50"));
        qmx44::db::loadDemo(*c);
    });
    EXPECT_TRUE(why.contains(QStringLiteral("locked"))) << why.toStdString();
    holder->rollback();
    EXPECT_EQ(0, qmx44::db::summarize(*holder).suppliers);
}

} // namespace
