#pragma once
// System parameters as stored in table Parametro, and the conversion of their text by
// type code. Shared by Sistema.Parametro and the services that read a parameter
// internally (the local currency of the exchange rate).
#include "platform/db/connection.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace qmx44::services {

struct StoredParameter {
    QVariant value; // null when the parameter is defined without a value
    QString type;   // Pa_Tipo as stored
};

// The stored row of `nombre`, or nothing when the parameter is not defined.
std::optional<StoredParameter> readParameter(db::Conexion &connection, const QString &name);

// Converts a parameter's text by type code: "B" flag (as platform/core/flag.h reads it),
// "N" number, "E"/"I" whole number, "F"/"D" date (ISO), anything else text. A text that
// does not read as the type stays text.
QVariant convertParameter(const QString &text, const QString &type);

} // namespace qmx44::services
