#include "platform/business/consulta_registro.h"

#include "platform/business/table_rows.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"
#include "platform/services/session.h"

namespace qmx44::business {

ConsultaRegistro::ConsultaRegistro(std::shared_ptr<services::Session> session, std::shared_ptr<ActivityLog> activityLog)
    : m_session(std::move(session)), m_activityLog(std::move(activityLog))
{
    if (!m_session || !m_activityLog)
        throw RuntimeError(QStringLiteral("ConsultaRegistro: falta la sesión"));
}

void ConsultaRegistro::Mostrar(const QString &table, const QString &column, const QString &value, const QString &extra1,
                               const QString &extra2, const QString &extra3, const QString &extra4)
{
    Q_UNUSED(extra1);
    Q_UNUSED(extra2);
    Q_UNUSED(extra3);
    Q_UNUSED(extra4);
    m_session->check(faults::ConsultaRegistroMostrar);
    const TableRows records = readTableRows(m_session->connection(), table, column, value);
    m_activityLog->recordQuery({table, column, value, int(records.rows.size())});
    if (m_activityLog->onQuery)
        m_activityLog->onQuery(records);
}

} // namespace qmx44::business
