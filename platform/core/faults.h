#pragma once
// Planned failures for automation and tests: "the next call of OPERATION fails".
// Platform operations ask take() at their entry; production hosts leave the plan empty.
#include <QHash>
#include <QString>
#include <optional>

namespace qmx44 {

class FaultPlan {
public:
    // The next call of `operation` (e.g. "NotaCredito.Guardar") fails with `text`.
    void arm(const QString &operation, const QString &text) { m_armed.insert(operation, text); }
    // Consumes the planned failure of `operation`, if any, and returns its text.
    std::optional<QString> take(const QString &operation)
    {
        auto it = m_armed.find(operation);
        if (it == m_armed.end())
            return std::nullopt;
        QString text = it.value();
        m_armed.erase(it);
        return text;
    }
    bool empty() const { return m_armed.isEmpty(); }

private:
    QHash<QString, QString> m_armed;
};

} // namespace qmx44
