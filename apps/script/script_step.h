#pragma once
// A scenario line read into a typed step: the verb and its arguments checked and
// converted (numbers, dates, choices, key names, toolbar commands). What only the open
// screen can tell (a field's name, a row or a page that exists) is checked when the step
// runs.
#include "apps/script/key_names.h"
#include "apps/script/modal_presenter.h"
#include "apps/script/script_line.h"
#include "platform/controls/toolbar.h"

#include <QDate>
#include <QString>
#include <optional>
#include <variant>

namespace qmx44::apps::script {

namespace steps {
// The database and the host's settings.
struct Exec {
    QString sql;
};
struct Query {
    QString sql;
};
struct User {
    QString branch, warehouse;
};
struct Param {
    QString name, value;
};
struct Right {
    QString key;
    bool granted = false;
};
struct Rate {
    QString currency;
    QDate from;
    double value = 0;
};
struct Period {
    QString module;
    QDate from, to;
    bool open = false;
};
struct Fail {
    QString operation, text;
};
// Answers given to what the screen asks later.
struct Confirm {
    bool yes = true;
};
struct Prorate {
    ProrateStep step;
};
// The screen, as the host and the user drive it.
struct Open {};
struct Activate {};
struct Type {
    QString field, text;
};
struct Enter {
    QString field;
};
struct Click {
    controls::Command command = controls::Command::Aceptar;
    QString name;
};
struct Cell {
    int row = 0;
    QString column, text;
};
struct Key {
    QString name;
    KeyChord chord;
};
struct Page {
    int page = 0;
};
struct Resize {
    double width = 0, height = 0;
};
// A value typed into the toolbar's additional-fields dialog, then accepted.
struct Additional {
    QString field, value;
};
// The catalogue search of a text field (F2): FILTER typed, the rows printed; with a
// ROW (from 1) that row is picked, else the search is left with Escape.
struct Search {
    QString field, filter;
    int pick = 0;
};
// What the run prints or pictures.
struct Dump {};
struct Messages {};
// The panel of what the note will do (its rows of labels).
struct Preview {};
struct Shot {
    QString name;
};
// Puts text on the clipboard (`\t` a tab, `\n` a line break), or prints it (no text).
struct Clipboard {
    std::optional<QString> text;
};
} // namespace steps

using StepAction =
    std::variant<steps::Exec, steps::Query, steps::User, steps::Param, steps::Right, steps::Rate, steps::Period,
                 steps::Fail, steps::Confirm, steps::Prorate, steps::Open, steps::Activate, steps::Type, steps::Enter,
                 steps::Click, steps::Cell, steps::Key, steps::Page, steps::Resize, steps::Additional, steps::Search,
                 steps::Dump, steps::Messages, steps::Preview, steps::Shot, steps::Clipboard>;

struct Step {
    int line = 0;
    QString verb; // as written
    StepAction action;
};

// The step of a line read by parseLine. Throws ScriptError for an unknown verb or
// arguments of the wrong number or shape.
Step typedStep(const ScriptLine &line);

// The same step written back as a scenario line (what typedStep reads again).
QString stepText(const StepAction &action);

// The toolbar command's name as scripts write it ("Aceptar").
QString commandName(controls::Command command);

// What a driver says on standard error when a step does nothing: the same words from
// both drivers, so that their runs compare.
namespace warnings {
// `verb` is type or enter.
QString focusWentElsewhere(const QString &verb, const QString &field);
QString notOffered(const QString &command);
QString columnNotShown(const QString &column);
QString gridOutOfReach();
QString tabsDisabled();
QString searchOutOfReach(const QString &field);
QString additionalRefused(const QString &field, const QString &reason);
// The proration dialog lacks `control` (its amount, an option button, a button).
QString dialogLacks(const QString &dialog, const QString &control);
} // namespace warnings

} // namespace qmx44::apps::script
