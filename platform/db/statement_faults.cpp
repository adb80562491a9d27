#include "platform/db/statement_faults.h"

namespace qmx44::db {

QString StatementFaults::faultText(int n)
{
    return QStringLiteral("Falla programada en la sentencia %1").arg(n);
}

QString StatementFaults::commitFaultText()
{
    return QStringLiteral("Falla programada al confirmar la transacción");
}

QString StatementFaults::commitLostText()
{
    return QStringLiteral("Conexión perdida programada al confirmar la transacción");
}

void StatementFaults::pass(const QString &statement)
{
    ++m_statements;
    m_last = statement;
    if (m_failIn == 0)
        return;
    if (--m_failIn > 0)
        return;
    m_fired = true;
    throw RuntimeError(faultText(m_statements));
}

std::unique_ptr<RecordSet> StatementFaults::execute(const QString &statement)
{
    pass(statement);
    return m_inner.execute(statement);
}

std::unique_ptr<RecordSet> StatementFaults::query(const QString &sql, const QVariantList &values)
{
    pass(sql);
    return m_inner.query(sql, values);
}

int StatementFaults::run(const QString &sql, const QVariantList &values)
{
    pass(sql);
    return m_inner.run(sql, values);
}

void StatementFaults::commit()
{
    if (m_loseCommit != CommitLoss::None) {
        const bool committed = m_loseCommit == CommitLoss::Committed;
        m_loseCommit = CommitLoss::None;
        m_fired = true;
        if (committed)
            m_inner.commit();
        else
            m_inner.rollback();
        throw CommitOutcomeUnknown(commitLostText());
    }
    if (!m_failCommit) {
        m_inner.commit();
        return;
    }
    m_failCommit = false;
    m_fired = true;
    m_inner.rollback();
    throw RuntimeError(commitFaultText());
}

} // namespace qmx44::db
