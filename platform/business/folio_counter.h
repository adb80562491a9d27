#pragma once
// Numbering of documents from the counters of Folio_Contador, inside the caller's
// transaction, so that concurrent writers never draw the same folio and a rollback
// gives the number back.
#include <QString>
#include <functional>

namespace qmx44::db {
class Conexion;
}

namespace qmx44::business {

// Advances the counter of `documento` and returns its folio: the counter's prefix
// (Fc_Prefijo, usually empty) followed by the number padded with zeros so that the
// whole folio is Fc_Ancho characters wide ("0000000004" with width 10 and no prefix,
// "NC00000004" with prefix "NC"). The counter row is written first, so it stays locked
// by the caller's transaction until it ends: a second writer waits for the first and
// then draws the next number; a rollback returns the number with everything else.
// A number already taken by a stored document (`enUso` answers true, e.g. notes loaded
// from elsewhere) is passed over. A missing counter row is created at 1.
// Throws RuntimeError when no transaction is open or the folio no longer fits the width.
QString drawFolio(db::Conexion &connection, const QString &document,
                  const std::function<bool(const QString &folio)> &inUse);

// The folio of number `numero` with `prefijo` in `ancho` characters; an empty text when
// it does not fit.
QString composeFolio(const QString &prefix, qint64 number, int width);

} // namespace qmx44::business
