#pragma once
// The date field model: a date value, typed as YYYY-MM-DD.
#include "platform/controls/control.h"
#include "platform/controls/event.h"

#include <QDate>

namespace qmx44::controls {

class DateField : public Control {
public:
    DateField(Form &form, const QString &name);

    Event<> Change; // the value changed (user or code)

    QDate value() const { return m_value; }
    void setValue(const QDate &date);
    // The shown text: the date as YYYY-MM-DD (empty for no date).
    QString text() const { return m_value.isValid() ? m_value.toString(Qt::ISODate) : QString(); }
    // What the user types: a YYYY-MM-DD date replaces the value; anything else is
    // refused (false) and changes nothing. Refused on a disabled field.
    bool typeDate(const QString &text);

    bool focusable() const override { return true; }
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    QDate m_value;
};

} // namespace qmx44::controls
