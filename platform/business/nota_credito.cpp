#include "platform/business/nota_credito.h"

#include "platform/business/folio_contador.h"
#include "platform/core/faults.h"
#include "platform/services/parametros.h"
#include "platform/services/sesion.h"

#include <QDateTime>
#include <cmath>

namespace qmx44::business {

namespace {

QString claveLinea(const QString &producto, const QString &talla, const QString &color, const QString &unidad1)
{
    // A separator no key contains keeps "AB"+"C" apart from "A"+"BC".
    const QChar sep(0x1f);
    return producto + sep + talla + sep + color + sep + unidad1;
}

bool positivo(double v) { return std::isfinite(v) && v > 0; }

} // namespace

const QString &sqlInsertarLineaNota()
{
    static const QString sql = QStringLiteral(
        "INSERT INTO NOTA_CREDITO_PROVEEDOR ("
        "Nc_Folio, Nc_Linea, Nc_Fecha, Nc_Referencia, Nc_Comentario, Mn_Cve_Moneda, "
        "Cn_Cve_Causa_Nota_Credito_Proveedor, Nc_Tipo_Cambio, Co_Folio, Sc_Cve_Sucursal, Al_Cve_Almacen, "
        "Pv_Cve_Proveedor, Cm_Cve_Comprador, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, "
        "Nc_Comentario_Linea, Nc_Cantidad_1, Nc_Unidad_1, Nc_Cantidad_Control_1, Nc_Unidad_Control_1, "
        "Nc_Cantidad_Control_2, Nc_Unidad_Control_2, Nc_Precio_Lista, Nc_Precio_Descontado, Nc_Descuento_1, "
        "Nc_Descuento_2, Nc_Impuesto_Factor, Nc_Impuesto_Importe, Nc_Precio_Neto, Nc_Precio_Lista_Importe, "
        "Nc_Precio_Descontado_Importe, Nc_Precio_Neto_Importe, Nc_Folio_Sustituye, Nc_Usuario, Nc_Fecha_Registro"
        ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?)");
    return sql;
}

NotaCredito::NotaCredito(std::shared_ptr<services::Sesion> sesion)
    : NotaCredito(sesion, sesion ? sesion->conexion() : throw RuntimeError(QStringLiteral("NotaCredito: no hay sesión")))
{
}

NotaCredito::NotaCredito(std::shared_ptr<services::Sesion> sesion, db::Conexion &conexion)
    : m_sesion(std::move(sesion)), m_conexion(conexion)
{
    if (!m_sesion)
        throw RuntimeError(QStringLiteral("NotaCredito: no hay sesión"));
}

NotaCredito::~NotaCredito() = default;

// ---- records --------------------------------------------------------------------------

EncabezadoNota NotaCredito::Encabezado() const
{
    EncabezadoNota copia = m_encabezado;
    copia.folio = m_folio;
    if (copia.folioSustituye.isEmpty())
        copia.folioSustituye = m_folioCancelado;
    return copia;
}

void NotaCredito::Encabezado(const EncabezadoNota &encabezado)
{
    m_encabezado = encabezado;
    m_encabezado.folio = m_folio;
    bloquearCompra(m_encabezado.compra);
}

void NotaCredito::Detalle(const DetalleNota &detalle)
{
    m_detalle = detalle;
    // The pending check that follows must already run under the purchase's lock.
    bloquearCompra(m_encabezado.compra);
}

void NotaCredito::Nuevo()
{
    m_mensajeError.clear();
    m_encabezado = {};
    m_encabezadoGuardado = {};
    m_detalle = {};
    m_folio.clear();
    m_lineas = 0;
    m_total = 0;
    m_registro.clear();
    m_compraBloqueada.clear();
    m_compraCargada.clear();
    m_lineasCompra.clear();
}

// ---- common steps ---------------------------------------------------------------------

bool NotaCredito::entrada(QLatin1String operacion, bool &ok)
{
    ok = false;
    m_mensajeError.clear();
    if (auto planeado = m_sesion->faults().take(operacion)) {
        m_mensajeError = *planeado;
        return false;
    }
    return true;
}

bool NotaCredito::falla(const QString &mensaje, bool &ok)
{
    ok = false;
    m_mensajeError = mensaje;
    return false;
}

bool NotaCredito::requiereTransaccion(bool &ok)
{
    if (m_conexion.inTransaction())
        return true;
    return falla(QStringLiteral("La nota de crédito sólo se modifica dentro de una transacción abierta"), ok);
}

void NotaCredito::bloquearCompra(const QString &compra)
{
    if (compra.isEmpty() || compra == m_compraBloqueada || !m_conexion.inTransaction())
        return;
    m_conexion.lockRows(QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"), compra);
    m_compraBloqueada = compra;
}

// The purchase's lines by the keys a note line names, once per document: a note of
// thousands of lines must not cost a look-up each.
void NotaCredito::cargarCompra()
{
    if (m_compraCargada == m_encabezado.compra)
        return;
    m_lineasCompra.clear();
    auto rs = m_conexion.query(
        QStringLiteral("SELECT Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Unidad_1, Co_Unidad_Control_1, "
                       "Co_Cantidad_1, Co_Cantidad_Control_1 FROM COMPRA "
                       "WHERE Co_Folio = ? AND Es_Cve_Estado <> 'CA' ORDER BY Co_Linea"),
        {m_encabezado.compra});
    const QString fProducto = QStringLiteral("Pr_Cve_Producto"), fTalla = QStringLiteral("Tl_Cve_Talla"),
                  fColor = QStringLiteral("Cl_Cve_Color"), fUnidad = QStringLiteral("Co_Unidad_1"),
                  fControl = QStringLiteral("Co_Unidad_Control_1"), fCantidad = QStringLiteral("Co_Cantidad_1"),
                  fCantidadControl = QStringLiteral("Co_Cantidad_Control_1");
    for (; !rs->eof(); rs->moveNext()) {
        const QString clave = claveLinea(rs->field(fProducto).toString(), rs->field(fTalla).toString(),
                                         rs->field(fColor).toString(), rs->field(fUnidad).toString());
        const QString control = rs->field(fControl).toString();
        auto it = m_lineasCompra.find(clave);
        if (it == m_lineasCompra.end())
            it = m_lineasCompra.insert(clave, LineaCompra{control, 0, 0});
        // The first row's control unit names the line; only rows in that unit give its
        // control quantity per unit.
        if (it->unidadControl1 == control) {
            it->cantidad1 += rs->field(fCantidad).toDouble();
            it->cantidadControl1 += rs->field(fCantidadControl).toDouble();
        }
    }
    rs->close();
    m_compraCargada = m_encabezado.compra;
}

bool NotaCredito::existeFolio(const QString &folio)
{
    auto rs = m_conexion.query(
        QStringLiteral("SELECT COUNT(*) AS Filas FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"), {folio});
    const bool existe = !rs->eof() && rs->field(QStringLiteral("Filas")).toLongLong() > 0;
    rs->close();
    return existe;
}

// The working date with the time of day, as stored in the TIMESTAMP columns.
QVariant NotaCredito::momento() const
{
    const QDateTime ahora(m_sesion->fechaTrabajo(), QTime::currentTime());
    return ahora.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

double NotaCredito::importeSinImpuesto(const DetalleNota &linea) const
{
    if (linea.importe != 0)
        return linea.importe;
    if (linea.impuestoFactor != 0 && linea.impuestoImporte != 0)
        return linea.impuestoImporte / linea.impuestoFactor;
    return linea.precioNetoImporte / (1 + linea.impuestoFactor);
}

QString NotaCredito::monedaLocal()
{
    const auto local = services::leerParametro(m_conexion, QStringLiteral("FIN_MONEDA_LOCAL"));
    return local && !local->valor.isNull() ? local->valor.toString() : QString();
}

void NotaCredito::insertarLinea(const DetalleNota &l)
{
    const EncabezadoNota &e = m_encabezado;
    const QDate fecha = e.fecha.isValid() ? e.fecha : m_sesion->fechaTrabajo();
    const QString sustituye = e.folioSustituye.isEmpty() ? m_folioCancelado : e.folioSustituye;
    m_conexion.run(sqlInsertarLineaNota(),
                   {m_folio, l.linea, fecha, e.referencia, e.comentario, e.moneda, e.causa, e.tipoCambio, e.compra,
                    e.sucursal, e.almacen, e.proveedor, e.comprador, QString::fromLatin1(kEstadoVigente), l.producto,
                    l.talla, l.color, l.comentario, l.cantidad1, l.unidad1, l.cantidadControl1, l.unidadControl1,
                    l.cantidadControl2, l.unidadControl2, l.precioLista, l.precioDescontado, l.descuento1,
                    l.descuento2, l.impuestoFactor, l.impuestoImporte, l.precioNeto, l.importe, l.importe,
                    l.precioNetoImporte, sustituye, m_sesion->usuario(), m_registro});
}

// The header changed after lines were stored: every row of the note carries it again.
void NotaCredito::actualizarEncabezado()
{
    const EncabezadoNota &e = m_encabezado;
    const QDate fecha = e.fecha.isValid() ? e.fecha : m_sesion->fechaTrabajo();
    const QString sustituye = e.folioSustituye.isEmpty() ? m_folioCancelado : e.folioSustituye;
    m_conexion.run(
        QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Fecha = ?, Nc_Referencia = ?, Nc_Comentario = ?, "
                       "Mn_Cve_Moneda = ?, Cn_Cve_Causa_Nota_Credito_Proveedor = ?, Nc_Tipo_Cambio = ?, "
                       "Sc_Cve_Sucursal = ?, Al_Cve_Almacen = ?, Pv_Cve_Proveedor = ?, Cm_Cve_Comprador = ?, "
                       "Nc_Folio_Sustituye = ? WHERE Nc_Folio = ?"),
        {fecha, e.referencia, e.comentario, e.moneda, e.causa, e.tipoCambio, e.sucursal, e.almacen, e.proveedor,
         e.comprador, sustituye, m_folio});
    m_encabezadoGuardado = m_encabezado;
}

// ---- operations -----------------------------------------------------------------------

void NotaCredito::AgregarDetalle(bool &ok)
{
    if (!entrada(faults::NotaCreditoAgregarDetalle, ok) || !requiereTransaccion(ok))
        return;
    try {
        const EncabezadoNota &e = m_encabezado;
        if (e.compra.isEmpty()) {
            falla(QStringLiteral("La nota de crédito no indica la compra a la que se aplica"), ok);
            return;
        }
        if (m_lineas > 0 && e.compra != m_encabezadoGuardado.compra) {
            falla(QStringLiteral("Todas las partidas de la nota de crédito deben ser de la compra %1")
                      .arg(m_encabezadoGuardado.compra),
                  ok);
            return;
        }
        DetalleNota linea = m_detalle;
        if (linea.producto.isEmpty()) {
            falla(QStringLiteral("La partida no indica el producto"), ok);
            return;
        }
        linea.importe = importeSinImpuesto(linea);
        if (!positivo(linea.precioNetoImporte) || !positivo(linea.importe)) {
            falla(QStringLiteral("El importe a bonificar del producto %1 debe ser mayor que cero").arg(linea.producto),
                  ok);
            return;
        }

        bloquearCompra(e.compra);
        cargarCompra();
        const auto compra = m_lineasCompra.constFind(claveLinea(linea.producto, linea.talla, linea.color, linea.unidad1));
        if (compra == m_lineasCompra.cend()) {
            falla(QStringLiteral("El producto %1 (talla '%2', color '%3', unidad '%4') no está en la compra %5")
                      .arg(linea.producto, linea.talla, linea.color, linea.unidad1, e.compra),
                  ok);
            return;
        }
        if (linea.unidadControl1.isEmpty()) {
            linea.unidadControl1 = compra->unidadControl1;
            if (linea.cantidadControl1 == 0 && compra->cantidad1 != 0)
                linea.cantidadControl1 = compra->cantidadControl1 / compra->cantidad1 * linea.cantidad1;
        }

        if (m_folio.isEmpty()) {
            m_folio = tomarFolio(m_conexion, QString::fromLatin1(kDocumento),
                                 [this](const QString &folio) { return existeFolio(folio); });
            m_registro = momento(); // one moment for every row of the note
            m_encabezadoGuardado = m_encabezado;
        } else if (!(m_encabezado == m_encabezadoGuardado)) {
            actualizarEncabezado();
        }
        linea.folio = m_folio;
        linea.linea = m_lineas + 1;
        m_encabezado.folio = m_folio;
        m_encabezadoGuardado.folio = m_folio;
        insertarLinea(linea);

        ++m_lineas;
        m_total += linea.precioNetoImporte;
        m_detalle = linea;
        ok = true;
    } catch (const RuntimeError &error) {
        falla(error.description(), ok);
    }
}

void NotaCredito::Guardar(const QString &folio, bool &ok)
{
    if (!entrada(faults::NotaCreditoGuardar, ok) || !requiereTransaccion(ok))
        return;
    try {
        if (m_lineas == 0) {
            falla(QStringLiteral("La nota de crédito no tiene partidas"), ok);
            return;
        }
        if (folio != m_folio) {
            falla(QStringLiteral("El folio %1 no es el de la nota de crédito en captura (%2)").arg(folio, m_folio), ok);
            return;
        }
        if (!(m_encabezado == m_encabezadoGuardado))
            actualizarEncabezado();
        ok = true;
    } catch (const RuntimeError &error) {
        falla(error.description(), ok);
    }
}

void NotaCredito::Aplicar(const QString &folio, bool aplicar, bool &ok)
{
    if (!entrada(faults::NotaCreditoAplicar, ok))
        return;
    if (!aplicar) {
        ok = true;
        return;
    }
    if (!requiereTransaccion(ok))
        return;
    try {
        auto nota = m_conexion.query(
            QStringLiteral("SELECT COUNT(*) AS Lineas, "
                           "SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) AS Canceladas, "
                           "SUM(Nc_Precio_Neto_Importe) AS Total, MIN(Pv_Cve_Proveedor) AS Proveedor, "
                           "MIN(Mn_Cve_Moneda) AS Moneda, MIN(Nc_Tipo_Cambio) AS TipoCambio "
                           "FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"),
            {folio});
        if (nota->eof() || nota->field(QStringLiteral("Lineas")).toLongLong() == 0) {
            falla(QStringLiteral("No existe la nota de crédito %1").arg(folio), ok);
            return;
        }
        if (nota->field(QStringLiteral("Canceladas")).toLongLong() > 0) {
            falla(QStringLiteral("La nota de crédito %1 está cancelada; no se puede aplicar").arg(folio), ok);
            return;
        }
        const double total = nota->field(QStringLiteral("Total")).toDouble();
        const QString proveedor = nota->field(QStringLiteral("Proveedor")).toString();
        const QString monedaNota = nota->field(QStringLiteral("Moneda")).toString();
        const double tipoCambio = nota->field(QStringLiteral("TipoCambio")).toDouble();
        nota->close();

        auto previa = m_conexion.query(
            QStringLiteral("SELECT Ap_Cancelada FROM Nota_Credito_Aplicacion WHERE Nc_Folio = ?"), {folio});
        const bool hayPrevia = !previa->eof();
        if (hayPrevia && previa->field(QStringLiteral("Ap_Cancelada")).toInt() == 0) {
            falla(QStringLiteral("La nota de crédito %1 ya está aplicada").arg(folio), ok);
            return;
        }
        previa->close();

        auto prov = m_conexion.query(
            QStringLiteral("SELECT Mn_Cve_Moneda FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {proveedor});
        if (prov->eof()) {
            falla(QStringLiteral("No existe el proveedor '%1' de la nota de crédito %2").arg(proveedor, folio), ok);
            return;
        }
        const QString monedaProveedor = prov->field(QStringLiteral("Mn_Cve_Moneda")).toString();
        prov->close();

        double importe = total;
        if (!monedaNota.isEmpty() && !monedaProveedor.isEmpty() && monedaNota != monedaProveedor) {
            // The note's rate converts its currency into the local one; nothing here
            // converts the other way.
            if (monedaProveedor != monedaLocal() || !positivo(tipoCambio)) {
                falla(QStringLiteral("La nota de crédito %1 está en %2 y el saldo del proveedor %3 en %4; "
                                     "no se puede aplicar")
                          .arg(folio, monedaNota, proveedor, monedaProveedor),
                      ok);
                return;
            }
            importe = total * tipoCambio;
        }

        storeApplication(folio, proveedor, importe, hayPrevia);
        ok = true;
    } catch (const RuntimeError &error) {
        falla(error.description(), ok);
    }
}

// The supplier's balance lowered by `importe` and the application recorded (over a
// cancelled earlier one when there is one).
void NotaCredito::storeApplication(const QString &folio, const QString &proveedor, double importe, bool hayPrevia)
{
    m_conexion.run(QStringLiteral("UPDATE Proveedor SET Pv_Saldo = COALESCE(Pv_Saldo, 0) - ? "
                                  "WHERE Pv_Cve_Proveedor = ?"),
                   {importe, proveedor});
    const QVariant cuando = momento();
    if (hayPrevia) {
        m_conexion.run(QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Pv_Cve_Proveedor = ?, Ap_Importe = ?, "
                                      "Ap_Fecha = ?, Ap_Usuario = ?, Ap_Cancelada = 0, "
                                      "Ap_Fecha_Cancelacion = NULL, Ap_Usuario_Cancela = '' WHERE Nc_Folio = ?"),
                       {proveedor, importe, cuando, m_sesion->usuario(), folio});
    } else {
        m_conexion.run(QStringLiteral("INSERT INTO Nota_Credito_Aplicacion (Nc_Folio, Pv_Cve_Proveedor, "
                                      "Ap_Importe, Ap_Fecha, Ap_Usuario, Ap_Cancelada) VALUES (?, ?, ?, ?, ?, 0)"),
                       {folio, proveedor, importe, cuando, m_sesion->usuario()});
    }
}

void NotaCredito::Cancelar(const QString &folio, bool &ok)
{
    if (!entrada(faults::NotaCreditoCancelar, ok) || !requiereTransaccion(ok))
        return;
    try {
        if (folio.isEmpty()) {
            falla(QStringLiteral("No se indicó el folio de la nota de crédito a cancelar"), ok);
            return;
        }
        auto nota = m_conexion.query(
            QStringLiteral("SELECT COUNT(*) AS Lineas, "
                           "SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 0 ELSE 1 END) AS Vigentes, "
                           "MIN(Co_Folio) AS Compra FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"),
            {folio});
        if (nota->eof() || nota->field(QStringLiteral("Lineas")).toLongLong() == 0) {
            falla(QStringLiteral("No existe la nota de crédito %1").arg(folio), ok);
            return;
        }
        const bool vigente = nota->field(QStringLiteral("Vigentes")).toLongLong() > 0;
        const QString compra = nota->field(QStringLiteral("Compra")).toString();
        nota->close();
        const QString yaCancelada = QStringLiteral("La nota de crédito %1 ya está cancelada").arg(folio);
        if (!vigente) {
            falla(yaCancelada, ok);
            return;
        }

        // Same order of locks as a save (purchase first, then the supplier's balance),
        // so a replacement and a save on the same purchase cannot wait for each other.
        bloquearCompra(compra);
        const QVariant cuando = momento();
        const int cambiadas = m_conexion.run(
            QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA', Nc_Usuario_Cancela = ?, "
                           "Nc_Fecha_Cancelacion = ? WHERE Nc_Folio = ? AND Es_Cve_Estado <> 'CA'"),
            {m_sesion->usuario(), cuando, folio});
        if (cambiadas == 0) { // cancelled by someone else meanwhile
            falla(yaCancelada, ok);
            return;
        }

        auto aplicacion = m_conexion.query(
            QStringLiteral("SELECT Pv_Cve_Proveedor, Ap_Importe FROM Nota_Credito_Aplicacion "
                           "WHERE Nc_Folio = ? AND Ap_Cancelada = 0"),
            {folio});
        if (!aplicacion->eof()) {
            const QString proveedor = aplicacion->field(QStringLiteral("Pv_Cve_Proveedor")).toString();
            const double importe = aplicacion->field(QStringLiteral("Ap_Importe")).toDouble();
            aplicacion->close();
            m_conexion.run(QStringLiteral("UPDATE Proveedor SET Pv_Saldo = COALESCE(Pv_Saldo, 0) + ? "
                                          "WHERE Pv_Cve_Proveedor = ?"),
                           {importe, proveedor});
            m_conexion.run(QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Ap_Cancelada = 1, "
                                          "Ap_Fecha_Cancelacion = ?, Ap_Usuario_Cancela = ? "
                                          "WHERE Nc_Folio = ? AND Ap_Cancelada = 0"),
                           {cuando, m_sesion->usuario(), folio});
        }
        m_folioCancelado = folio;
        ok = true;
    } catch (const RuntimeError &error) {
        falla(error.description(), ok);
    }
}

} // namespace qmx44::business
