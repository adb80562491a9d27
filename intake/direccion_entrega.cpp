// The delivery-address line of a supplier's address.
#include "intake/direccion_entrega.h"

#include "platform/core/error.h"
#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

namespace qmx44::intake {

QString deliveryAddressSql(const QString &addressId, const QString &supplier)
{
    return QStringLiteral("SELECT ") + QStringLiteral("   CASE De_Direccion_1 WHEN '' THEN ")
        + QStringLiteral("       De_Calle + ' ' + De_Numero_Interior + ' ' + De_Numero_Exterior +' '+ De_Cruzamiento_1 "
                         "+' ' + De_Cruzamiento_2 ")
        + QStringLiteral("   ELSE De_Direccion_1 END AS Domicilio ") + QStringLiteral("FROM Direccion_Entrega ")
        + QStringLiteral("WHERE De_Tabla = 'PROVEEDOR' AND ") + QStringLiteral("   De_Documento = '")
        + db::quoted(supplier) + QStringLiteral("' AND ") + QStringLiteral("   De_ID = '") + db::quoted(addressId)
        + QStringLiteral("' ");
}

QString lookUpDeliveryAddress(db::Conexion &connection, const QString &addressId, const QString &supplier)
{
    QString domicilio;
    auto rs = connection.execute(deliveryAddressSql(addressId, supplier));
    if (!rs->eof()) {
        // A null line, or a null part (which makes the joined text null), reads as
        // the empty text: the caller always gets a text.
        domicilio = rs->field(QStringLiteral("Domicilio")).toString();
    }
    rs->close();
    return domicilio;
}

QString Direccion_Entrega(screen::FrmQMX44 &frm, const QString &addressId, const QString &supplier)
{
    try {
        return lookUpDeliveryAddress(frm.Sistema().Conexion(), addressId, supplier);
    } catch (const std::exception &e) {
        screen::showMessage(frm, describe(e), MessageStyle::Error, QStringLiteral("Direccion_Entrega()"),
                            QStringLiteral("ERR-ID:7500023"));
        return QString();
    }
}

} // namespace qmx44::intake
