#pragma once
// Runs a modal dialog form in a window of its own, owned by its owner form's window,
// until the model hides it (the dialog closes itself; closing the window is the
// dialog's own cancel path).
#include "platform/controls/form.h"

namespace qmx44::ui {

class DialogPresenter : public controls::ModalPresenter {
public:
    void runModal(controls::Form &dialog) override;
};

} // namespace qmx44::ui
