#pragma once
// ConsultaRegistro: shows the rows of a table with a given key, read-only. The table and
// column names are checked against the database's own and the value is bound; the rows
// go to the host's hook (the GUI's query window) and the request is recorded in the
// host's ActivityLog. A planned failure of "ConsultaRegistro.Mostrar" raises a run-time error.
#include "platform/business/activity_log.h"

#include <QString>
#include <memory>

namespace qmx44::services {
class Session;
}

namespace qmx44::business {

class ConsultaRegistro {
public:
    ConsultaRegistro(std::shared_ptr<services::Session> session, std::shared_ptr<ActivityLog> activityLog);

    // Shows the rows of `tabla` whose `columna` holds `valor`. The four further texts
    // (filters and titles of the query window) are accepted and not used here. Throws
    // RuntimeError, recording nothing, for a table or column the database does not have.
    void Mostrar(const QString &table, const QString &column, const QString &value, const QString &extra1 = {},
                 const QString &extra2 = {}, const QString &extra3 = {}, const QString &extra4 = {});

private:
    std::shared_ptr<services::Session> m_session;
    std::shared_ptr<ActivityLog> m_activityLog;
};

} // namespace qmx44::business
