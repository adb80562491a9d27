#pragma once
// The one way a value is spliced into the text of a statement: between single quotes,
// each quote inside doubled, so that nothing a user types can end the literal.
#include <QString>

namespace qmx44::db {

// The value with every single quote doubled (without the surrounding quotes), for
// statements built as  "... = '" + quoted(value) + "'".
inline QString quoted(const QString &value)
{
    if (!value.contains(QLatin1Char('\'')))
        return value;
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

} // namespace qmx44::db
