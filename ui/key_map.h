#pragma once
// Qt key events as the control models take them: virtual-key codes, shift bits and the
// typed character (platform/controls/keys.h).
#include <Qt>

class QKeyEvent;

namespace qmx44::ui {

// The virtual-key code of the event's key; 0 for a key the models have no code for.
int virtualKey(const QKeyEvent &event);
// Shift, Ctrl and Alt as the models' shift bits.
int shiftState(Qt::KeyboardModifiers modifiers);
// The character the key types (0 for none: arrows, function keys, Ctrl/Alt chords).
char16_t typedCharacter(const QKeyEvent &event);

} // namespace qmx44::ui
