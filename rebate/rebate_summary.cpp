#include "rebate/rebate_summary.h"

#include "platform/business/print/pdf.h"
#include "platform/business/print/print_template.h"
#include "platform/core/error.h"
#include "platform/db/connection.h"
#include "platform/services/session.h"
#include "rebate/volume_rebate.h"

namespace qmx44::rebate {

namespace {

using business::print::formatAmount;
using business::print::formatQuantity;

QString html(const QString &text)
{
    return text.toHtmlEscaped();
}

// The description of `key` in a catalogue, or empty.
QString describeKey(db::Conexion &c, const QString &sql, const QString &key)
{
    auto rs = c.query(sql, {key});
    const QString text = rs->eof() ? QString() : rs->fieldAt(0).toString();
    rs->close();
    return text;
}

QString withDescription(const QString &key, const QString &description)
{
    return description.isEmpty() ? key : QStringLiteral("%1 %2").arg(key, description);
}

QString cents(std::int64_t value)
{
    return formatAmount(double(value) / 100.0);
}

QString dateTime(const QDateTime &at)
{
    return at.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

} // namespace

QString summaryWatermark(const RebateRun &run)
{
    return run.cancelled ? QStringLiteral("CANCELADA") : QString();
}

QString summaryHtml(services::Session &session, const RebateRun &run)
{
    db::Conexion &c = session.connection();
    const RebateParameters &p = run.parameters;
    const QString supplier =
        describeKey(c, QStringLiteral("SELECT Pv_Descripcion FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), p.supplier);
    const QString cause = describeKey(c,
                                      QStringLiteral("SELECT Cn_Descripcion FROM Causa_Nota_Credito_Proveedor "
                                                     "WHERE Cn_Cve_Causa_Nota_Credito_Proveedor = ?"),
                                      p.cause);
    QString page = QStringLiteral("<html><body style=\"font-family: sans-serif; font-size: 8pt\">%1"
                                  "<p style=\"font-size: 11pt\"><b>Bonificación por volumen %2</b></p>")
                       .arg(business::print::companyHeaderHtml(c), html(run.folio));

    const QString asked = p.percent ? QStringLiteral("%1 % de lo comprado").arg(formatQuantity(p.value))
                                    : QStringLiteral("%1 %2").arg(formatAmount(p.value), p.currency);
    QString state = run.cancelled ? QStringLiteral("Cancelada") : QStringLiteral("Vigente");
    if (run.cancelled && !run.cancelledBy.isEmpty())
        state += QStringLiteral(" por %1 el %2").arg(run.cancelledBy, dateTime(run.cancelledAt));
    const std::pair<QString, QString> facts[] = {
        {QStringLiteral("Proveedor"), withDescription(p.supplier, supplier)},
        {QStringLiteral("Periodo"),
         QStringLiteral("%1 al %2")
             .arg(p.from.toString(QStringLiteral("dd/MM/yyyy")), p.to.toString(QStringLiteral("dd/MM/yyyy")))},
        {QStringLiteral("Moneda"), p.currency},
        {QStringLiteral("Causa"), withDescription(p.cause, cause)},
        {QStringLiteral("Referencia"), p.reference},
        {p.percent ? QStringLiteral("Porcentaje") : QStringLiteral("Importe"), asked},
        {QStringLiteral("Repartida por"),
         p.basis == Basis::Amount ? QStringLiteral("Importe") : QStringLiteral("Cantidad de control")},
        {QStringLiteral("Registró"), QStringLiteral("%1 el %2").arg(run.user, dateTime(run.registered))},
        {QStringLiteral("Estado"), state},
    };
    page += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    for (const auto &[label, value] : facts)
        page += QStringLiteral("<tr><td><b>%1:</b></td><td>%2</td></tr>").arg(html(label), html(value));
    page += QStringLiteral("</table><br/>");

    page += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" border=\"1\"><tr>");
    for (const char *header : {"Nota", "Compra", "Subtotal", "Impuesto", "Total", "Estado"})
        page += QStringLiteral("<th nowrap>%1</th>").arg(QString::fromUtf8(header));
    page += QStringLiteral("</tr>");
    const auto amount = [](double value) {
        return QStringLiteral("<td align=\"right\" nowrap>%1</td>").arg(formatAmount(value));
    };
    double subtotal = 0, tax = 0, total = 0;
    int live = 0;
    for (const RunNote &note : run.notes) {
        page += QStringLiteral("<tr><td nowrap>%1</td><td nowrap>%2</td>").arg(html(note.folio), html(note.purchase))
            + amount(note.subtotal) + amount(note.tax) + amount(note.total)
            + QStringLiteral("<td nowrap>%1</td></tr>")
                  .arg(note.cancelled ? QStringLiteral("Cancelada") : QStringLiteral("Vigente"));
        // A live run adds up its live notes; a cancelled one, all the notes it granted.
        if (!note.cancelled || run.cancelled) {
            ++live;
            subtotal += note.subtotal;
            tax += note.tax;
            total += note.total;
        }
    }
    const QString count = run.cancelled ? QStringLiteral("Total: %1 notas").arg(run.notes.size())
                                        : QStringLiteral("Vigentes: %1 de %2 notas").arg(live).arg(run.notes.size());
    page += QStringLiteral("<tr style=\"font-weight: bold\"><td colspan=\"2\" nowrap>%1</td>").arg(count)
        + amount(subtotal) + amount(tax) + amount(total) + QStringLiteral("<td></td></tr></table>");

    page += QStringLiteral("<p>Otorgado antes de impuestos: <b>%1 %2</b>").arg(cents(run.granted), html(p.currency));
    if (run.unplaced != 0)
        page += QStringLiteral("<br/>No colocado (ninguna línea lo admitía): <b>%1 %2</b>")
                    .arg(cents(run.unplaced), html(p.currency));
    page += QStringLiteral("</p></body></html>");
    return page;
}

void VolumeRebate::writeSummaryPdf(const QString &folio, const QString &file)
{
    const RebateRun stored = run(folio);
    if (stored.folio.isEmpty())
        throw RuntimeError(QStringLiteral("No existe la bonificación por volumen %1").arg(folio));
    business::print::writePdf(summaryHtml(*m_session, stored), file,
                              QStringLiteral("Bonificación por volumen %1").arg(stored.folio), summaryWatermark(stored),
                              m_session->progressSink());
}

} // namespace qmx44::rebate
