#pragma once
// The additional fields of a document kept by the toolbar: their definitions for one
// table (Campo_Adicional), the values being edited and their checks. Where they are kept
// is an AdditionalFieldStore given to the toolbar (the business layer keeps them in the
// database, inside the caller's transaction).
#include <QHash>
#include <QString>
#include <utility>
#include <vector>

namespace qmx44::controls {

struct AdditionalFieldDef {
    QString field;     // Ca_Campo
    QString labelName; // Ca_Etiqueta (the label shown; Ca_Campo when empty)
    QChar type = u'T'; // 'T' text, 'N' number, 'F' date (YYYY-MM-DD)
    int length = 50;   // Ca_Longitud
    bool required = false;
    int order = 0;
};

// Where the additional fields of a table are defined and their values kept, per document
// key. Failures throw RuntimeError.
class AdditionalFieldStore {
public:
    virtual ~AdditionalFieldStore() = default;
    // The definitions of `table` (compared ignoring case), in their order.
    virtual std::vector<AdditionalFieldDef> definitions(const QString &table) = 0;
    // Replaces the stored values of document `key` by `values` (field, value).
    virtual void store(const QString &table, const QString &key,
                       const std::vector<std::pair<QString, QString>> &values) = 0;
    // The stored values of document `key`, by field name in lower case.
    virtual QHash<QString, QString> load(const QString &table, const QString &key) = 0;
};

class AdditionalFields {
public:
    // Reads the definitions of `table` from `store`.
    void loadDefinitions(AdditionalFieldStore &store, const QString &table);
    bool definitionsLoaded() const { return m_loaded; }
    const std::vector<AdditionalFieldDef> &definitions() const { return m_defs; }
    // Definition by field name (ignoring case); null when none.
    const AdditionalFieldDef *definition(const QString &field) const;

    // Values being edited, by field name (ignoring case). setValue refuses (false) a name
    // with no definition.
    bool setValue(const QString &field, const QString &value);
    QString value(const QString &field) const;
    void clearValues() { m_values.clear(); }

    // The first reason the current values cannot be stored, or empty when they can:
    // "El campo adicional <Etiqueta> es obligatorio", "... admite como máximo N
    // caracteres", "... debe ser un número", "... debe ser una fecha (AAAA-MM-DD)".
    QString validate() const;
    // Replaces the stored values of document `key` by the current ones (one per
    // definition).
    void store(AdditionalFieldStore &store, const QString &table, const QString &key) const;
    // Reads the stored values of document `key` into the current values.
    void load(AdditionalFieldStore &store, const QString &table, const QString &key);

private:
    bool m_loaded = false;
    std::vector<AdditionalFieldDef> m_defs;
    QHash<QString, int> m_index;      // lower-case campo -> definition
    QHash<QString, QString> m_values; // lower-case campo -> value
};

} // namespace qmx44::controls
