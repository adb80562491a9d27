#include "platform/business/impresion.h"

#include "platform/business/print/formato.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"

namespace qmx44::business {

Impresion::Impresion(std::shared_ptr<services::Sesion> sesion, std::shared_ptr<Bitacora> bitacora,
                     const QString &carpeta)
    : m_sesion(std::move(sesion)), m_bitacora(std::move(bitacora)), m_carpeta(carpeta)
{
    if (!m_sesion || !m_bitacora)
        throw RuntimeError(QStringLiteral("Impresion: falta la sesión"));
}

void Impresion::Imprimir(const QString &formato, const QString &folio, const QString &salida,
                         bool vistaPrevia, bool elegirImpresora, const QString &filtro)
{
    Q_UNUSED(salida);
    Q_UNUSED(vistaPrevia);
    Q_UNUSED(elegirImpresora);
    Q_UNUSED(filtro);
    m_sesion->check(faults::ImpresionImprimir);
    const QString archivo = print::imprimirNota(m_sesion->conexion(), formato, folio, m_carpeta);
    const DocumentoImpreso impreso{formato, folio, archivo};
    m_bitacora->registrarImpresion(impreso);
    if (m_bitacora->alImprimir)
        m_bitacora->alImprimir(impreso);
}

} // namespace qmx44::business
