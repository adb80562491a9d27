#include "apps/script/json_values.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace qmx44::apps::script {

Json jsonText(const QString &text)
{
    return Json(text.toStdString());
}

Json jsonNumber(double value)
{
    if (!std::isfinite(value))
        return Json(nullptr);
    constexpr double kExactLimit = 9007199254740992.0; // 2^53
    if (value == std::trunc(value) && std::fabs(value) <= kExactLimit)
        return Json(static_cast<std::int64_t>(value));
    return Json(value);
}

Json jsonFloat(float value)
{
    if (!std::isfinite(value))
        return Json(nullptr);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    *result.ptr = '\0';
    return jsonNumber(std::strtod(buffer, nullptr));
}

Json jsonValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return Json(nullptr);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Json(value.toBool());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return Json(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return Json(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return jsonNumber(value.toDouble());
    case QMetaType::QDate:
        return jsonText(value.toDate().toString(Qt::ISODate));
    case QMetaType::QDateTime:
        return jsonText(value.toDateTime().toString(Qt::ISODate));
    case QMetaType::QTime:
        return jsonText(value.toTime().toString(Qt::ISODate));
    case QMetaType::QByteArray:
        return jsonText(QString::fromUtf8(value.toByteArray()));
    default:
        return jsonText(value.toString());
    }
}

std::string jsonLine(const Json &value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace qmx44::apps::script
