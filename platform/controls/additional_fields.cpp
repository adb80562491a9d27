// Additional fields: definitions, values and their checks.
#include "platform/controls/additional_fields.h"

#include "platform/controls/number_format.h"
#include "platform/core/error.h"

#include <QDate>

namespace qmx44::controls {

void AdditionalFields::loadDefinitions(AdditionalFieldStore &store, const QString &table)
{
    m_defs = store.definitions(table);
    m_index.clear();
    for (int i = 0; i < int(m_defs.size()); ++i)
        m_index.insert(m_defs[std::size_t(i)].field.toLower(), i);
    m_loaded = true;
}

const AdditionalFieldDef *AdditionalFields::definition(const QString &field) const
{
    const int i = m_index.value(field.toLower(), -1);
    return i < 0 ? nullptr : &m_defs[std::size_t(i)];
}

bool AdditionalFields::setValue(const QString &field, const QString &value)
{
    if (!definition(field))
        return false;
    m_values.insert(field.toLower(), value);
    return true;
}

QString AdditionalFields::value(const QString &field) const
{
    return m_values.value(field.toLower());
}

QString AdditionalFields::validate() const
{
    for (const AdditionalFieldDef &d : m_defs) {
        const QString label = d.labelName.trimmed().isEmpty() ? d.field : d.labelName.trimmed();
        const QString v = value(d.field);
        const QString prefix = QStringLiteral("El campo adicional %1 ").arg(label);
        if (v.trimmed().isEmpty()) {
            if (d.required)
                return prefix + QStringLiteral("es obligatorio");
            continue;
        }
        if (d.length > 0 && v.size() > d.length)
            return prefix + QStringLiteral("admite como máximo %1 caracteres").arg(d.length);
        if (d.type == u'N' && !parseNumber(v))
            return prefix + QStringLiteral("debe ser un número");
        if (d.type == u'F' && !QDate::fromString(v.trimmed(), Qt::ISODate).isValid())
            return prefix + QStringLiteral("debe ser una fecha (AAAA-MM-DD)");
    }
    return QString();
}

void AdditionalFields::store(AdditionalFieldStore &store, const QString &table, const QString &key) const
{
    std::vector<std::pair<QString, QString>> values;
    values.reserve(m_defs.size());
    for (const AdditionalFieldDef &d : m_defs)
        values.emplace_back(d.field, value(d.field));
    store.store(table, key, values);
}

void AdditionalFields::load(AdditionalFieldStore &store, const QString &table, const QString &key)
{
    m_values = store.load(table, key);
}

} // namespace qmx44::controls
