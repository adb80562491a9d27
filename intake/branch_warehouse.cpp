// The branch field's handlers. The branch key is spliced through the quoting helper:
// a quote in it cannot end the literal of the warehouse statements.
#include "intake/branch_warehouse.h"

#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"

namespace qmx44::intake {

namespace {

const QString Sucursal = QStringLiteral("txt_Sc_Cve_Sucursal");
const QString Almacen = QStringLiteral("txt_Al_Cve_Almacen");

void sucursalEnter(screen::FrmQMX44 &frm)
{
    const QString branch = frm.campo(Sucursal).value().toString();
    controls::TextField &almacen = frm.campo(Almacen);
    almacen.setSqlLista(warehouseListStatement(branch));
    almacen.setSql(warehouseLookupStatement(branch));
    almacen.setSqlControlResultado(QStringLiteral("txt_Al_Descripcion"));
}

void sucursalChange(screen::FrmQMX44 &frm)
{
    // The warehouse's own text stays; only its lookups go with the old branch.
    controls::TextField &almacen = frm.campo(Almacen);
    almacen.setSqlLista(QString());
    almacen.setSql(QString());
    almacen.setSqlControlResultado(QString());
}

} // namespace

QString warehouseListStatement(const QString &branch)
{
    return QStringLiteral("SELECT Al_Cve_Almacen As CLAVE, ")
        + QStringLiteral("       Al_Descripcion AS DESCRIPCION ")
        + QStringLiteral("FROM Almacen ")
        + QStringLiteral("WHERE Sc_Cve_Sucursal = '") + db::quoted(branch) + QStringLiteral("' AND ")
        + QStringLiteral("   Es_Cve_Estado <> 'BA'");
}

QString warehouseLookupStatement(const QString &branch)
{
    return QStringLiteral("SELECT Al_Descripcion ")
        + QStringLiteral("FROM Almacen ")
        + QStringLiteral("WHERE Al_Cve_Almacen = '?' AND ")
        + QStringLiteral("      Sc_Cve_Sucursal = '") + db::quoted(branch) + QStringLiteral("'");
}

void installBranchWarehouse(screen::FrmQMX44 &frm)
{
    controls::TextField &sucursal = frm.campo(Sucursal);
    sucursal.Enter.connect(QStringLiteral("txt_Sc_Cve_Sucursal_Enter()"), [&frm] { sucursalEnter(frm); });
    // Event 1 runs exactly the Enter handler (a branch committed without Enter).
    sucursal.Revalidate.connect(QStringLiteral("txt_Sc_Cve_Sucursal_Enter()"), [&frm] { sucursalEnter(frm); });
    sucursal.Change.connect(QStringLiteral("txt_Sc_Cve_Sucursal_Change()"), [&frm] { sucursalChange(frm); });
}

} // namespace qmx44::intake
