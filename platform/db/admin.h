#pragma once
// Database administration behind "qmx44 init-db" and "make run": creating or upgrading
// a database, loading the demo company, and a short summary of what a database holds.
#include "platform/db/connection.h"

#include <QString>

namespace qmx44::db {

struct InitReport {
    int versionBefore = 0; // schema version found (0 for a new database)
    int versionAfter = 0;  // schema version now
    bool demoLoaded = false;
};

// Creates the schema of a new database or upgrades an older one; with demo, then loads
// the demo company. Throws qmx44::RuntimeError naming the problem (a connection string
// that names nothing usable, a database that is not ours or is newer, a locked
// database, demo data asked for a database that already holds company data); the
// demo is loaded in one transaction, so a refusal or failure writes none of it.
InitReport initDatabase(const QString &connection, bool demo);

// Loads the demo company into a database at the current schema version, in one
// transaction. Refuses a database that already has documents or catalogue rows.
void loadDemo(Conexion &c);

struct DatabaseSummary {
    int schemaVersion = 0;
    qint64 purchases = 0; // distinct purchase folios
    qint64 purchaseLines = 0;
    qint64 notes = 0; // distinct credit-note folios
    qint64 cancelledNotes = 0;
    qint64 suppliers = 0;
    qint64 products = 0;
    qint64 users = 0;
};

DatabaseSummary summarize(Conexion &c);

// A few lines in Spanish for the console, e.g. "Esquema: versión 1" ...
QString summaryText(const DatabaseSummary &summary);

} // namespace qmx44::db
