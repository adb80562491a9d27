#pragma once
// The toolbar's additional fields kept in the database: definitions in Campo_Adicional,
// values in Campo_Adicional_Valor per document key, written with bound values through
// the screen's connection, so that the caller's transaction covers them.
#include "platform/controls/additional_fields.h"

namespace qmx44::db {
class Conexion;
}

namespace qmx44::business {

class DbAdditionalFieldStore : public controls::AdditionalFieldStore {
public:
    explicit DbAdditionalFieldStore(db::Conexion &db) : m_db(db) {}

    // Ordered by Ca_Orden, then Ca_Campo.
    std::vector<controls::AdditionalFieldDef> definitions(const QString &table) override;
    void store(const QString &table, const QString &key,
               const std::vector<std::pair<QString, QString>> &values) override;
    QHash<QString, QString> load(const QString &table, const QString &key) override;

private:
    db::Conexion &m_db;
};

} // namespace qmx44::business
