#pragma once
// What the credit-note tests share: a note's records filled from a grid row's values, and
// saving a whole note the way the screen's save does.
#include "platform/business/nota_credito.h"
#include "platform/db/connection.h"

#include <QString>
#include <vector>

namespace qmx44::test {

// One bonused grid row.
struct NoteLine {
    QString producto, talla, color, unidad1;
    double cantidad1 = 1;
    double bonificacion = 0; // Bon_Importe, without tax
    double factor = 0.16;    // Impuesto_Factor
};

inline business::EncabezadoNota noteHeader(const QString &compra = QStringLiteral("C000000002"),
                                           const QString &proveedor = QStringLiteral("P0002"))
{
    business::EncabezadoNota e;
    e.fecha = QDate(2024, 8, 15);
    e.referencia = QStringLiteral("NCP-9001");
    e.comentario = QStringLiteral("Bonificación por diferencia de precio");
    e.moneda = QStringLiteral("MN");
    e.causa = QStringLiteral("DP");
    e.tipoCambio = 1;
    e.compra = compra;
    e.sucursal = QStringLiteral("001");
    e.almacen = QStringLiteral("A03");
    e.proveedor = proveedor;
    e.comprador = QStringLiteral("CM02");
    return e;
}

// The line record as the save fills it from the row's cells.
inline business::DetalleNota noteDetail(const QString &compra, const NoteLine &l)
{
    business::DetalleNota d;
    const double bon = l.bonificacion;
    d.producto = l.producto;
    d.comentario = QStringLiteral("Nota de crédito por bonificacion compra: ") + compra;
    d.talla = l.talla;
    d.color = l.color;
    d.cantidad1 = l.cantidad1;
    d.unidad1 = l.unidad1;
    d.unidadControl1 = l.unidad1; // every demo purchase row is controlled in its unit 1
    d.unidadControl2 = QStringLiteral("KG");
    d.precioLista = l.cantidad1 == 0 ? 0 : bon / l.cantidad1;
    d.precioDescontado = d.precioLista;
    d.impuestoFactor = l.factor;
    d.impuestoImporte = bon * l.factor;
    d.precioNeto = l.cantidad1 == 0 ? 0 : (bon + bon * l.factor) / l.cantidad1;
    d.precioNetoImporte = bon + bon * l.factor;
    d.importe = bon;
    return d;
}

enum class Resultado { Guardada, Fallo };

// The save as the screen runs it, in its own transaction: Nuevo, header, per line Detalle
// + AgregarDetalle, Guardar, optionally Aplicar, commit (the pending check is the
// document layer's and is tested there). Returns the outcome and the folio (or the
// failure).
struct SavedNote {
    Resultado resultado = Resultado::Fallo;
    QString folio;
    QString mensaje;
};

inline SavedNote saveNote(db::Conexion &c, business::NotaCredito &nota, const business::EncabezadoNota &e,
                          const std::vector<NoteLine> &lineas, bool aplicar = false)
{
    db::ScopedTransaction tx(c);
    bool ok = true;
    nota.Nuevo();
    nota.Encabezado(e);
    for (const NoteLine &l : lineas) {
        nota.Detalle(noteDetail(e.compra, l));
        nota.AgregarDetalle(ok);
        if (!ok)
            return {Resultado::Fallo, {}, nota.MensajeError()};
    }
    const QString folio = nota.Encabezado().folio;
    nota.Guardar(folio, ok);
    if (!ok)
        return {Resultado::Fallo, {}, nota.MensajeError()};
    if (aplicar) {
        nota.Aplicar(folio, true, ok);
        if (!ok)
            return {Resultado::Fallo, {}, nota.MensajeError()};
    }
    tx.commit();
    return {Resultado::Guardada, folio, {}};
}

} // namespace qmx44::test
