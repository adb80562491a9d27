#include "document/note_records.h"
#include "screen/detail_columns.h"

#include "screen/frm_qmx44.h"

namespace qmx44::document {

namespace {

// An empty text, never a null one: a null text is stored as NULL, and a NULL key matches
// nothing (the pending check and the note's display would both miss the line).
QString notNull(const QString &s)
{
    return s.isNull() ? QString::fromLatin1("", 0) : s;
}

QString text(screen::FrmQMX44 &frm, const QString &textField)
{
    return notNull(frm.textField(textField).text());
}

int column(controls::Grid &grid, const QString &name)
{
    return grid.column(name).index();
}

} // namespace

business::EncabezadoNota headerFromForm(screen::FrmQMX44 &frm)
{
    business::EncabezadoNota e{};
    e.fecha = frm.dpFecha().value();
    e.texto = QString();
    e.referencia = text(frm, screen::fields::txt_Nc_Referencia);
    e.comentario = text(frm, screen::fields::txt_Comentario);
    e.moneda = text(frm, screen::fields::txt_Mn_Cve_Moneda);
    e.causa = text(frm, screen::fields::txt_Cn_Cve_Causa_Nota);
    e.tipoCambio = frm.textField(screen::fields::txt_Nc_Tipo_Cambio).value().toDouble();
    e.compra = notNull(frm.txt_Co_Folio().text());
    e.sucursal = text(frm, screen::fields::txt_Sc_Cve_Sucursal);
    e.almacen = text(frm, screen::fields::txt_Al_Cve_Almacen);
    e.proveedor = text(frm, screen::fields::txt_Pv_Cve_Proveedor);
    e.comprador = text(frm, screen::fields::txt_Cm_Cve_Comprador);
    e.token = frm.saveToken;
    return e;
}

LineColumns::LineColumns(controls::Grid &grid)
    : product(column(grid, screen::columns::Pr_Cve_Producto)), size(column(grid, screen::columns::Tl_Cve_Talla)),
      color(column(grid, screen::columns::Cl_Cve_Color)), quantity1(column(grid, screen::columns::Cantidad_1)),
      unit1(column(grid, screen::columns::Unidad_1)),
      controlQuantity1(column(grid, screen::columns::Cantidad_Control_1)),
      controlUnit1(column(grid, screen::columns::Unidad_Control_1)),
      controlQuantity2(column(grid, screen::columns::Cantidad_Control_2)),
      controlUnit2(column(grid, screen::columns::Unidad_Control_2)),
      taxFactor(column(grid, screen::columns::Impuesto_Factor)), bonusAmount(column(grid, "Bon_Importe"))
{
}

double bonusOf(const controls::Grid &grid, const LineColumns &c, int row)
{
    return grid.cellValue(row, c.bonusAmount).toDouble();
}

void fillLine(business::DetalleNota &line, const controls::Grid &grid, const LineColumns &c, int row,
              const QString &purchase)
{
    // An empty cell reads as null: its key is the empty text.
    const auto txt = [&](int col) { return notNull(grid.cellValue(row, col).toString()); };
    const auto num = [&](int col) { return grid.cellValue(row, col).toDouble(); };

    line.producto = txt(c.product);
    line.comentario = QStringLiteral("Nota de crédito por bonificacion compra: ") + purchase;
    line.talla = txt(c.size);
    line.color = txt(c.color);
    line.unidad1 = txt(c.unit1);
    // The row's own control unit is stored, so that showing the note again finds this
    // very row (it is matched on that unit).
    line.cantidadControl1 = num(c.controlQuantity1);
    line.unidadControl1 = txt(c.controlUnit1);
    line.cantidadControl2 = num(c.controlQuantity2);
    line.unidadControl2 = txt(c.controlUnit2);
    fillAmounts(line, num(c.bonusAmount), num(c.quantity1), num(c.taxFactor));
}

void fillAmounts(business::DetalleNota &line, double bonus, double quantity, double taxFactor)
{
    const double tax = bonus * taxFactor;
    const double net = bonus + tax;
    const double unitPrice = quantity == 0 ? 0 : bonus / quantity;
    line.cantidad1 = quantity;
    line.precioLista = unitPrice;
    line.precioDescontado = unitPrice;
    line.descuento1 = 0;
    line.descuento2 = 0;
    line.impuestoFactor = taxFactor;
    line.impuestoImporte = tax;
    line.precioNeto = quantity == 0 ? 0 : net / quantity;
    line.precioNetoImporte = net;
    // The granted amount itself, so that the note shows it again to the last digit.
    line.importe = bonus;
}

} // namespace qmx44::document
