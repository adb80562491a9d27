#include "platform/services/utilerias.h"

#include "platform/controls/desktop.h"
#include "platform/core/faults.h"
#include "platform/services/folio_format.h"
#include "platform/services/mode_groups.h"
#include "platform/services/parameters.h"

namespace qmx44::services {

Utilerias::Utilerias(std::shared_ptr<Session> session) : m_session(std::move(session))
{
    if (!m_session)
        throw RuntimeError(QStringLiteral("Utilerias: no hay sesión"));
}

QDate Utilerias::FechaActual()
{
    m_session->check(faults::UtileriasFechaActual);
    return m_session->workingDate();
}

bool Utilerias::ValidarPeriodo(const QDate &date, const QString &module, int scope)
{
    Q_UNUSED(scope);
    m_session->check(faults::UtileriasValidarPeriodo);
    if (!date.isValid())
        return false;
    auto rs = m_session->connection().query(
        QStringLiteral("SELECT COUNT(*) AS Abiertos FROM Periodo_Operativo "
                       "WHERE Po_Modulo = ? AND Po_Fecha_Inicio <= ? AND Po_Fecha_Fin >= ? "
                       "AND Po_Abierto = 1"),
        {module, date, date});
    const bool opened = !rs->eof() && rs->field(QStringLiteral("Abiertos")).toInt() > 0;
    rs->close();
    return opened;
}

QString Utilerias::FormatearFolio(const QString &folio, const QString &document)
{
    m_session->check(faults::UtileriasFormatearFolio);
    int width = kFolioWidth;
    if (!document.isEmpty()) {
        auto rs = m_session->connection().query(
            QStringLiteral("SELECT Fc_Ancho FROM Folio_Contador WHERE Fc_Documento = ?"), {document});
        if (!rs->eof()) {
            const QVariant v = rs->field(QStringLiteral("Fc_Ancho"));
            if (!v.isNull() && v.toInt() > 0)
                width = v.toInt();
        }
        rs->close();
    }
    return normaliseFolio(folio, width);
}

double Utilerias::TipoCambio(const QString &currency, const QDate &date)
{
    m_session->check(faults::UtileriasTipoCambio);
    return exchangeRate(m_session->connection(), currency, date);
}

double exchangeRate(db::Conexion &database, const QString &currency, const QDate &date)
{
    if (currency.isEmpty())
        return 0.0;
    const auto local = readParameter(database, QStringLiteral("FIN_MONEDA_LOCAL"));
    if (local && !local->value.isNull() && local->value.toString() == currency)
        return 1.0;
    if (!date.isValid())
        return 0.0;
    // Written without LIMIT/TOP so the same text runs on every back-end.
    auto rs = database.query(
        QStringLiteral("SELECT Tc_Valor FROM Tipo_Cambio "
                       "WHERE Mn_Cve_Moneda = ? AND Tc_Fecha = ("
                       "SELECT MAX(Tc_Fecha) FROM Tipo_Cambio WHERE Mn_Cve_Moneda = ? AND Tc_Fecha <= ?)"),
        {currency, currency, date});
    const double value = rs->eof() ? 0.0 : rs->field(QStringLiteral("Tc_Valor")).toDouble();
    rs->close();
    return value;
}

void Utilerias::LimpiarControles(controls::Form &form, int mode)
{
    m_session->check(faults::UtileriasLimpiarControles);
    clearGroup(form, mode);
}

void Utilerias::HabilitarControles(controls::Form &form, int mode)
{
    m_session->check(faults::UtileriasHabilitarControles);
    enableGroup(form, mode);
}

QString Utilerias::Transaccion(const QString &text, const QString &application)
{
    m_session->check(faults::UtileriasTransaccion);
    return application + u':' + text;
}

bool Utilerias::EnviarTeclas(const QString &keys, bool wait)
{
    Q_UNUSED(wait);
    m_session->check(faults::UtileriasEnviarTeclas);
    return controls::Desktop::sendKeys(keys);
}

} // namespace qmx44::services
