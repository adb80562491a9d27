#include "platform/business/consulta_registro.h"

#include "platform/business/registros_tabla.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"

namespace qmx44::business {

ConsultaRegistro::ConsultaRegistro(std::shared_ptr<services::Sesion> sesion, std::shared_ptr<Bitacora> bitacora)
    : m_sesion(std::move(sesion)), m_bitacora(std::move(bitacora))
{
    if (!m_sesion || !m_bitacora)
        throw RuntimeError(QStringLiteral("ConsultaRegistro: falta la sesión"));
}

void ConsultaRegistro::Mostrar(const QString &tabla, const QString &columna, const QString &valor,
                               const QString &extra1, const QString &extra2, const QString &extra3,
                               const QString &extra4)
{
    Q_UNUSED(extra1);
    Q_UNUSED(extra2);
    Q_UNUSED(extra3);
    Q_UNUSED(extra4);
    m_sesion->check(faults::ConsultaRegistroMostrar);
    const RegistrosTabla registros = leerRegistros(m_sesion->conexion(), tabla, columna, valor);
    m_bitacora->registrarConsulta({tabla, columna, valor, int(registros.filas.size())});
    if (m_bitacora->alConsultar)
        m_bitacora->alConsultar(registros);
}

} // namespace qmx44::business
