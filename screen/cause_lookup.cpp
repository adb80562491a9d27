#include "screen/cause_lookup.h"

#include "platform/db/sql_text.h"

namespace qmx44::screen {

QString causeLookupStatement(const QString &returnCause, const QString &rejectionCause)
{
    return QStringLiteral("SELECT Cn_Descripcion ") + QStringLiteral("FROM Causa_Nota_Credito_Proveedor ")
        + QStringLiteral("WHERE Cn_Cve_Causa_Nota_Credito_Proveedor = '?' AND ")
        + QStringLiteral("      Cn_Cve_Causa_Nota_Credito_Proveedor NOT IN('") + db::quoted(returnCause)
        + QStringLiteral("', '") + db::quoted(rejectionCause) + QStringLiteral("') AND ")
        + QStringLiteral("      Es_Cve_Estado <> 'BA'");
}

} // namespace qmx44::screen
