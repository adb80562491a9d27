#include "platform/db/schema.h"

#include "platform/db/sql_script.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <functional>

namespace qmx44::db {

namespace {

const QString kSchemaFolder = QStringLiteral(":/qmx44/db/schema");

// Schema files by version, read once from the library's resources.
const QMap<int, QString> &schemaFiles()
{
    static const QMap<int, QString> files = [] {
        QMap<int, QString> map;
        static const QRegularExpression name(QStringLiteral("^(\\d+)_.*\\.sql$"));
        const QStringList entries = QDir(kSchemaFolder).entryList(QDir::Files, QDir::Name);
        for (const QString &entry : entries) {
            const auto m = name.match(entry);
            if (m.hasMatch())
                map.insert(m.captured(1).toInt(), kSchemaFolder + QLatin1Char('/') + entry);
        }
        return map;
    }();
    return files;
}

QString readResource(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError(QStringLiteral("No se encontró el archivo interno %1").arg(path));
    return QString::fromUtf8(f.readAll());
}

bool hasTable(const QStringList &tables, const QString &name)
{
    for (const QString &t : tables)
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int appliedVersion(Conexion &c)
{
    auto rs = c.query(QStringLiteral("SELECT MAX(Ve_Version) AS v FROM Version_Esquema"));
    if (rs->eof())
        return 0;
    const QVariant v = rs->field(QStringLiteral("v"));
    return v.isNull() ? 0 : v.toInt();
}

} // namespace

int knownSchemaVersion()
{
    const auto &files = schemaFiles();
    // Versions run 1, 2, 3 ... without gaps; a gap would mean a step never applied.
    int v = 0;
    while (files.contains(v + 1))
        ++v;
    return v;
}

QStringList schemaStep(int version)
{
    const auto &files = schemaFiles();
    if (!files.contains(version))
        throw RuntimeError(QStringLiteral("No existe el paso %1 del esquema").arg(version));
    return splitSqlScript(readResource(files.value(version)));
}

QStringList tableNames(Conexion &c)
{
    QString sql;
    switch (c.backend()) {
    case Backend::Sqlite:
        sql = QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
        break;
    case Backend::Postgres:
        sql = QStringLiteral("SELECT table_name FROM information_schema.tables "
                             "WHERE table_schema = current_schema()");
        break;
    case Backend::Odbc:
        sql = QStringLiteral("SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES");
        break;
    }
    QStringList names;
    for (auto rs = c.query(sql); !rs->eof(); rs->moveNext())
        names.append(rs->field(rs->columns().value(0)).toString());
    return names;
}

namespace {

SchemaStatus inspect(Conexion &c, int known)
{
    const QStringList tables = tableNames(c);
    if (tables.isEmpty())
        return {SchemaState::Empty, 0};
    if (!hasTable(tables, QStringLiteral("Version_Esquema")))
        return {SchemaState::Foreign, 0};
    const int version = appliedVersion(c);
    if (version > known)
        return {SchemaState::Newer, version};
    if (version < known)
        return {SchemaState::Older, version};
    return {SchemaState::Current, version};
}

void refuseUnusable(const SchemaStatus &status, int known)
{
    if (status.state == SchemaState::Foreign)
        throw RuntimeError(
            QStringLiteral("La base de datos no es de qmx44: tiene tablas pero no la tabla Version_Esquema. "
                           "No se modificó nada."));
    if (status.state == SchemaState::Newer)
        throw RuntimeError(
            QStringLiteral("La base de datos tiene la versión %1 del esquema, más nueva que la versión %2 que "
                           "conoce este programa. Actualice el programa. No se modificó nada.")
                .arg(status.version)
                .arg(known));
}

// Holds PostgreSQL's advisory lock of the schema for the whole upgrade: programs
// started at once on a new database wait for the first one, which applies every step,
// and then find the schema current.
class SchemaLock {
public:
    explicit SchemaLock(Conexion &c) : m_c(c.backend() == Backend::Postgres ? &c : nullptr)
    {
        if (m_c)
            m_c->query(QStringLiteral("SELECT pg_advisory_lock(440044)"));
    }
    ~SchemaLock()
    {
        try {
            if (m_c)
                m_c->query(QStringLiteral("SELECT pg_advisory_unlock(440044)"));
        } catch (...) {
            // A session that is gone has released it.
        }
    }
    SchemaLock(const SchemaLock &) = delete;
    SchemaLock &operator=(const SchemaLock &) = delete;

private:
    Conexion *m_c;
};

int upgrade(Conexion &c, int known, const std::function<QStringList(int)> &step)
{
    SchemaLock lock(c);
    const SchemaStatus before = inspect(c, known);
    refuseUnusable(before, known);
    int found = before.version;
    bool applied = false;
    for (int version = before.version + 1; version <= known; ++version) {
        const QStringList statements = step(version);
        ScopedTransaction tx(c);
        // Look again inside the transaction: another process (SQLite) may have got here
        // first.
        const SchemaStatus now = inspect(c, known);
        refuseUnusable(now, known);
        if (now.version >= version)
            continue;
        if (!applied)
            found = now.version;
        applied = true;
        for (const QString &statement : statements) {
            try {
                c.run(statement);
            } catch (const RuntimeError &e) {
                throw RuntimeError(QStringLiteral("Falló el paso %1 del esquema: %2\n%3")
                                       .arg(version)
                                       .arg(e.description(), statement.left(200)));
            }
        }
        c.run(QStringLiteral("INSERT INTO Version_Esquema (Ve_Version, Ve_Fecha) VALUES (?, ?)"),
              {version, QDateTime::currentDateTime().toString(Qt::ISODate)});
        tx.commit();
    }
    // What this program found: a program that applied nothing found the schema as the
    // others left it.
    return applied ? found : inspect(c, known).version;
}

} // namespace

SchemaStatus inspectSchema(Conexion &c)
{
    return inspect(c, knownSchemaVersion());
}

int upgradeSchema(Conexion &c)
{
    return upgrade(c, knownSchemaVersion(), [](int version) { return schemaStep(version); });
}

int upgradeSchema(Conexion &c, const QList<QStringList> &steps)
{
    return upgrade(c, int(steps.size()), [&](int version) { return steps.value(version - 1); });
}

void requireCurrentSchema(Conexion &c)
{
    const SchemaStatus status = inspectSchema(c);
    refuseUnusable(status, knownSchemaVersion());
    if (status.state == SchemaState::Empty)
        throw RuntimeError(QStringLiteral("La base de datos está vacía: créela con qmx44 init-db."));
    if (status.state == SchemaState::Older)
        throw RuntimeError(QStringLiteral("La base de datos tiene la versión %1 del esquema y este "
                                          "programa usa la %2: actualícela con qmx44 init-db.")
                               .arg(status.version)
                               .arg(knownSchemaVersion()));
}

} // namespace qmx44::db
