// Connects the note's effect panel to the main form.
#include "preview/install.h"

#include "preview/note_effect.h"
#include "screen/frm_qmx44.h"

namespace qmx44::preview {

void install(screen::FrmQMX44 &frm)
{
    NoteEffect::attach(std::make_shared<NoteEffect>(frm));
}

} // namespace qmx44::preview
