#include "apps/gui/start_failure.h"

#include <QMessageBox>

namespace qmx44::apps::gui {

void showStartFailure(const QString &problem, const QString &advice, QWidget *parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("qmx44"), advice.isEmpty() ? problem : advice,
                    QMessageBox::Ok, parent);
    // What to do comes first; the database's own words below it.
    if (!advice.isEmpty())
        box.setInformativeText(problem);
    box.exec();
}

} // namespace qmx44::apps::gui
