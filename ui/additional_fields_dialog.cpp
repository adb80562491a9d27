// Placeholder until the views land.
#include "ui/additional_fields_dialog.h"

namespace qmx44::ui {
bool editAdditionalFields(controls::Toolbar &, QWidget *)
{
    return false;
}
} // namespace qmx44::ui
