// A modal dialog form in a window of its own, until the model hides it.
#include "ui/dialog_presenter.h"

#include "platform/controls/keys.h"
#include "ui/form_view.h"

#include <QApplication>
#include <QDialog>
#include <QVBoxLayout>

namespace qmx44::ui {

namespace {

// The dialog's window: closing it (its close button, Escape reaching the window) is the
// dialog's own cancel path.
class DialogWindow : public QDialog {
public:
    DialogWindow(controls::Form &dialog, QWidget *parent) : QDialog(parent), m_dialog(dialog) {}

    void reject() override
    {
        if (m_dialog.isVisible())
            m_dialog.keyStroke(controls::keys::Escape);
        if (m_dialog.isVisible())
            m_dialog.hide();
    }

private:
    controls::Form &m_dialog;
};

} // namespace

void DialogPresenter::runModal(controls::Form &dialog)
{
    if (!dialog.isVisible())
        return; // it closed itself while being shown
    QWidget *parent = QApplication::activeWindow();
    if (FormView *owner = dialog.owner() ? FormView::forHandle(dialog.owner()->handle()) : nullptr)
        parent = owner->window();
    DialogWindow window(dialog, parent);
    window.setObjectName(dialog.name());
    window.setWindowModality(Qt::WindowModal);
    auto *view = new FormView(dialog, &window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    window.setWindowTitle(view->windowTitle());
    window.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    window.resize(view->sizeHint());
    QObject::connect(view, &FormView::formHidden, &window, &QDialog::accept);
    QObject::connect(view, &FormView::formGone, &window, &QDialog::accept);
    QObject::connect(view, &QWidget::windowTitleChanged, &window, &QWidget::setWindowTitle);
    window.exec();
}

} // namespace qmx44::ui
