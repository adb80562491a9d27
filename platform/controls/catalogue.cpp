// Built-in catalogue statements, written in the screen's dialect like every statement
// that the connection translates.
#include "platform/controls/catalogue.h"

namespace qmx44::controls {

QString builtInCatalogue(const QString &id)
{
    const QString key = id.trimmed().toUpper();
    if (key == u"NC_PROVEEDOR_BN")
        // Credit notes that are not cancelled, with their supplier.
        return QStringLiteral(
            "SELECT Nc_Folio AS CLAVE, MAX(Pv_Cve_Proveedor) AS DESCRIPCION "
            "FROM NOTA_CREDITO_PROVEEDOR WHERE Es_Cve_Estado <> 'CA' "
            "GROUP BY Nc_Folio ORDER BY Nc_Folio");
    if (key == u"COMPRA")
        // Purchases that are not cancelled, with their supplier.
        return QStringLiteral(
            "SELECT Co_Folio AS CLAVE, MAX(Pv_Cve_Proveedor) AS DESCRIPCION "
            "FROM COMPRA WHERE Es_Cve_Estado <> 'CA' "
            "GROUP BY Co_Folio ORDER BY Co_Folio");
    if (key == u"CAUSA_NOTA_CREDITO_PROVEEDOR")
        // Causes that are not retired.
        return QStringLiteral(
            "SELECT Cn_Cve_Causa_Nota_Credito_Proveedor AS CLAVE, Cn_Descripcion AS DESCRIPCION "
            "FROM Causa_Nota_Credito_Proveedor WHERE Es_Cve_Estado <> 'BA' "
            "ORDER BY Cn_Cve_Causa_Nota_Credito_Proveedor");
    return QString();
}

} // namespace qmx44::controls
