#pragma once
// The host's own tables as a scenario sets them up: system parameters, exchange rates
// and operating periods, written with bound values (a row that exists is updated).
#include "platform/db/connection.h"

#include <QDate>
#include <QString>

namespace qmx44::apps::script {

// Parametro: defines `nombre` with `valor`; an existing parameter keeps its type code.
void writeParameter(db::Conexion &c, const QString &name, const QString &value);
// Tipo_Cambio: the rate of `moneda` valid from `desde` on.
void writeExchangeRate(db::Conexion &c, const QString &currency, const QDate &from, double value);
// Periodo_Operativo: the period of `modulo` starting on `inicio`.
void writePeriodo(db::Conexion &c, const QString &module, const QDate &start, const QDate &end, bool opened);

} // namespace qmx44::apps::script
