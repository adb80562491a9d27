// The form container: controls by name, focus and tab order, keyboard routing, modal
// display and the reporting end of the event boundary.
#include "platform/controls/form.h"

#include "platform/controls/decor.h"
#include "platform/controls/desktop.h"
#include "platform/controls/grid.h"
#include "platform/controls/keys.h"
#include "platform/controls/tab_control.h"
#include "platform/controls/text_field.h"
#include "platform/core/log.h"
#include "platform/core/message.h"

#include <QtDebug>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace qmx44::controls {

namespace {
qint64 nextHandle()
{
    static qint64 counter = 1000;
    return ++counter;
}
} // namespace

Form::Form(const QString &name)
    : Load(this, QStringLiteral("Load")), Activate(this, QStringLiteral("Activate")),
      KeyUp(this, QStringLiteral("KeyUp")), Resize(this, QStringLiteral("Resize")),
      Unload(this, QStringLiteral("Unload")), m_name(name), m_handle(nextHandle())
{
}

Form::~Form()
{
    // Told while everything is as it was: an observer may keep the form's last state.
    m_observers.notify({Aspect::Gone});
    m_focus = nullptr;
    Desktop::remove(*this);
}

void Form::adopt(std::unique_ptr<Control> control)
{
    const QString key = control->name().toLower();
    if (key.isEmpty() || m_byName.contains(key))
        throw RuntimeError(QStringLiteral("Ya existe el control %1").arg(control->name()));
    control->setTabIndex(int(m_controls.size()));
    m_byName.insert(key, control.get());
    m_controls.push_back(std::move(control));
    m_tabOrderDirty = true;
}

Control *Form::find(const QString &name) const
{
    return m_byName.value(name.toLower(), nullptr);
}

// ---- focus -------------------------------------------------------------------------------

bool Form::focusControl(Control *c)
{
    if (!c) {
        clearFocus();
        return true;
    }
    if (&c->form() != this || !c->canFocus())
        return false;
    if (m_focus == c)
        return true;
    Control *old = m_focus;
    m_focus = c;
    if (old)
        old->notify(Aspect::Focus);
    c->notify(Aspect::Focus);
    m_observers.notify({Aspect::Focus});
    if (old)
        old->focusOut();
    // A handler run by the old control's leaving may have moved the focus elsewhere.
    if (m_focus == c)
        c->focusIn();
    return true;
}

void Form::clearFocus()
{
    Control *old = m_focus;
    m_focus = nullptr;
    if (old) {
        old->notify(Aspect::Focus);
        m_observers.notify({Aspect::Focus});
        old->focusOut();
    }
}

std::vector<Control *> Form::tabOrder() const
{
    if (m_tabOrderDirty) {
        m_tabCache.clear();
        for (const auto &c : m_controls)
            m_tabCache.push_back(c.get());
        std::stable_sort(m_tabCache.begin(), m_tabCache.end(),
                         [](const Control *a, const Control *b) { return a->tabIndex() < b->tabIndex(); });
        m_tabOrderDirty = false;
    }
    std::vector<Control *> out;
    for (Control *c : m_tabCache)
        if (c->tabStop() && c->canFocus())
            out.push_back(c);
    return out;
}

bool Form::stepFocus(bool backwards)
{
    tabOrder(); // refreshes the sorted cache
    const int n = int(m_tabCache.size());
    if (n == 0)
        return false;
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (m_tabCache[i] == m_focus)
            start = i;
    if (start < 0)
        start = backwards ? 0 : n - 1; // so that the first step lands on the first/last
    for (int step = 1; step <= n; ++step) {
        int i = backwards ? (start - step % n + n) % n : (start + step) % n;
        Control *c = m_tabCache[i];
        if (c == m_focus)
            return false; // went all the way round
        if (c->tabStop() && c->canFocus())
            return focusControl(c);
    }
    return false;
}

bool Form::focusByMnemonic(QChar letter)
{
    std::vector<Control *> buddies;
    for (const auto &c : m_controls) {
        if (c->kind() != ControlKind::Label)
            continue;
        const auto &label = static_cast<const Label &>(*c);
        Control *buddy = label.mnemonic() == letter.toUpper() ? label.buddy() : nullptr;
        if (buddy && buddy->canFocus())
            buddies.push_back(buddy);
    }
    if (buddies.empty())
        return false;
    auto it = std::find(buddies.begin(), buddies.end(), m_focus);
    if (it == buddies.end() || ++it == buddies.end())
        it = buddies.begin();
    return focusControl(*it);
}

bool Form::focusNext()
{
    return stepFocus(false);
}
bool Form::focusPrevious()
{
    return stepFocus(true);
}

bool Form::sendTab(bool backwards)
{
    if (m_focus && m_focus->canFocus() && m_focus->handleTab(backwards))
        return true;
    return stepFocus(backwards);
}

// ---- keyboard ------------------------------------------------------------------------------

