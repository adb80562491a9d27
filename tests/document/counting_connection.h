#pragma once
// A connection that forwards to another and counts the screen's statements, for tests
// that must prove a statement was (or was not) run.
#include "platform/db/connection.h"

namespace qmx44::test {

class CountingConnection : public db::Conexion {
public:
    explicit CountingConnection(db::Conexion &inner) : m_inner(inner) {}
    int executed() const { return m_executed; }
    const QString &last() const { return m_last; }

    db::Backend backend() const override { return m_inner.backend(); }
    std::unique_ptr<db::RecordSet> execute(const QString &statement) override
    {
        ++m_executed;
        m_last = statement;
        return m_inner.execute(statement);
    }
    std::unique_ptr<db::RecordSet> query(const QString &sql, const QVariantList &values = {}) override
    {
        return m_inner.query(sql, values);
    }
    int run(const QString &sql, const QVariantList &values = {}) override { return m_inner.run(sql, values); }
    void begin() override { m_inner.begin(); }
    void commit() override { m_inner.commit(); }
    void rollback() override { m_inner.rollback(); }
    bool inTransaction() const override { return m_inner.inTransaction(); }

private:
    db::Conexion &m_inner;
    int m_executed = 0;
    QString m_last;
};

} // namespace qmx44::test
