// Placeholder until the views land.
#include "ui/form_view.h"

#include "platform/controls/form.h"

namespace qmx44::ui {
int toPixels(double twips, const QWidget *)
{
    return int(twips / 15);
}
double toTwips(int pixels, const QWidget *)
{
    return pixels * 15.0;
}
FormView::FormView(controls::Form &form, QWidget *parent) : QWidget(parent), m_form(&form) {}
FormView::~FormView() = default;
QWidget *FormView::widgetFor(const controls::Control &) const
{
    return nullptr;
}
QWidget *FormView::widgetFor(const QString &) const
{
    return nullptr;
}
FormView *FormView::forHandle(qint64)
{
    return nullptr;
}
QSize FormView::sizeHint() const
{
    return {};
}
void FormView::resizeEvent(QResizeEvent *) {}
} // namespace qmx44::ui
