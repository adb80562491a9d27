#pragma once
// Qt key events as the control models take them: virtual-key codes, shift bits and the
// typed character (platform/controls/keys.h), and the one path every view sends a key
// press down: the form's keyboard (Form::keyStroke), exactly as the scenario runner does.
#include <Qt>

class QKeyEvent;

namespace qmx44::controls {
class Form;
}

namespace qmx44::ui {

// The virtual-key code of the event's key; 0 for a key the models have no code for.
int virtualKey(const QKeyEvent &event);
// Shift, Ctrl and Alt as the models' shift bits.
int shiftState(Qt::KeyboardModifiers modifiers);
// The character the key types (0 for none: arrows, function keys, Ctrl/Alt chords); a
// character made with AltGr (reported as Ctrl+Alt or as the group switch) is typed.
char16_t typedCharacter(const QKeyEvent &event);
// Sends a key press to `form` (key down, the typed character, the release preview).
// False, sending nothing, for a key the models have no code and no character for, so
// that the widget may use it (window shortcuts, for instance).
bool sendKey(controls::Form &form, const QKeyEvent &event);

} // namespace qmx44::ui
