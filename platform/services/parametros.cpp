#include "platform/services/parametros.h"

#include "platform/core/flag.h"

#include <QDate>

namespace qmx44::services {

std::optional<ParametroGuardado> leerParametro(db::Conexion &conexion, const QString &nombre)
{
    auto rs = conexion.query(QStringLiteral("SELECT Pa_Valor, Pa_Tipo FROM Parametro WHERE Pa_Nombre = ?"),
                             {nombre});
    if (rs->eof())
        return std::nullopt;
    ParametroGuardado p{rs->field(QStringLiteral("Pa_Valor")), rs->field(QStringLiteral("Pa_Tipo")).toString()};
    rs->close();
    return p;
}

QVariant convertirParametro(const QString &texto, const QString &tipo)
{
    const QString t = tipo.trimmed().toUpper();
    if (t == u"B")
        return flagFromText(texto);
    if (t == u"N") {
        bool ok = false;
        const double d = texto.trimmed().toDouble(&ok);
        return ok ? QVariant(d) : QVariant(texto);
    }
    if (t == u"E" || t == u"I") {
        bool ok = false;
        const int i = texto.trimmed().toInt(&ok);
        return ok ? QVariant(i) : QVariant(texto);
    }
    if (t == u"F" || t == u"D") {
        const QDate d = QDate::fromString(texto.trimmed(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant(texto);
    }
    return texto;
}

} // namespace qmx44::services
