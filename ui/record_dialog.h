#pragma once
// The record query's window: the rows of a table with a given key, read-only.
class QWidget;

namespace qmx44::business {
struct TableRows;
}

namespace qmx44::ui {

void showRecords(const business::TableRows &rows, QWidget *parent);

} // namespace qmx44::ui
