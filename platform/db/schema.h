#pragma once
// The versioned schema: which version a database is at, and bringing it up to the
// version this program knows, one step (one schema/NNN_*.sql file) per transaction.
//
// A step file may hold statements for one back-end only: a line "-- @sqlite",
// "-- @postgresql" or "-- @odbc" starts such a section, which runs to the next section
// line or the end of the file; the statements before the first section line run on
// every back-end.
#include "platform/db/connection.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace qmx44::db {

// The newest schema version this program knows (the highest NNN of its schema files).
int knownSchemaVersion();

// The statements of one schema step (1..knownSchemaVersion()) for the back-end.
QStringList schemaStep(int version, Backend backend);

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

// The columns of each table's primary key, in key order, by table name as the database
// spells it (the current schema on PostgreSQL); a table without one is left out.
QMap<QString, QStringList> primaryKeys(Conexion &c);

// Throws OpenError (OpenFailure::NotOurs or Newer, naming the problem) for a Foreign or
// Newer database (`known`: the newest version this program knows); does nothing otherwise.
void refuseUnusable(const SchemaStatus &status, int known);

// Throws as refuseUnusable (nothing written) for a Foreign or Newer database; otherwise
// applies every missing step, each in its own transaction together with its
// Version_Esquema row. Returns the version found before the first step this program
// applied; when another program upgraded it meanwhile (several starting at
// once), the version it is at now.
// The step that makes every key column NOT NULL (version 3) is refused, naming each
// table and how many of its rows, while a row has a NULL in its key: the database
// stays at the version before.
int upgradeSchema(Conexion &c);

// The same with the given steps (steps[0] is version 1) in place of the program's own,
// so that upgrades across versions this program does not have yet can be exercised.
int upgradeSchema(Conexion &c, const QList<QStringList> &steps);

// Throws unless the database is a qmx44 database at exactly knownSchemaVersion().
void requireCurrentSchema(Conexion &c);

} // namespace qmx44::db
