#include "platform/business/nota_credito.h"

#include "platform/business/folio_counter.h"
#include "platform/core/faults.h"
#include "platform/db/connection.h"
#include "platform/services/parameters.h"
#include "platform/services/session.h"
#include "platform/services/utilerias.h"

#include <QDateTime>
#include <cmath>
#include <utility>

namespace qmx44::business {

namespace {

QString lineKey(const QString &product, const QString &size, const QString &color, const QString &unit1)
{
    // A separator no key contains keeps "AB"+"C" apart from "A"+"BC".
    const QChar sep(0x1f);
    return product + sep + size + sep + color + sep + unit1;
}

bool positive(double v)
{
    return std::isfinite(v) && v > 0;
}

// A note saved without a token stores '' (the column's default), never NULL: the
// look-up by token then has one "none" to skip.
QString tokenValue(const QString &token)
{
    return token.isNull() ? QStringLiteral("") : token;
}

} // namespace

QString insertNoteLinesSql(int rows)
{
    static const QString head = QStringLiteral(
        "INSERT INTO NOTA_CREDITO_PROVEEDOR ("
        "Nc_Folio, Nc_Linea, Nc_Fecha, Nc_Referencia, Nc_Comentario, Mn_Cve_Moneda, "
        "Cn_Cve_Causa_Nota_Credito_Proveedor, Nc_Tipo_Cambio, Co_Folio, Sc_Cve_Sucursal, Al_Cve_Almacen, "
        "Pv_Cve_Proveedor, Cm_Cve_Comprador, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, "
        "Nc_Comentario_Linea, Nc_Cantidad_1, Nc_Unidad_1, Nc_Cantidad_Control_1, Nc_Unidad_Control_1, "
        "Nc_Cantidad_Control_2, Nc_Unidad_Control_2, Nc_Precio_Lista, Nc_Precio_Descontado, Nc_Descuento_1, "
        "Nc_Descuento_2, Nc_Impuesto_Factor, Nc_Impuesto_Importe, Nc_Precio_Neto, Nc_Precio_Lista_Importe, "
        "Nc_Precio_Descontado_Importe, Nc_Precio_Neto_Importe, Nc_Folio_Sustituye, Nc_Usuario, Nc_Fecha_Registro, "
        "Nc_Token"
        ") VALUES ");
    static const QString row = [] {
        QString r = QStringLiteral("(?");
        for (int i = 1; i < kNoteLineValues; ++i)
            r += QStringLiteral(", ?");
        return r + QLatin1Char(')');
    }();
    QString sql = head;
    sql.reserve(head.size() + rows * (row.size() + 2));
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            sql += QStringLiteral(", ");
        sql += row;
    }
    return sql;
}

// The SQL type of each value of a line, in the insert's column order.
constexpr const char *NoteLineTypes[kNoteLineValues] = {
    "text",   "integer", "date",   "text",   "text",   "text",   "text",      "float8", "text",   "text",
    "text",   "text",    "text",   "text",   "text",   "text",   "text",      "text",   "float8", "text",
    "float8", "text",    "float8", "text",   "float8", "float8", "float8",    "float8", "float8", "float8",
    "float8", "float8",  "float8", "float8", "text",   "text",   "timestamp", "text"};

QString insertNoteLineColumnsSql()
{
    const QString rows = insertNoteLinesSql(1);
    QString sql = rows.left(rows.indexOf(QLatin1String(" VALUES "))) + QStringLiteral(" SELECT * FROM unnest(");
    for (int i = 0; i < kNoteLineValues; ++i)
        sql +=
            QStringLiteral("%1?::%2[]").arg(i > 0 ? QStringLiteral(", ") : QString(), QLatin1String(NoteLineTypes[i]));
    return sql + QLatin1Char(')');
}

