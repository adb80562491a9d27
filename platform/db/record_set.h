#pragma once
// The record set over a Qt Sql query, and the case-insensitive column index it builds
// once per result so that each field look-up by name costs O(1) without allocating.
// Private to platform/db (it brings in Qt Sql): the layers above use connection.h.
#include "platform/db/connection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <memory>
#include <vector>

namespace qmx44::db {

// The description of a database failure: the database's own message where it gives one.
QString errorText(const QSqlError &error);

// Owns a QSqlDatabase connection name; the connection is closed and removed when the
// last holder (the connection object or a record set still open) lets go of it.
class ConnectionHandle {
public:
    ConnectionHandle(QString name, Backend backend, QSqlDatabase db);
    ~ConnectionHandle();
    ConnectionHandle(const ConnectionHandle &) = delete;
    ConnectionHandle &operator=(const ConnectionHandle &) = delete;

    const QString &name() const { return m_name; }
    Backend backend() const { return m_backend; }
    QSqlDatabase &database() { return m_db; }

private:
    QString m_name;
    Backend m_backend;
    QSqlDatabase m_db;
};

// Column name -> position, matching names without regard to case.
class ColumnIndex {
public:
    void build(const QStringList &names);
    // -1 when no column has that name.
    int find(QStringView name) const;
    const QStringList &names() const { return m_names; }

private:
    static size_t hash(QStringView name);
    QStringList m_names;
    std::vector<int> m_slots; // column + 1; 0 = empty
    size_t m_mask = 0;
};

class QtRecordSet final : public RecordSet {
public:
    // Takes an executed query, maybe shared with the connection's cache of prepared
    // statements (which reuses it once this set is closed or gone); positions it on its
    // first row.
    QtRecordSet(std::shared_ptr<ConnectionHandle> handle, std::shared_ptr<QSqlQuery> query);
    ~QtRecordSet() override;

    bool eof() const override { return m_eof; }
    QVariant field(const QString &name) const override;
    bool hasField(const QString &name) const override;
    int fieldIndex(const QString &name) const override { return m_index.find(name); }
    QVariant fieldAt(int index) const override;
    QStringList columns() const override { return m_index.names(); }
    void moveNext() override;
    void close() override;

private:
    void advance();

    std::shared_ptr<ConnectionHandle> m_handle; // declared first: outlives the query
    std::shared_ptr<QSqlQuery> m_query;
    ColumnIndex m_index;
    bool m_eof = true;
    bool m_closed = false;
};

} // namespace qmx44::db
