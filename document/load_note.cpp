#include "document/load_note.h"

#include "document/bonuses.h"
#include "intake/branch_warehouse.h"
#include "intake/consulta_compra.h"
#include "intake/pending_amounts.h"
#include "intake/purchase.h"
#include "platform/business/nota_credito.h"
#include "platform/core/error.h"
#include "platform/core/flag.h"
#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

namespace qmx44::document {

namespace {

const QString TitleAttention = QStringLiteral("Atención");

QString column(db::RecordSet &rs, const char *name)
{
    return rs.field(QString::fromLatin1(name)).toString();
}

// A live note may be modified or cancelled while the date shown — before the note's
// own date replaces it — lies in an open period, when periods are checked at all.
void offerEditing(screen::FrmQMX44 &frm)
{
    const bool validarPeriodo = flagFromValue(
        frm.Sistema().Parametro(QStringLiteral("GEN_VALIDAR_PERIODO_OPERATIVO"), 0, QString(), QString()));
    bool abierto = true;
    if (validarPeriodo) {
        if (!frm.getPadre())
            throw RuntimeError(QStringLiteral("Variable de objeto no establecida: Padre"));
        const QString modulo = frm.getPadre()->member(QStringLiteral("Modulo")).toString();
        abierto = frm.Utilerias().ValidarPeriodo(frm.dpFecha().value(), modulo, 0);
    }
    if (abierto) {
        frm.Controles().setModifyEnabled(true);
        frm.Controles().setDeleteEnabled(true);
    }
}

// Steps 2 to 16 of the load; failures reach the trap.
void loadNote(screen::FrmQMX44 &frm)
{
    controls::TextField &folio = frm.txtFolio();
    controls::Toolbar &toolbar = frm.Controles();

    folio.setText(
        frm.Utilerias().FormatearFolio(folio.text(), QString::fromLatin1(business::NotaCredito::kDocumentName)));
    folio.selectAll();

    frm.Sql = noteSql(folio.value().toString());
    auto rs = frm.Sistema().Conexion().execute(frm.Sql);
    if (rs->eof())
        return;

    if (!intake::accessAllowed(frm, rs, {QStringLiteral("ERR-ID:7500020"), QStringLiteral("ERR-ID:7500021")}))
        return;

    if (column(*rs, "Es_Cve_Estado") != QLatin1String(business::NotaCredito::kStatusCancelled))
        offerEditing(frm);

    toolbar.CargarCamposAdicionales(folio.text());

    // The header, in this order; the purchase folio's Change clears what a previous
    // purchase left, and the supplier intake fills the supplier and the address.
    const QString purchase = column(*rs, "Co_Folio");
    frm.dpFecha().setValue(rs->field(QStringLiteral("Nc_Fecha")).toDate());
    frm.txt_Co_Folio().setText(purchase);
    frm.textField(screen::fields::txt_Cn_Cve_Causa_Nota).setText(column(*rs, "Cn_Cve_Causa_Nota_Credito_Proveedor"));
    frm.textField(screen::fields::txt_Nc_Referencia).setText(column(*rs, "Nc_Referencia"));
    intake::fillPurchaseHeader(frm, *rs);
    frm.textField(screen::fields::txt_Comentario).setText(column(*rs, "Nc_Comentario"));
    frm.textField(screen::fields::txt_Nc_Tipo_Cambio).setValue(rs->field(QStringLiteral("Nc_Tipo_Cambio")));

    // The lines of the note's purchase. The purchase amount is of this purchase alone,
    // even when the purchase folio did not change (the same note confirmed twice).
    controls::Grid &grid = frm.ssDetalle();
    grid.removeAll();
    frm.ImporteCompra = 0;
    // Counted in the purchase's lines: filling the grid with them is the load's long part.
    ProgressReport progress(frm.Sistema().session().progressSink(), QStringLiteral("Cargando la nota…"),
                            intake::progressTotal(frm, purchase));
    auto lines = intake::ConsultaCompra(frm, purchase);
    intake::LlenarDetalle(frm, lines, &progress);
    progress.complete();

    controls::TextField &subTotal = frm.textField(screen::fields::txt_SubTotal);
    controls::TextField &taxes = frm.textField(screen::fields::txt_Impuestos);
    controls::TextField &total = frm.textField(screen::fields::txt_Total);
    subTotal.setValue(0.0);
    taxes.setValue(0.0);
    total.setValue(0.0);

    BonusTotals totals;
    applyBonuses(*rs, grid, totals);
    subTotal.setValue(totals.subTotal);
    taxes.setValue(totals.taxes);
    total.setValue(subTotal.value().toDouble() + taxes.value().toDouble());
    // What each line may still be granted should this note be modified: its own lines do
    // not count, as the save cancels the note it replaces first.
    intake::fillPending(frm);

    rs->close();
    rs.reset();
    grid.moveFirst();

    toolbar.setPrintEnabled(true);
    toolbar.setQueryEnabled(true);

    toolbar.setFolio(folio.text());
    toolbar.setImporte(total.value().toDouble());
    toolbar.setProveedor(frm.textField(screen::fields::txt_Pv_Cve_Proveedor).text());
}

} // namespace

QString noteSql(const QString &folio)
{
    QString sql;
    sql.reserve(384);
    sql += QLatin1String("SELECT Nota_Credito_Proveedor.*, ");
    sql += QLatin1String("   Pr_Descripcion, ");
    sql += QLatin1String("   Pr_Tipo_Producto, ");
    sql += QLatin1String("   Pr_Unidad_Costo ");
    sql += QLatin1String("FROM Nota_Credito_Proveedor ");
    sql +=
        QLatin1String("   INNER JOIN Producto ON Nota_Credito_Proveedor.Pr_Cve_Producto = Producto.Pr_Cve_Producto ");
    sql += QLatin1String("WHERE Nc_Folio = '");
    sql += db::quoted(folio);
    sql += QLatin1String("' AND ");
    sql += QLatin1String("   Co_Folio <> '' ");
    return sql;
}

void txtFolio_Enter(screen::FrmQMX44 &frm)
{
    if (frm.Controles().EnEdicion())
        return;
    try {
        loadNote(frm);
    } catch (const std::exception &e) {
        // A note shown in part (its lines missing when the database failed) is not
        // offered for modifying or cancelling: a replacement would start from it.
        frm.Controles().setModifyEnabled(false);
        frm.Controles().setDeleteEnabled(false);
        screen::showMessage(frm, describe(e), MessageStyle::Error, QStringLiteral("txtFolio_Enter()"),
                            QStringLiteral("ERR-ID:7500022"));
    }
}

void txtFolio_Change(screen::FrmQMX44 &frm)
{
    controls::Toolbar &toolbar = frm.Controles();
    toolbar.setFolio(QString());
    toolbar.setImporte(0);
    toolbar.setProveedor(QString());
    if (toolbar.EnEdicion())
        return;
    toolbar.setModifyEnabled(false);
    toolbar.setDeleteEnabled(false);
    toolbar.setPrintEnabled(false);
    toolbar.setQueryEnabled(false);
    frm.Utilerias().LimpiarControles(frm.form(), 1);
    frm.Utilerias().LimpiarControles(frm.form(), 2);
    frm.txt_Co_Folio().setText(QString());
    frm.IdDireccion.clear();
}

} // namespace qmx44::document
