#pragma once
// A record set over rows held in memory, for tests of code that walks a result.
#include "platform/db/connection.h"

#include <QVariantHash>
#include <vector>

namespace qmx44::test {

class FakeRecordSet : public db::RecordSet {
public:
    // Each row maps column names (any case) to values; a missing name reads as null.
    explicit FakeRecordSet(std::vector<QVariantHash> rows) : m_rows(std::move(rows))
    {
        for (auto &row : m_rows) {
            QVariantHash lower;
            for (auto it = row.cbegin(); it != row.cend(); ++it)
                lower.insert(it.key().toLower(), it.value());
            row = lower;
        }
    }
    bool eof() const override { return m_pos >= m_rows.size(); }
    QVariant field(const QString &name) const override
    {
        if (eof())
            throw RuntimeError(QStringLiteral("no current row"));
        return m_rows[m_pos].value(name.toLower());
    }
    bool hasField(const QString &name) const override { return !eof() && m_rows[m_pos].contains(name.toLower()); }
    QStringList columns() const override { return eof() ? QStringList() : m_rows[m_pos].keys(); }
    void moveNext() override { ++m_pos; }
    void close() override { m_pos = m_rows.size(); }

private:
    std::vector<QVariantHash> m_rows;
    std::size_t m_pos = 0;
};

} // namespace qmx44::test
