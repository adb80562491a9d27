// The commands of the scenario language, one member of ScriptRunner each.
#include "apps/script/host_tables.h"
#include "apps/script/key_names.h"
#include "apps/script/script_runner.h"
#include "apps/script/state_dump.h"
#include "platform/controls/date_field.h"
#include "platform/controls/grid.h"
#include "platform/controls/keys.h"
#include "platform/controls/tab_control.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
#include "platform/core/faults.h"
#include "screen/field_names.h"

#include <QRegularExpression>
#include <cmath>

namespace qmx44::apps::script {

namespace {

void requireArgs(const ScriptLine &line, int min, int max, const char *usage)
{
    const int n = int(line.args.size());
    if (n < min || n > max)
        throw ScriptError{QStringLiteral("%1 takes %2 (usage: %1 %3)")
                              .arg(line.command,
                                   min == max
                                       ? (min == 0 ? QStringLiteral("no argument")
                                                   : QStringLiteral("%1 argument%2").arg(min).arg(min == 1 ? "" : "s"))
                                       : QStringLiteral("%1 to %2 arguments").arg(min).arg(max),
                                   QString::fromLatin1(usage))};
}

QDate dateArg(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (!shape.match(text).hasMatch() || !d.isValid())
        throw ScriptError{QStringLiteral("'%1' is not a date YYYY-MM-DD").arg(text)};
    return d;
}

double numberArg(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw ScriptError{QStringLiteral("'%1' is not a number").arg(text)};
    return v;
}

int wholeArg(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok)
        throw ScriptError{QStringLiteral("'%1' is not a whole number").arg(text)};
    return v;
}

bool choiceArg(const QString &text, const char *yes, const char *no)
{
    if (text == QLatin1String(yes))
        return true;
    if (text == QLatin1String(no))
        return false;
    throw ScriptError{QStringLiteral("'%1' is neither %2 nor %3").arg(text, QLatin1String(yes), QLatin1String(no))};
}

std::optional<controls::Command> commandNamed(const QString &name)
{
    using controls::Command;
    static const struct {
        const char *name;
        Command command;
    } table[] = {
        {"Nuevo", Command::Nuevo},         {"Modificar", Command::Modificar}, {"Imprimir", Command::Imprimir},
        {"Consultar", Command::Consultar}, {"Eliminar", Command::Eliminar},   {"Aceptar", Command::Aceptar},
        {"Cancelar", Command::Cancelar},   {"Salir", Command::Salir},         {"Opcional", Command::Opcional},
    };
    for (const auto &c : table) {
        if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.command;
    }
    return std::nullopt;
}

controls::Control &fieldNamed(controls::Form &form, const QString &name)
{
    controls::Control *c = form.find(name);
    if (!c)
        throw ScriptError{QStringLiteral("unknown field '%1'").arg(name)};
    if (c->kind() != controls::ControlKind::TextField && c->kind() != controls::ControlKind::DateField)
        throw ScriptError{QStringLiteral("'%1' is not a field").arg(name)};
    return *c;
}

template <class T>
T &controlNamed(controls::Form &form, const QString &name)
{
    auto *c = dynamic_cast<T *>(form.find(name));
    if (!c)
        throw ScriptError{QStringLiteral("the form has no %1").arg(name)};
    return *c;
}

} // namespace

// ---- the database and the host's settings ----------------------------------------------

