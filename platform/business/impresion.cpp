#include "platform/business/impresion.h"

#include "platform/core/error.h"

namespace qmx44::business {

Impresion::Impresion(std::shared_ptr<services::Sesion> sesion, std::shared_ptr<Bitacora> bitacora)
    : m_sesion(std::move(sesion)), m_bitacora(std::move(bitacora))
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
    m_sesion->check(QStringLiteral("Impresion.Imprimir"));
    m_bitacora->registrarImpresion({formato, folio, QString()});
}

} // namespace qmx44::business