QVariantList noteLineColumns(const QVariantList &values)
{
    const qsizetype rows = values.size() / kNoteLineValues;
    QVariantList columns;
    columns.reserve(kNoteLineValues);
    for (int column = 0; column < kNoteLineValues; ++column) {
        QString array;
        array.reserve(rows * 16 + 2);
        array += QLatin1Char('{');
        for (qsizetype row = 0; row < rows; ++row) {
            if (row > 0)
                array += QLatin1Char(',');
            const QVariant &v = values[row * kNoteLineValues + column];
            if (v.isNull()) {
                array += QLatin1String("NULL");
                continue;
            }
            QString text;
            if (v.typeId() == QMetaType::Double)
                text = QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
            else if (v.typeId() == QMetaType::QDate)
                text = v.toDate().toString(Qt::ISODate);
            else
                text = v.toString();
            // Every element quoted, its quotes and backslashes escaped: any text stays one element.
            array += QLatin1Char('"');
            for (const QChar ch : text) {
                if (ch == u'"' || ch == u'\\')
                    array += QLatin1Char('\\');
                array += ch;
            }
            array += QLatin1Char('"');
        }
        array += QLatin1Char('}');
        columns << array;
    }
    return columns;
}

int linesPerStatement(db::Backend backend)
{
    switch (backend) {
    case db::Backend::Sqlite:
        return 1;
    case db::Backend::Postgres:
        return 500;
    default:
        return 1000 / kNoteLineValues;
    }
}

NotaCredito::NotaCredito(std::shared_ptr<services::Session> session)
    : NotaCredito(session,
                  session ? session->connection() : throw RuntimeError(QStringLiteral("NotaCredito: no hay sesión")))
{
}

NotaCredito::NotaCredito(std::shared_ptr<services::Session> session, db::Conexion &database)
    : m_session(std::move(session)), m_connection(database)
{
    if (!m_session)
        throw RuntimeError(QStringLiteral("NotaCredito: no hay sesión"));
}

NotaCredito::~NotaCredito() = default;

// ---- records --------------------------------------------------------------------------

EncabezadoNota NotaCredito::Encabezado() const
{
    EncabezadoNota copy = m_encabezado;
    copy.folio = m_folio;
    if (copy.folioSustituye.isEmpty())
        copy.folioSustituye = m_cancelledFolio;
    return copy;
}

void NotaCredito::Encabezado(const EncabezadoNota &header)
{
    m_encabezado = header;
    m_encabezado.folio = m_folio;
    lockPurchase(m_encabezado.compra);
}

void NotaCredito::Detalle(const DetalleNota &detail)
{
    m_detalle = detail;
    // The pending check that follows must already run under the purchase's lock.
    lockPurchase(m_encabezado.compra);
}

void NotaCredito::Nuevo()
{
    sendQueuedLines(); // what was added before stays added
    m_errorMessage.clear();
    m_encabezado = {};
    m_savedHeader = {};
    m_detalle = {};
    m_folio.clear();
    m_lineCount = 0;
    m_total = 0;
    m_savedAt.clear();
    m_lockedPurchase.clear();
    m_lockedSupplier.clear();
    m_loadedPurchase.clear();
    m_purchaseLines.clear();
}

// ---- common steps ---------------------------------------------------------------------

bool NotaCredito::guardEntry(QLatin1String operation, bool &ok)
{
    ok = false;
    m_errorMessage.clear();
    if (auto planned = m_session->faults().take(operation)) {
        m_errorMessage = *planned;
        return false;
    }
    return true;
}

bool NotaCredito::fail(const QString &message, bool &ok)
{
    ok = false;
    m_errorMessage = message;
    return false;
}

bool NotaCredito::requireTransaction(bool &ok)
{
    if (m_connection.inTransaction())
        return true;
    return fail(QStringLiteral("La nota de crédito sólo se modifica dentro de una transacción abierta"), ok);
}

