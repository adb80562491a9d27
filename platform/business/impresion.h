#pragma once
// Impresion: prints a document by the name of its print format. This version records
// each request in the host's Bitacora (the file written comes with the print
// formats); a planned failure of "Impresion.Imprimir" raises a run-time error.
#include "platform/business/bitacora.h"
#include "platform/services/sesion.h"

#include <QString>
#include <memory>

namespace qmx44::business {

class Impresion {
public:
    Impresion(std::shared_ptr<services::Sesion> sesion, std::shared_ptr<Bitacora> bitacora);

    // Prints `folio` with the format `formato`. The other arguments (an output name, the
    // preview and printer-choice flags, a filter) are accepted as callers pass them;
    // this version does not use them.
    void Imprimir(const QString &formato, const QString &folio, const QString &salida = {},
                  bool vistaPrevia = false, bool elegirImpresora = false, const QString &filtro = {});

private:
    std::shared_ptr<services::Sesion> m_sesion;
    std::shared_ptr<Bitacora> m_bitacora;
};

} // namespace qmx44::business
