#pragma once
// The developers' measure of how soon the desktop application answers (bench/bench_start.cpp).
// With QMX44_STARTUP_PROBE set to "sign-in", the program reports on standard error once the
// sign-in is painted and ends there; set to "screen", it opens the screen as soon as the main
// window is shown and reports once the screen is painted, the time from the command to the
// painted screen included, and ends there. Unset, nothing of this runs.
#include <QString>

class QWidget;
class QElapsedTimer;

namespace qmx44::apps::gui {

// What QMX44_STARTUP_PROBE asks for: "sign-in", "screen", or empty.
QString startupProbe();

// When the probe asks for `what`, once `window` has been painted: prints "qmx44 probe: WHAT painted" (and, given a
// running `clock`, "after MS ms") on standard error and ends the process at once with status 0.
void reportWhenPainted(QWidget *window, const QString &what, const QElapsedTimer *clock = nullptr);

} // namespace qmx44::apps::gui
