#pragma once
// What the credit-note tests share: a note's records filled the way the screen fills them
// from a grid row, the screen's pending check (the same two statements, run on the same
// connection), and saving a whole note the way the screen's save does.
#include "platform/business/nota_credito.h"
#include "platform/db/connection.h"

#include <QString>
#include <cmath>
#include <vector>

namespace qmx44::test {

// One bonused grid row.
struct LineaNota {
    QString producto, talla, color, unidad1;
    double cantidad1 = 1;
    double bonificacion = 0;   // Bon_Importe, without tax
    double factor = 0.16;      // Impuesto_Factor
    QString unidadControl2 = QStringLiteral("KG");
    double cantidadControl2 = 0;
};

inline business::EncabezadoNota encabezadoNota(const QString &compra = QStringLiteral("C000000002"),
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
inline business::DetalleNota detalleNota(const QString &compra, const LineaNota &l)
{
    business::DetalleNota d;
    const double bon = l.bonificacion;
    d.producto = l.producto;
    d.comentario = QStringLiteral("Nota de crédito por bonificacion compra: ") + compra;
    d.talla = l.talla;
    d.color = l.color;
    d.cantidad1 = l.cantidad1;
    d.unidad1 = l.unidad1;
    d.cantidadControl2 = l.cantidadControl2;
    d.unidadControl2 = l.unidadControl2;
    d.precioLista = l.cantidad1 == 0 ? 0 : bon / l.cantidad1;
    d.precioDescontado = d.precioLista;
    d.impuestoFactor = l.factor;
    d.impuestoImporte = bon * l.factor;
    d.precioNeto = l.cantidad1 == 0 ? 0 : (bon + bon * l.factor) / l.cantidad1;
    d.precioNetoImporte = bon + bon * l.factor;
    d.importe = bon;
    return d;
}

// The screen's pending check: true when the current line's net bonus, truncated,
// exceeds what is still pending on its purchase line, truncated.
inline bool excedePendiente(db::Conexion &c, const business::NotaCredito &nota)
{
    const business::EncabezadoNota e = nota.Encabezado();
    const business::DetalleNota d = nota.Detalle();
    if (e.compra.isEmpty())
        return false;
    auto q = [](const QString &v) { return QString(v).replace(QLatin1String("'"), QLatin1String("''")); };
    const QString donde = QStringLiteral("WHERE Co_Folio = '") + q(e.compra) + QStringLiteral("' AND ") +
                          QStringLiteral("      Pr_Cve_Producto = '") + q(d.producto) + QStringLiteral("' AND ") +
                          QStringLiteral("      Tl_Cve_Talla = '") + q(d.talla) + QStringLiteral("' AND ") +
                          QStringLiteral("      Cl_Cve_Color = '") + q(d.color) + QStringLiteral("' AND ");
    auto a = c.execute(QStringLiteral("SELECT ISNULL(SUM(Nc_Precio_Lista_Importe),0) AS Precio_Lista_Importe, "
                                      "       ISNULL(SUM(Nc_Precio_Neto_Importe), 0) as Precio_Neto_Importe, "
                                      "       ISNULL(SUM(Nc_Precio_Descontado_Importe), 0) as Precio_Descontado_Importe "
                                      "FROM NOTA_CREDITO_PROVEEDOR ") +
                       donde + QStringLiteral("      Nc_Unidad_1 = '") + q(d.unidad1) + QStringLiteral("' AND ") +
                       QStringLiteral("      Es_Cve_Estado <> 'CA'"));
    double notado = 0, comprado = 0;
    if (!a->eof()) {
        notado = a->field(QStringLiteral("Precio_Neto_Importe")).toDouble();
        a->close();
        auto b = c.execute(QStringLiteral("SELECT ISNULL(SUM(Co_Precio_Lista_Importe),0) AS Precio_Lista_Importe, "
                                          "       ISNULL(SUM(Co_Precio_Neto_Importe),0) AS Precio_Neto_Importe, "
                                          "       ISNULL(SUM(Co_Precio_Descontado_Importe), 0) as Precio_Descontado_Importe "
                                          "FROM COMPRA ") +
                           donde + QStringLiteral("      Co_Unidad_1 = '") + q(d.unidad1) + QStringLiteral("' AND ") +
                           QStringLiteral("      Es_Cve_Estado <> 'CA'"));
        if (!b->eof())
            comprado = b->field(QStringLiteral("Precio_Neto_Importe")).toDouble();
        b->close();
    }
    return std::trunc(d.precioNetoImporte) > std::trunc(comprado - notado);
}

enum class Resultado { Guardada, Excede, Fallo };

// The save as the screen runs it, in its own transaction: Nuevo, header, per line Detalle
// + pending check + AgregarDetalle, Guardar, optionally Aplicar, commit. `cancelar`
// names a note to replace first. Returns the outcome and the folio (or the failure).
struct Guardado {
    Resultado resultado = Resultado::Fallo;
    QString folio;
    QString mensaje;
};

inline Guardado guardarNota(db::Conexion &c, business::NotaCredito &nota, const business::EncabezadoNota &e,
                            const std::vector<LineaNota> &lineas, bool aplicar = false,
                            const QString &cancelar = {})
{
    Guardado g;
    db::ScopedTransaction tx(c);
    bool ok = true;
    if (!cancelar.isEmpty()) {
        nota.Cancelar(cancelar, ok);
        if (!ok)
            return {Resultado::Fallo, {}, nota.MensajeError()};
    }
    nota.Nuevo();
    nota.Encabezado(e);
    for (const LineaNota &l : lineas) {
        nota.Detalle(detalleNota(e.compra, l));
        if (excedePendiente(c, nota))
            return {Resultado::Excede, {}, l.producto};
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
