#pragma once
// The built-in walk-through of a clerk's work: the scenario walkthrough.scenario (built
// into the program) run by the widget driver through the real windows, on whatever
// platform Qt uses (offscreen on a server), with a picture of the window after each step
// and of every message box, dialog and preview before it is answered. The pictures and
// the printed note's PDF go into the output folder.
#include "platform/db/connection.h"

#include <QString>
#include <functional>
#include <memory>

namespace qmx44::apps::gui {

// Runs the walk-through as `user` on `database` (a demo one). `report` gets one line per
// file written and per problem met (a warning of the run). True when every step went as
// planned.
bool runWalkthrough(std::shared_ptr<db::Conexion> database, const QString &user, const QString &builtComponent,
                    const QString &folder, const std::function<void(const QString &)> &report);

} // namespace qmx44::apps::gui
