#pragma once
// The additional fields of a document kept by the toolbar: their definitions for one
// table (Campo_Adicional), the values being edited, and their storage per document key
// (Campo_Adicional_Valor) through a connection with bound values, so that the caller's
// transaction covers them.
#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

namespace qmx44::db { class Conexion; }

namespace qmx44::controls {

struct AdditionalFieldDef {
    QString campo;        // Ca_Campo
    QString etiqueta;     // Ca_Etiqueta (the label shown; Ca_Campo when empty)
    QChar tipo = u'T';    // 'T' text, 'N' number, 'F' date (YYYY-MM-DD)
    int longitud = 50;    // Ca_Longitud
    bool requerido = false;
    int orden = 0;
};

class AdditionalFields {
public:
    // Reads the definitions of `table` (compared ignoring case), ordered by Ca_Orden.
    // Throws RuntimeError on a database failure.
    void loadDefinitions(db::Conexion &db, const QString &table);
    bool definitionsLoaded() const { return m_loaded; }
    const std::vector<AdditionalFieldDef> &definitions() const { return m_defs; }
    // Definition by field name (ignoring case); null when none.
    const AdditionalFieldDef *definition(const QString &campo) const;

    // Values being edited, by field name (ignoring case). setValue refuses (false) a name
    // with no definition.
    bool setValue(const QString &campo, const QString &value);
    QString value(const QString &campo) const;
    void clearValues() { m_values.clear(); }

    // The first reason the current values cannot be stored, or empty when they can:
    // "El campo adicional <Etiqueta> es obligatorio", "... admite como máximo N
    // caracteres", "... debe ser un número", "... debe ser una fecha (AAAA-MM-DD)".
    QString validate() const;
    // Replaces the stored values of document `key` by the current ones (one row per
    // definition). Throws RuntimeError on a database failure.
    void store(db::Conexion &db, const QString &table, const QString &key) const;
    // Reads the stored values of document `key` into the current values.
    void load(db::Conexion &db, const QString &table, const QString &key);

private:
    bool m_loaded = false;
    std::vector<AdditionalFieldDef> m_defs;
    QHash<QString, int> m_index;        // lower-case campo -> definition
    QHash<QString, QString> m_values;   // lower-case campo -> value
};

} // namespace qmx44::controls