void ScriptRunner::cmdExec(const ScriptLine &line)
{
    if (line.rest.isEmpty())
        throw ScriptError{QStringLiteral("exec needs an SQL statement")};
    try {
        m_host.connection().execute(line.rest)->close();
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::cmdQuery(const ScriptLine &line)
{
    if (line.rest.isEmpty())
        throw ScriptError{QStringLiteral("query needs an SQL statement")};
    Json rows = Json::array();
    try {
        auto rs = m_host.connection().execute(line.rest);
        const QStringList columns = rs->columns();
        for (; !rs->eof(); rs->moveNext()) {
            Json row = Json::object();
            for (const QString &c : columns)
                row[c.toStdString()] = jsonValue(rs->field(c));
            rows.push_back(std::move(row));
        }
        rs->close();
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
    Json out;
    out["query"] = jsonText(line.rest);
    out["rows"] = std::move(rows);
    print(out);
}

void ScriptRunner::cmdUser(const ScriptLine &line)
{
    requireArgs(line, 2, 2, "BRANCH WAREHOUSE");
    m_host.session().setBranch(line.args[0]);
    m_host.session().setWarehouse(line.args[1]);
}

void ScriptRunner::cmdParam(const ScriptLine &line)
{
    requireArgs(line, 2, 2, "NAME VALUE");
    if (line.args[0].isEmpty())
        throw ScriptError{QStringLiteral("a parameter needs a name")};
    try {
        writeParameter(m_host.connection(), line.args[0], line.args[1]);
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::cmdRight(const ScriptLine &line)
{
    requireArgs(line, 2, 2, "KEY 0|1");
    // The screen asks its rights under its module tag.
    m_host.session().setPermission(screen::ModuleTag, line.args[0], choiceArg(line.args[1], "1", "0"));
}

void ScriptRunner::cmdRate(const ScriptLine &line)
{
    requireArgs(line, 3, 3, "CURRENCY YYYY-MM-DD VALUE");
    const QDate from = dateArg(line.args[1]);
    const double value = numberArg(line.args[2]);
    try {
        writeExchangeRate(m_host.connection(), line.args[0], from, value);
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::cmdPeriod(const ScriptLine &line)
{
    requireArgs(line, 4, 4, "MODULE YYYY-MM-DD YYYY-MM-DD open|closed");
    const QDate from = dateArg(line.args[1]);
    const QDate to = dateArg(line.args[2]);
    if (to < from)
        throw ScriptError{QStringLiteral("the period ends (%1) before it starts (%2)").arg(line.args[2], line.args[1])};
    const bool open = choiceArg(line.args[3], "open", "closed");
    try {
        writePeriodo(m_host.connection(), line.args[0], from, to, open);
    } catch (const RuntimeError &e) {
        throw ScriptError{QStringLiteral("SQL error: %1").arg(e.description())};
    }
}

void ScriptRunner::cmdFail(const ScriptLine &line)
{
    requireArgs(line, 1, 2, "OPERATION [TEXT]");
    if (line.args[0].isEmpty())
        throw ScriptError{QStringLiteral("fail needs an operation")};
    // A planned failure that nothing consults would let the script quietly run the
    // success path instead.
    if (!faults::consulted(line.args[0]))
        throw ScriptError{QStringLiteral("unknown operation '%1'").arg(line.args[0])};
    const QString text = line.args.size() > 1 ? line.args[1] : QStringLiteral("Falla programada: %1").arg(line.args[0]);
    m_host.session().faults().arm(line.args[0], text);
}

void ScriptRunner::cmdConfirm(const ScriptLine &line)
{
    requireArgs(line, 1, 1, "yes|no");
    m_host.queueConfirmation(choiceArg(line.args[0], "yes", "no"));
}

// ---- the screen, as the host drives it ---------------------------------------------------

void ScriptRunner::cmdOpen(const ScriptLine &line)
{
    requireArgs(line, 0, 0, "");
    m_host.open();
}

void ScriptRunner::cmdActivate(const ScriptLine &line)
{
    requireArgs(line, 0, 0, "");
    openForm();
    m_host.mainForm().activate();
}

// ---- the screen, as the user drives it ---------------------------------------------------

void ScriptRunner::cmdType(const ScriptLine &line)
{
    requireArgs(line, 2, 2, "FIELD TEXT");
    controls::Form &form = openForm();
    controls::Control &field = fieldNamed(form, line.args[0]);
    const QString &text = line.args[1];
    if (auto *date = dynamic_cast<controls::DateField *>(&field)) {
        dateArg(text);
        // A disabled field cannot be reached: nothing changes.
        if (date->setFocus() && date->hasFocus())
            date->typeDate(text);
        return;
    }
    auto &textField = static_cast<controls::TextField &>(field);
    if (!textField.setFocus())
        return;
    if (!textField.hasFocus()) {
        warn(QStringLiteral("type %1: the focus went elsewhere on entering the field; nothing was typed")
                 .arg(line.args[0]));
        return;
    }
    textField.selectAll();
    form.typeText(text);
}

void ScriptRunner::cmdEnter(const ScriptLine &line)
{
    requireArgs(line, 1, 1, "FIELD");
    controls::Form &form = openForm();
    controls::Control &field = fieldNamed(form, line.args[0]);
    if (!field.setFocus())
        return;
    if (!field.hasFocus()) {
        warn(QStringLiteral("enter %1: the focus went elsewhere on entering the field; Enter was not pressed")
                 .arg(line.args[0]));
        return;
    }
    form.keyStroke(controls::keys::Enter);
}

void ScriptRunner::cmdClick(const ScriptLine &line)
{
    requireArgs(line, 1, 1, "COMMAND");
    controls::Form &form = openForm();
    const auto command = commandNamed(line.args[0]);
    if (!command)
        throw ScriptError{QStringLiteral("unknown toolbar command '%1'").arg(line.args[0])};
    auto &toolbar = controlNamed<controls::Toolbar>(form, screen::fields::Controles);
    if (!toolbar.available(*command)) {
        warn(QStringLiteral("click %1: the toolbar does not offer it now; nothing ran").arg(line.args[0]));
        return;
    }
    toolbar.click(*command);
}

void ScriptRunner::cmdCell(const ScriptLine &line)
{
    requireArgs(line, 3, 3, "ROW COLUMN TEXT");
    controls::Form &form = openForm();
    auto &grid = controlNamed<controls::Grid>(form, screen::fields::ssDetalle);
    const int row = wholeArg(line.args[0]);
    const int column = grid.columnIndex(line.args[1]);
    if (column < 0)
        throw ScriptError{QStringLiteral("unknown column '%1'").arg(line.args[1])};
    if (row < 1 || row > grid.rowCount())
        throw ScriptError{
            grid.rowCount() == 0
                ? QStringLiteral("unknown row %1: the grid is empty").arg(row)
                : QStringLiteral("unknown row %1: the grid has rows 1 to %2").arg(row).arg(grid.rowCount())};
    if (!grid.columnDef(column).shown) {
        warn(QStringLiteral("cell: column %1 is not shown; nothing was typed").arg(line.args[1]));
        return;
    }
    if (!grid.setFocus() || !grid.hasFocus()) {
        warn(QStringLiteral("cell: the grid cannot take the focus now (disabled, or on another page); nothing was "
                            "typed"));
        return;
    }
    // One Backspace empties the selected content; TEXT is then typed key by key and the
    // cell is left.
    grid.editCell(row - 1, column, QStringLiteral("\b") + line.args[2]);
}

void ScriptRunner::cmdKey(const ScriptLine &line)
{
    requireArgs(line, 1, 1, "KEY");
    controls::Form &form = openForm();
    const auto chord = parseKeyChord(line.args[0]);
    if (!chord)
        throw ScriptError{QStringLiteral("unknown key '%1'").arg(line.args[0])};
    form.keyStroke(chord->code, chord->shift, chord->typed);
}

void ScriptRunner::cmdPage(const ScriptLine &line)
{
    requireArgs(line, 1, 1, "N");
    controls::Form &form = openForm();
    auto &tab = controlNamed<controls::TabControl>(form, screen::fields::ssTabFichas);
    const int page = wholeArg(line.args[0]);
    const int pages = int(tab.pages().size());
    if (page < 0 || page >= pages)
        throw ScriptError{QStringLiteral("unknown page %1: the tabs are 0 to %2").arg(page).arg(pages - 1)};
    // Clicking a tab gives the tab strip the focus, then shows the page.
    if (!tab.setFocus()) {
        warn(QStringLiteral("page: the tab control is disabled; nothing changed"));
        return;
    }
    tab.setActivePage(page);
}

void ScriptRunner::cmdResize(const ScriptLine &line)
{
    requireArgs(line, 2, 2, "WIDTH HEIGHT");
    controls::Form &form = openForm();
    const double width = numberArg(line.args[0]);
    const double height = numberArg(line.args[1]);
    if (width < 0 || height < 0)
        throw ScriptError{QStringLiteral("a size cannot be negative")};
    form.setClientSize(width, height);
}

void ScriptRunner::cmdProrate(const ScriptLine &line)
{
    requireArgs(line, 3, 3, "AMOUNT 1|2|3 accept|f4|cancel|escape");
    ProrateStep step;
    step.amount = line.args[0];
    step.option = wholeArg(line.args[1]);
    if (step.option < 1 || step.option > 3)
        throw ScriptError{QStringLiteral("option %1: the options are 1, 2 and 3").arg(line.args[1])};
    const QString action = line.args[2];
    if (action == u"accept")
        step.action = ProrateAction::Accept;
    else if (action == u"f4")
        step.action = ProrateAction::F4;
    else if (action == u"cancel")
        step.action = ProrateAction::Cancel;
    else if (action == u"escape")
        step.action = ProrateAction::Escape;
    else
        throw ScriptError{QStringLiteral("'%1' is not accept, f4, cancel or escape").arg(action)};
    m_host.presenter().queue(std::move(step));
}

// ---- output ---------------------------------------------------------------------------------

void ScriptRunner::cmdDump(const ScriptLine &line)
{
    requireArgs(line, 0, 0, "");
    if (!m_host.hasForm())
        throw ScriptError{QStringLiteral("no form is open (use open first)")};
    const controls::Form &form = m_host.form();
    Json out;
    out["form"] = formJson(form, m_host.formOpen());
    out["fields"] = fieldsJson(form);
    out["controls"] = controlsJson(form);
    out["grid"] = gridJson(form);
    out["toolbar"] = toolbarJson(form);
    out["members"] = membersJson(m_host.formObject());
    out["messages"] = messagesJson(m_host.takeNewMessages(), [this](qint64 h) { return m_host.ownerName(h); });
    out["printed"] = m_host.printedJson();
    out["queried"] = m_host.queriedJson();
    print(out);
}

void ScriptRunner::cmdMessages(const ScriptLine &line)
{
    requireArgs(line, 0, 0, "");
    Json out;
    out["messages"] = messagesJson(m_host.takeNewMessages(), [this](qint64 h) { return m_host.ownerName(h); });
    print(out);
}

} // namespace qmx44::apps::script
