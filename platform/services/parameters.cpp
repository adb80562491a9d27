#include "platform/services/parameters.h"

#include "platform/core/flag.h"

#include <QDate>

namespace qmx44::services {

std::optional<StoredParameter> readParameter(db::Conexion &connection, const QString &name)
{
    auto rs = connection.query(QStringLiteral("SELECT Pa_Valor, Pa_Tipo FROM Parametro WHERE Pa_Nombre = ?"), {name});
    if (rs->eof())
        return std::nullopt;
    StoredParameter p{rs->field(QStringLiteral("Pa_Valor")), rs->field(QStringLiteral("Pa_Tipo")).toString()};
    rs->close();
    return p;
}

QVariant convertParameter(const QString &text, const QString &type)
{
    const QString t = type.trimmed().toUpper();
    if (t == u"B")
        return flagFromText(text);
    if (t == u"N") {
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        return ok ? QVariant(d) : QVariant(text);
    }
    if (t == u"E" || t == u"I") {
        bool ok = false;
        const int i = text.trimmed().toInt(&ok);
        return ok ? QVariant(i) : QVariant(text);
    }
    if (t == u"F" || t == u"D") {
        const QDate d = QDate::fromString(text.trimmed(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant(text);
    }
    return text;
}

} // namespace qmx44::services
