#pragma once
// The versioned schema: which version a database is at, and bringing it up to the
// version this program knows, one step (one schema/NNN_*.sql file) per transaction.
#include "platform/db/connection.h"

#include <QString>
#include <QStringList>

namespace qmx44::db {

// The newest schema version this program knows (the highest NNN of its schema files).
int knownSchemaVersion();

// The statements of one schema step (1..knownSchemaVersion()).
QStringList schemaStep(int version);

enum class SchemaState {
    Empty,   // no tables at all: a new database
    Older,   // a qmx44 database that needs upgrading
    Current, // a qmx44 database at knownSchemaVersion()
    Newer,   // written by a newer program
    Foreign, // has tables, but no Version_Esquema: not a qmx44 database
};

struct SchemaStatus {
    SchemaState state = SchemaState::Empty;
    int version = 0; // the highest applied version; 0 when Empty or Foreign
};

// Reads only.
SchemaStatus inspectSchema(Conexion &c);

// Names of the tables of the database (the current schema on PostgreSQL).
QStringList tableNames(Conexion &c);

// Throws qmx44::RuntimeError (naming the problem, nothing written) for a Foreign or
// Newer database; otherwise applies every missing step, each in its own transaction
// together with its Version_Esquema row. Returns the version found before the first step
// this program applied; when another program upgraded it meanwhile (several starting at
// once), the version it is at now.
int upgradeSchema(Conexion &c);

// The same with the given steps (steps[0] is version 1) in place of the program's own,
// so that upgrades across versions this program does not have yet can be exercised.
int upgradeSchema(Conexion &c, const QList<QStringList> &steps);

// Throws unless the database is a qmx44 database at exactly knownSchemaVersion().
void requireCurrentSchema(Conexion &c);

} // namespace qmx44::db
