#pragma once
// Controles_Aceptar: saving the credit note that stands on the form. Validation first;
// then, in one transaction on the screen's connection, the replaced note cancelled (when
// the toolbar says the document is not new), every bonused row checked against what is
// pending and added to the document, the additional fields, the save, the application
// and the delivery address; after the commit the screen is cleared, the toolbar told and
// the note printed.
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::document {

// Event 16 of the toolbar. `nuevo` is true for a new note and false when the note shown
// in txtFolio is being replaced; it is not changed. Failures inside the transaction are
// reported and roll everything back, and the pending column is read again; the handler
// never throws past its validation. A form closed (or a note cancelled) while the save
// lets pending window events through, before its transaction, ends it quietly.
// Every attempt at one note stores the form's saveToken; after a commit whose answer was
// lost (db::CommitOutcomeUnknown) the next call looks that token up first and, when the
// note is there, tells its folio and shows it instead of saving it again.
void Controles_Aceptar(screen::FrmQMX44 &frm, bool &nuevo);

} // namespace qmx44::document
