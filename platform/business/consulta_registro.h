#pragma once
// ConsultaRegistro: shows the rows of a table with a given key, read-only. The table and
// column names are checked against the database's own and the value is bound; the rows
// go to the host's hook (the GUI's query window) and the request is recorded in the
// host's Bitacora. A planned failure of "ConsultaRegistro.Mostrar" raises a run-time error.
#include "platform/business/bitacora.h"
#include "platform/services/sesion.h"

#include <QString>
#include <memory>

namespace qmx44::business {

class ConsultaRegistro {
public:
    ConsultaRegistro(std::shared_ptr<services::Sesion> sesion, std::shared_ptr<Bitacora> bitacora);

    // Shows the rows of `tabla` whose `columna` holds `valor`. The four further texts
    // (filters and titles of the query window) are accepted and not used here. Throws
    // RuntimeError, recording nothing, for a table or column the database does not have.
    void Mostrar(const QString &tabla, const QString &columna, const QString &valor,
                 const QString &extra1 = {}, const QString &extra2 = {}, const QString &extra3 = {},
                 const QString &extra4 = {});

private:
    std::shared_ptr<services::Sesion> m_sesion;
    std::shared_ptr<Bitacora> m_bitacora;
};

} // namespace qmx44::business
