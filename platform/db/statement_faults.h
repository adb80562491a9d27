#pragma once
// A connection that forwards to another and can be told to fail: the Nth statement from
// now (execute, query or run), or the next commit, refused or with its answer lost. It counts the statements it passes
// on, so a test learns how many steps an operation has and can make each one fail in
// turn without being told the list.
#include "platform/db/connection.h"

namespace qmx44::db {

class StatementFaults final : public Conexion {
public:
    explicit StatementFaults(Conexion &inner) : m_inner(inner) {}

    // Statements passed on since construction or the last resetCount().
    int statements() const { return m_statements; }
    void resetCount() { m_statements = 0; }
    // The statement last passed on (or refused).
    const QString &last() const { return m_last; }

    // The n-th statement from now (1: the next one) throws
    // RuntimeError(faultText(statements())) without reaching the database. Once.
    void failStatement(int n)
    {
        m_failIn = n;
        m_fired = false;
    }
    // The next commit rolls the transaction back and throws RuntimeError(commitFaultText()).
    void failCommit()
    {
        m_failCommit = true;
        m_fired = false;
    }
    // The next commit ends the inner transaction (committed when `serverCommitted`,
    // rolled back otherwise) and then throws CommitOutcomeUnknown(commitLostText()), as
    // a session lost before the commit's answer arrived does.
    void loseCommit(bool serverCommitted)
    {
        m_loseCommit = serverCommitted ? CommitLoss::Committed : CommitLoss::RolledBack;
        m_fired = false;
    }
    void disarm()
    {
        m_failIn = 0;
        m_failCommit = false;
        m_loseCommit = CommitLoss::None;
    }
    // Whether the failure armed last has happened.
    bool fired() const { return m_fired; }

    static QString faultText(int n);
    static QString commitFaultText();
    static QString commitLostText();

    Backend backend() const override { return m_inner.backend(); }
    std::unique_ptr<RecordSet> execute(const QString &statement) override;
    std::unique_ptr<RecordSet> query(const QString &sql, const QVariantList &values = {}) override;
    int run(const QString &sql, const QVariantList &values = {}) override;
    void begin() override { m_inner.begin(); }
    void commit() override;
    void rollback() override { m_inner.rollback(); }
    bool inTransaction() const override { return m_inner.inTransaction(); }

private:
    void pass(const QString &statement);

    Conexion &m_inner;
    int m_statements = 0;
    int m_failIn = 0; // 0: nothing armed
    bool m_failCommit = false;
    enum class CommitLoss { None, Committed, RolledBack } m_loseCommit = CommitLoss::None;
    bool m_fired = false;
    QString m_last;
};

} // namespace qmx44::db
