#pragma once
// Flag texts: how a stored or designed text reads as yes or no. Parameters of type "B",
// design settings of the controls and the screen's own flags all read them here.
//
// True, ignoring case and surrounding spaces: any number other than zero ("1", "-1",
// "2", "0.5") and S, SI, SÍ, T, TRUE, V, VERDADERO, Y, YES. Anything else is false:
// 0, N, NO, F, FALSE, an empty text, an unknown word. Stored parameters and form designs
// rely on every one of these words: the list only ever grows.
#include <QString>
#include <QVariant>

namespace qmx44 {

inline bool flagFromText(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    bool isNumber = false;
    const double n = t.toDouble(&isNumber);
    if (isNumber)
        return n != 0.0;
    return t == u"S" || t == u"SI" || t == u"SÍ" || t == u"T" || t == u"TRUE" || t == u"V" || t == u"VERDADERO"
        || t == u"Y" || t == u"YES";
}

// A value as a flag: a boolean as it is, a text as above, a number when it is not zero;
// an empty value is false.
inline bool flagFromValue(const QVariant &value)
{
    if (!value.isValid())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString)
        return flagFromText(value.toString());
    return value.toDouble() != 0.0;
}

} // namespace qmx44
