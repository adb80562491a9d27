#pragma once
// The note-folio field txtFolio: confirming a folio shows the saved note (its header,
// its purchase's lines with the saved bonuses, the totals) under the user's branch and
// warehouse restrictions, and offers modify and cancel as the note's state and period
// allow; changing the folio leaves the shown note.
#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::document {

// The statement that reads note `folio`'s rows with a purchase folio (the folio goes
// through the quoting helper).
QString noteSql(const QString &folio);

// Enter of txtFolio. Nothing while the toolbar is editing; otherwise runs under its own
// trap: a failure is shown (style 16, title "txtFolio_Enter()", "ERR-ID:7500022") and
// what was already written stays.
void txtFolio_Enter(screen::FrmQMX44 &frm);
// Change of txtFolio (no trap of its own).
void txtFolio_Change(screen::FrmQMX44 &frm);

} // namespace qmx44::document
