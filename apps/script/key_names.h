#pragma once
// Key names of the `key` command ("Enter", "Alt+1", "Ctrl+Alt+1", "Shift+Tab", "F4") as
// the virtual-key code, shift state and typed character that the form's keyboard path
// takes.
#include <QString>
#include <optional>

namespace qmx44::apps::script {

struct KeyChord {
    int code = 0;       // virtual-key code (Enter 13, Escape 27, F4 115, Down 40, '1' 49)
    int shift = 0;      // Shift 1, Ctrl 2, Alt 4
    char16_t typed = 0; // the character the key types, 0 for none
};

// Modifiers (Shift, Ctrl or Control, Alt) joined by '+' before one key: a letter, a
// digit, Space, Enter (Return), Escape (Esc), Tab, Backspace, Delete (Del), Insert,
// Home, End, PageUp, PageDown, Left, Up, Right, Down, F1..F12. Names ignore case. A
// letter or digit types its character unless Ctrl or Alt is held (a letter in upper case
// with Shift). Nothing for a name that is none of these.
std::optional<KeyChord> parseKeyChord(const QString &name);

} // namespace qmx44::apps::script
