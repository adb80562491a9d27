#pragma once
// The database a load run works on: the demo company's catalogues, a shared set of
// purchases over a few suppliers, notes applied to the supplier's balance, and the
// suppliers' opening balances recorded for the checks.
#include "platform/db/connection.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace qmx44::load {

// The purchases the clerks share, how many grid rows (line groups) each shows, their
// suppliers and their date.
struct SharedPurchases {
    QStringList folios;
    int rowsEach = 0;
    QStringList suppliers;
    QDate date;
};

// Creates the schema and the demo company in `connection` (a new or empty database, as
// `qmx44 init-db --demo` does), then adds the shared purchases. Throws RuntimeError.
SharedPurchases prepareDatabase(const QString &connection);

// The user every clerk of the load signs in as (a clerk of every branch).
inline constexpr char kClerkUser[] = "CXP01";

// How the clerks connect: on a PostgreSQL server as a clerk's login of their own, mapped
// to kClerkUser (created here through the administrator's `connection`); an SQLite file
// as it is. Throws RuntimeError.
QString clerkConnection(const QString &connection);

} // namespace qmx44::load
