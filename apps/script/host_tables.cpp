#include "apps/script/host_tables.h"

namespace qmx44::apps::script {

// An UPDATE, then an INSERT when it touched nothing: the same two statements run on
// every back-end (no dialect's upsert needed).

void writeParametro(db::Conexion &c, const QString &nombre, const QString &valor)
{
    if (c.run(QStringLiteral("UPDATE Parametro SET Pa_Valor = ? WHERE Pa_Nombre = ?"), {valor, nombre}) == 0)
        c.run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor) VALUES (?, ?)"), {nombre, valor});
}

void writeTipoCambio(db::Conexion &c, const QString &moneda, const QDate &desde, double valor)
{
    if (c.run(QStringLiteral("UPDATE Tipo_Cambio SET Tc_Valor = ? WHERE Mn_Cve_Moneda = ? AND Tc_Fecha = ?"),
              {valor, moneda, desde})
        == 0)
        c.run(QStringLiteral("INSERT INTO Tipo_Cambio (Mn_Cve_Moneda, Tc_Fecha, Tc_Valor) VALUES (?, ?, ?)"),
              {moneda, desde, valor});
}

void writePeriodo(db::Conexion &c, const QString &modulo, const QDate &inicio, const QDate &fin, bool abierto)
{
    const int flag = abierto ? 1 : 0;
    if (c.run(QStringLiteral("UPDATE Periodo_Operativo SET Po_Fecha_Fin = ?, Po_Abierto = ? "
                             "WHERE Po_Modulo = ? AND Po_Fecha_Inicio = ?"),
              {fin, flag, modulo, inicio})
        == 0)
        c.run(QStringLiteral("INSERT INTO Periodo_Operativo (Po_Modulo, Po_Fecha_Inicio, Po_Fecha_Fin, Po_Abierto) "
                             "VALUES (?, ?, ?, ?)"),
              {modulo, inicio, fin, flag});
}

} // namespace qmx44::apps::script
