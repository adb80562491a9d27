#pragma once
// The tab control model: pages with captions, the active page, and its events.
#include "platform/controls/control.h"
#include "platform/controls/event.h"

#include <QStringList>

namespace qmx44::controls {

class TabControl : public Control {
public:
    TabControl(Form &form, const QString &name);

    Event<int> Click;            // 10: the active page changed (previous page)
    Event<int &, int &> KeyDown; // 13: a key went down on the tab strip (key code, shift)

    QStringList pages() const { return m_pages; }
    void setPages(const QStringList &captions)
    {
        m_pages = captions;
        notify(Aspect::Caption);
    }
    int activePage() const { return m_page; }
    // Changes the page (by code or by the user); raises Click with the previous page
    // when it actually changes. Any whole number is taken; pages beyond the captions
    // simply show nothing.
    void setActivePage(int page);

    bool focusable() const override { return true; }
    // Raises KeyDown; Left/Right (not swallowed) move to the previous/next page.
    void keyDown(int &keyCode, int &shift) override;
    // "tab" / "activepage", "pages" (a string list), plus the base settings; other
    // visual settings (tabheight, style, theme, focus rectangle) are kept in extras.
    bool applySetting(const QString &name, const QVariant &value) override;
    QVariant extra(const QString &name) const { return m_extras.value(name.toLower()); }

private:
    QStringList m_pages;
    int m_page = 0;
    QVariantHash m_extras;
};

} // namespace qmx44::controls
