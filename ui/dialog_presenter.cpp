// Placeholder until the views land.
#include "ui/dialog_presenter.h"

namespace qmx44::ui {
void DialogPresenter::runModal(controls::Form &) {}
} // namespace qmx44::ui
