#pragma once
// What carries out the steps a user takes on the screen. The model driver works the
// control models directly, as the view layer's keyboard and mouse paths do; the widget
// driver (the desktop application's) sends real key and mouse events to the widgets and
// answers message boxes and dialogs through their windows. Both run the same scenarios,
// and their state dumps must agree.
#include "apps/script/script_step.h"

#include <QList>
#include <QStringList>

namespace qmx44::apps::script {

// What a catalogue search showed: its column headers, its rows as shown, and whether more
// rows matched than it shows. Empty when no search opened.
struct SearchShown {
    QStringList columns;
    QList<QStringList> rows;
    bool more = false;
};

class Driver {
public:
    virtual ~Driver() = default;
    // Carries out a user's step (open, activate, type, enter, click, cell, key, page,
    // resize, additional, confirm, prorate, shot; the runner keeps the others). Throws
    // ScriptError for a step the screen cannot take (no form, an unknown field or row);
    // warns, through the host, for one that does nothing.
    void drive(const Step &step);
    // Before a dump: whatever the step set going has finished.
    virtual void settle() {}
    // The search step: F2 on the field, the filter typed, the rows read; the row to pick
    // picked with Enter (one the search does not show is a ScriptError), else Escape.
    virtual SearchShown search(const steps::Search &s) = 0;

protected:
    virtual void open() = 0;
    virtual void activate() = 0;
    // Answers the screen's next question / the proration dialog's next opening.
    virtual void confirm(bool yes) = 0;
    virtual void prorate(const ProrateStep &step) = 0;
    virtual void type(const steps::Type &s) = 0;
    virtual void enter(const steps::Enter &s) = 0;
    virtual void click(const steps::Click &s) = 0;
    virtual void cell(const steps::Cell &s) = 0;
    virtual void key(const steps::Key &s) = 0;
    virtual void page(const steps::Page &s) = 0;
    virtual void resize(const steps::Resize &s) = 0;
    virtual void additional(const steps::Additional &s) = 0;
    virtual void shot(const QString &name) = 0;
};

} // namespace qmx44::apps::script
