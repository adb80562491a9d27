#include "platform/db/open.h"

#include "platform/db/connection_string.h"
#include "platform/db/qt_connection.h"
#include "platform/db/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qmx44::db {

void removeSqliteFiles(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

std::unique_ptr<Conexion> open(const QString &connectionString, OpenMode mode)
{
    int versionFound = 0;
    return open(connectionString, mode, versionFound);
}

std::unique_ptr<Conexion> open(const QString &connectionString, OpenMode mode, int &versionFound)
{
    versionFound = 0;
    ConnectionSpec spec;
    try {
        spec = parseConnectionString(connectionString);
    } catch (const RuntimeError &e) {
        throw OpenError(OpenFailure::Unreachable, e.description());
    }

    bool createdFile = false;
    if (spec.backend == Backend::Sqlite && !spec.inMemory()) {
        const QFileInfo file(spec.path);
        if (file.isDir())
            throw OpenError(OpenFailure::Unreachable,
                            QStringLiteral("No se pudo abrir la base de datos %1: es una carpeta, "
                                           "no un archivo")
                                .arg(spec.display()));
        if (!file.exists()) {
            if (mode == OpenMode::Existing)
                throw OpenError(OpenFailure::Unreachable,
                                QStringLiteral("No existe la base de datos %1").arg(spec.display()));
            if (!file.absoluteDir().exists())
                throw OpenError(OpenFailure::Unreachable,
                                QStringLiteral("No se pudo crear la base de datos %1: no existe la "
                                               "carpeta %2")
                                    .arg(spec.display(), file.absolutePath()));
            createdFile = true;
        }
    }

    try {
        std::unique_ptr<QtConnection> conn;
        try {
            conn = std::make_unique<QtConnection>(spec);
        } catch (const RuntimeError &e) {
            throw OpenError(OpenFailure::Unreachable, e.description());
        }
        if (spec.backend == Backend::Odbc)
            return conn;
        switch (mode) {
        case OpenMode::Raw:
            conn->enableWriteAheadLog();
            break;
        case OpenMode::Existing:
            requireCurrentSchema(*conn);
            versionFound = knownSchemaVersion();
            break;
        case OpenMode::Upgrade:
        case OpenMode::Start: {
            // Look before writing anything: a database that is not ours, or is newer,
            // is left exactly as it was (not even its journal mode is touched).
            const SchemaStatus status = inspectSchema(*conn);
            refuseUnusable(status, knownSchemaVersion());
            // A start also refuses a database without the schema, unless it is the SQLite
            // file just created.
            if (mode == OpenMode::Start && status.state == SchemaState::Empty && !createdFile)
                throw OpenError(OpenFailure::NoSchema,
                                QStringLiteral("La base de datos %1 está vacía: no tiene el esquema de qmx44. "
                                               "No se modificó nada.")
                                    .arg(spec.display()));
            versionFound = status.version;
            if (status.state != SchemaState::Current) {
                if (status.state == SchemaState::Empty || status.state == SchemaState::Older)
                    conn->enableWriteAheadLog();
                versionFound = upgradeSchema(*conn);
            }
            break;
        }
        }
        return conn;
    } catch (...) {
        if (createdFile)
            removeSqliteFiles(spec.path);
        throw;
    }
}

} // namespace qmx44::db
