#pragma once
// Values as the runner prints them: numbers as JSON numbers (whole numbers without a
// fraction, others at full double precision), dates as YYYY-MM-DD, texts as UTF-8.
#include <QString>
#include <QVariant>
#include <nlohmann/json.hpp>

namespace qmx44::apps::script {

using Json = nlohmann::ordered_json;

Json jsonText(const QString &text);
// A whole number within ±2^53 prints without a fraction; a number that is not finite
// prints as null (JSON has no NaN).
Json jsonNumber(double value);
// A position or size kept in single precision, printed as the shortest decimal that
// reads back as the same float (1234.1f prints 1234.1, not 1234.0999755859375).
Json jsonFloat(float value);
// Null for a null value; numbers, flags, dates (YYYY-MM-DD), date-times (ISO) and texts.
Json jsonValue(const QVariant &value);

// One line of output: compact, UTF-8, invalid text replaced rather than failing.
std::string jsonLine(const Json &value);

} // namespace qmx44::apps::script
