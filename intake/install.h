#pragma once
// Connects the intake layer to the main form: the detail grid's row format, and the
// handlers of the fields through which a purchase comes onto the form. The component
// calls it when it creates the form, before the form loads.
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

void install(screen::FrmQMX44 &frm);

} // namespace qmx44::intake