void Form::keyStroke(int keyCode, int shift, char16_t ch)
{
    const bool altAlone = (shift & (keys::ShiftMask | keys::CtrlMask | keys::AltMask)) == keys::AltMask;
    if (keyCode == keys::Tab && !(shift & (keys::CtrlMask | keys::AltMask))) {
        sendTab(shift & keys::ShiftMask);
    } else if (altAlone && keyCode >= 'A' && keyCode <= 'Z' && focusByMnemonic(QChar(keyCode))) {
        // the label's field has the focus now
    } else if (Control *c = m_focus; c && c->canFocus()) {
        int k = keyCode, s = shift;
        c->keyDown(k, s);
        // Keys that produce a character: the typed one, and Enter, Backspace, Escape;
        // none while Ctrl or Alt is held.
        int typed = ch;
        if (!typed && (keyCode == keys::Enter || keyCode == keys::Backspace || keyCode == keys::Escape))
            typed = keyCode;
        if (shift & (keys::CtrlMask | keys::AltMask))
            typed = 0;
        // The control may have swallowed the key (zeroed it), or handed the focus on.
        const bool swallowed = keyCode != 0 && k == 0;
        if (!swallowed && typed != 0 && m_focus == c)
            c->keyPress(typed);
    }
    keyRelease(keyCode, shift);
}

void Form::typeText(const QString &text)
{
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\t')
            keyStroke(keys::Tab);
        else if (u == u'\r' || u == u'\n')
            keyStroke(keys::Enter);
        else if (u == u'\b')
            keyStroke(keys::Backspace);
        else
            keyStroke(keys::virtualKeyFor(u), ch.isUpper() ? keys::ShiftMask : 0, u);
    }
}

void Form::keyRelease(int keyCode, int shift)
{
    // A page that the preview shows for a key (a page shortcut) hands the keyboard to its
    // tab strip, as a click on the tab does: the keys that follow go on into the page
    // rather than to a field the page hid. A preview that moved the focus itself keeps it.
    std::vector<std::pair<TabControl *, int>> pages;
    for (const auto &c : m_controls)
        if (c->kind() == ControlKind::TabControl)
            pages.emplace_back(static_cast<TabControl *>(c.get()), static_cast<TabControl *>(c.get())->activePage());
    Control *before = m_focus;
    int k = keyCode, s = shift;
    KeyUp.raise(k, s);
    if (m_focus != before && m_focus)
        return;
    for (const auto &[tabs, page] : pages)
        if (tabs->activePage() != page && tabs->setFocus())
            return;
}

// ---- form events -------------------------------------------------------------------------

void Form::load()
{
    Load.call();
}
void Form::activate()
{
    Activate.raise();
}

void Form::unload()
{
    Unload.raise();
    hide();
}

void Form::setClientSize(double width, double height)
{
    auto ok = [](double v) { return std::isfinite(v) && v >= 0 && v <= double(FLT_MAX); };
    if (!ok(width) || !ok(height))
        return;
    const float w = float(width), h = float(height);
    if (w == m_clientWidth && h == m_clientHeight)
        return;
    m_clientWidth = w;
    m_clientHeight = h;
    m_observers.notify({Aspect::Geometry});
    Resize.raise();
}

// ---- display ---------------------------------------------------------------------------------

void Form::show()
{
    m_visible = true;
    Desktop::activate(*this);
    m_observers.notify({Aspect::Shown});
    activate();
}

void Form::hide()
{
    m_visible = false;
    Desktop::remove(*this);
    m_observers.notify({Aspect::Shown});
}

void Form::endOpenEdit()
{
    if (auto *grid = dynamic_cast<Grid *>(m_focus))
        grid->endEdit();
}

void Form::showModal(Form &dialog)
{
    endOpenEdit();
    dialog.m_owner = this;
    dialog.m_modal = true;
    if (!dialog.m_connection)
        dialog.m_connection = m_connection;
    if (!dialog.m_sink)
        dialog.m_sink = m_sink;
    if (!dialog.m_presenter)
        dialog.m_presenter = m_presenter;
    if (dialog.m_module.isEmpty())
        dialog.m_module = m_module;

    struct Close {
        Form &d;
        ~Close()
        {
            if (d.m_visible)
                d.hide();
            d.m_modal = false;
        }
    } close{dialog};

    dialog.show();
    if (dialog.m_presenter && dialog.m_visible)
        dialog.m_presenter->runModal(dialog);
}

void Form::registerCatalogue(const QString &id, const QString &statement)
{
    m_catalogues.insert(id.trimmed().toUpper(), statement);
}

QString Form::catalogue(const QString &id) const
{
    return m_catalogues.value(id.trimmed().toUpper());
}

void Form::handlerReturned() const
{
    if (--m_handlersRunning == 0 && m_whenNoHandlerRuns)
        std::exchange(m_whenNoHandlerRuns, nullptr)();
}

void Form::whenNoHandlerRuns(std::function<void()> then)
{
    if (m_handlersRunning == 0)
        then();
    else
        m_whenNoHandlerRuns = std::move(then);
}

void Form::reportFailure(const QString &title, const QString &description) const
{
    log::error(QStringLiteral("%1 %2: %3").arg(m_name, title, description));
    if (m_sink) {
        Message m;
        m.text = description;
        m.style = static_cast<int>(MessageStyle::Error);
        m.title = title;
        m.owner = m_handle;
        m.module = m_module;
        m_sink->show(m);
        return;
    }
    qWarning().noquote() << title << description;
}

} // namespace qmx44::controls
