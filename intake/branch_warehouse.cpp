// The branch field's handlers. The branch key is spliced through the quoting helper:
// a quote in it cannot end the literal of the warehouse statements.
#include "intake/branch_warehouse.h"

#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

namespace qmx44::intake {

namespace {

const QString Sucursal = screen::fields::txt_Sc_Cve_Sucursal;
const QString Almacen = screen::fields::txt_Al_Cve_Almacen;
const QString TitleAttention = QStringLiteral("Atención");
const QString BlankLine = QStringLiteral("\r\n\r\n");
const QString AskAdministrator = QStringLiteral("para mayor información consulte al administrador del sistema");

QString branchRestrictionText(const QString &branch)
{
    return QStringLiteral("Imposible accesar este documento, su acceso se ha restringido a la sucursal: ") + branch
        + BlankLine + AskAdministrator;
}

QString warehouseRestrictionText(const QString &warehouse)
{
    return QStringLiteral("Imposible accesar este documento, su acceso se ha restringido al almacén: ") + warehouse
        + BlankLine + AskAdministrator;
}

// The refusal: shown, the record released, the note folio's text selected.
bool refuse(screen::FrmQMX44 &frm, std::unique_ptr<db::RecordSet> &rs, const QString &text, const QString &id)
{
    screen::showMessage(frm, text, MessageStyle::Warning, TitleAttention, id);
    rs.reset();
    frm.txtFolio().selectAll();
    return false;
}

void branchEnter(screen::FrmQMX44 &frm)
{
    const QString branch = frm.textField(Sucursal).value().toString();
    controls::TextField &warehouse = frm.textField(Almacen);
    warehouse.setSqlLista(warehouseListStatement(branch));
    warehouse.setSql(warehouseLookupStatement(branch));
    warehouse.setSqlControlResultado(screen::fields::txt_Al_Descripcion);
}

void branchChange(screen::FrmQMX44 &frm)
{
    // The warehouse's own text stays; only its lookups go with the old branch.
    controls::TextField &warehouse = frm.textField(Almacen);
    warehouse.setSqlLista(QString());
    warehouse.setSql(QString());
    warehouse.setSqlControlResultado(QString());
}

} // namespace

QString warehouseListStatement(const QString &branch)
{
    return QStringLiteral("SELECT Al_Cve_Almacen As CLAVE, ") + QStringLiteral("       Al_Descripcion AS DESCRIPCION ")
        + QStringLiteral("FROM Almacen ") + QStringLiteral("WHERE Sc_Cve_Sucursal = '") + db::quoted(branch)
        + QStringLiteral("' AND ") + QStringLiteral("   Es_Cve_Estado <> 'BA'");
}

QString warehouseLookupStatement(const QString &branch)
{
    return QStringLiteral("SELECT Al_Descripcion ") + QStringLiteral("FROM Almacen ")
        + QStringLiteral("WHERE Al_Cve_Almacen = '?' AND ") + QStringLiteral("      Sc_Cve_Sucursal = '")
        + db::quoted(branch) + QStringLiteral("'");
}

bool accessAllowed(screen::FrmQMX44 &frm, std::unique_ptr<db::RecordSet> &rs, const AccessRefusalIds &ids)
{
    const QString branch = frm.textField(Sucursal).text();
    if (!frm.Sistema().Sucursal().isEmpty() && rs->field(QStringLiteral("Sc_Cve_Sucursal")).toString() != branch)
        return refuse(frm, rs, branchRestrictionText(branch), ids.branch);
    const QString warehouse = frm.textField(Almacen).text();
    if (!frm.Sistema().Almacen().isEmpty() && rs->field(QStringLiteral("Al_Cve_Almacen")).toString() != warehouse)
        return refuse(frm, rs, warehouseRestrictionText(warehouse), ids.warehouse);
    return true;
}

void installBranchWarehouse(screen::FrmQMX44 &frm)
{
    controls::TextField &branch = frm.textField(Sucursal);
    branch.Enter.connect(QStringLiteral("txt_Sc_Cve_Sucursal_Enter()"), [&frm] { branchEnter(frm); });
    // Event 1 runs exactly the Enter handler (a branch committed without Enter).
    branch.Revalidate.connect(QStringLiteral("txt_Sc_Cve_Sucursal_Enter()"), [&frm] { branchEnter(frm); });
    branch.Change.connect(QStringLiteral("txt_Sc_Cve_Sucursal_Change()"), [&frm] { branchChange(frm); });
}

} // namespace qmx44::intake
