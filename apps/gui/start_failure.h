#pragma once
// The desktop application's word when it cannot start (no database, a database it must
// not use, an unknown user): a modal error box the user closes before the program ends.
#include <QString>

class QWidget;

namespace qmx44::apps::gui {

// Shows a critical message box titled "qmx44", `advice` (what to do) over `problem` (what
// went wrong, in the database's words), and waits until it is closed.
void showStartFailure(const QString &problem, const QString &advice, QWidget *parent = nullptr);

} // namespace qmx44::apps::gui
