// Placeholder until the views land.
#include "ui/toolbar_view.h"

namespace qmx44::ui {
ToolbarView::ToolbarView(controls::Toolbar &toolbar, QWidget *parent) : QToolBar(parent), m_toolbar(toolbar) {}
ToolbarView::~ToolbarView() = default;
QAction *ToolbarView::action(controls::Command) const
{
    return nullptr;
}
QAction *ToolbarView::additionalFieldsAction() const
{
    return nullptr;
}
} // namespace qmx44::ui
