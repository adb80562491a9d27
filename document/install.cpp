#include "document/install.h"

#include "document/aceptar.h"
#include "document/carga_nota.h"
#include "document/eliminar.h"
#include "screen/frm_qmx44.h"

#include <memory>

namespace qmx44::document {

void install(screen::FrmQMX44 &frm)
{
    controls::Toolbar &controles = frm.Controles();
    // The save lets the window system process what is pending once, before its
    // transaction: a second Aceptar delivered then (a double click) must not start a
    // second save of the same note inside the first.
    auto guardando = std::make_shared<bool>(false);
    controles.Aceptar.connect(QStringLiteral("Controles_Aceptar()"), [&frm, guardando](bool &nuevo) {
        if (*guardando)
            return;
        *guardando = true;
        struct Fin {
            bool &bandera;
            ~Fin() { bandera = false; }
        } fin{*guardando};
        Controles_Aceptar(frm, nuevo);
    });
    controles.Eliminar.connect(QStringLiteral("Controles_Eliminar()"), [&frm] { Controles_Eliminar(frm); });
    controls::TextField &folio = frm.txtFolio();
    folio.Enter.connect(QStringLiteral("txtFolio_Enter()"), [&frm] { txtFolio_Enter(frm); });
    folio.Change.connect(QStringLiteral("txtFolio_Change()"), [&frm] { txtFolio_Change(frm); });
}

} // namespace qmx44::document
