#pragma once
// The proration dialog frmProrrateo declared as data: title bar, the frame with the
// three bases, the amount field and the two buttons, with their settings, positions in
// twips and tab order. The dialog's model is made from it with screen::buildForm.
#include "screen/form_design.h"

namespace qmx44::bonus {

const screen::FormDesign &prorationDesign();

} // namespace qmx44::bonus
