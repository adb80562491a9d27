#pragma once
// The two mode groups of LimpiarControles / HabilitarControles. Each text field says in
// its design which group it belongs to (TextField::modeGroup, setting "modegroup") and
// whether HabilitarControles unlocks it as well as enabling it (TextField::unlockedByMode,
// setting "modeunlock"); the services walk the form's fields in their order.
#include "platform/controls/text_field.h"

#include <vector>

namespace qmx44::controls {
class Form;
}

namespace qmx44::services {

// The text fields of `form` in mode group `modo`, in the form's order. Throws
// RuntimeError for a mode other than 1 or 2.
std::vector<controls::TextField *> groupFields(controls::Form &form, int mode);

// Empties the group's fields (numeric ones to 0), except those tagged "0" (preset from
// the user's context).
void clearGroup(controls::Form &form, int mode);
// Enables the group's fields and unlocks those whose design says so; same exception.
void enableGroup(controls::Form &form, int mode);

} // namespace qmx44::services
