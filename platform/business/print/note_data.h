#pragma once
// The values a credit note's print format is filled with, read from the stored note and
// the catalogues it names.
#include "platform/business/print/print_template.h"

namespace qmx44::db {
class Conexion;
}

namespace qmx44::business::print {

// The stored note `folio` (cancelled or not) as print values: the note's header, the
// company (parameters GEN_EMPRESA_NOMBRE, GEN_EMPRESA_RFC, GEN_EMPRESA_DIRECCION), the
// descriptions of its supplier, branch, warehouse, cause, currency, buyer and user, the
// delivery address recorded for it, the list "Lineas" and the totals. Dates print as
// dd/mm/yyyy, amounts with two decimals. Throws RuntimeError when no note has that folio.
PrintData noteData(db::Conexion &connection, const QString &folio);

// The one-line text of a delivery address: its ready line when it has one, else its
// parts joined ("Blvd. Hilario Medina 3305 Int. 4, entre ..., León, Guanajuato, C.P. 37290").
QString addressText(const FieldValues &address);

} // namespace qmx44::business::print
