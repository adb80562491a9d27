#pragma once
// Connects the document layer to the main form: saving (Controles.Aceptar), cancelling
// (Controles.Eliminar) and showing a saved note (txtFolio's Enter and Change). The
// component calls it when it creates the form, before the form loads.
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::document {

void install(screen::FrmQMX44 &frm);

} // namespace qmx44::document
