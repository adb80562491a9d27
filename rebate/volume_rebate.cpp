#include "rebate/volume_rebate.h"

#include "document/excede_pendiente.h"
#include "document/note_records.h"
#include "intake/pending_amounts.h"
#include "platform/business/additional_field_store.h"
#include "platform/business/folio_counter.h"
#include "platform/business/nota_credito.h"
#include "platform/controls/additional_fields.h"
#include "platform/core/error.h"
#include "platform/core/flag.h"
#include "platform/core/progress.h"
#include "platform/db/connection.h"
#include "platform/services/session.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/cause_lookup.h"

#include <QHash>
#include <QUuid>
#include <algorithm>
#include <cmath>
#include <map>

namespace qmx44::rebate {

namespace {

const QString RunDocument = QStringLiteral("BONIFICACION_VOLUMEN");
// The table the screen's toolbar keeps the notes' additional fields under.
const QString AdditionalFieldTable = QStringLiteral("Nota_Credito_Proveedor");

// The grouping of the screen's detail grid, over every purchase of the supplier in the
// period; then the sums the grid shows and the control quantity the basis may use.
const char *const GroupColumns = "c.Co_Folio, e.Co_Fecha, c.Sc_Cve_Sucursal, c.Al_Cve_Almacen, c.Cm_Cve_Comprador, "
                                 "c.Mn_Cve_Moneda, p.Pr_Cve_Producto, p.Pr_Descripcion, c.Tl_Cve_Talla, "
                                 "c.Cl_Cve_Color, c.Co_Unidad_1, c.Co_Unidad_Control_1, c.Co_Unidad_Control_2, "
                                 "c.Co_Impuesto_Factor";

QString eligibleSql(bool branch, bool warehouse)
{
    QString sql = QStringLiteral("SELECT %1, SUM(c.Co_Cantidad_1) AS Cantidad, "
                                 "SUM(c.Co_Precio_Descontado_Importe - c.Co_Descuento_Global_Importe) AS Importe, "
                                 "SUM(c.Co_Cantidad_Control_1) AS Control "
                                 "FROM Compra_Encabezado e "
                                 "INNER JOIN COMPRA c ON c.Co_Folio = e.Co_Folio "
                                 "INNER JOIN Producto p ON p.Pr_Cve_Producto = c.Pr_Cve_Producto "
                                 "WHERE e.Pv_Cve_Proveedor = ? AND e.Co_Fecha >= ? AND e.Co_Fecha < ? "
                                 "AND e.Es_Cve_Estado <> 'CA' AND c.Mn_Cve_Moneda = ? ")
                      .arg(QLatin1String(GroupColumns));
    if (branch)
        sql += QStringLiteral("AND e.Sc_Cve_Sucursal = ? ");
    if (warehouse)
        sql += QStringLiteral("AND e.Al_Cve_Almacen = ? ");
    sql += QStringLiteral("GROUP BY %1 ORDER BY %1").arg(QLatin1String(GroupColumns));
    return sql;
}

// An empty text, never a null one: a NULL key matches nothing when the note is shown.
QString text(const QVariant &v)
{
    const QString s = v.toString();
    return s.isNull() ? QString::fromLatin1("", 0) : s;
}

// What a purchase line may still be granted before tax, in cents, once what is pending
// on its key is shared between the grid's lines of that key in proportion to amount.
void setCaps(std::vector<EligibleLine> &lines, std::size_t first, std::size_t end,
             const QHash<QString, intake::LineAmounts> &pending)
{
    QHash<QString, double> keyAmount;
    QHash<QString, int> keyLines;
    const auto keyOf = [](const EligibleLine &l) {
        return intake::pendingLineKey(l.product, l.size, l.color, l.unit1);
    };
    for (std::size_t i = first; i < end; ++i) {
        keyAmount[keyOf(lines[i])] += std::max(0.0, lines[i].amount);
        ++keyLines[keyOf(lines[i])];
    }
    for (std::size_t i = first; i < end; ++i) {
        EligibleLine &l = lines[i];
        const QString key = keyOf(l);
        const intake::LineAmounts amounts = pending.value(key);
        const double keyPending = amounts.purchased - amounts.noted;
        const double total = keyAmount.value(key);
        const double share = keyLines.value(key) == 1 ? 1.0
            : total > 0                               ? std::max(0.0, l.amount) / total
                                                      : 1.0 / keyLines.value(key);
        l.pending = keyPending * share;
        l.cap = capBeforeTax(l.pending, l.taxFactor);
    }
}

double basisOf(const EligibleLine &l, Basis basis)
{
    return basis == Basis::Amount ? l.amount : l.controlBasis;
}

Outcome refused(const QString &why)
{
    return Outcome{false, QString(), why};
}

// The line the screen's save would store for a grid row of `line` granted `bonus`.
business::DetalleNota noteLine(const EligibleLine &line, double bonus)
{
    business::DetalleNota d{};
    d.producto = line.product;
    d.comentario = QStringLiteral("Nota de crédito por bonificacion compra: ") + line.purchase;
    d.talla = line.size;
    d.color = line.color;
    d.cantidad1 = line.quantity1;
    d.unidad1 = line.unit1;
    d.cantidadControl1 = line.controlQuantity1;
    d.unidadControl1 = line.controlUnit1;
    d.cantidadControl2 = line.controlQuantity2;
    d.unidadControl2 = line.controlUnit2;
    document::fillAmounts(d, bonus, line.quantity1, line.taxFactor);
    return d;
}

// A note of the run: its purchase's lines granted something, in the order listed.
struct PurchaseNote {
    QString purchase;
    std::vector<const EligibleLine *> lines;
};

std::vector<PurchaseNote> notesOf(const std::vector<EligibleLine> &lines)
{
    std::map<QString, PurchaseNote> byPurchase; // folio order: the order the purchases are locked in
    for (const EligibleLine &l : lines) {
        if (l.excluded || l.cents <= 0)
            continue;
        PurchaseNote &n = byPurchase[l.purchase];
        n.purchase = l.purchase;
        n.lines.push_back(&l);
    }
    std::vector<PurchaseNote> out;
    for (auto &[folio, note] : byPurchase)
        out.push_back(std::move(note));
    return out;
}

QVariant isoDate(const QDate &d)
{
    return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
}

// The amount asked for, in cents: the value, or its percent of the included lines' amount.
std::int64_t askedCents(const RebateParameters &parameters, const std::vector<EligibleLine> &lines)
{
    if (!parameters.percent)
        return std::max<std::int64_t>(0, std::llround(parameters.value * 100));
    double included = 0;
    for (const EligibleLine &l : lines)
        included += l.excluded ? 0 : l.amount;
    return std::max<std::int64_t>(0, percentOf(included, parameters.value));
}

} // namespace

VolumeRebate::VolumeRebate(std::shared_ptr<services::Session> session) : m_session(std::move(session)) {}

VolumeRebate::~VolumeRebate() = default;

QString VolumeRebate::supplierCurrency(const QString &supplier)
{
    auto rs = m_session->connection().query(
        QStringLiteral("SELECT Mn_Cve_Moneda FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {supplier});
    const QString currency = rs->eof() ? QString() : rs->field(QStringLiteral("Mn_Cve_Moneda")).toString();
    rs->close();
    return currency;
}

std::vector<EligibleLine> VolumeRebate::eligible(const RebateParameters &parameters)
{
    db::Conexion &c = m_session->connection();
    services::Sistema system(m_session);
    const QString branch = system.Sucursal();
    const QString warehouse = system.Almacen();
    const QString currency =
        parameters.currency.isEmpty() ? supplierCurrency(parameters.supplier) : parameters.currency;
    QVariantList values{parameters.supplier, isoDate(parameters.from), isoDate(parameters.to.addDays(1)), currency};
    if (!branch.isEmpty())
        values << branch;
    if (!warehouse.isEmpty())
        values << warehouse;

    std::vector<EligibleLine> lines;
    auto rs = c.query(eligibleSql(!branch.isEmpty(), !warehouse.isEmpty()), values);
    for (; !rs->eof(); rs->moveNext()) {
        EligibleLine l;
        int i = 0;
        const auto next = [&] { return rs->fieldAt(i++); };
        l.purchase = text(next());
        l.purchaseDate = next().toDate();
        l.branch = text(next());
        l.warehouse = text(next());
        l.buyer = text(next());
        l.currency = text(next());
        l.product = text(next());
        l.description = text(next());
        l.size = text(next());
        l.color = text(next());
        l.unit1 = text(next());
        l.controlUnit1 = text(next());
        l.controlUnit2 = text(next());
        l.taxFactor = next().toDouble();
        l.quantity1 = next().toDouble();
        // The grid shows the first quantity as both control quantities; so does the note.
        l.controlQuantity1 = l.quantity1;
        l.controlQuantity2 = l.quantity1;
        l.amount = next().toDouble();
        l.controlBasis = next().toDouble();
        lines.push_back(std::move(l));
    }
    rs->close();

    // What is pending, one statement a purchase (the screen's own), shared out by key.
    ProgressReport progress(m_session->progressSink(), QStringLiteral("Leyendo lo pendiente de las compras…"),
                            qint64(lines.size()));
    for (std::size_t first = 0; first < lines.size();) {
        std::size_t end = first;
        while (end < lines.size() && lines[end].purchase == lines[first].purchase)
            ++end;
        setCaps(lines, first, end, intake::readPending(c, lines[first].purchase, QString()));
        first = end;
        progress.advance(qint64(end));
    }
    return lines;
}

SpreadOutcome VolumeRebate::spreadOver(const RebateParameters &parameters, std::vector<EligibleLine> &lines)
{
    SpreadOutcome outcome;
    outcome.asked = askedCents(parameters, lines);
    std::vector<SpreadLine> offered;
    offered.reserve(lines.size());
    for (const EligibleLine &l : lines)
        offered.push_back({std::max(0.0, basisOf(l, parameters.basis)), l.cap, l.excluded});
    const Spread s = spread(outcome.asked, offered);
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].cents = s.cents[i];
    outcome.unplaced = s.unplaced;
    return outcome;
}

Outcome VolumeRebate::save(const RebateParameters &parameters, const std::vector<EligibleLine> &lines,
                           const std::vector<std::pair<QString, QString>> &additionalFields)
{
    const std::vector<PurchaseNote> notes = notesOf(lines);
    if (parameters.supplier.isEmpty())
        return refused(QStringLiteral("Debe especificar un proveedor"));
    if (notes.empty())
        return refused(QStringLiteral("Imposible guardar la bonificación con importe cero"));
    for (const EligibleLine &l : lines) {
        if (!l.excluded && l.cents > 0 && l.currency != notes.front().lines.front()->currency)
            return refused(QStringLiteral("Las compras de una bonificación deben ser de una sola moneda"));
    }

    db::Conexion &c = m_session->connection();
    services::Sistema system(m_session);
    services::Utilerias utilities(m_session);
    try {
        // An attempt after a lost commit: the run may be there already.
        if (!parameters.token.isEmpty()) {
            auto rs = c.query(QStringLiteral("SELECT Bv_Folio FROM Bonificacion_Volumen WHERE Bv_Token = ?"),
                              {parameters.token});
            const QString saved = rs->eof() ? QString() : rs->fieldAt(0).toString();
            rs->close();
            if (!saved.isEmpty())
                return Outcome{true, saved, QString()};
        }
        // The cause as the screen's cause field takes it: live, and neither the return
        // nor the rejection cause.
        // (The field splices the typed text at its quoted mark; here it is bound.)
        const QString causeSql =
            screen::causeLookupStatement(system.Parametro(QStringLiteral("CXP_CAUSA_DEVOLUCION")).toString(),
                                         system.Parametro(QStringLiteral("CXC_CAUSA_RECHAZO")).toString())
                .replace(QStringLiteral("'?'"), QStringLiteral("?"));
        auto cause = c.query(causeSql, {parameters.cause});
        const bool causeFound = !parameters.cause.isEmpty() && !cause->eof();
        cause->close();
        if (!causeFound)
            return refused(QStringLiteral("No se especificó la causa de la nota de credito"));

        const QDate today = utilities.FechaActual();
        const QString currency = notes.front().lines.front()->currency;
        const double rate = utilities.TipoCambio(currency, today);
        if (rate <= 0)
            return refused(QStringLiteral("No hay tipo de cambio de la moneda %1 para el %2")
                               .arg(currency, today.toString(QStringLiteral("dd/MM/yyyy"))));
        const bool apply = flagFromValue(
            system.Parametro(QStringLiteral("CXP_APLICAR_NOTA_CREDITO"), 0, QStringLiteral("B"), QStringLiteral("0")));

        // The additional fields as the toolbar takes them: the definitions of the notes'
        // table, each value checked.
        business::DbAdditionalFieldStore store(c);
        controls::AdditionalFields fields;
        fields.loadDefinitions(store, AdditionalFieldTable);
        for (const auto &[name, value] : additionalFields) {
            if (!fields.setValue(name, value))
                return refused(QStringLiteral("No existe el campo adicional %1").arg(name));
        }
        if (const QString reason = fields.validate(); !fields.definitions().empty() && !reason.isEmpty())
            return refused(QStringLiteral("Imposible actualizar campos adicionales\r\n") + reason);

        std::int64_t granted = 0;
        for (const EligibleLine &l : lines)
            granted += l.excluded ? 0 : std::max<std::int64_t>(0, l.cents);

        db::ScopedTransaction tx(c);
        // Every purchase first, in folio order, then the supplier: the document's order
        // for each note, kept across all of them.
        for (const PurchaseNote &n : notes)
            c.lockRows(QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"), n.purchase);
        c.lockRows(QStringLiteral("Proveedor"), QStringLiteral("Pv_Cve_Proveedor"), parameters.supplier);
        const QString runFolio = business::drawFolio(c, RunDocument, [&](const QString &folio) {
            auto rs = c.query(QStringLiteral("SELECT 1 FROM Bonificacion_Volumen WHERE Bv_Folio = ?"), {folio});
            const bool used = !rs->eof();
            rs->close();
            return used;
        });

        business::NotaCredito note(m_session, c);
        QString sql;
        ProgressReport progress(m_session->progressSink(), QStringLiteral("Guardando las notas de la bonificación…"),
                                qint64(notes.size()));
        for (const PurchaseNote &n : notes) {
            const EligibleLine &first = *n.lines.front();
            business::EncabezadoNota header{};
            header.fecha = today;
            header.referencia = text(parameters.reference);
            header.comentario = QStringLiteral("Bonificación por volumen %1").arg(runFolio);
            header.moneda = currency;
            header.causa = text(parameters.cause);
            header.tipoCambio = rate;
            header.compra = n.purchase;
            header.sucursal = first.branch;
            header.almacen = first.warehouse;
            header.proveedor = parameters.supplier;
            header.comprador = first.buyer;
            header.token = QUuid::createUuid().toString(QUuid::WithoutBraces);
            note.Nuevo();
            note.Encabezado(header);
            document::PurchasePending pending(c, sql, n.purchase);
            bool ok = false;
            for (const EligibleLine *l : n.lines) {
                note.Detalle(noteLine(*l, double(l->cents) / 100));
                if (pending.exceeds(note))
                    return refused(QStringLiteral("El importe a bonificar del producto: %1 excede el importe "
                                                  "pendiente de la compra %2")
                                       .arg(l->product, n.purchase));
                note.AgregarDetalle(ok);
                if (!ok)
                    return refused(note.MensajeError());
            }
            note.sendLines(ok);
            if (!ok)
                return refused(note.MensajeError());
            const QString folio = note.Encabezado().folio;
            if (!fields.definitions().empty())
                fields.store(store, AdditionalFieldTable, folio);
            note.Guardar(folio, ok);
            if (!ok)
                return refused(note.MensajeError());
            if (apply) {
                note.Aplicar(folio, true, ok);
                if (!ok)
                    return refused(note.MensajeError());
            }
            c.run(QStringLiteral("INSERT INTO Bonificacion_Volumen_Nota (Bv_Folio, Nc_Folio) VALUES (?, ?)"),
                  {runFolio, folio});
            progress.advance(qint64(&n - notes.data()) + 1);
        }
        // What could not be placed: the amount asked for less what the lines take.
        const std::int64_t unplaced = std::max<std::int64_t>(0, askedCents(parameters, lines) - granted);
        c.run(QStringLiteral("INSERT INTO Bonificacion_Volumen (Bv_Folio, Pv_Cve_Proveedor, Bv_Desde, Bv_Hasta, "
                             "Mn_Cve_Moneda, Cn_Cve_Causa_Nota_Credito_Proveedor, Bv_Referencia, Bv_Porcentaje, "
                             "Bv_Valor, Bv_Base, Bv_Importe, Bv_No_Colocado, Es_Cve_Estado, Bv_Usuario, Bv_Token) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'AC', ?, ?)"),
              {runFolio, parameters.supplier, isoDate(parameters.from), isoDate(parameters.to), text(currency),
               parameters.cause, text(parameters.reference), parameters.percent ? 1 : 0, parameters.value,
               parameters.basis == Basis::Amount ? QStringLiteral("I") : QStringLiteral("C"), double(granted) / 100,
               double(unplaced) / 100, m_session->user(), text(parameters.token)});
        tx.commit();
        return Outcome{true, runFolio, QString()};
    } catch (const db::CommitOutcomeUnknown &e) {
        return refused(describe(e)
                       + QStringLiteral("\r\nNo se sabe si la bonificación se guardó: al guardarla de "
                                        "nuevo se busca antes, y no se guarda dos veces."));
    } catch (const std::exception &e) {
        return refused(describe(e));
    }
}

RebateRun VolumeRebate::run(const QString &typed)
{
    db::Conexion &c = m_session->connection();
    services::Utilerias utilities(m_session);
    const QString folio = utilities.FormatearFolio(typed, RunDocument);
    RebateRun run;
    auto rs = c.query(QStringLiteral("SELECT Pv_Cve_Proveedor, Bv_Desde, Bv_Hasta, Mn_Cve_Moneda, "
                                     "Cn_Cve_Causa_Nota_Credito_Proveedor, Bv_Referencia, Bv_Porcentaje, Bv_Valor, "
                                     "Bv_Base, Bv_Importe, Bv_No_Colocado, Es_Cve_Estado, Bv_Usuario, "
                                     "Bv_Fecha_Registro, Bv_Usuario_Cancela, Bv_Fecha_Cancelacion "
                                     "FROM Bonificacion_Volumen WHERE Bv_Folio = ?"),
                      {folio});
    if (rs->eof()) {
        rs->close();
        return run;
    }
    int i = 0;
    const auto next = [&] { return rs->fieldAt(i++); };
    run.folio = folio;
    RebateParameters &p = run.parameters;
    p.supplier = next().toString();
    p.from = next().toDate();
    p.to = next().toDate();
    p.currency = next().toString();
    p.cause = next().toString();
    p.reference = next().toString();
    p.percent = next().toInt() != 0;
    p.value = next().toDouble();
    p.basis = next().toString() == QLatin1String("C") ? Basis::ControlQuantity : Basis::Amount;
    run.granted = std::llround(next().toDouble() * 100);
    run.unplaced = std::llround(next().toDouble() * 100);
    run.cancelled = next().toString() == QLatin1String("CA");
    run.user = next().toString();
    run.registered = next().toDateTime();
    run.cancelledBy = next().toString();
    run.cancelledAt = next().toDateTime();
    rs->close();

    rs = c.query(QStringLiteral("SELECT l.Nc_Folio, MIN(n.Co_Folio), SUM(n.Nc_Precio_Descontado_Importe), "
                                "SUM(n.Nc_Impuesto_Importe), SUM(n.Nc_Precio_Neto_Importe), MIN(n.Es_Cve_Estado) "
                                "FROM Bonificacion_Volumen_Nota l "
                                "INNER JOIN NOTA_CREDITO_PROVEEDOR n ON n.Nc_Folio = l.Nc_Folio "
                                "WHERE l.Bv_Folio = ? GROUP BY l.Nc_Folio ORDER BY l.Nc_Folio"),
                 {folio});
    for (; !rs->eof(); rs->moveNext()) {
        run.notes.push_back({rs->fieldAt(0).toString(), rs->fieldAt(1).toString(), rs->fieldAt(2).toDouble(),
                             rs->fieldAt(3).toDouble(), rs->fieldAt(4).toDouble(),
                             rs->fieldAt(5).toString() == QLatin1String("CA")});
    }
    rs->close();
    return run;
}

Outcome VolumeRebate::cancel(const QString &typed)
{
    db::Conexion &c = m_session->connection();
    try {
        const QString folio = services::Utilerias(m_session).FormatearFolio(typed, RunDocument);
        services::Sistema system(m_session);
        const QString branch = system.Sucursal();
        const QString warehouse = system.Almacen();

        db::ScopedTransaction tx(c);
        // Read under the run's own lock: a second cancellation waits here and then finds
        // the run cancelled.
        c.lockRows(QStringLiteral("Bonificacion_Volumen"), QStringLiteral("Bv_Folio"), folio);
        auto rs = c.query(QStringLiteral("SELECT Es_Cve_Estado FROM Bonificacion_Volumen WHERE Bv_Folio = ?"), {folio});
        const bool found = !rs->eof();
        const bool cancelled = found && rs->fieldAt(0).toString() == QLatin1String("CA");
        rs->close();
        if (!found)
            return refused(QStringLiteral("No existe la bonificación por volumen %1").arg(typed));
        if (cancelled)
            return refused(QStringLiteral("La bonificación por volumen %1 ya está cancelada").arg(folio));

        // Every purchase of the run first, in folio order: each note's own locks (its rows,
        // the supplier) are then taken behind purchases this transaction already holds, and
        // no note of the run can be cancelled or replaced by another clerk meanwhile.
        auto purchases = c.query(QStringLiteral("SELECT DISTINCT n.Co_Folio FROM Bonificacion_Volumen_Nota l "
                                                "INNER JOIN NOTA_CREDITO_PROVEEDOR n ON n.Nc_Folio = l.Nc_Folio "
                                                "WHERE l.Bv_Folio = ? ORDER BY n.Co_Folio"),
                                 {folio});
        QStringList toLock;
        for (; !purchases->eof(); purchases->moveNext())
            toLock << purchases->fieldAt(0).toString();
        purchases->close();
        for (const QString &purchase : toLock)
            c.lockRows(QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"), purchase);

        // The notes still live once the purchases are held (a clerk may have cancelled one
        // on the screen), with the branch and warehouse a restricted user must share.
        std::vector<QString> live;
        rs = c.query(QStringLiteral("SELECT DISTINCT n.Nc_Folio, n.Sc_Cve_Sucursal, n.Al_Cve_Almacen "
                                    "FROM Bonificacion_Volumen_Nota l "
                                    "INNER JOIN NOTA_CREDITO_PROVEEDOR n ON n.Nc_Folio = l.Nc_Folio "
                                    "WHERE l.Bv_Folio = ? AND n.Es_Cve_Estado <> 'CA' ORDER BY n.Nc_Folio"),
                     {folio});
        for (; !rs->eof(); rs->moveNext()) {
            if ((!branch.isEmpty() && rs->fieldAt(1).toString() != branch)
                || (!warehouse.isEmpty() && rs->fieldAt(2).toString() != warehouse)) {
                rs->close();
                return refused(QStringLiteral("La bonificación %1 tiene notas de otra sucursal o almacén").arg(folio));
            }
            live.push_back(rs->fieldAt(0).toString());
        }
        rs->close();

        business::NotaCredito note(m_session, c);
        for (const QString &noteFolio : live) {
            bool ok = false;
            note.Cancelar(noteFolio, ok);
            if (!ok)
                return refused(QStringLiteral("Error al cancelar la nota de credito %1\r\n%2")
                                   .arg(noteFolio, note.MensajeError()));
        }
        c.run(QStringLiteral("UPDATE Bonificacion_Volumen SET Es_Cve_Estado = 'CA', Bv_Usuario_Cancela = ?, "
                             "Bv_Fecha_Cancelacion = CURRENT_TIMESTAMP WHERE Bv_Folio = ?"),
              {m_session->user(), folio});
        tx.commit();
        return Outcome{true, folio, QString()};
    } catch (const std::exception &e) {
        return refused(describe(e));
    }
}

} // namespace qmx44::rebate
