#include "platform/db/schema.h"

#include "platform/db/open.h"
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

// The part of a step file for the back-end: the text before the first section line,
// then the sections of that back-end (see schema.h).
QString backendPart(const QString &text, Backend backend)
{
    static const QRegularExpression section(QStringLiteral("^--\\s*@(\\w+)\\s*$"));
    static const QMap<QString, Backend> names{{QStringLiteral("sqlite"), Backend::Sqlite},
                                              {QStringLiteral("postgresql"), Backend::Postgres},
                                              {QStringLiteral("odbc"), Backend::Odbc}};
    QString part;
    bool taken = true;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const auto m = section.match(line.trimmed());
        if (!m.hasMatch()) {
            if (taken)
                part += line + QLatin1Char('\n');
            continue;
        }
        if (!names.contains(m.captured(1)))
            throw RuntimeError(QStringLiteral("Sección desconocida en el esquema: %1").arg(line));
        taken = names.value(m.captured(1)) == backend;
    }
    return part;
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

QStringList schemaStep(int version, Backend backend)
{
    const auto &files = schemaFiles();
    if (!files.contains(version))
        throw RuntimeError(QStringLiteral("No existe el paso %1 del esquema").arg(version));
    return splitSqlScript(backendPart(readResource(files.value(version)), backend));
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

QMap<QString, QStringList> primaryKeys(Conexion &c)
{
    QMap<QString, QStringList> keys;
    if (c.backend() == Backend::Sqlite) {
        for (const QString &table : tableNames(c)) {
            auto rs =
                c.query(QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk"), {table});
            for (; !rs->eof(); rs->moveNext())
                keys[table].append(rs->field(QStringLiteral("name")).toString());
        }
        return keys;
    }
    QString sql =
        QStringLiteral("SELECT k.TABLE_NAME AS t, k.COLUMN_NAME AS col "
                       "FROM INFORMATION_SCHEMA.TABLE_CONSTRAINTS p "
                       "JOIN INFORMATION_SCHEMA.KEY_COLUMN_USAGE k "
                       "ON k.CONSTRAINT_SCHEMA = p.CONSTRAINT_SCHEMA AND k.CONSTRAINT_NAME = p.CONSTRAINT_NAME "
                       "AND k.TABLE_NAME = p.TABLE_NAME "
                       "WHERE p.CONSTRAINT_TYPE = 'PRIMARY KEY'");
    if (c.backend() == Backend::Postgres)
        sql += QStringLiteral(" AND p.TABLE_SCHEMA = current_schema()");
    sql += QStringLiteral(" ORDER BY k.TABLE_NAME, k.ORDINAL_POSITION");
    for (auto rs = c.query(sql); !rs->eof(); rs->moveNext())
        keys[rs->field(QStringLiteral("t")).toString()].append(rs->field(QStringLiteral("col")).toString());
    return keys;
}

namespace {

// The first step whose tables refuse a NULL in a key column on every back-end.
constexpr int kKeysNotNullVersion = 3;

// Rows with a NULL key cannot be copied into tables whose key columns are NOT NULL, and
// which value they were meant to have is the company's to say.
void refuseNullKeys(Conexion &c, int version)
{
    QStringList found;
    const auto keys = primaryKeys(c);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        const QString anyNull = it.value().join(QStringLiteral(" IS NULL OR ")) + QStringLiteral(" IS NULL");
        auto rs = c.query(QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE %2").arg(it.key(), anyNull));
        const qint64 rows = rs->field(QStringLiteral("n")).toLongLong();
        if (rows > 0)
            found.append(QStringLiteral("la tabla %1 tiene %2 %3 sin valor en su clave (%4)")
                             .arg(it.key())
                             .arg(rows)
                             .arg(rows == 1 ? QStringLiteral("renglón") : QStringLiteral("renglones"),
                                  it.value().join(QStringLiteral(", "))));
    }
    if (!found.isEmpty())
        throw RuntimeError(
            QStringLiteral("No se aplicó el paso %1 del esquema, que hace obligatoria la clave de cada "
                           "tabla: %2. Corrija esos renglones y vuelva a actualizar; la base de datos "
                           "sigue en la versión %3 del esquema.")
                .arg(QString::number(version), found.join(QStringLiteral("; ")), QString::number(version - 1)));
}

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
        if (version == kKeysNotNullVersion)
            refuseNullKeys(c, version);
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

void refuseUnusable(const SchemaStatus &status, int known)
{
    if (status.state == SchemaState::Foreign)
        throw OpenError(
            OpenFailure::NotOurs,
            QStringLiteral("La base de datos no es de qmx44: tiene tablas pero no la tabla Version_Esquema. "
                           "No se modificó nada."));
    if (status.state == SchemaState::Newer)
        throw OpenError(
            OpenFailure::Newer,
            QStringLiteral("La base de datos tiene la versión %1 del esquema, más nueva que la versión %2 que "
                           "conoce este programa. Actualice el programa. No se modificó nada.")
                .arg(status.version)
                .arg(known));
}

SchemaStatus inspectSchema(Conexion &c)
{
    return inspect(c, knownSchemaVersion());
}

int upgradeSchema(Conexion &c)
{
    return upgrade(c, knownSchemaVersion(), [&](int version) { return schemaStep(version, c.backend()); });
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
