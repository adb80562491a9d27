// Which form receives the keystrokes that services send.
#include "platform/controls/desktop.h"

#include "platform/controls/form.h"
#include "platform/controls/keys.h"

#include <algorithm>
#include <vector>

namespace qmx44::controls {

namespace {
std::vector<Form *> &stack()
{
    // Never destroyed: forms that outlive static destruction still unregister safely.
    static auto *forms = new std::vector<Form *>;
    return *forms;
}
} // namespace

Form *Desktop::activeForm()
{
    auto &s = stack();
    for (auto it = s.rbegin(); it != s.rend(); ++it)
        if ((*it)->isVisible())
            return *it;
    return nullptr;
}

void Desktop::activate(Form &form)
{
    auto &s = stack();
    s.erase(std::remove(s.begin(), s.end(), &form), s.end());
    s.push_back(&form);
}

void Desktop::remove(Form &form)
{
    auto &s = stack();
    s.erase(std::remove(s.begin(), s.end(), &form), s.end());
}

bool Desktop::sendTab()
{
    Form *f = activeForm();
    return f && f->sendTab();
}

bool Desktop::sendKeys(const QString &keys)
{
    Form *f = activeForm();
    if (!f)
        return false;
    static const QString tab = QStringLiteral("{TAB}"), backTab = QStringLiteral("+{TAB}"),
                         enter = QStringLiteral("{ENTER}");
    for (int i = 0; i < keys.size();) {
        if (keys.mid(i, backTab.size()).compare(backTab, Qt::CaseInsensitive) == 0) {
            f->keyStroke(keys::Tab, keys::ShiftMask);
            i += backTab.size();
        } else if (keys.mid(i, tab.size()).compare(tab, Qt::CaseInsensitive) == 0) {
            f->keyStroke(keys::Tab);
            i += tab.size();
        } else if (keys.mid(i, enter.size()).compare(enter, Qt::CaseInsensitive) == 0) {
            f->keyStroke(keys::Enter);
            i += enter.size();
        } else {
            f->typeText(keys.mid(i, 1));
            ++i;
        }
        // A keystroke may have closed the form that received it.
        f = activeForm();
        if (!f)
            break;
    }
    return true;
}

void Desktop::reset()
{
    stack().clear();
}

} // namespace qmx44::controls
