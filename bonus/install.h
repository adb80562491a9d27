#pragma once
// Connects the bonus layer to the main form: the detail grid's bonus editing (events 13,
// 26, 28, 50) and the toolbar's optional command, which opens the proration dialog. The
// component calls it when it creates the form.
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::bonus {

void install(screen::FrmQMX44 &frm);

} // namespace qmx44::bonus
