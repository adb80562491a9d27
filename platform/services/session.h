#pragma once
// The signed-in session the platform services answer for: who is working, on which
// connection, with which host overrides, planned failures, message sink and progress sink.
#include "platform/core/faults.h"
#include "platform/core/message.h"
#include "platform/core/progress.h"
#include "platform/db/connection.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace qmx44::services {

class Session {
public:
    Session() = default;
    Session(std::shared_ptr<db::Conexion> connection, const QString &user)
        : m_connection(std::move(connection)), m_user(user)
    {
    }

    // The connection; throws RuntimeError when the host gave none.
    db::Conexion &connection() const;
    bool hasConnection() const { return m_connection != nullptr; }
    void setConnection(std::shared_ptr<db::Conexion> connection) { m_connection = std::move(connection); }

    // The signed-in user's key (Usuario.Us_Cve_Usuario); empty when nobody signed in.
    const QString &user() const { return m_user; }
    void setUser(const QString &name) { m_user = name; }

    // Host overrides: when set they win over what the database says about the user.
    const std::optional<QString> &branch() const { return m_branch; }
    void setBranch(std::optional<QString> branch) { m_branch = std::move(branch); }
    const std::optional<QString> &warehouse() const { return m_warehouse; }
    void setWarehouse(std::optional<QString> warehouse) { m_warehouse = std::move(warehouse); }
    std::optional<bool> permission(const QString &module, const QString &key) const;
    void setPermission(const QString &module, const QString &key, bool allowed);
    void clearPermissions() { m_permissions.clear(); }

    // The working date: today unless the host fixed one.
    QDate workingDate() const;
    const std::optional<QDate> &fixedDate() const { return m_fixedDate; }
    void setFixedDate(std::optional<QDate> date) { m_fixedDate = std::move(date); }

    // Planned failures, asked at the entry of every platform operation under its own
    // name (faults::Operations).
    FaultPlan &faults() { return m_faults; }
    // Throws RuntimeError with the planned text when `operation` is planned to fail.
    void check(QLatin1String operation);

    // Where coded messages go; null means "print them on stderr" (no host attached).
    MessageSink *messageSink() const { return m_messageSink.get(); }
    void setMessageSink(std::shared_ptr<MessageSink> sink) { m_messageSink = std::move(sink); }

    // Where long work reports its progress; null (the default) reports nothing.
    ProgressSink *progressSink() const { return m_progressSink.get(); }
    void setProgressSink(std::shared_ptr<ProgressSink> sink) { m_progressSink = std::move(sink); }

private:
    std::shared_ptr<db::Conexion> m_connection;
    QString m_user;
    std::optional<QString> m_branch;
    std::optional<QString> m_warehouse;
    QHash<QString, bool> m_permissions;
    std::optional<QDate> m_fixedDate;
    FaultPlan m_faults;
    std::shared_ptr<MessageSink> m_messageSink;
    std::shared_ptr<ProgressSink> m_progressSink;
};

} // namespace qmx44::services
