#pragma once
// The database a load run works on: the demo company's catalogues, a shared set of
// purchases over a few suppliers, notes applied to the supplier's balance, and the
// suppliers' opening balances recorded for the checks.
#include "platform/db/connection.h"

#include <QString>
#include <QStringList>

namespace qmx44::load {

// The purchases the clerks share and how many grid rows (line groups) each shows.
struct SharedPurchases {
    QStringList folios;
    int rowsEach = 0;
};

// Creates the schema and the demo company in `connection` (a new or empty database, as
// `qmx44 init-db --demo` does), then adds the shared purchases. Throws RuntimeError.
SharedPurchases prepareDatabase(const QString &connection);

} // namespace qmx44::load
