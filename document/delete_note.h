#pragma once
// Controles_Eliminar: cancelling the saved note shown in txtFolio. The document object
// marks its rows cancelled inside one transaction; its lines stop counting against the
// purchase and the screen is cleared for a new note.
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::document {

// Event 15 of the toolbar. Runs under its own trap: a run-time error rolls back what is
// still open and is shown (style 16, title "Controles_Eliminar()", "ERR-ID:7500014").
void Controles_Eliminar(screen::FrmQMX44 &frm);

} // namespace qmx44::document
