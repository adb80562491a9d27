// Date field: value and typed ISO dates.
#include "platform/controls/date_field.h"

namespace qmx44::controls {

DateField::DateField(Form &form, const QString &name)
    : Control(form, name, ControlKind::DateField), Change(this, QStringLiteral("Change"))
{
}

void DateField::setValue(const QDate &date)
{
    if (date == m_value)
        return;
    m_value = date;
    notify(Aspect::Text);
    Change.raise();
}

bool DateField::typeDate(const QString &text)
{
    if (!effectivelyEnabled())
        return false;
    const QString t = text.trimmed();
    // Exactly YYYY-MM-DD: a partial or loose date is refused rather than guessed.
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-')
        return false;
    const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return false;
    setValue(d);
    return true;
}

bool DateField::applySetting(const QString &name, const QVariant &value)
{
    if (name.compare(QLatin1String("value"), Qt::CaseInsensitive) == 0) {
        m_value = value.toDate();
        return true;
    }
    return Control::applySetting(name, value);
}

} // namespace qmx44::controls
