// Additional fields: definitions, validation and storage with bound values.
#include "platform/controls/additional_fields.h"

#include "platform/core/error.h"
#include "platform/controls/number_format.h"
#include "platform/db/connection.h"

#include <QDate>

namespace qmx44::controls {

void AdditionalFields::loadDefinitions(db::Conexion &db, const QString &table)
{
    std::vector<AdditionalFieldDef> defs;
    auto rs = db.query(QStringLiteral(
                           "SELECT Ca_Campo, Ca_Etiqueta, Ca_Tipo, Ca_Longitud, Ca_Requerido, Ca_Orden "
                           "FROM Campo_Adicional WHERE UPPER(Ca_Tabla) = UPPER(?) "
                           "ORDER BY Ca_Orden, Ca_Campo"),
                       {table});
    for (; !rs->eof(); rs->moveNext()) {
        AdditionalFieldDef d;
        d.campo = rs->field(QStringLiteral("Ca_Campo")).toString();
        d.etiqueta = rs->field(QStringLiteral("Ca_Etiqueta")).toString();
        const QString tipo = rs->field(QStringLiteral("Ca_Tipo")).toString().trimmed().toUpper();
        d.tipo = tipo.isEmpty() ? QChar(u'T') : tipo.front();
        const QVariant length = rs->field(QStringLiteral("Ca_Longitud"));
        d.longitud = length.isNull() ? 50 : length.toInt();
        d.requerido = rs->field(QStringLiteral("Ca_Requerido")).toInt() != 0;
        d.orden = rs->field(QStringLiteral("Ca_Orden")).toInt();
        defs.push_back(std::move(d));
    }
    rs->close();
    m_defs = std::move(defs);
    m_index.clear();
    for (int i = 0; i < int(m_defs.size()); ++i)
        m_index.insert(m_defs[std::size_t(i)].campo.toLower(), i);
    m_loaded = true;
}

const AdditionalFieldDef *AdditionalFields::definition(const QString &campo) const
{
    const int i = m_index.value(campo.toLower(), -1);
    return i < 0 ? nullptr : &m_defs[std::size_t(i)];
}

bool AdditionalFields::setValue(const QString &campo, const QString &value)
{
    if (!definition(campo))
        return false;
    m_values.insert(campo.toLower(), value);
    return true;
}

QString AdditionalFields::value(const QString &campo) const
{
    return m_values.value(campo.toLower());
}

QString AdditionalFields::validate() const
{
    for (const AdditionalFieldDef &d : m_defs) {
        const QString label = d.etiqueta.trimmed().isEmpty() ? d.campo : d.etiqueta.trimmed();
        const QString v = value(d.campo);
        const QString prefix = QStringLiteral("El campo adicional %1 ").arg(label);
        if (v.trimmed().isEmpty()) {
            if (d.requerido)
                return prefix + QStringLiteral("es obligatorio");
            continue;
        }
        if (d.longitud > 0 && v.size() > d.longitud)
            return prefix + QStringLiteral("admite como máximo %1 caracteres").arg(d.longitud);
        if (d.tipo == u'N' && !parseNumber(v))
            return prefix + QStringLiteral("debe ser un número");
        if (d.tipo == u'F' && !QDate::fromString(v.trimmed(), Qt::ISODate).isValid())
            return prefix + QStringLiteral("debe ser una fecha (AAAA-MM-DD)");
    }
    return QString();
}

void AdditionalFields::store(db::Conexion &db, const QString &table, const QString &key) const
{
    db.run(QStringLiteral("DELETE FROM Campo_Adicional_Valor WHERE UPPER(Ca_Tabla) = UPPER(?) AND Cv_Clave = ?"),
           {table, key});
    for (const AdditionalFieldDef &d : m_defs)
        db.run(QStringLiteral("INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Campo, Cv_Clave, Cv_Valor) "
                              "VALUES (?, ?, ?, ?)"),
               {table, d.campo, key, value(d.campo)});
}

void AdditionalFields::load(db::Conexion &db, const QString &table, const QString &key)
{
    QHash<QString, QString> values;
    auto rs = db.query(QStringLiteral("SELECT Ca_Campo, Cv_Valor FROM Campo_Adicional_Valor "
                                      "WHERE UPPER(Ca_Tabla) = UPPER(?) AND Cv_Clave = ?"),
                       {table, key});
    for (; !rs->eof(); rs->moveNext())
        values.insert(rs->field(QStringLiteral("Ca_Campo")).toString().toLower(),
                      rs->field(QStringLiteral("Cv_Valor")).toString());
    rs->close();
    m_values = std::move(values);
}

} // namespace qmx44::controls
