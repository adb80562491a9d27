#pragma once
// The built-in catalogue statements behind a text field's search (`idconsulta`), each
// giving the columns CLAVE and DESCRIPCION.
#include <QString>

namespace qmx44::controls {

// The statement for catalogue `id` ("NC_PROVEEDOR_BN", "COMPRA",
// "CAUSA_NOTA_CREDITO_PROVEEDOR", compared ignoring case); empty for an unknown id.
QString builtInCatalogue(const QString &id);

} // namespace qmx44::controls
