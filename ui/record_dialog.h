#pragma once
// The record query's window: the rows of a table with a given key, read-only.
class QDialog;
class QWidget;

namespace qmx44::business {
struct TableRows;
}

namespace qmx44::ui {

// Opens the window (modeless, deleted when closed) and returns at once.
void showRecords(const business::TableRows &rows, QWidget *parent);
// The window, not yet shown.
QDialog *createRecordsDialog(const business::TableRows &rows, QWidget *parent);

} // namespace qmx44::ui
