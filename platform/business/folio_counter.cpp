#include "platform/business/folio_counter.h"

#include "platform/db/connection.h"

namespace qmx44::business {

namespace {
constexpr int kAttempts = 1000;
constexpr int kDefaultWidth = 10;
} // namespace

QString composeFolio(const QString &prefix, qint64 counterValue, int width)
{
    if (width < 1)
        width = kDefaultWidth;
    const QString digits = QString::number(counterValue);
    if (counterValue < 0 || prefix.size() + digits.size() > width)
        return {};
    return prefix + digits.rightJustified(width - prefix.size(), u'0');
}

QString drawFolio(db::Conexion &connection, const QString &document, const std::function<bool(const QString &)> &inUse)
{
    if (!connection.inTransaction())
        throw RuntimeError(QStringLiteral("El folio de %1 sólo se toma dentro de una transacción").arg(document));

    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int changedItems = connection.run(
            QStringLiteral("UPDATE Folio_Contador SET Fc_Ultimo = Fc_Ultimo + 1 WHERE Fc_Documento = ?"), {document});
        if (changedItems == 0)
            connection.run(QStringLiteral("INSERT INTO Folio_Contador (Fc_Documento, Fc_Ultimo, Fc_Ancho, Fc_Prefijo) "
                                          "VALUES (?, 1, ?, '')"),
                           {document, kDefaultWidth});
        auto rs = connection.query(
            QStringLiteral("SELECT Fc_Ultimo, Fc_Ancho, Fc_Prefijo FROM Folio_Contador WHERE Fc_Documento = ?"),
            {document});
        if (rs->eof())
            throw RuntimeError(QStringLiteral("No se encontró el contador de folios de %1").arg(document));
        const qint64 counterValue = rs->field(QStringLiteral("Fc_Ultimo")).toLongLong();
        const int width = rs->field(QStringLiteral("Fc_Ancho")).toInt();
        const QString prefix = rs->field(QStringLiteral("Fc_Prefijo")).toString().trimmed();
        rs->close();

        const QString folio = composeFolio(prefix, counterValue, width);
        if (folio.isEmpty())
            throw RuntimeError(QStringLiteral("Se agotaron los folios de %1: el número %2 no cabe en %3 caracteres")
                                   .arg(document)
                                   .arg(counterValue)
                                   .arg(width < 1 ? kDefaultWidth : width));
        if (!inUse || !inUse(folio))
            return folio;
    }
    throw RuntimeError(QStringLiteral("No se encontró un folio libre para %1").arg(document));
}

} // namespace qmx44::business
