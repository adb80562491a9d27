#pragma once
// What carries out the steps a user takes on the screen. The model driver works the
// control models directly, as the view layer's keyboard and mouse paths do; the widget
// driver (the desktop application's) sends real key and mouse events to the widgets and
// answers message boxes and dialogs through their windows. Both run the same scenarios,
// and their state dumps must agree.
#include "apps/script/script_step.h"

namespace qmx44::apps::script {

class Driver {
public:
    virtual ~Driver() = default;
    // open, activate, type, enter, click, cell, key, page, resize, confirm, prorate and
    // shot. Throws ScriptError for a step the screen cannot take (no form, an unknown
    // field or row); warns, through the host, for one that does nothing.
    virtual void drive(const Step &step) = 0;
    // Before a dump: whatever the step set going has finished.
    virtual void settle() {}
};

} // namespace qmx44::apps::script
