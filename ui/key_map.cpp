// Qt keys to the models' key codes.
#include "ui/key_map.h"

#include "platform/controls/form.h"
#include "platform/controls/keys.h"

#include <QKeyEvent>

namespace qmx44::ui {

namespace keys = controls::keys;

int virtualKey(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return keys::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return keys::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keys::Enter;
    case Qt::Key_Escape:
        return keys::Escape;
    case Qt::Key_Space:
        return keys::Space;
    case Qt::Key_PageUp:
        return keys::PageUp;
    case Qt::Key_PageDown:
        return keys::PageDown;
    case Qt::Key_End:
        return keys::End;
    case Qt::Key_Home:
        return keys::Home;
    case Qt::Key_Left:
        return keys::Left;
    case Qt::Key_Up:
        return keys::Up;
    case Qt::Key_Right:
        return keys::Right;
    case Qt::Key_Down:
        return keys::Down;
    case Qt::Key_Delete:
        return keys::Delete;
    default:
        break;
    }
    // Letters and digits are their own codes; F1..F12 are 112..123.
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return keys::F4 - 3 + (key - Qt::Key_F1);
    return 0;
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= keys::ShiftMask;
    if (modifiers & Qt::ControlModifier)
        shift |= keys::CtrlMask;
    if (modifiers & Qt::AltModifier)
        shift |= keys::AltMask;
    return shift;
}

namespace {

// AltGr picks a key's third character (@ # € \ | [ ] on a Spanish keyboard); some
// platforms report it as Ctrl+Alt together, others as the group switch.
bool altGr(Qt::KeyboardModifiers modifiers)
{
    const auto chord = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return chord == (Qt::ControlModifier | Qt::AltModifier) || (modifiers & Qt::GroupSwitchModifier);
}

} // namespace

char16_t typedCharacter(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !altGr(modifiers))
        return 0;
    const QString text = event.text();
    if (text.size() != 1)
        return 0;
    const char16_t ch = text.at(0).unicode();
    // Control characters (Enter, Tab, Escape, Backspace) travel as key codes: the form
    // turns those that type into their character itself.
    return ch < 32 || ch == 127 ? char16_t(0) : ch;
}

bool sendKey(controls::Form &form, const QKeyEvent &event)
{
    const int code = virtualKey(event);
    const char16_t ch = typedCharacter(event);
    if (code == 0 && ch == 0)
        return false;
    int shift = shiftState(event.modifiers());
    // A character made with AltGr is typed as such: its Ctrl+Alt is no chord.
    if (ch != 0)
        shift &= keys::ShiftMask;
    if (event.key() == Qt::Key_Backtab)
        shift |= keys::ShiftMask;
    form.keyStroke(code != 0 ? code : keys::virtualKeyFor(ch), shift, ch);
    return true;
}

} // namespace qmx44::ui
