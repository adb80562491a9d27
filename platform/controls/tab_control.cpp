// Tab control: the active page and its two events.
#include "platform/controls/tab_control.h"

#include "platform/controls/keys.h"

namespace qmx44::controls {

TabControl::TabControl(Form &form, const QString &name)
    : Control(form, name, ControlKind::TabControl), Click(this, QStringLiteral("Click")),
      KeyDown(this, QStringLiteral("KeyDown"))
{
}

void TabControl::setActivePage(int page)
{
    if (page == m_page)
        return;
    const int previous = m_page;
    m_page = page;
    notify(Aspect::Page);
    Click.raise(previous);
}

void TabControl::keyDown(int &keyCode, int &shift)
{
    KeyDown.raise(keyCode, shift);
    if (keyCode == keys::Left && m_page > 0)
        setActivePage(m_page - 1);
    else if (keyCode == keys::Right && m_page + 1 < m_pages.size())
        setActivePage(m_page + 1);
}

bool TabControl::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == u"tab" || n == u"activepage") {
        m_page = value.toInt(); // design state: no event
        return true;
    }
    if (n == u"pages") {
        m_pages = value.toStringList();
        return true;
    }
    if (Control::applySetting(name, value))
        return true;
    m_extras.insert(n, value);
    return true;
}

} // namespace qmx44::controls
