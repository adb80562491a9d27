#include "screen/detail_columns.h"
#include "document/registros.h"

#include "screen/frm_qmx44.h"

namespace qmx44::document {

namespace {

// An empty text, never a null one: a null text is stored as NULL, and a NULL key matches
// nothing (the pending check and the note's display would both miss the line).
QString noNulo(const QString &s)
{
    return s.isNull() ? QString::fromLatin1("", 0) : s;
}

QString texto(screen::FrmQMX44 &frm, const QString &campo)
{
    return noNulo(frm.campo(campo).text());
}

int columna(controls::Grid &grid, const QString &nombre)
{
    return grid.column(nombre).index();
}

} // namespace

business::EncabezadoNota encabezadoDelFormulario(screen::FrmQMX44 &frm)
{
    business::EncabezadoNota e{};
    e.fecha = frm.dpFecha().value();
    e.texto = QString();
    e.referencia = texto(frm, screen::fields::txt_Nc_Referencia);
    e.comentario = texto(frm, screen::fields::txt_Comentario);
    e.moneda = texto(frm, screen::fields::txt_Mn_Cve_Moneda);
    e.causa = texto(frm, screen::fields::txt_Cn_Cve_Causa_Nota);
    e.tipoCambio = frm.campo(screen::fields::txt_Nc_Tipo_Cambio).value().toDouble();
    e.compra = noNulo(frm.txt_Co_Folio().text());
    e.sucursal = texto(frm, screen::fields::txt_Sc_Cve_Sucursal);
    e.almacen = texto(frm, screen::fields::txt_Al_Cve_Almacen);
    e.proveedor = texto(frm, screen::fields::txt_Pv_Cve_Proveedor);
    e.comprador = texto(frm, screen::fields::txt_Cm_Cve_Comprador);
    return e;
}

ColumnasLinea::ColumnasLinea(controls::Grid &grid)
    : producto(columna(grid, screen::columns::Pr_Cve_Producto)),
      talla(columna(grid, screen::columns::Tl_Cve_Talla)),
      color(columna(grid, screen::columns::Cl_Cve_Color)),
      cantidad1(columna(grid, screen::columns::Cantidad_1)),
      unidad1(columna(grid, screen::columns::Unidad_1)),
      cantidadControl1(columna(grid, screen::columns::Cantidad_Control_1)),
      unidadControl1(columna(grid, screen::columns::Unidad_Control_1)),
      cantidadControl2(columna(grid, screen::columns::Cantidad_Control_2)),
      unidadControl2(columna(grid, screen::columns::Unidad_Control_2)),
      impuestoFactor(columna(grid, screen::columns::Impuesto_Factor)),
      bonImporte(columna(grid, "Bon_Importe"))
{
}

double bonificacionDe(const controls::Grid &grid, const ColumnasLinea &c, int row)
{
    return grid.cellValue(row, c.bonImporte).toDouble();
}

void llenarLinea(business::DetalleNota &linea, const controls::Grid &grid, const ColumnasLinea &c, int row,
                 const QString &compra)
{
    // An empty cell reads as null: its key is the empty text.
    const auto txt = [&](int col) { return noNulo(grid.cellValue(row, col).toString()); };
    const auto num = [&](int col) { return grid.cellValue(row, col).toDouble(); };

    const double bonificacion = num(c.bonImporte);
    const double cantidad = num(c.cantidad1);
    const double factor = num(c.impuestoFactor);
    const double impuesto = bonificacion * factor;
    const double neto = bonificacion + impuesto;
    const double unitario = cantidad == 0 ? 0 : bonificacion / cantidad;

    linea.producto = txt(c.producto);
    linea.comentario = QStringLiteral("Nota de crédito por bonificacion compra: ") + compra;
    linea.talla = txt(c.talla);
    linea.color = txt(c.color);
    linea.cantidad1 = cantidad;
    linea.unidad1 = txt(c.unidad1);
    // The row's own control unit is stored, so that showing the note again finds this
    // very row (it is matched on that unit).
    linea.cantidadControl1 = num(c.cantidadControl1);
    linea.unidadControl1 = txt(c.unidadControl1);
    linea.cantidadControl2 = num(c.cantidadControl2);
    linea.unidadControl2 = txt(c.unidadControl2);
    linea.precioLista = unitario;
    linea.precioDescontado = unitario;
    linea.descuento1 = 0;
    linea.descuento2 = 0;
    linea.impuestoFactor = factor;
    linea.impuestoImporte = impuesto;
    linea.precioNeto = cantidad == 0 ? 0 : neto / cantidad;
    linea.precioNetoImporte = neto;
    // The typed amount itself, so that the note shows it again to the last digit.
    linea.importe = bonificacion;
}

} // namespace qmx44::document
