#include "document/delete_note.h"

#include "platform/business/nota_credito.h"
#include "platform/core/error.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

#include <memory>

namespace qmx44::document {

void Controles_Eliminar(screen::FrmQMX44 &frm)
{
    try {
        // A run-time error rolls the transaction back on its way to the trap. The locks
        // follow the order of docs/saving.md (purchase, the note's rows, supplier).
        db::Conexion &connection = frm.Sistema().Conexion();
        db::ScopedTransaction tx(connection);
        auto note = std::make_unique<business::NotaCredito>(frm.context().session, connection);
        QString folio = frm.txtFolio().text();
        bool ok = false;
        note->Cancelar(folio, ok);
        if (!ok) {
            tx.rollback();
            // Shown even when the document gave no reason.
            screen::showMessage(frm, note->MensajeError(), MessageStyle::Error, QStringLiteral("Operación cancelada"),
                                QStringLiteral("ERR-ID:7500013"));
            return;
        }
        tx.commit();
        note.reset();
        frm.txtFolio().setText(QString());
        frm.Controles_Cancelar();
    } catch (const std::exception &e) {
        screen::showMessage(frm, describe(e), MessageStyle::Error, QStringLiteral("Controles_Eliminar()"),
                            QStringLiteral("ERR-ID:7500014"));
    }
}

} // namespace qmx44::document
