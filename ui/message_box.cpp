// Coded messages as message boxes, owned by the window of the form that raised them.
#include "ui/message_box.h"

#include "ui/form_view.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace qmx44::ui {

namespace {

QMessageBox::Icon iconOf(int style)
{
    switch (MessageStyle(style)) {
    case MessageStyle::Error:
        return QMessageBox::Critical;
    case MessageStyle::Warning:
        return QMessageBox::Warning;
    case MessageStyle::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int MessageBoxSink::show(const Message &message)
{
    QWidget *parent = QApplication::activeWindow();
    if (FormView *view = FormView::forHandle(message.owner))
        parent = view->window();
    QMessageBox box(iconOf(message.style), message.title, message.text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar")); // the clerk's language, not Qt's
    box.setObjectName(QStringLiteral("message"));
    // The identifier is what the clerk reads out to support.
    if (!message.id.isEmpty())
        box.setInformativeText(message.id);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
    return 1;
}

} // namespace qmx44::ui
