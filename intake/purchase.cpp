// The purchase intake and the reset of the purchase field.
#include "intake/purchase.h"

#include "intake/branch_warehouse.h"
#include "intake/consulta_compra.h"
#include "intake/pending_amounts.h"
#include "intake/supplier.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

namespace qmx44::intake {

namespace {

const QString TitleCompany = QStringLiteral("Orvalis");
const QString TitleAttention = QStringLiteral("Atención");

QString column(db::RecordSet &rs, const char *name)
{
    return rs.field(QString::fromLatin1(name)).toString();
}

// The branch and warehouse preset from the user's context (tag "0") outlive the clearing
// of the purchase field, but their descriptions do not: a refused purchase writes nothing
// else, so the keys are shown again with their descriptions beside them.
void showFixedKeys(screen::FrmQMX44 &frm)
{
    for (const QString *name : {&screen::fields::txt_Sc_Cve_Sucursal, &screen::fields::txt_Al_Cve_Almacen}) {
        controls::TextField &field = frm.textField(*name);
        if (field.tag() == QLatin1String("0"))
            field.setText(field.text()); // the same text: no Change, the lookup runs again
    }
}

} // namespace

void fillPurchaseHeader(screen::FrmQMX44 &frm, db::RecordSet &rs)
{
    frm.textField(screen::fields::txt_Sc_Cve_Sucursal).setText(column(rs, "Sc_Cve_Sucursal"));
    frm.textField(screen::fields::txt_Al_Cve_Almacen).setText(column(rs, "Al_Cve_Almacen"));
    frm.textField(screen::fields::txt_Pv_Cve_Proveedor).setText(column(rs, "Pv_Cve_Proveedor"));
    txt_Pv_Cve_Proveedor_Enter(frm);
    frm.textField(screen::fields::txt_Cm_Cve_Comprador).setText(column(rs, "Cm_Cve_Comprador"));
    frm.textField(screen::fields::txt_Mn_Cve_Moneda).setText(column(rs, "Mn_Cve_Moneda"));
}

void txt_Co_Folio_Enter(screen::FrmQMX44 &frm)
{
    controls::TextField &folio = frm.txt_Co_Folio();
    if (folio.text().isEmpty())
        return;

    // The folio as the purchase table keys it stays in the field (a different text
    // clears the form through the field's Change).
    folio.setText(frm.Utilerias().FormatearFolio(folio.text()));
    folio.selectAll();

    auto rs = ConsultaCompra(frm, folio.text());
    if (rs->eof()) {
        screen::showMessage(frm, QStringLiteral("No existe la compra proporcionada"), MessageStyle::Information,
                            TitleCompany, QStringLiteral("ERR-ID:7500016"));
        rs->close();
        showFixedKeys(frm);
        return;
    }

    if (!accessAllowed(frm, rs, {QStringLiteral("ERR-ID:7500017"), QStringLiteral("ERR-ID:7500018")})) {
        showFixedKeys(frm);
        return;
    }
    if (column(*rs, "Es_Cve_Estado") == QLatin1String("CA")) {
        screen::showMessage(frm, QStringLiteral("La compra se encuentra cancelada"), MessageStyle::Warning,
                            TitleAttention, QStringLiteral("ERR-ID:7500019"));
        rs->close();
        showFixedKeys(frm);
        return;
    }

    // The header, read from the first group (every line carries the same header).
    const QString currency = column(*rs, "Mn_Cve_Moneda");
    fillPurchaseHeader(frm, *rs);

    // The rate of the note's date, not the one stored on the purchase. It is typed only
    // for a foreign currency, and only by a user whose rate is not fixed by CHTC01.
    controls::TextField &exchangeRate = frm.textField(screen::fields::txt_Nc_Tipo_Cambio);
    exchangeRate.setValue(frm.Utilerias().TipoCambio(currency, frm.dpFecha().value()));
    exchangeRate.setEnabled(frm.textField(screen::fields::txt_Mn_Cve_Moneda).text() != frm.MonedaLocal
                            && !frm.DerechoTipoCambio);

    // The grid is rebuilt from scratch with every bonus 0, so the purchase amount and the
    // note's totals start again with it: the same folio confirmed twice (no Change in
    // between) must neither count the lines twice nor keep totals of bonuses now gone.
    frm.ImporteCompra = 0;
    for (const QString *total :
         {&screen::fields::txt_SubTotal, &screen::fields::txt_Impuestos, &screen::fields::txt_Total})
        frm.textField(*total).setValue(0.0);
    {
        ProgressReport progress(frm.Sistema().session().progressSink(),
                                QStringLiteral("Cargando partidas de la compra…"), progressTotal(frm, folio.text()));
        LlenarDetalle(frm, rs, &progress);
        progress.complete();
        // What each line may still be granted, shown before saving.
        fillPending(frm);
    }

    frm.Utilerias().EnviarTeclas(QStringLiteral("\t"), false);
}

void txt_Co_Folio_Change(screen::FrmQMX44 &frm)
{
    // Another purchase is another note.
    frm.forgetSaveToken();
    frm.Utilerias().LimpiarControles(frm.form(), 1);
    frm.textField(screen::fields::txt_Nc_Referencia).setText(QString());
    frm.textField(screen::fields::txt_Comentario).setText(QString());
    frm.ssDetalle().removeAll();
    frm.IdDireccion.clear();
    frm.ImporteCompra = 0;
}

void installPurchase(screen::FrmQMX44 &frm)
{
    controls::TextField &folio = frm.txt_Co_Folio();
    folio.Enter.connect(QStringLiteral("txt_Co_Folio_Enter()"), [&frm] { txt_Co_Folio_Enter(frm); });
    folio.Change.connect(QStringLiteral("txt_Co_Folio_Change()"), [&frm] { txt_Co_Folio_Change(frm); });
}

} // namespace qmx44::intake
