#pragma once
// Connects the note's effect panel to the main form. The component calls it when it
// creates the form, before the form loads.
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::preview {

void install(screen::FrmQMX44 &frm);

} // namespace qmx44::preview
