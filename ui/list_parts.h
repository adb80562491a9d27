#pragma once
// What the host's list windows (the notes register, the volume rebate) build alike: the
// wait cursor while the database works, their key fields and their lists of rows.
#include <QString>

class QLineEdit;
class QTableView;
class QWidget;

namespace qmx44::ui {

// The wait cursor for as long as it lives.
struct WaitCursor {
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// A field of at most `length` characters with a clear button; with `upper`, typed in
// upper case as the screen's key fields are.
QLineEdit *keyField(int length, QWidget *parent, bool upper = true);

// A list of whole rows, one selected at a time, read only, its rows as high as the text,
// with `tip` telling what its keys do.
void setUpRowList(QTableView *table, const QString &tip);

} // namespace qmx44::ui
