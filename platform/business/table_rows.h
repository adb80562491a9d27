#pragma once
// Reading the rows of a table by a key column for the record query, with the table and
// column names checked against the database's own before they reach a statement.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace qmx44::db {
class Conexion;
}

namespace qmx44::business {

struct TableRows {
    QString table;     // the table's name as the database spells it
    QString keyColumn; // likewise for the key column
    QString keyValue;
    QStringList columns;      // every column, in the table's order
    QList<QVariantList> rows; // one list of values per row, in the order of `columns`
};

// The rows of `table` whose `column` equals `value` (bound, never spliced), at most
// `limit` of them. The names are matched without regard to case against the tables of
// the database and that table's columns; anything else is refused with a RuntimeError
// ("No existe la tabla X", "La tabla X no tiene la columna Y"), nothing run.
TableRows readTableRows(db::Conexion &connection, const QString &table, const QString &column, const QString &value,
                        int limit = 10000);

} // namespace qmx44::business
