#include "platform/business/additional_field_store.h"

#include "platform/db/connection.h"

namespace qmx44::business {

std::vector<controls::AdditionalFieldDef> DbAdditionalFieldStore::definitions(const QString &table)
{
    std::vector<controls::AdditionalFieldDef> defs;
    auto rs = m_db.query(QStringLiteral("SELECT Ca_Campo, Ca_Etiqueta, Ca_Tipo, Ca_Longitud, Ca_Requerido, Ca_Orden "
                                        "FROM Campo_Adicional WHERE UPPER(Ca_Tabla) = UPPER(?) "
                                        "ORDER BY Ca_Orden, Ca_Campo"),
                         {table});
    for (; !rs->eof(); rs->moveNext()) {
        controls::AdditionalFieldDef d;
        d.field = rs->field(QStringLiteral("Ca_Campo")).toString();
        d.labelName = rs->field(QStringLiteral("Ca_Etiqueta")).toString();
        const QString type = rs->field(QStringLiteral("Ca_Tipo")).toString().trimmed().toUpper();
        d.type = type.isEmpty() ? QChar(u'T') : type.front();
        const QVariant length = rs->field(QStringLiteral("Ca_Longitud"));
        d.length = length.isNull() ? 50 : length.toInt();
        d.required = rs->field(QStringLiteral("Ca_Requerido")).toInt() != 0;
        d.order = rs->field(QStringLiteral("Ca_Orden")).toInt();
        defs.push_back(std::move(d));
    }
    rs->close();
    return defs;
}

void DbAdditionalFieldStore::store(const QString &table, const QString &key,
                                   const std::vector<std::pair<QString, QString>> &values)
{
    m_db.run(QStringLiteral("DELETE FROM Campo_Adicional_Valor WHERE UPPER(Ca_Tabla) = UPPER(?) AND Cv_Clave = ?"),
             {table, key});
    for (const auto &[fieldName, value] : values)
        m_db.run(QStringLiteral("INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Campo, Cv_Clave, Cv_Valor) "
                                "VALUES (?, ?, ?, ?)"),
                 {table, fieldName, key, value});
}

QHash<QString, QString> DbAdditionalFieldStore::load(const QString &table, const QString &key)
{
    QHash<QString, QString> values;
    auto rs = m_db.query(QStringLiteral("SELECT Ca_Campo, Cv_Valor FROM Campo_Adicional_Valor "
                                        "WHERE UPPER(Ca_Tabla) = UPPER(?) AND Cv_Clave = ?"),
                         {table, key});
    for (; !rs->eof(); rs->moveNext())
        values.insert(rs->field(QStringLiteral("Ca_Campo")).toString().toLower(),
                      rs->field(QStringLiteral("Cv_Valor")).toString());
    rs->close();
    return values;
}

} // namespace qmx44::business
