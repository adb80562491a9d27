#include "platform/db/record_set.h"

#include <QSqlRecord>

namespace qmx44::db {

QString errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Error desconocido de la base de datos");
    return text;
}

ConnectionHandle::ConnectionHandle(QString name, Backend backend, QSqlDatabase db)
    : m_name(std::move(name)), m_backend(backend), m_db(std::move(db))
{
}

ConnectionHandle::~ConnectionHandle()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

// ---------------------------------------------------------------------------------------

namespace {

inline char16_t fold(char16_t c)
{
    if (c < 128)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return QChar(c).toCaseFolded().unicode();
}

} // namespace

size_t ColumnIndex::hash(QStringView name)
{
    size_t h = 1469598103934665603ull; // FNV-1a
    for (QChar c : name) {
        h ^= fold(c.unicode());
        h *= 1099511628211ull;
    }
    return h;
}

void ColumnIndex::build(const QStringList &names)
{
    m_names = names;
    size_t size = 8;
    while (size < size_t(names.size()) * 2)
        size *= 2;
    m_slots.assign(size, 0);
    m_mask = size - 1;
    for (int i = 0; i < names.size(); ++i) {
        // A later column with the same name as an earlier one stays unreachable by
        // name, as in the record sets the screen was written for: the first one wins.
        if (find(names[i]) >= 0)
            continue;
        size_t s = hash(names[i]) & m_mask;
        while (m_slots[s] != 0)
            s = (s + 1) & m_mask;
        m_slots[s] = i + 1;
    }
}

int ColumnIndex::find(QStringView name) const
{
    if (m_slots.empty())
        return -1;
    size_t s = hash(name) & m_mask;
    while (const int slot = m_slots[s]) {
        if (name.compare(m_names[slot - 1], Qt::CaseInsensitive) == 0)
            return slot - 1;
        s = (s + 1) & m_mask;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------

QtRecordSet::QtRecordSet(std::shared_ptr<ConnectionHandle> handle, std::shared_ptr<QSqlQuery> query)
    : m_handle(std::move(handle)), m_query(std::move(query))
{
    if (m_query->isSelect()) {
        const QSqlRecord record = m_query->record();
        QStringList names;
        names.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            names.append(record.fieldName(i));
        m_index.build(names);
        m_eof = false;
        advance();
    } else {
        m_index.build({});
        m_eof = true;
    }
}

QtRecordSet::~QtRecordSet()
{
    close();
}

void QtRecordSet::advance()
{
    if (!m_query->next()) {
        m_eof = true;
        const QSqlError error = m_query->lastError();
        if (error.type() != QSqlError::NoError)
            throw RuntimeError(errorText(error));
    }
}

QVariant QtRecordSet::field(const QString &name) const
{
    const int column = m_index.find(name);
    if (column < 0)
        throw RuntimeError(QStringLiteral("El resultado no tiene la columna \"%1\"").arg(name));
    return fieldAt(column);
}

QVariant QtRecordSet::fieldAt(int column) const
{
    if (column < 0 || column >= m_index.names().size())
        throw RuntimeError(QStringLiteral("El resultado no tiene la columna %1").arg(column));
    if (m_eof)
        throw RuntimeError(m_closed ? QStringLiteral("El resultado está cerrado")
                                    : QStringLiteral("No hay registro actual: el resultado llegó a su fin"));
    QVariant value = m_query->value(column);
    if (value.isNull())
        return QVariant();
    return value;
}

bool QtRecordSet::hasField(const QString &name) const
{
    return m_index.find(name) >= 0;
}

void QtRecordSet::moveNext()
{
    if (m_eof)
        throw RuntimeError(m_closed ? QStringLiteral("El resultado está cerrado")
                                    : QStringLiteral("No hay registro actual: el resultado llegó a su fin"));
    advance();
}

void QtRecordSet::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_eof = true;
    // The rows go; the statement stays prepared for the next read of the same text.
    m_query->finish();
    m_query.reset();
}

} // namespace qmx44::db
