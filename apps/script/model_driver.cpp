#include "apps/script/model_driver.h"

#include "platform/controls/date_field.h"
#include "platform/controls/grid.h"
#include "platform/controls/keys.h"
#include "platform/controls/tab_control.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
#include "screen/field_names.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace qmx44::apps::script {

namespace {

template <class T>
T &controlNamed(controls::Form &form, const QString &name)
{
    auto *c = dynamic_cast<T *>(form.find(name));
    if (!c)
        throw ScriptError{QStringLiteral("the form has no %1").arg(name)};
    return *c;
}

} // namespace

controls::Form &openForm(ScriptHost &host)
{
    if (!host.formOpen())
        throw ScriptError{host.hasForm() ? QStringLiteral("the form is closed (open it again with open)")
                                         : QStringLiteral("no form is open (use open first)")};
    return host.form();
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

controls::Grid &detailGrid(controls::Form &form)
{
    return controlNamed<controls::Grid>(form, screen::fields::ssDetalle);
}

controls::TabControl &tabStrip(controls::Form &form)
{
    return controlNamed<controls::TabControl>(form, screen::fields::ssTabFichas);
}

controls::Toolbar &toolbarOf(controls::Form &form)
{
    return controlNamed<controls::Toolbar>(form, screen::fields::Controles);
}

int cellColumn(controls::Grid &grid, const steps::Cell &cell)
{
    const int column = grid.columnIndex(cell.column);
    if (column < 0)
        throw ScriptError{QStringLiteral("unknown column '%1'").arg(cell.column)};
    if (cell.row < 1 || cell.row > grid.rowCount())
        throw ScriptError{
            grid.rowCount() == 0
                ? QStringLiteral("unknown row %1: the grid is empty").arg(cell.row)
                : QStringLiteral("unknown row %1: the grid has rows 1 to %2").arg(cell.row).arg(grid.rowCount())};
    return column;
}

void checkPage(controls::TabControl &tab, int page)
{
    const int pages = int(tab.pages().size());
    if (page < 0 || page >= pages)
        throw ScriptError{QStringLiteral("unknown page %1: the tabs are 0 to %2").arg(page).arg(pages - 1)};
}

controls::TextField &searchField(controls::Form &form, const QString &name)
{
    auto *field = dynamic_cast<controls::TextField *>(&fieldNamed(form, name));
    if (!field)
        throw ScriptError{QStringLiteral("'%1' is not a text field").arg(name)};
    if (field->catalogueStatement().isEmpty())
        throw ScriptError{QStringLiteral("'%1' has no catalogue to search").arg(name)};
    return *field;
}

void checkPick(const steps::Search &s, qsizetype rows)
{
    if (s.pick > rows)
        throw ScriptError{
            QStringLiteral("search %1: row %2 is not offered (%3 rows shown)").arg(s.field).arg(s.pick).arg(rows)};
}

void checkDate(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!shape.match(text).hasMatch() || !QDate::fromString(text, Qt::ISODate).isValid())
        throw ScriptError{QStringLiteral("'%1' is not a date YYYY-MM-DD").arg(text)};
}

QString checkAdditional(controls::Toolbar &toolbar, const steps::Additional &s)
{
    controls::AdditionalFields fields = toolbar.additionalFields();
    if (!fields.definition(s.field))
        throw ScriptError{QStringLiteral("unknown additional field '%1'").arg(s.field)};
    fields.setValue(s.field, s.value);
    return fields.validate();
}

void Driver::drive(const Step &step)
{
    std::visit(
        [&](const auto &s) {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, steps::Open>)
                open();
            else if constexpr (std::is_same_v<T, steps::Activate>)
                activate();
            else if constexpr (std::is_same_v<T, steps::Confirm>)
                confirm(s.yes);
            else if constexpr (std::is_same_v<T, steps::Prorate>)
                prorate(s.step);
            else if constexpr (std::is_same_v<T, steps::Type>)
                type(s);
            else if constexpr (std::is_same_v<T, steps::Enter>)
                enter(s);
            else if constexpr (std::is_same_v<T, steps::Click>)
                click(s);
            else if constexpr (std::is_same_v<T, steps::Cell>)
                cell(s);
            else if constexpr (std::is_same_v<T, steps::Key>)
                key(s);
            else if constexpr (std::is_same_v<T, steps::Page>)
                page(s);
            else if constexpr (std::is_same_v<T, steps::Resize>)
                resize(s);
            else if constexpr (std::is_same_v<T, steps::Additional>)
                additional(s);
            else if constexpr (std::is_same_v<T, steps::Shot>)
                shot(s.name);
        },
        step.action);
    settle();
}

