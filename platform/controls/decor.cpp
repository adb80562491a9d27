// Frames, labels, shapes, the title bar and the colour scheme.
#include "platform/controls/decor.h"

#include "platform/controls/form.h"

namespace qmx44::controls {

Frame::Frame(Form &form, const QString &name) : Control(form, name, ControlKind::Frame) {}

bool Frame::applySetting(const QString &name, const QVariant &value)
{
    if (name.compare(QLatin1String("caption"), Qt::CaseInsensitive) == 0) {
        m_caption = value.toString();
        return true;
    }
    return Control::applySetting(name, value);
}

Label::Label(Form &form, const QString &name) : Control(form, name, ControlKind::Label) {}

bool Label::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == u"caption")
        m_caption = value.toString();
    else if (n == u"idetiqueta")
        m_labelId = value.toString();
    else if (n == u"buddy")
        m_buddy = value.toString();
    else if (n == u"mnemonic") {
        const QString letter = value.toString().trimmed().toUpper();
        m_mnemonic = letter.isEmpty() ? QChar() : letter.front();
    } else if (n == u"alignment")
        m_rightAligned = value.toString().toLower() == u"right";
    else
        return Control::applySetting(name, value);
    return true;
}

Control *Label::buddy() const
{
    return m_buddy.isEmpty() ? nullptr : form().find(m_buddy);
}

Shape::Shape(Form &form, const QString &name) : Control(form, name, ControlKind::Shape) {}

TitleBar::TitleBar(Form &form, const QString &name) : Control(form, name, ControlKind::TitleBar) {}

bool TitleBar::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == u"caption") {
        m_caption = value.toString();
        return true;
    }
    if (Control::applySetting(name, value))
        return true;
    m_settings.insert(n, value);
    return true;
}

ColorScheme::ColorScheme(Form &form, const QString &name) : Control(form, name, ControlKind::ColorScheme)
{
    m_colors.insert(QStringLiteral("back"), QStringLiteral("#f0f0f0"));
    m_colors.insert(QStringLiteral("fore"), QStringLiteral("#000000"));
    m_colors.insert(QStringLiteral("enabled"), QStringLiteral("#ffffff"));
    m_colors.insert(QStringLiteral("focus"), QStringLiteral("#ffffe0"));
}

void ColorScheme::apply()
{
    ++m_applied;
}

bool ColorScheme::applySetting(const QString &name, const QVariant &value)
{
    if (Control::applySetting(name, value))
        return true;
    m_colors.insert(name.toLower(), value.toString());
    return true;
}

} // namespace qmx44::controls
