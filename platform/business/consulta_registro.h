#pragma once
// ConsultaRegistro: hands one record, named by table, key column and key value, to the
// host's record query. This version records the request in the host's Bitacora; a
// planned failure of "ConsultaRegistro.Mostrar" raises a run-time error.
#include "platform/business/bitacora.h"
#include "platform/services/sesion.h"

#include <QString>
#include <memory>

namespace qmx44::business {

class ConsultaRegistro {
public:
    ConsultaRegistro(std::shared_ptr<services::Sesion> sesion, std::shared_ptr<Bitacora> bitacora);

    // Shows the record of `tabla` whose `columna` holds `valor`. The four further texts
    // (filters and titles of the query window) are accepted and not used here.
    void Mostrar(const QString &tabla, const QString &columna, const QString &valor,
                 const QString &extra1 = {}, const QString &extra2 = {}, const QString &extra3 = {},
                 const QString &extra4 = {});

private:
    std::shared_ptr<services::Sesion> m_sesion;
    std::shared_ptr<Bitacora> m_bitacora;
};

} // namespace qmx44::business
