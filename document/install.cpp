#include "document/install.h"

#include "document/delete_note.h"
#include "document/load_note.h"
#include "document/save.h"
#include "screen/frm_qmx44.h"

#include <memory>

namespace qmx44::document {

void install(screen::FrmQMX44 &frm)
{
    controls::Toolbar &toolbar = frm.Controles();
    // The save lets the window system process what is pending once, before its
    // transaction: a second Aceptar delivered then (a double click) must not start a
    // second save of the same note inside the first.
    auto saving = std::make_shared<bool>(false);
    toolbar.Aceptar.connect(QStringLiteral("Controles_Aceptar()"), [&frm, saving](bool &nuevo) {
        if (*saving)
            return;
        *saving = true;
        struct ResetOnExit {
            bool &flag;
            ~ResetOnExit() { flag = false; }
        } fin{*saving};
        Controles_Aceptar(frm, nuevo);
    });
    toolbar.Eliminar.connect(QStringLiteral("Controles_Eliminar()"), [&frm] { Controles_Eliminar(frm); });
    controls::TextField &folio = frm.txtFolio();
    folio.Enter.connect(QStringLiteral("txtFolio_Enter()"), [&frm] { txtFolio_Enter(frm); });
    folio.Change.connect(QStringLiteral("txtFolio_Change()"), [&frm] { txtFolio_Change(frm); });
}

} // namespace qmx44::document