void NotaCredito::lockPurchase(const QString &purchase)
{
    if (purchase.isEmpty() || purchase == m_lockedPurchase || !m_connection.inTransaction())
        return;
    m_connection.lockRows(QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"), purchase);
    m_lockedPurchase = purchase;
}

// Rank 3 of the lock order (nota_credito.h): before the folio counter is drawn.
void NotaCredito::lockSupplier(const QString &supplier)
{
    if (supplier.isEmpty() || supplier == m_lockedSupplier || !m_connection.inTransaction())
        return;
    m_connection.lockRows(QStringLiteral("Proveedor"), QStringLiteral("Pv_Cve_Proveedor"), supplier);
    m_lockedSupplier = supplier;
}

// The purchase's lines by the keys a note line names, once per document: a note of
// thousands of lines must not cost a look-up each.
void NotaCredito::loadPurchase()
{
    if (m_loadedPurchase == m_encabezado.compra)
        return;
    m_purchaseLines.clear();
    auto rs = m_connection.query(
        QStringLiteral("SELECT Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Unidad_1, Co_Unidad_Control_1, "
                       "Co_Cantidad_1, Co_Cantidad_Control_1 FROM COMPRA "
                       "WHERE Co_Folio = ? AND Es_Cve_Estado <> 'CA' ORDER BY Co_Linea"),
        {m_encabezado.compra});
    const QString fProducto = QStringLiteral("Pr_Cve_Producto"), fTalla = QStringLiteral("Tl_Cve_Talla"),
                  fColor = QStringLiteral("Cl_Cve_Color"), fUnidad = QStringLiteral("Co_Unidad_1"),
                  fControl = QStringLiteral("Co_Unidad_Control_1"), fCantidad = QStringLiteral("Co_Cantidad_1"),
                  fCantidadControl = QStringLiteral("Co_Cantidad_Control_1");
    for (; !rs->eof(); rs->moveNext()) {
        const QString key = lineKey(rs->field(fProducto).toString(), rs->field(fTalla).toString(),
                                    rs->field(fColor).toString(), rs->field(fUnidad).toString());
        const QString control = rs->field(fControl).toString();
        auto it = m_purchaseLines.find(key);
        if (it == m_purchaseLines.end())
            it = m_purchaseLines.insert(key, PurchaseLine{control, 0, 0});
        // The first row's control unit names the line; only rows in that unit give its
        // control quantity per unit.
        if (it->unidadControl1 == control) {
            it->cantidad1 += rs->field(fCantidad).toDouble();
            it->cantidadControl1 += rs->field(fCantidadControl).toDouble();
        }
    }
    rs->close();
    m_loadedPurchase = m_encabezado.compra;
}

bool NotaCredito::folioExists(const QString &folio)
{
    auto rs = m_connection.query(
        QStringLiteral("SELECT COUNT(*) AS Filas FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"), {folio});
    const bool exists = !rs->eof() && rs->field(QStringLiteral("Filas")).toLongLong() > 0;
    rs->close();
    return exists;
}

// The working date with the time of day, as stored in the TIMESTAMP columns.
QVariant NotaCredito::moment() const
{
    const QDateTime rightNow(m_session->workingDate(), QTime::currentTime());
    return rightNow.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

double NotaCredito::amountBeforeTax(const DetalleNota &line) const
{
    if (line.importe != 0)
        return line.importe;
    if (line.impuestoFactor != 0 && line.impuestoImporte != 0)
        return line.impuestoImporte / line.impuestoFactor;
    return line.precioNetoImporte / (1 + line.impuestoFactor);
}

QString NotaCredito::localCurrency()
{
    const auto local = services::readParameter(m_connection, QStringLiteral("FIN_MONEDA_LOCAL"));
    return local && !local->value.isNull() ? local->value.toString() : QString();
}

// The line joins the queue; the first line of a note goes at once, and a full queue too.
void NotaCredito::queueLine(const DetalleNota &l)
{
    const EncabezadoNota &e = m_encabezado;
    const QDate date = e.fecha.isValid() ? e.fecha : m_session->workingDate();
    const QString replaces = e.folioSustituye.isEmpty() ? m_cancelledFolio : e.folioSustituye;
    m_queuedValues.append({m_folio,
                           l.linea,
                           date,
                           e.referencia,
                           e.comentario,
                           e.moneda,
                           e.causa,
                           e.tipoCambio,
                           e.compra,
                           e.sucursal,
                           e.almacen,
                           e.proveedor,
                           e.comprador,
                           QString::fromLatin1(kStatusActive),
                           l.producto,
                           l.talla,
                           l.color,
                           l.comentario,
                           l.cantidad1,
                           l.unidad1,
                           l.cantidadControl1,
                           l.unidadControl1,
                           l.cantidadControl2,
                           l.unidadControl2,
                           l.precioLista,
                           l.precioDescontado,
                           l.descuento1,
                           l.descuento2,
                           l.impuestoFactor,
                           l.impuestoImporte,
                           l.precioNeto,
                           l.importe,
                           l.importe,
                           l.precioNetoImporte,
                           replaces,
                           m_session->user(),
                           m_savedAt,
                           tokenValue(e.token)});
    m_queuedNet[e.compra + QChar(0x1f) + lineKey(l.producto, l.talla, l.color, l.unidad1)] += l.precioNetoImporte;
    if (m_lineCount == 0 || m_queuedValues.size() >= linesPerStatement(m_connection.backend()) * kNoteLineValues)
        sendQueuedLines();
}

// Every queued line in one statement. Throws RuntimeError when the database refuses it;
// the queue is emptied either way (a refused batch leaves a transaction to roll back).
void NotaCredito::sendQueuedLines()
{
    if (m_queuedValues.isEmpty())
        return;
    const QVariantList values = std::exchange(m_queuedValues, {});
    m_queuedNet.clear();
    if (m_connection.backend() == db::Backend::Postgres)
        m_connection.run(insertNoteLineColumnsSql(), noteLineColumns(values));
    else
        m_connection.run(insertNoteLinesSql(int(values.size() / kNoteLineValues)), values);
}

double NotaCredito::queuedNetAmount(const QString &compra, const QString &producto, const QString &talla,
                                    const QString &color, const QString &unidad1) const
{
    return m_queuedNet.value(compra + QChar(0x1f) + lineKey(producto, talla, color, unidad1));
}

// The header changed after lines were stored: every row of the note carries it again.
void NotaCredito::updateHeader()
{
    sendQueuedLines();
    const EncabezadoNota &e = m_encabezado;
    const QDate date = e.fecha.isValid() ? e.fecha : m_session->workingDate();
    const QString replaces = e.folioSustituye.isEmpty() ? m_cancelledFolio : e.folioSustituye;
    m_connection.run(
        QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Fecha = ?, Nc_Referencia = ?, Nc_Comentario = ?, "
                       "Mn_Cve_Moneda = ?, Cn_Cve_Causa_Nota_Credito_Proveedor = ?, Nc_Tipo_Cambio = ?, "
                       "Sc_Cve_Sucursal = ?, Al_Cve_Almacen = ?, Pv_Cve_Proveedor = ?, Cm_Cve_Comprador = ?, "
                       "Nc_Folio_Sustituye = ?, Nc_Token = ? WHERE Nc_Folio = ?"),
        {date, e.referencia, e.comentario, e.moneda, e.causa, e.tipoCambio, e.sucursal, e.almacen, e.proveedor,
         e.comprador, replaces, tokenValue(e.token), m_folio});
    m_savedHeader = m_encabezado;
}

// ---- operations -----------------------------------------------------------------------

void NotaCredito::AgregarDetalle(bool &ok)
{
    if (!guardEntry(faults::NotaCreditoAgregarDetalle, ok) || !requireTransaction(ok))
        return;
    try {
        const EncabezadoNota &e = m_encabezado;
        if (e.compra.isEmpty()) {
            fail(QStringLiteral("La nota de crédito no indica la compra a la que se aplica"), ok);
            return;
        }
        if (m_lineCount > 0 && e.compra != m_savedHeader.compra) {
            fail(QStringLiteral("Todas las partidas de la nota de crédito deben ser de la compra %1")
                     .arg(m_savedHeader.compra),
                 ok);
            return;
        }
        DetalleNota line = m_detalle;
        if (line.producto.isEmpty()) {
            fail(QStringLiteral("La partida no indica el producto"), ok);
            return;
        }
        line.importe = amountBeforeTax(line);
        if (!positive(line.precioNetoImporte) || !positive(line.importe)) {
            fail(QStringLiteral("El importe a bonificar del producto %1 debe ser mayor que cero").arg(line.producto),
                 ok);
            return;
        }

        lockPurchase(e.compra);
        loadPurchase();
        const auto purchase = m_purchaseLines.constFind(lineKey(line.producto, line.talla, line.color, line.unidad1));
        if (purchase == m_purchaseLines.cend()) {
            fail(QStringLiteral("El producto %1 (talla '%2', color '%3', unidad '%4') no está en la compra %5")
                     .arg(line.producto, line.talla, line.color, line.unidad1, e.compra),
                 ok);
            return;
        }
        // The row's own control unit is stored as given, an empty one included: showing
        // the note finds its row by that unit. Only a missing quantity in the purchase
        // line's unit is worked out.
        if (line.cantidadControl1 == 0 && line.unidadControl1 == purchase->unidadControl1 && purchase->cantidad1 != 0)
            line.cantidadControl1 = purchase->cantidadControl1 / purchase->cantidad1 * line.cantidad1;

        if (m_folio.isEmpty()) {
            // The lock order: the supplier the note may be applied to before the counter.
            lockSupplier(e.proveedor);
            m_folio = drawFolio(m_connection, QString::fromLatin1(kDocumentName),
                                [this](const QString &folio) { return folioExists(folio); });
            m_savedAt = moment(); // one moment for every row of the note
            m_savedHeader = m_encabezado;
        } else if (!(m_encabezado == m_savedHeader)) {
            updateHeader();
        }
        line.folio = m_folio;
        line.linea = m_lineCount + 1;
        m_encabezado.folio = m_folio;
        m_savedHeader.folio = m_folio;
        queueLine(line);

        ++m_lineCount;
        m_total += line.precioNetoImporte;
        m_detalle = line;
        ok = true;
    } catch (const RuntimeError &error) {
        fail(error.description(), ok);
    }
}

void NotaCredito::sendLines(bool &ok)
{
    ok = false;
    m_errorMessage.clear();
    try {
        sendQueuedLines();
        ok = true;
    } catch (const RuntimeError &error) {
        fail(error.description(), ok);
    }
}

void NotaCredito::Guardar(const QString &folio, bool &ok)
{
    if (!guardEntry(faults::NotaCreditoGuardar, ok) || !requireTransaction(ok))
        return;
    try {
        if (m_lineCount == 0) {
            fail(QStringLiteral("La nota de crédito no tiene partidas"), ok);
            return;
        }
        if (folio != m_folio) {
            fail(QStringLiteral("El folio %1 no es el de la nota de crédito en captura (%2)").arg(folio, m_folio), ok);
            return;
        }
        sendQueuedLines();
        if (!(m_encabezado == m_savedHeader))
            updateHeader();
        ok = true;
    } catch (const RuntimeError &error) {
        fail(error.description(), ok);
    }
}

void NotaCredito::Aplicar(const QString &folio, bool aplicar, bool &ok)
{
    if (!guardEntry(faults::NotaCreditoAplicar, ok))
        return;
    if (!aplicar) {
        ok = true;
        return;
    }
    if (!requireTransaction(ok))
        return;
    try {
        sendQueuedLines();
        auto note = m_connection.query(
            QStringLiteral("SELECT COUNT(*) AS Lineas, "
                           "SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) AS Canceladas, "
                           "SUM(Nc_Precio_Neto_Importe) AS Total, MIN(Pv_Cve_Proveedor) AS Proveedor, "
                           "MIN(Mn_Cve_Moneda) AS Moneda, MIN(Nc_Tipo_Cambio) AS TipoCambio, MIN(Nc_Fecha) AS Fecha "
                           "FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"),
            {folio});
        if (note->eof() || note->field(QStringLiteral("Lineas")).toLongLong() == 0) {
            fail(QStringLiteral("No existe la nota de crédito %1").arg(folio), ok);
            return;
        }
        if (note->field(QStringLiteral("Canceladas")).toLongLong() > 0) {
            fail(QStringLiteral("La nota de crédito %1 está cancelada; no se puede aplicar").arg(folio), ok);
            return;
        }
        const double total = note->field(QStringLiteral("Total")).toDouble();
        const QString supplier = note->field(QStringLiteral("Proveedor")).toString();
        const QString noteCurrency = note->field(QStringLiteral("Moneda")).toString();
        const double tipoCambio = note->field(QStringLiteral("TipoCambio")).toDouble();
        // A date, or a date and time, as each back-end returns it.
        const QDate date = QDate::fromString(note->field(QStringLiteral("Fecha")).toString().left(10), Qt::ISODate);
        note->close();

        auto previous = m_connection.query(
            QStringLiteral("SELECT Ap_Cancelada FROM Nota_Credito_Aplicacion WHERE Nc_Folio = ?"), {folio});
        const bool hasPrevious = !previous->eof();
        if (hasPrevious && previous->field(QStringLiteral("Ap_Cancelada")).toInt() == 0) {
            fail(QStringLiteral("La nota de crédito %1 ya está aplicada").arg(folio), ok);
            return;
        }
        previous->close();

        auto supplierRow = m_connection.query(
            QStringLiteral("SELECT Mn_Cve_Moneda FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {supplier});
        if (supplierRow->eof()) {
            fail(QStringLiteral("No existe el proveedor '%1' de la nota de crédito %2").arg(supplier, folio), ok);
            return;
        }
        const QString supplierCurrency = supplierRow->field(QStringLiteral("Mn_Cve_Moneda")).toString();
        supplierRow->close();

        double amount = total;
        if (!noteCurrency.isEmpty() && !supplierCurrency.isEmpty() && noteCurrency != supplierCurrency) {
            // Into the local currency at the note's own rate (the rate of its date, as
            // captured), then into the supplier's at the rate of the note's date.
            const bool localNote = noteCurrency == localCurrency();
            const double noteRate = !localNote && positive(tipoCambio)
                ? tipoCambio
                : services::exchangeRate(m_connection, noteCurrency, date);
            const double supplierRate = services::exchangeRate(m_connection, supplierCurrency, date);
            if (!positive(noteRate) || !positive(supplierRate)) {
                fail(QStringLiteral("La nota de crédito %1 está en %2 y el saldo del proveedor %3 en %4; "
                                    "no hay tipo de cambio de %5 al %6, no se puede aplicar")
                         .arg(folio, noteCurrency, supplier, supplierCurrency,
                              positive(noteRate) ? supplierCurrency : noteCurrency,
                              date.toString(QStringLiteral("dd/MM/yyyy"))),
                     ok);
                return;
            }
            amount = total * noteRate / supplierRate;
        }

        storeApplication(folio, supplier, amount, hasPrevious);
        ok = true;
    } catch (const RuntimeError &error) {
        fail(error.description(), ok);
    }
}

// The supplier's balance lowered by `importe` and the application recorded (over a
// cancelled earlier one when there is one).
void NotaCredito::storeApplication(const QString &folio, const QString &supplier, double amount, bool hasPrevious)
{
    m_connection.run(QStringLiteral("UPDATE Proveedor SET Pv_Saldo = COALESCE(Pv_Saldo, 0) - ? "
                                    "WHERE Pv_Cve_Proveedor = ?"),
                     {amount, supplier});
    const QVariant when = moment();
    if (hasPrevious) {
        m_connection.run(QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Pv_Cve_Proveedor = ?, Ap_Importe = ?, "
                                        "Ap_Fecha = ?, Ap_Usuario = ?, Ap_Cancelada = 0, "
                                        "Ap_Fecha_Cancelacion = NULL, Ap_Usuario_Cancela = '' WHERE Nc_Folio = ?"),
                         {supplier, amount, when, m_session->user(), folio});
    } else {
        m_connection.run(QStringLiteral("INSERT INTO Nota_Credito_Aplicacion (Nc_Folio, Pv_Cve_Proveedor, "
                                        "Ap_Importe, Ap_Fecha, Ap_Usuario, Ap_Cancelada) VALUES (?, ?, ?, ?, ?, 0)"),
                         {folio, supplier, amount, when, m_session->user()});
    }
}

void NotaCredito::Cancelar(const QString &folio, bool &ok)
{
    if (!guardEntry(faults::NotaCreditoCancelar, ok) || !requireTransaction(ok))
        return;
    try {
        if (folio.isEmpty()) {
            fail(QStringLiteral("No se indicó el folio de la nota de crédito a cancelar"), ok);
            return;
        }
        sendQueuedLines();
        auto note =
            m_connection.query(QStringLiteral("SELECT COUNT(*) AS Lineas, "
                                              "SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 0 ELSE 1 END) AS Vigentes, "
                                              "MIN(Co_Folio) AS Compra FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"),
                               {folio});
        if (note->eof() || note->field(QStringLiteral("Lineas")).toLongLong() == 0) {
            fail(QStringLiteral("No existe la nota de crédito %1").arg(folio), ok);
            return;
        }
        const bool active = note->field(QStringLiteral("Vigentes")).toLongLong() > 0;
        const QString purchase = note->field(QStringLiteral("Compra")).toString();
        note->close();
        const QString alreadyCancelled = QStringLiteral("La nota de crédito %1 ya está cancelada").arg(folio);
        if (!active) {
            fail(alreadyCancelled, ok);
            return;
        }

        // The lock order (nota_credito.h): the purchase, the note's rows (the update
        // below), then the supplier's balance; a replacement draws its folio after that.
        lockPurchase(purchase);
        const QVariant when = moment();
        const int changedRows = m_connection.run(
            QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA', Nc_Usuario_Cancela = ?, "
                           "Nc_Fecha_Cancelacion = ? WHERE Nc_Folio = ? AND Es_Cve_Estado <> 'CA'"),
            {m_session->user(), when, folio});
        if (changedRows == 0) { // cancelled by someone else meanwhile
            fail(alreadyCancelled, ok);
            return;
        }

        auto application =
            m_connection.query(QStringLiteral("SELECT Pv_Cve_Proveedor, Ap_Importe FROM Nota_Credito_Aplicacion "
                                              "WHERE Nc_Folio = ? AND Ap_Cancelada = 0"),
                               {folio});
        if (!application->eof()) {
            const QString supplier = application->field(QStringLiteral("Pv_Cve_Proveedor")).toString();
            const double amount = application->field(QStringLiteral("Ap_Importe")).toDouble();
            application->close();
            m_connection.run(QStringLiteral("UPDATE Proveedor SET Pv_Saldo = COALESCE(Pv_Saldo, 0) + ? "
                                            "WHERE Pv_Cve_Proveedor = ?"),
                             {amount, supplier});
            m_connection.run(QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Ap_Cancelada = 1, "
                                            "Ap_Fecha_Cancelacion = ?, Ap_Usuario_Cancela = ? "
                                            "WHERE Nc_Folio = ? AND Ap_Cancelada = 0"),
                             {when, m_session->user(), folio});
        }
        m_cancelledFolio = folio;
        ok = true;
    } catch (const RuntimeError &error) {
        fail(error.description(), ok);
    }
}

} // namespace qmx44::business
