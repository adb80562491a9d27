#include "document/eliminar.h"

#include "document/mensaje.h"
#include "platform/business/nota_credito.h"
#include "platform/core/error.h"
#include "screen/frm_qmx44.h"

#include <memory>

namespace qmx44::document {

void Controles_Eliminar(screen::FrmQMX44 &frm)
{
    db::Conexion *conexion = nullptr;
    bool abierta = false;
    try {
        conexion = &frm.Sistema().Conexion();
        abierta = true;
        conexion->begin();
        auto nota = std::make_unique<business::NotaCredito>(frm.contexto().sesion, *conexion);
        QString folio = frm.txtFolio().text();
        bool ok = false;
        nota->Cancelar(folio, ok);
        if (!ok) {
            abierta = false;
            conexion->rollback();
            // Shown even when the document gave no reason.
            mensaje(frm, nota->MensajeError(), EstiloError, QStringLiteral("Operación cancelada"),
                    QStringLiteral("ERR-ID:7500013"));
            return;
        }
        conexion->commit();
        abierta = false;
        nota.reset();
        frm.txtFolio().setText(QString());
        frm.Controles_Cancelar();
    } catch (const std::exception &e) {
        if (abierta && conexion && conexion->inTransaction()) {
            try {
                conexion->rollback();
            } catch (...) {
            }
        }
        mensaje(frm, describe(e), EstiloError, QStringLiteral("Controles_Eliminar()"),
                QStringLiteral("ERR-ID:7500014"));
    }
}

} // namespace qmx44::document
