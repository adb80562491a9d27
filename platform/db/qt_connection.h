#pragma once
// The connection over Qt Sql (SQLite, PostgreSQL, ODBC): statements, bound queries and
// the connection-wide transaction.
//
// A PostgreSQL session that the server or the network drops (a restart, a cut cable) is
// reported as lost, naming the database, and the connection opens a new session at the
// next statement or transaction. An open transaction is never carried over: the
// statements after the loss fail until it is ended, so nothing is saved by half. A read
// outside a transaction that finds the session gone is read again on a new one.
// Private to platform/db (it brings in Qt Sql): the layers above use connection.h.
#include "platform/db/connection.h"
#include "platform/db/connection_string.h"
#include "platform/db/record_set.h"

#include <QHash>
#include <QSqlQuery>
#include <functional>
#include <memory>

namespace qmx44::db {

class QtConnection final : public Conexion {
public:
    // Connects; throws qmx44::RuntimeError naming the database when it cannot.
    explicit QtConnection(const ConnectionSpec &spec);
    ~QtConnection() override;

    Backend backend() const override { return m_spec.backend; }
    const ConnectionSpec &spec() const { return m_spec; }

    std::unique_ptr<RecordSet> execute(const QString &statement) override;
    std::unique_ptr<RecordSet> query(const QString &sql, const QVariantList &values = {}) override;
    int run(const QString &sql, const QVariantList &values = {}) override;

    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return m_inTransaction; }

    // SQLite: switches the file to write-ahead logging (readers and one writer at once).
    void enableWriteAheadLog();

private:
    // Opens a new session (the first, or after a loss); failureText takes the database
    // and the driver's message.
    void connect(const QString &failureText);
    void startTransaction();
    // Runs `read`, and once more on a new session when a read outside a transaction
    // found the session gone.
    std::unique_ptr<RecordSet> reading(const QString &sql, const std::function<QSqlQuery()> &exec);
    std::unique_ptr<RecordSet> reading(const QString &sql, const std::function<std::unique_ptr<RecordSet>()> &read);
    // Throws RuntimeError(text), or the loss of the session when that is what happened.
    [[noreturn]] void fail(const QString &text);
    bool sessionLost() const;
    // The database's message, or a plain one for what a clerk can act on (a full disk).
    QString describeError(const QSqlError &error, const QString &statement) const;
    void markLost();
    void ensureSession();
    QString lostInTransactionText() const;

    QSqlQuery newQuery() const;
    std::unique_ptr<RecordSet> select(QSqlQuery &&query);
    std::unique_ptr<RecordSet> select(std::shared_ptr<QSqlQuery> query);
    // The prepared query of `sql` for a read, from the cache when it is not being read.
    std::shared_ptr<QSqlQuery> preparedRead(const QString &sql);
    void runPlain(const QString &sql);

    std::shared_ptr<ConnectionHandle> m_handle; // first: the queries below go before it
    ConnectionSpec m_spec;
    bool m_forwardOnly = true;
    bool m_inTransaction = false;
    bool m_lost = false;                  // the session is gone; the next statement opens a new one
    QHash<QString, QSqlQuery> m_prepared; // run() statements kept prepared
    // Reads with values kept prepared: on PostgreSQL a statement prepared anew costs three
    // round trips (PREPARE, EXECUTE, DEALLOCATE), a prepared one one. A query a record
    // set still reads is shared with it.
    QHash<QString, std::shared_ptr<QSqlQuery>> m_preparedReads;
};

} // namespace qmx44::db
