// Command buttons and option buttons.
#include "platform/controls/buttons.h"

#include "platform/controls/form.h"
#include "platform/controls/keys.h"
#include "platform/core/flag.h"

namespace qmx44::controls {

Button::Button(Form &form, const QString &name)
    : Control(form, name, ControlKind::Button), Click(this, QStringLiteral("Click"))
{
}

bool Button::click()
{
    if (!effectivelyEnabled())
        return false;
    Click.raise();
    return true;
}

void Button::keyDown(int &keyCode, int &shift)
{
    if (keyCode == keys::Space || keyCode == keys::Enter) {
        keyCode = 0;
        click();
    }
}

bool Button::applySetting(const QString &name, const QVariant &value)
{
    if (name.compare(QLatin1String("caption"), Qt::CaseInsensitive) == 0) {
        m_caption = value.toString();
        return true;
    }
    return Control::applySetting(name, value);
}

OptionButton::OptionButton(Form &form, const QString &name)
    : Control(form, name, ControlKind::OptionButton), KeyDown(this, QStringLiteral("KeyDown")),
      Click(this, QStringLiteral("Click"))
{
}

void OptionButton::setSelected(bool on)
{
    if (on == m_selected)
        return;
    m_selected = on;
    notify(Aspect::Text);
    if (!on)
        return;
    for (const auto &c : form().controls()) {
        auto *other = dynamic_cast<OptionButton *>(c.get());
        if (other && other != this && other->container() == container() && other->m_selected) {
            other->m_selected = false;
            other->notify(Aspect::Text);
        }
    }
}

bool OptionButton::click()
{
    if (!effectivelyEnabled())
        return false;
    setSelected(true);
    Click.raise();
    return true;
}

void OptionButton::keyDown(int &keyCode, int &shift)
{
    KeyDown.raise(keyCode, shift);
    if (keyCode == keys::Space) {
        keyCode = 0;
        click();
    }
}

bool OptionButton::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == u"caption") {
        m_caption = value.toString();
        return true;
    }
    if (n == u"value") {
        setSelected(flagFromValue(value));
        return true;
    }
    return Control::applySetting(name, value);
}

} // namespace qmx44::controls
