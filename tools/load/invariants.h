#pragma once
// What must hold in a database however many clerks wrote to it at once: the checks the
// load test runs once its clerks are done. Each check reads the tables only; a
// violation names its kind and the rows that break it.
#include "platform/db/connection.h"

#include <QString>
#include <vector>

namespace qmx44::load {

enum class ViolationKind {
    // One folio carries two notes (rows of one Nc_Folio that disagree on the note's
    // header), or two notes both replace one note.
    DuplicateFolio,
    // A purchase line granted beyond what the save's pending check lets through.
    OverGranted,
    // A note with lines missing: its line numbers are not 1..n, or its application is
    // not the sum of its lines.
    IncompleteNote,
    // A note cancelled in part, or cancelled while its application still stands.
    PartlyCancelled,
    // A supplier's balance other than its opening balance less its live applications.
    BalanceMismatch,
    // SQLite's integrity_check finds the file damaged.
    DamagedFile,
};

struct Violation {
    ViolationKind kind;
    QString rows; // which rows, and what they hold
};

// "duplicate folio", "over-granted", ...
QString kindName(ViolationKind kind);

// The table the balance check compares with: every supplier's balance before any live
// application (its balance now plus what live applications took), as
// Carga_Saldo_Inicial (Pv_Cve_Proveedor, Cs_Saldo). Created (or filled again) now.
void recordOpeningBalances(db::Conexion &c);

// Runs every check. Needs Carga_Saldo_Inicial (recordOpeningBalances). Database
// failures throw RuntimeError.
std::vector<Violation> checkInvariants(db::Conexion &c);

} // namespace qmx44::load
