#include "apps/gui/start_failure.h"

#include <QMessageBox>

namespace qmx44::apps::gui {

void showStartFailure(const QString &text, QWidget *parent)
{
    QMessageBox::critical(parent, QStringLiteral("qmx44"), text);
}

} // namespace qmx44::apps::gui
