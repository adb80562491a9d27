// The catalogue search: the statement wrapped by the database layer so that the filter
// and the limit apply on the server; one row beyond the limit tells that there are more.
#include "platform/controls/catalogue_search.h"

#include "platform/controls/form.h"
#include "platform/controls/number_format.h"
#include "platform/controls/text_field.h"
#include "platform/db/connection.h"
#include "platform/db/dialect.h"

#include <QDate>

namespace qmx44::controls {

namespace {

QDate dateOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate); // SQLite keeps ISO text
}

} // namespace

QStringList catalogueHeaders(const CatalogueListing &listing)
{
    QStringList headers{QStringLiteral("Clave"), QStringLiteral("Descripción")};
    if (listing.hasDate)
        headers << QStringLiteral("Fecha");
    if (listing.hasTotal)
        headers << QStringLiteral("Total");
    if (listing.hasState)
        headers << QStringLiteral("Estado");
    return headers;
}

QStringList catalogueCells(const CatalogueListing &listing, const CatalogueRow &row)
{
    QStringList cells{row.key, row.description};
    if (listing.hasDate)
        cells << (row.date.isNull() ? QString() : dateOf(row.date).toString(QStringLiteral("dd/MM/yyyy")));
    if (listing.hasTotal)
        cells << (row.total.isNull() ? QString() : formatNumber(row.total.toDouble(), QStringLiteral("$#,##0.00")));
    if (listing.hasState)
        cells << row.state.toString();
    return cells;
}

QString TextField::catalogueStatement() const
{
    if (!m_sqlList.isEmpty())
        return m_sqlList;
    return form().catalogue(m_catalogue);
}

CatalogueListing TextField::search(const QString &filter, int limit) const
{
    CatalogueListing listing;
    const QString statement = catalogueStatement();
    if (statement.isEmpty() || limit < 1)
        return listing;
    detail::runGuarded(this, name() + QStringLiteral("_Buscar()"), [&] {
        db::Conexion *db = form().connection();
        if (!db)
            throw RuntimeError(QStringLiteral("No hay conexión a la base de datos"));
        const db::CatalogueQuery search = db::catalogueSearch(statement, db->backend(), limit + 1, filter);
        auto rs = db->query(search.sql, search.parameters);
        listing.hasDate = rs->hasField(QStringLiteral("FECHA"));
        listing.hasTotal = rs->hasField(QStringLiteral("TOTAL"));
        listing.hasState = rs->hasField(QStringLiteral("ESTADO"));
        const auto optional = [&](bool has, const char *column) {
            return has ? rs->field(QString::fromLatin1(column)) : QVariant();
        };
        for (; !rs->eof(); rs->moveNext()) {
            if (int(listing.rows.size()) == limit) {
                listing.more = true;
                break;
            }
            listing.rows.push_back({rs->field(QStringLiteral("CLAVE")).toString(),
                                    rs->field(QStringLiteral("DESCRIPCION")).toString(),
                                    optional(listing.hasDate, "FECHA"), optional(listing.hasTotal, "TOTAL"),
                                    optional(listing.hasState, "ESTADO")});
        }
        rs->close();
    });
    return listing;
}

bool TextField::pick(const QString &key)
{
    if (!effectivelyEnabled() || m_locked)
        return false;
    assignText(key);
    m_committed = m_text;
    lookup();
    Revalidate.raise();
    return true;
}

} // namespace qmx44::controls
