#pragma once
// The host's own tables as a scenario sets them up: system parameters, exchange rates
// and operating periods, written with bound values (a row that exists is updated).
#include "platform/db/connection.h"

#include <QDate>
#include <QString>

namespace qmx44::apps::script {

// Parametro: defines `nombre` with `valor`; an existing parameter keeps its type code.
void writeParametro(db::Conexion &c, const QString &nombre, const QString &valor);
// Tipo_Cambio: the rate of `moneda` valid from `desde` on.
void writeTipoCambio(db::Conexion &c, const QString &moneda, const QDate &desde, double valor);
// Periodo_Operativo: the period of `modulo` starting on `inicio`.
void writePeriodo(db::Conexion &c, const QString &modulo, const QDate &inicio, const QDate &fin,
                  bool abierto);

} // namespace qmx44::apps::script
