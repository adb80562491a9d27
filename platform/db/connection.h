#pragma once
// The database connection that the screen and the platform share: SQL text in the
// screen's dialect giving a record set, and one connection-wide transaction.
#include "platform/core/error.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace qmx44::db {

enum class Backend { Sqlite, Postgres, Odbc };

// The commit was sent and the session was lost before its answer came: the server kept
// the whole transaction or none of it, and only reading the database again tells which.
// The transaction is over either way and the connection reconnects at its next use.
class CommitOutcomeUnknown : public RuntimeError {
public:
    using RuntimeError::RuntimeError;
};

// A forward-only result. Fields are found by column name without regard to case.
// Every failure throws qmx44::RuntimeError with the database's message.
class RecordSet {
public:
    virtual ~RecordSet() = default;
    virtual bool eof() const = 0;
    // The value of the named column in the current row; throws when there is no such
    // column or no current row. A database NULL is an invalid (null) QVariant.
    virtual QVariant field(const QString &name) const = 0;
    virtual bool hasField(const QString &name) const = 0;
    // The position of the named column, -1 when there is none; and the value at a
    // position, as field() gives it: a loop over many rows looks its columns up once.
    virtual int fieldIndex(const QString &name) const = 0;
    virtual QVariant fieldAt(int index) const = 0;
    // fieldIndex, throwing as field() does for a column the result lacks.
    int requireField(const QString &name) const;
    // Column names as the database returns them, in order.
    virtual QStringList columns() const = 0;
    virtual void moveNext() = 0;
    virtual void close() = 0;
};

class Conexion {
public:
    virtual ~Conexion() = default;

    virtual Backend backend() const = 0;

    // Runs a statement written in the screen's dialect (ISNULL, '+' on strings); the
    // connection translates it for its back-end. Statements that return no rows give
    // a record set at its end.
    virtual std::unique_ptr<RecordSet> execute(const QString &statement) = 0;

    // Our own code's statements: native-neutral SQL with '?' placeholders and bound
    // values (no splicing). Not translated.
    virtual std::unique_ptr<RecordSet> query(const QString &sql, const QVariantList &values = {}) = 0;
    // Returns the number of rows affected.
    virtual int run(const QString &sql, const QVariantList &values = {}) = 0;

    // The connection-wide transaction. begin() while one is open throws. Code opens it
    // through ScopedTransaction rather than by hand.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    // Locks the rows of `table` whose `column` equals `value` until the open transaction
    // ends, so that a second writer of those rows waits for this one. PostgreSQL reads
    // them with SELECT ... FOR UPDATE; an SQLite transaction already holds the database's
    // write lock from its BEGIN IMMEDIATE; ODBC sources get an update that changes
    // nothing. `table` and `column` are plain identifiers of our own code. Throws
    // RuntimeError outside a transaction or when the database refuses the lock.
    void lockRows(const QString &table, const QString &column, const QVariant &value);
};

// The one way to run a transaction: begins on construction; commit() or rollback() end
// it; destruction rolls back whatever is still open. The destructor never throws: a
// failed rollback there is logged as a warning.
class ScopedTransaction {
public:
    explicit ScopedTransaction(Conexion &c) : m_c(c) { m_c.begin(); }
    ~ScopedTransaction();
    // Both end the transaction once; a second call does nothing. A failed commit leaves
    // nothing saved.
    void commit();
    void rollback();
    ScopedTransaction(const ScopedTransaction &) = delete;
    ScopedTransaction &operator=(const ScopedTransaction &) = delete;

private:
    Conexion &m_c;
    bool m_done = false;
};

} // namespace qmx44::db