void ModelDriver::settle()
{
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents();
}

void ModelDriver::open()
{
    m_host.open();
}

void ModelDriver::activate()
{
    openForm(m_host);
    m_host.mainForm().activate();
}

void ModelDriver::confirm(bool yes)
{
    m_host.queueConfirmation(yes);
}

void ModelDriver::prorate(const ProrateStep &step)
{
    m_host.presenter().queue(step);
}

void ModelDriver::type(const steps::Type &s)
{
    controls::Form &form = openForm(m_host);
    controls::Control &field = fieldNamed(form, s.field);
    if (auto *date = dynamic_cast<controls::DateField *>(&field)) {
        checkDate(s.text);
        // A disabled field cannot be reached: nothing changes.
        if (date->setFocus() && date->hasFocus())
            date->typeDate(s.text);
        return;
    }
    auto &textField = static_cast<controls::TextField &>(field);
    if (!textField.setFocus())
        return;
    if (!textField.hasFocus()) {
        m_host.warn(warnings::focusWentElsewhere(QStringLiteral("type"), s.field));
        return;
    }
    textField.selectAll();
    form.typeText(s.text);
}

void ModelDriver::enter(const steps::Enter &s)
{
    controls::Form &form = openForm(m_host);
    controls::Control &field = fieldNamed(form, s.field);
    if (!field.setFocus())
        return;
    if (!field.hasFocus()) {
        m_host.warn(warnings::focusWentElsewhere(QStringLiteral("enter"), s.field));
        return;
    }
    form.keyStroke(controls::keys::Enter);
}

void ModelDriver::click(const steps::Click &s)
{
    controls::Form &form = openForm(m_host);
    auto &toolbar = toolbarOf(form);
    if (!toolbar.available(s.command)) {
        m_host.warn(warnings::notOffered(s.name));
        return;
    }
    toolbar.click(s.command);
}

void ModelDriver::cell(const steps::Cell &s)
{
    controls::Form &form = openForm(m_host);
    auto &grid = detailGrid(form);
    const int column = cellColumn(grid, s);
    if (!grid.columnDef(column).shown) {
        m_host.warn(warnings::columnNotShown(s.column));
        return;
    }
    if (!grid.setFocus() || !grid.hasFocus()) {
        m_host.warn(warnings::gridOutOfReach());
        return;
    }
    // One Backspace empties the selected content; TEXT is then typed key by key and the
    // cell is left.
    grid.editCell(s.row - 1, column, QStringLiteral("\b") + s.text);
}

void ModelDriver::key(const steps::Key &s)
{
    controls::Form &form = openForm(m_host);
    form.keyStroke(s.chord.code, s.chord.shift, s.chord.typed);
}

void ModelDriver::page(const steps::Page &s)
{
    controls::Form &form = openForm(m_host);
    auto &tab = tabStrip(form);
    checkPage(tab, s.page);
    // Clicking a tab gives the tab strip the focus, then shows the page.
    if (!tab.setFocus()) {
        m_host.warn(warnings::tabsDisabled());
        return;
    }
    tab.setActivePage(s.page);
}

void ModelDriver::resize(const steps::Resize &s)
{
    controls::Form &form = openForm(m_host);
    form.setClientSize(s.width, s.height);
}

void ModelDriver::additional(const steps::Additional &s)
{
    controls::Form &form = openForm(m_host);
    auto &toolbar = toolbarOf(form);
    const QString refused = checkAdditional(toolbar, s);
    if (!refused.isEmpty()) {
        m_host.warn(warnings::additionalRefused(s.field, refused));
        return;
    }
    toolbar.setAdditionalField(s.field, s.value);
}

SearchShown ModelDriver::search(const steps::Search &s)
{
    controls::Form &form = openForm(m_host);
    controls::TextField &field = searchField(form, s.field);
    if (!field.canFocus() || field.locked()) {
        m_host.warn(warnings::searchOutOfReach(s.field));
        return {};
    }
    field.setFocus();
    if (!field.hasFocus()) {
        m_host.warn(warnings::focusWentElsewhere(QStringLiteral("search"), s.field));
        return {};
    }
    form.keyStroke(controls::keys::F2);
    const controls::CatalogueListing listing = field.search(s.filter);
    SearchShown shown{controls::catalogueHeaders(listing), {}, listing.more};
    for (const controls::CatalogueRow &row : listing.rows)
        shown.rows.append(controls::catalogueCells(listing, row));
    checkPick(s, shown.rows.size());
    if (s.pick > 0)
        field.pick(listing.rows[size_t(s.pick - 1)].key);
    return shown;
}

} // namespace qmx44::apps::script
