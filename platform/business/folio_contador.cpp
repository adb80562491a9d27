#include "platform/business/folio_contador.h"

namespace qmx44::business {

namespace {
constexpr int kIntentos = 1000;
constexpr int kAnchoOmision = 10;
} // namespace

QString componerFolio(const QString &prefijo, qint64 numero, int ancho)
{
    if (ancho < 1)
        ancho = kAnchoOmision;
    const QString digitos = QString::number(numero);
    if (numero < 0 || prefijo.size() + digitos.size() > ancho)
        return {};
    return prefijo + digitos.rightJustified(ancho - prefijo.size(), u'0');
}

QString tomarFolio(db::Conexion &conexion, const QString &documento,
                   const std::function<bool(const QString &)> &enUso)
{
    if (!conexion.inTransaction())
        throw RuntimeError(QStringLiteral("El folio de %1 sólo se toma dentro de una transacción").arg(documento));

    for (int intento = 0; intento < kIntentos; ++intento) {
        const int cambiados = conexion.run(
            QStringLiteral("UPDATE Folio_Contador SET Fc_Ultimo = Fc_Ultimo + 1 WHERE Fc_Documento = ?"),
            {documento});
        if (cambiados == 0)
            conexion.run(QStringLiteral("INSERT INTO Folio_Contador (Fc_Documento, Fc_Ultimo, Fc_Ancho, Fc_Prefijo) "
                                        "VALUES (?, 1, ?, '')"),
                         {documento, kAnchoOmision});
        auto rs = conexion.query(
            QStringLiteral("SELECT Fc_Ultimo, Fc_Ancho, Fc_Prefijo FROM Folio_Contador WHERE Fc_Documento = ?"),
            {documento});
        if (rs->eof())
            throw RuntimeError(QStringLiteral("No se encontró el contador de folios de %1").arg(documento));
        const qint64 numero = rs->field(QStringLiteral("Fc_Ultimo")).toLongLong();
        const int ancho = rs->field(QStringLiteral("Fc_Ancho")).toInt();
        const QString prefijo = rs->field(QStringLiteral("Fc_Prefijo")).toString().trimmed();
        rs->close();

        const QString folio = componerFolio(prefijo, numero, ancho);
        if (folio.isEmpty())
            throw RuntimeError(QStringLiteral("Se agotaron los folios de %1: el número %2 no cabe en %3 caracteres")
                                   .arg(documento)
                                   .arg(numero)
                                   .arg(ancho < 1 ? kAnchoOmision : ancho));
        if (!enUso || !enUso(folio))
            return folio;
    }
    throw RuntimeError(QStringLiteral("No se encontró un folio libre para %1").arg(documento));
}

} // namespace qmx44::business
