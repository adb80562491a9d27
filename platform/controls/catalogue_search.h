#pragma once
// The catalogue search of a text field (F2): the field's catalogue statement filtered and
// limited on the database, one page of rows at a time, and how a row is shown. The
// search itself is TextField::search.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace qmx44::controls {

// One row of a field's catalogue: CLAVE and DESCRIPCION, and what the catalogue adds of
// FECHA (a date), TOTAL (an amount) and ESTADO (a text); null when it gives none.
struct CatalogueRow {
    QString key;
    QString description;
    QVariant date;
    QVariant total;
    QVariant state;
};

// The rows a search offers, at most its limit, in the order of their keys.
struct CatalogueListing {
    std::vector<CatalogueRow> rows;
    bool more = false; // rows beyond the limit matched too: the filter should be narrowed
    // The optional columns the catalogue gives.
    bool hasDate = false, hasTotal = false, hasState = false;
};

// How many rows a search offers unless asked otherwise.
inline constexpr int CatalogueLimit = 50;

// The headers of the listing's columns, in Spanish: "Clave", "Descripción", then "Fecha",
// "Total" and "Estado" where the catalogue gives them.
QStringList catalogueHeaders(const CatalogueListing &listing);
// A row as shown under those headers: the date dd/MM/yyyy, the total "$#,##0.00".
QStringList catalogueCells(const CatalogueListing &listing, const CatalogueRow &row);

} // namespace qmx44::controls
