#include "platform/business/note_register.h"

#include "platform/business/print/pdf.h"
#include "platform/business/print/print_template.h"
#include "platform/core/error.h"
#include "platform/db/connection.h"
#include "platform/services/parameters.h"
#include "platform/services/sistema.h"

#include <QLocale>

namespace qmx44::business {

namespace {

// The columns of a note's row as the page query gives them: the note's header repeats
// on each of its lines, so any line's value is the note's (MAX picks one on every
// back-end); amounts add up over the lines. Blanks instead of NULLs, so that both
// back-ends order them alike.
const QString kSelect = QStringLiteral(
    "SELECT n.Nc_Folio AS folio, MAX(n.Nc_Fecha) AS fecha, MAX(n.Pv_Cve_Proveedor) AS proveedor, "
    "COALESCE(MAX(p.Pv_Descripcion), MAX(n.Pv_Cve_Proveedor)) AS nombre, MAX(n.Co_Folio) AS compra, "
    "SUM(n.Nc_Precio_Descontado_Importe) AS subtotal, SUM(n.Nc_Impuesto_Importe) AS impuesto, "
    "SUM(n.Nc_Precio_Neto_Importe) AS total, MAX(n.Mn_Cve_Moneda) AS moneda, "
    "MAX(CASE WHEN n.Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) AS cancelada, "
    "COALESCE((SELECT MIN(r.Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR r WHERE r.Nc_Folio_Sustituye = n.Nc_Folio), '') "
    "AS sustituida_por, MAX(n.Nc_Folio_Sustituye) AS sustituye "
    "FROM NOTA_CREDITO_PROVEEDOR n LEFT JOIN Proveedor p ON p.Pv_Cve_Proveedor = n.Pv_Cve_Proveedor");

// The result column each register column sorts by, in NoteColumn's order.
const char *const kSortKeys[NoteColumnCount] = {"folio",     "fecha",          "nombre",   "compra",
                                                "subtotal",  "impuesto",       "total",    "moneda",
                                                "cancelada", "sustituida_por", "sustituye"};

QDate dateOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

QString csvField(QString text, QChar separator)
{
    if (text.contains(separator) || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r'))
        return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return text;
}

bool isAmount(NoteColumn column)
{
    return column == NoteColumn::Subtotal || column == NoteColumn::Tax || column == NoteColumn::Total;
}

double amountOf(const NoteRow &row, NoteColumn column)
{
    return column == NoteColumn::Subtotal ? row.subtotal : column == NoteColumn::Tax ? row.tax : row.total;
}

double amountOf(const NoteTotals &totals, NoteColumn column)
{
    return column == NoteColumn::Subtotal ? totals.subtotal : column == NoteColumn::Tax ? totals.tax : totals.total;
}

QString parameterText(db::Conexion &c, const QString &name)
{
    const auto p = services::readParameter(c, name);
    return p && !p->value.isNull() ? p->value.toString() : QString();
}

QString html(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QChar csvSeparator(QChar decimalPoint)
{
    return decimalPoint == u',' ? u';' : u',';
}

NoteRegister::NoteRegister(std::shared_ptr<services::Session> session) : m_session(std::move(session))
{
    if (!m_session)
        throw RuntimeError(QStringLiteral("NoteRegister: falta la sesión"));
    services::Sistema system(m_session);
    m_branch = system.Sucursal();
    m_warehouse = system.Almacen();
}

void NoteRegister::setSort(NoteColumn column, bool descending)
{
    m_sortColumn = column;
    m_descending = descending;
}

QString NoteRegister::whereClause(QVariantList &values) const
{
    QString where = QStringLiteral(" WHERE 1 = 1");
    const auto add = [&](const QString &condition, const QVariant &value) {
        where += QStringLiteral(" AND ") + condition;
        values << value;
    };
    // A restricted user's limits first: they hold whatever the filter says.
    if (!m_branch.isEmpty())
        add(QStringLiteral("n.Sc_Cve_Sucursal = ?"), m_branch);
    if (!m_warehouse.isEmpty())
        add(QStringLiteral("n.Al_Cve_Almacen = ?"), m_warehouse);
    const NoteRegisterFilter &f = m_filter;
    if (!f.supplier.isEmpty())
        add(QStringLiteral("n.Pv_Cve_Proveedor = ?"), f.supplier);
    if (!f.purchase.isEmpty())
        add(QStringLiteral("n.Co_Folio = ?"), f.purchase);
    // Dates as ISO texts: an SQLite file stores them so (with or without a time), and
    // PostgreSQL reads the text as a date; the day after `to` keeps the whole of `to`.
    if (f.from.isValid())
        add(QStringLiteral("n.Nc_Fecha >= ?"), f.from.toString(Qt::ISODate));
    if (f.to.isValid())
        add(QStringLiteral("n.Nc_Fecha < ?"), f.to.addDays(1).toString(Qt::ISODate));
    if (f.state == NoteState::Live)
        where += QStringLiteral(" AND n.Es_Cve_Estado <> 'CA'");
    else if (f.state == NoteState::Cancelled)
        where += QStringLiteral(" AND n.Es_Cve_Estado = 'CA'");
    if (!f.cause.isEmpty())
        add(QStringLiteral("n.Cn_Cve_Causa_Nota_Credito_Proveedor = ?"), f.cause);
    if (!f.user.isEmpty())
        add(QStringLiteral("n.Nc_Usuario = ?"), f.user);
    return where;
}

NoteTotals NoteRegister::totals() const
{
    QVariantList values;
    const QString sql =
        QStringLiteral("SELECT COUNT(DISTINCT n.Nc_Folio) AS notas, SUM(n.Nc_Precio_Descontado_Importe) AS subtotal, "
                       "SUM(n.Nc_Impuesto_Importe) AS impuesto, SUM(n.Nc_Precio_Neto_Importe) AS total, "
                       "SUM(n.Nc_Precio_Descontado_Importe * n.Nc_Tipo_Cambio) AS subtotal_local, "
                       "SUM(n.Nc_Impuesto_Importe * n.Nc_Tipo_Cambio) AS impuesto_local, "
                       "SUM(n.Nc_Precio_Neto_Importe * n.Nc_Tipo_Cambio) AS total_local, "
                       "MIN(n.Mn_Cve_Moneda) AS primera, MAX(n.Mn_Cve_Moneda) AS ultima "
                       "FROM NOTA_CREDITO_PROVEEDOR n")
        + whereClause(values);
    db::Conexion &c = m_session->connection();
    auto rs = c.query(sql, values);
    NoteTotals t;
    if (rs->eof())
        return t;
    t.notes = rs->field(QStringLiteral("notas")).toInt();
    const QString first = rs->field(QStringLiteral("primera")).toString();
    t.converted = first != rs->field(QStringLiteral("ultima")).toString();
    const QString suffix = t.converted ? QStringLiteral("_local") : QString();
    t.subtotal = rs->field(QStringLiteral("subtotal") + suffix).toDouble();
    t.tax = rs->field(QStringLiteral("impuesto") + suffix).toDouble();
    t.total = rs->field(QStringLiteral("total") + suffix).toDouble();
    rs->close();
    t.currency = t.converted ? parameterText(c, QStringLiteral("FIN_MONEDA_LOCAL")) : first;
    return t;
}

std::vector<NoteRow> NoteRegister::rows(int offset, int limit) const
{
    QVariantList values;
    const QString direction = m_descending ? QStringLiteral(" DESC") : QString();
    QString sql = kSelect + whereClause(values) + QStringLiteral(" GROUP BY n.Nc_Folio ORDER BY ");
    if (m_sortColumn != NoteColumn::Folio)
        sql += QLatin1String(kSortKeys[int(m_sortColumn)]) + direction + QStringLiteral(", ");
    sql += QStringLiteral("n.Nc_Folio") + direction;
    // A page: LIMIT/OFFSET on SQLite and PostgreSQL (SQLite takes an OFFSET only after a
    // LIMIT, -1 being none), the standard OFFSET/FETCH on an ODBC source's server.
    const db::Backend backend = m_session->connection().backend();
    if (backend == db::Backend::Odbc) {
        sql += QStringLiteral(" OFFSET ? ROWS");
        values << offset;
        if (limit >= 0) {
            sql += QStringLiteral(" FETCH NEXT ? ROWS ONLY");
            values << limit;
        }
    } else if (limit >= 0 || offset > 0) {
        sql += QStringLiteral(" LIMIT ? OFFSET ?");
        values << (limit >= 0 ? limit : backend == db::Backend::Sqlite ? -1 : QVariant()) << offset;
    }
    auto rs = m_session->connection().query(sql, values);
    int at[NoteColumnCount];
    for (int i = 0; i < NoteColumnCount; ++i)
        at[i] = rs->requireField(QLatin1String(kSortKeys[i]));
    const int key = rs->requireField(QStringLiteral("proveedor"));
    std::vector<NoteRow> out;
    for (; !rs->eof(); rs->moveNext()) {
        const auto f = [&](NoteColumn column) { return rs->fieldAt(at[int(column)]); };
        NoteRow r;
        r.folio = f(NoteColumn::Folio).toString();
        r.date = dateOf(f(NoteColumn::Date));
        r.supplier = rs->fieldAt(key).toString();
        r.supplierName = f(NoteColumn::Supplier).toString();
        r.purchase = f(NoteColumn::Purchase).toString();
        r.subtotal = f(NoteColumn::Subtotal).toDouble();
        r.tax = f(NoteColumn::Tax).toDouble();
        r.total = f(NoteColumn::Total).toDouble();
        r.currency = f(NoteColumn::Currency).toString();
        r.cancelled = f(NoteColumn::State).toInt() != 0;
        r.replacedBy = f(NoteColumn::ReplacedBy).toString();
        r.replaces = f(NoteColumn::Replaces).toString();
        out.push_back(std::move(r));
    }
    return out;
}

QStringList NoteRegister::headers()
{
    return {QStringLiteral("Folio"),          QStringLiteral("Fecha"),      QStringLiteral("Proveedor"),
            QStringLiteral("Compra"),         QStringLiteral("Subtotal"),   QStringLiteral("Impuesto"),
            QStringLiteral("Total"),          QStringLiteral("Moneda"),     QStringLiteral("Estado"),
            QStringLiteral("Sustituida por"), QStringLiteral("Sustituye a")};
}

QString NoteRegister::cellText(const NoteRow &row, NoteColumn column)
{
    switch (column) {
    case NoteColumn::Folio:
        return row.folio;
    case NoteColumn::Date:
        return row.date.toString(QStringLiteral("dd/MM/yyyy"));
    case NoteColumn::Supplier:
        return row.supplierName;
    case NoteColumn::Purchase:
        return row.purchase;
    case NoteColumn::Subtotal:
    case NoteColumn::Tax:
    case NoteColumn::Total:
        return print::formatAmount(amountOf(row, column));
    case NoteColumn::Currency:
        return row.currency;
    case NoteColumn::State:
        return row.cancelled ? QStringLiteral("Cancelada") : QStringLiteral("Vigente");
    case NoteColumn::ReplacedBy:
        return row.replacedBy;
    case NoteColumn::Replaces:
        return row.replaces;
    }
    return {};
}

QString NoteRegister::totalsText(const NoteTotals &totals, NoteColumn column)
{
    if (column == NoteColumn::Folio)
        return QStringLiteral("Total: %1 %2")
            .arg(print::formatAmount(totals.notes, 0),
                 totals.notes == 1 ? QStringLiteral("nota") : QStringLiteral("notas"));
    if (isAmount(column))
        return print::formatAmount(amountOf(totals, column));
    if (column == NoteColumn::Currency)
        return totals.converted ? totals.currency + QStringLiteral(" (convertido)") : totals.currency;
    return {};
}

QByteArray NoteRegister::toCsv(QChar separator, QChar decimalPoint) const
{
    const auto number = [&](double value) {
        QString text = QString::number(value, 'f', 2);
        if (decimalPoint != u'.')
            text.replace(u'.', decimalPoint);
        return text;
    };
    QString out;
    const auto line = [&](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field, separator);
        out += quoted.join(separator) + QStringLiteral("\r\n");
    };
    // The supplier's key beside its name, so a spreadsheet can join on it.
    QStringList header = headers();
    header.insert(int(NoteColumn::Supplier), QStringLiteral("Clave proveedor"));
    line(header);
    for (const NoteRow &row : rows(0, -1)) {
        QStringList fields;
        for (int i = 0; i < NoteColumnCount; ++i) {
            const auto column = NoteColumn(i);
            if (column == NoteColumn::Supplier)
                fields << row.supplier;
            fields << (isAmount(column) ? number(amountOf(row, column)) : cellText(row, column));
        }
        line(fields);
    }
    const NoteTotals t = totals();
    QStringList fields;
    for (int i = 0; i < NoteColumnCount; ++i) {
        const auto column = NoteColumn(i);
        if (column == NoteColumn::Supplier)
            fields << QString();
        fields << (isAmount(column) ? number(amountOf(t, column)) : totalsText(t, column));
    }
    line(fields);
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QString NoteRegister::filterText() const
{
    const NoteRegisterFilter &f = m_filter;
    QStringList parts;
    if (!f.supplier.isEmpty())
        parts << QStringLiteral("Proveedor %1").arg(f.supplier);
    if (!f.purchase.isEmpty())
        parts << QStringLiteral("Compra %1").arg(f.purchase);
    const QString dateFormat = QStringLiteral("dd/MM/yyyy");
    if (f.from.isValid() && f.to.isValid())
        parts << QStringLiteral("Del %1 al %2").arg(f.from.toString(dateFormat), f.to.toString(dateFormat));
    else if (f.from.isValid())
        parts << QStringLiteral("Desde el %1").arg(f.from.toString(dateFormat));
    else if (f.to.isValid())
        parts << QStringLiteral("Hasta el %1").arg(f.to.toString(dateFormat));
    if (f.state != NoteState::Any)
        parts << (f.state == NoteState::Live ? QStringLiteral("Vigentes") : QStringLiteral("Canceladas"));
    if (!f.cause.isEmpty())
        parts << QStringLiteral("Causa %1").arg(f.cause);
    if (!f.user.isEmpty())
        parts << QStringLiteral("Usuario %1").arg(f.user);
    if (!m_branch.isEmpty())
        parts << QStringLiteral("Sucursal %1").arg(m_branch);
    if (!m_warehouse.isEmpty())
        parts << QStringLiteral("Almacén %1").arg(m_warehouse);
    return parts.isEmpty() ? QStringLiteral("Todas las notas") : parts.join(QStringLiteral(" · "));
}

void NoteRegister::writePdf(const QString &file) const
{
    db::Conexion &c = m_session->connection();
    QString page = QStringLiteral("<html><body style=\"font-family: sans-serif; font-size: 7pt\">%1"
                                  "<p style=\"font-size: 11pt\"><b>Notas de crédito de proveedor</b><br/>%2</p>"
                                  "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" border=\"1\"><tr>")
                       .arg(print::companyHeaderHtml(c), html(filterText()));
    for (const QString &header : headers())
        page += QStringLiteral("<th nowrap>%1</th>").arg(html(header));
    page += QStringLiteral("</tr>");
    // Only the supplier's name may wrap: folios, dates and amounts stay whole.
    const auto cell = [](NoteColumn column, const QString &text) {
        return QStringLiteral("<td%1%2>%3</td>")
            .arg(isAmount(column) ? QStringLiteral(" align=\"right\"") : QString(),
                 column == NoteColumn::Supplier ? QString() : QStringLiteral(" nowrap"), html(text));
    };
    for (const NoteRow &row : rows(0, -1)) {
        page += QStringLiteral("<tr>");
        for (int i = 0; i < NoteColumnCount; ++i)
            page += cell(NoteColumn(i), cellText(row, NoteColumn(i)));
        page += QStringLiteral("</tr>");
    }
    const NoteTotals t = totals();
    page += QStringLiteral("<tr>");
    for (int i = 0; i < NoteColumnCount; ++i)
        page += cell(NoteColumn(i), totalsText(t, NoteColumn(i)))
                    .replace(QStringLiteral("<td"), QStringLiteral("<td style=\"font-weight: bold\""));
    page += QStringLiteral("</tr></table></body></html>");
    print::writePdf(page, file, QStringLiteral("Notas de crédito de proveedor"), {}, m_session->progressSink());
}

} // namespace qmx44::business
