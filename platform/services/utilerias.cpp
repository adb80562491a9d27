#include "platform/services/utilerias.h"

#include "platform/controls/desktop.h"
#include "platform/core/faults.h"
#include "platform/services/folio.h"
#include "platform/services/grupos.h"
#include "platform/services/parametros.h"

namespace qmx44::services {

Utilerias::Utilerias(std::shared_ptr<Sesion> sesion) : m_sesion(std::move(sesion))
{
    if (!m_sesion)
        throw RuntimeError(QStringLiteral("Utilerias: no hay sesión"));
}

QDate Utilerias::FechaActual()
{
    m_sesion->check(faults::UtileriasFechaActual);
    return m_sesion->fechaTrabajo();
}

bool Utilerias::ValidarPeriodo(const QDate &fecha, const QString &modulo, int ambito)
{
    Q_UNUSED(ambito);
    m_sesion->check(faults::UtileriasValidarPeriodo);
    if (!fecha.isValid())
        return false;
    auto rs = m_sesion->conexion().query(
        QStringLiteral("SELECT COUNT(*) AS Abiertos FROM Periodo_Operativo "
                       "WHERE Po_Modulo = ? AND Po_Fecha_Inicio <= ? AND Po_Fecha_Fin >= ? "
                       "AND Po_Abierto = 1"),
        {modulo, fecha, fecha});
    const bool abierto = !rs->eof() && rs->field(QStringLiteral("Abiertos")).toInt() > 0;
    rs->close();
    return abierto;
}

QString Utilerias::FormatearFolio(const QString &folio, const QString &documento)
{
    m_sesion->check(faults::UtileriasFormatearFolio);
    int ancho = kAnchoFolio;
    if (!documento.isEmpty()) {
        auto rs = m_sesion->conexion().query(
            QStringLiteral("SELECT Fc_Ancho FROM Folio_Contador WHERE Fc_Documento = ?"), {documento});
        if (!rs->eof()) {
            const QVariant v = rs->field(QStringLiteral("Fc_Ancho"));
            if (!v.isNull() && v.toInt() > 0)
                ancho = v.toInt();
        }
        rs->close();
    }
    return normalizarFolio(folio, ancho);
}

double Utilerias::TipoCambio(const QString &moneda, const QDate &fecha)
{
    m_sesion->check(faults::UtileriasTipoCambio);
    if (moneda.isEmpty())
        return 0.0;
    db::Conexion &conexion = m_sesion->conexion();
    const auto local = leerParametro(conexion, QStringLiteral("FIN_MONEDA_LOCAL"));
    if (local && !local->valor.isNull() && local->valor.toString() == moneda)
        return 1.0;
    if (!fecha.isValid())
        return 0.0;
    // Written without LIMIT/TOP so the same text runs on every back-end.
    auto rs = conexion.query(
        QStringLiteral("SELECT Tc_Valor FROM Tipo_Cambio "
                       "WHERE Mn_Cve_Moneda = ? AND Tc_Fecha = ("
                       "SELECT MAX(Tc_Fecha) FROM Tipo_Cambio WHERE Mn_Cve_Moneda = ? AND Tc_Fecha <= ?)"),
        {moneda, moneda, fecha});
    const double valor = rs->eof() ? 0.0 : rs->field(QStringLiteral("Tc_Valor")).toDouble();
    rs->close();
    return valor;
}

void Utilerias::LimpiarControles(controls::Form &form, int modo)
{
    m_sesion->check(faults::UtileriasLimpiarControles);
    limpiarGrupo(form, modo);
}

void Utilerias::HabilitarControles(controls::Form &form, int modo)
{
    m_sesion->check(faults::UtileriasHabilitarControles);
    habilitarGrupo(form, modo);
}

QString Utilerias::Transaccion(const QString &texto, const QString &aplicacion)
{
    m_sesion->check(faults::UtileriasTransaccion);
    return aplicacion + u':' + texto;
}

bool Utilerias::EnviarTeclas(const QString &teclas, bool esperar)
{
    Q_UNUSED(esperar);
    m_sesion->check(faults::UtileriasEnviarTeclas);
    return controls::Desktop::sendKeys(teclas);
}

} // namespace qmx44::services
