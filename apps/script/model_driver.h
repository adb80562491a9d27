#pragma once
// The scenario's user steps worked on the control models: the field takes the focus and
// the keys, the toolbar its click, the grid its cell edit, the proration dialog its queued
// answers, exactly as the views pass them down.
#include "apps/script/driver.h"
#include "apps/script/script_host.h"

namespace qmx44::controls {
class Grid;
class TabControl;
class TextField;
class Toolbar;
} // namespace qmx44::controls

namespace qmx44::apps::script {

// What both drivers look up before they act, with the same refusals (ScriptError).
// The form, when it takes user input.
controls::Form &openForm(ScriptHost &host);
// A text or date field of the form by name.
controls::Control &fieldNamed(controls::Form &form, const QString &name);
controls::Grid &detailGrid(controls::Form &form);
controls::TabControl &tabStrip(controls::Form &form);
controls::Toolbar &toolbarOf(controls::Form &form);
// The model column of a cell step whose row exists (0-based column).
int cellColumn(controls::Grid &grid, const steps::Cell &cell);
// Throws unless the page exists.
void checkPage(controls::TabControl &tab, int page);
// The text field a search step names; throws for another control or a field without a
// catalogue.
controls::TextField &searchField(controls::Form &form, const QString &name);
// Throws unless the search shows row `pick` (0: no pick asked).
void checkPick(const steps::Search &s, qsizetype rows);
// Throws unless `text` is a date as a `type` into a date field needs it.
void checkDate(const QString &text);
// The toolbar's additional fields with `s`'s value set and checked, as its dialog checks
// them before handing them over: the reason it refuses them, empty when it takes them.
// Throws for a field the document does not define.
QString checkAdditional(controls::Toolbar &toolbar, const steps::Additional &s);

class ModelDriver : public Driver {
public:
    explicit ModelDriver(ScriptHost &host) : m_host(host) {}

protected:
    void open() override;
    void activate() override;
    void confirm(bool yes) override;
    void prorate(const ProrateStep &step) override;
    void type(const steps::Type &s) override;
    void enter(const steps::Enter &s) override;
    void click(const steps::Click &s) override;
    void cell(const steps::Cell &s) override;
    void key(const steps::Key &s) override;
    void page(const steps::Page &s) override;
    void resize(const steps::Resize &s) override;
    void additional(const steps::Additional &s) override;
    void shot(const QString &) override {} // the models have no picture
    SearchShown search(const steps::Search &s) override;
    // What the screen left for after the step (its draft written, a draft offered).
    void settle() override;

private:
    ScriptHost &m_host;
};

} // namespace qmx44::apps::script
