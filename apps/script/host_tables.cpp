#include "apps/script/host_tables.h"

namespace qmx44::apps::script {

// An UPDATE, then an INSERT when it touched nothing: the same two statements run on
// every back-end (no dialect's upsert needed).

void writeParameter(db::Conexion &c, const QString &name, const QString &value)
{
    if (c.run(QStringLiteral("UPDATE Parametro SET Pa_Valor = ? WHERE Pa_Nombre = ?"), {value, name}) == 0)
        c.run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor) VALUES (?, ?)"), {name, value});
}

void writeExchangeRate(db::Conexion &c, const QString &currency, const QDate &from, double value)
{
    if (c.run(QStringLiteral("UPDATE Tipo_Cambio SET Tc_Valor = ? WHERE Mn_Cve_Moneda = ? AND Tc_Fecha = ?"),
              {value, currency, from})
        == 0)
        c.run(QStringLiteral("INSERT INTO Tipo_Cambio (Mn_Cve_Moneda, Tc_Fecha, Tc_Valor) VALUES (?, ?, ?)"),
              {currency, from, value});
}

void writePeriodo(db::Conexion &c, const QString &module, const QDate &start, const QDate &end, bool opened)
{
    const int flag = opened ? 1 : 0;
    if (c.run(QStringLiteral("UPDATE Periodo_Operativo SET Po_Fecha_Fin = ?, Po_Abierto = ? "
                             "WHERE Po_Modulo = ? AND Po_Fecha_Inicio = ?"),
              {end, flag, module, start})
        == 0)
        c.run(QStringLiteral("INSERT INTO Periodo_Operativo (Po_Modulo, Po_Fecha_Inicio, Po_Fecha_Fin, Po_Abierto) "
                             "VALUES (?, ?, ?, ?)"),
              {module, start, end, flag});
}

} // namespace qmx44::apps::script
