#include "apps/gui/widget_driver.h"

#include "apps/gui/main_window.h"
#include "apps/script/model_driver.h"
#include "platform/controls/date_field.h"
#include "platform/controls/grid.h"
#include "platform/controls/keys.h"
#include "platform/controls/tab_control.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
#include "ui/dialog_presenter.h"
#include "ui/field_views.h"
#include "ui/form_view.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/print_preview.h"
#include "ui/record_dialog.h"
#include "ui/toolbar_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

// Qt's own step between a key from the window system and the focused widget: the
// window's shortcuts get the key first unless the widget claims it (QtTest types keys
// through it too).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString &text, bool autorep, ushort count);

namespace qmx44::apps::gui {

namespace steps = script::steps;
namespace keys = controls::keys;
using script::ScriptError;

namespace {

// How long a step may keep a modal window open once it was answered.
constexpr int kModalTimeoutMs = 10000;

// The widget a key goes to: the focused one of the modal window in front (the window
// system may not have handed it the activation back yet), else the focused one.
QWidget *keyTarget(QWidget *mainWindow)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal->focusWidget() ? modal->focusWidget() : modal;
    if (QWidget *w = QApplication::focusWidget())
        return w;
    if (mainWindow && mainWindow->focusWidget())
        return mainWindow->focusWidget();
    return QApplication::activeWindow();
}

// The Qt key of a models' virtual-key code.
int qtKey(int code, bool shift)
{
    static const struct {
        int code;
        Qt::Key key;
    } table[] = {
        {keys::Enter, Qt::Key_Return},  {keys::Escape, Qt::Key_Escape}, {keys::Backspace, Qt::Key_Backspace},
        {keys::Delete, Qt::Key_Delete}, {45, Qt::Key_Insert},           {keys::Home, Qt::Key_Home},
        {keys::End, Qt::Key_End},       {33, Qt::Key_PageUp},           {34, Qt::Key_PageDown},
        {keys::Left, Qt::Key_Left},     {keys::Up, Qt::Key_Up},         {keys::Right, Qt::Key_Right},
        {keys::Down, Qt::Key_Down},     {keys::Space, Qt::Key_Space},
    };
    if (code == keys::Tab)
        return shift ? Qt::Key_Backtab : Qt::Key_Tab;
    for (const auto &k : table)
        if (k.code == code)
            return k.key;
    if (code >= 112 && code <= 123)
        return Qt::Key_F1 + (code - 112);
    return code; // letters and digits: their upper-case character
}

} // namespace

WidgetDriver::WidgetDriver(script::ScriptHost &host, QString shotFolder, bool ownSettings)
    : m_host(host), m_shotFolder(std::move(shotFolder))
{
    if (ownSettings) {
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }
    if (!m_shotFolder.isEmpty())
        QDir().mkpath(m_shotFolder);
    m_host.useViews(std::make_shared<ui::MessageBoxSink>(), std::make_shared<ui::DialogPresenter>());
    host::PlatformContext &context = m_host.context();
    const auto parent = [] {
        QWidget *modal = QApplication::activeModalWidget();
        return modal ? modal : QApplication::activeWindow();
    };
    context.activityLog->onPrint = [parent](const business::PrintedDocument &d) { ui::previewPrinted(d, parent()); };
    context.activityLog->onQuery = [parent](const business::TableRows &rows) { ui::showRecords(rows, parent()); };
    // The size the form was designed for, before a window gives it its own.
    m_host.screenSession().onOpened = [this](host::MainForm &form) {
        m_designSize = QSizeF(form.form().clientWidth(), form.form().clientHeight());
    };
    // A repeating timer looks at the windows, inside the event loop of any modal window
    // too; the answer runs as a posted call, outside the timer's handler, so that the
    // timer goes on firing inside the windows the answer opens. Both go with the driver.
    auto *timer = new QTimer(m_poll.get());
    QObject::connect(timer, &QTimer::timeout, m_poll.get(), [this] { pollModals(); });
    timer->start(15);
}

WidgetDriver::~WidgetDriver()
{
    // Closed as the clerk closes it at the end of the day: it remembers its geometry.
    if (m_window) {
        m_window->close();
        QCoreApplication::processEvents();
    }
    m_poll.reset(); // no look at the windows after this
    m_window.reset();
}

// ---- the steps ---------------------------------------------------------------------------------------------

void WidgetDriver::open()
{
    if (!m_window) {
        m_window = std::make_unique<MainWindow>(m_host.screenSession(), QStringLiteral("scenario"));
        m_window->resize(1180, 820);
        m_window->show();
        toFront();
        settle();
    }
    // The clerk picks the screen from the purchasing menu.
    m_window->screenAction()->trigger();
    settle();
    // The window as large as the design, so that the layout matches the model driver's
    // to the pixel.
    if (m_host.adopt(m_window->screenForm()) && m_window->screenView() && !m_designSize.isEmpty())
        resize(steps::Resize{m_designSize.width(), m_designSize.height()});
}

void WidgetDriver::confirm(bool yes)
{
    m_confirmations.push_back(yes);
}

void WidgetDriver::prorate(const script::ProrateStep &step)
{
    m_prorates.push_back(step);
}

void WidgetDriver::activate()
{
    script::openForm(m_host);
    // Another window in front, then the screen's again, as a clerk coming back to it.
    if (QMdiSubWindow *window = m_window->mdiArea()->activeSubWindow()) {
        m_window->mdiArea()->setActiveSubWindow(nullptr);
        settle();
        m_window->mdiArea()->setActiveSubWindow(window);
    }
}

ui::FormView &WidgetDriver::screenView()
{
    ui::FormView *view = m_window ? m_window->screenView() : nullptr;
    if (!view)
        throw ScriptError{QStringLiteral("the screen's window is not open")};
    return *view;
}

bool WidgetDriver::focusField(controls::Control &field, const QString &verb)
{
    QWidget *widget = screenView().widgetFor(field);
    if (!widget || !widget->isVisible() || !widget->isEnabled() || !field.canFocus())
        return false; // nothing to click: the model's field refuses the focus too
    QWidget *input = widget;
    if (auto *edit = qobject_cast<QLineEdit *>(widget); !edit)
        if (auto *inner = widget->findChild<QLineEdit *>(); inner && !qobject_cast<QDateEdit *>(widget))
            input = inner;
    mouseClick(*input);
    if (!field.hasFocus()) {
        m_host.warn(script::warnings::focusWentElsewhere(verb, field.name()));
        return false;
    }
    return true;
}

void WidgetDriver::type(const steps::Type &s)
{
    controls::Form &form = script::openForm(m_host);
    controls::Control &field = script::fieldNamed(form, s.field);
    if (auto *date = dynamic_cast<controls::DateField *>(&field)) {
        script::checkDate(s.text);
        QWidget *widget = screenView().widgetFor(field);
        if (!widget || !widget->isEnabled() || !widget->isVisible())
            return;
        mouseClick(*widget);
        if (!date->hasFocus())
            return;
        // Picked in the calendar: one change of date.
        if (auto *edit = qobject_cast<QDateEdit *>(widget))
            edit->setDate(QDate::fromString(s.text, Qt::ISODate));
        return;
    }
    auto &text = static_cast<controls::TextField &>(field);
    if (!focusField(field, QStringLiteral("type")))
        return;
    replaceText(text, s.text);
}

void WidgetDriver::enter(const steps::Enter &s)
{
    controls::Form &form = script::openForm(m_host);
    controls::Control &field = script::fieldNamed(form, s.field);
    if (!focusField(field, QStringLiteral("enter")))
        return;
    press(Qt::Key_Return);
}

void WidgetDriver::click(const steps::Click &s)
{
    controls::Form &form = script::openForm(m_host);
    auto &toolbar = script::toolbarOf(form);
    if (!toolbar.available(s.command)) {
        m_host.warn(script::warnings::notOffered(s.name));
        return;
    }
    auto *bar = screenView().findChild<ui::ToolbarView *>();
    QAction *action = bar ? bar->action(s.command) : nullptr;
    if (!action || !action->isEnabled())
        throw ScriptError{QStringLiteral("click %1: the toolbar offers it but its button is disabled").arg(s.name)};
    auto *button = qobject_cast<QAbstractButton *>(bar->widgetForAction(action));
    if (button && button->isVisible())
        mouseClick(*button);
    else
        action->trigger(); // from the toolbar's overflow menu
}

void WidgetDriver::cell(const steps::Cell &s)
{
    controls::Form &form = script::openForm(m_host);
    auto &grid = script::detailGrid(form);
    const int column = script::cellColumn(grid, s);
    if (!grid.columnDef(column).shown) {
        m_host.warn(script::warnings::columnNotShown(s.column));
        return;
    }
    auto *view = screenView().findChild<ui::GridView *>();
    if (!view || !view->isVisible() || !view->isEnabled() || !grid.canFocus()) {
        m_host.warn(script::warnings::gridOutOfReach());
        return;
    }
    const QModelIndex index = view->model()->index(s.row - 1, view->tableModel()->viewColumn(column));
    view->scrollTo(index);
    mouseClick(*view->viewport(), view->visualRect(index).center());
    if (!grid.hasFocus()) {
        m_host.warn(script::warnings::gridOutOfReach());
        return;
    }
    // Backspace empties the cell's content, the text is typed, and a click on the cell
    // ends its edit.
    press(Qt::Key_Backspace);
    typeKeys(s.text);
    view->scrollTo(index);
    mouseClick(*view->viewport(), view->visualRect(index).center());
}

void WidgetDriver::key(const steps::Key &s)
{
    script::openForm(m_host);
    Qt::KeyboardModifiers modifiers;
    if (s.chord.shift & keys::ShiftMask)
        modifiers |= Qt::ShiftModifier;
    if (s.chord.shift & keys::CtrlMask)
        modifiers |= Qt::ControlModifier;
    if (s.chord.shift & keys::AltMask)
        modifiers |= Qt::AltModifier;
    const QString text = s.chord.typed ? QString(QChar(s.chord.typed)) : QString();
    press(qtKey(s.chord.code, s.chord.shift & keys::ShiftMask), modifiers, text);
}

void WidgetDriver::page(const steps::Page &s)
{
    controls::Form &form = script::openForm(m_host);
    auto &tab = script::tabStrip(form);
    script::checkPage(tab, s.page);
    auto *view = qobject_cast<ui::detail::TabView *>(screenView().widgetFor(tab));
    if (!view || !view->isEnabled() || !tab.canFocus()) {
        m_host.warn(script::warnings::tabsDisabled());
        return;
    }
    QTabBar *bar = view->bar();
    mouseClick(*bar, bar->tabRect(s.page).center());
}

void WidgetDriver::resize(const steps::Resize &s)
{
    script::openForm(m_host);
    ui::FormView &view = screenView();
    // The window grows or shrinks by what the form's client area must change.
    QMdiSubWindow *window = m_window->screenWindow();
    if (!window)
        return;
    // The view holds the toolbar's extra height above the form's client area.
    const QSize client(ui::toPixels(s.width, &view),
                       ui::toPixels(s.height, &view) + view.sizeHint().height()
                           - ui::toPixels(view.form().clientHeight(), &view));
    window->resize(window->size() + (client - view.size()));
    settle();
}

void WidgetDriver::additional(const steps::Additional &s)
{
    controls::Form &form = script::openForm(m_host);
    auto &toolbar = script::toolbarOf(form);
    script::checkAdditional(toolbar, s); // an unknown field is refused alike
    auto *bar = screenView().findChild<ui::ToolbarView *>();
    QAction *action = bar ? bar->additionalFieldsAction() : nullptr;
    if (!action || !action->isEnabled())
        throw ScriptError{QStringLiteral("additional: the toolbar offers no additional fields now")};
    // Its shortcut, from the screen's window; the dialog is answered when it opens.
    m_additional = s;
    const QKeySequence keys = action->shortcut();
    if (!keys.isEmpty())
        press(keys[0].key(), keys[0].keyboardModifiers());
    if (m_additional) {
        m_additional.reset();
        action->trigger(); // no shortcut reached it: the button instead
    }
}

void WidgetDriver::shot(const QString &name)
{
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = m_window.get();
    if (front)
        picture(*front, name);
}

script::SearchShown WidgetDriver::search(const steps::Search &s)
{
    controls::Form &form = script::openForm(m_host);
    controls::TextField &field = script::searchField(form, s.field);
    if (!field.canFocus() || field.locked()) {
        m_host.warn(script::warnings::searchOutOfReach(s.field));
        return {};
    }
    if (!focusField(field, QStringLiteral("search")))
        return {};
    m_search = PendingSearch{s, {}, false};
    press(Qt::Key_F2); // the window is answered when it opens
    settle();
    const PendingSearch done = *m_search;
    m_search.reset();
    if (!done.served)
        throw ScriptError{QStringLiteral("search %1: F2 opened no search window").arg(s.field)};
    script::checkPick(s, done.shown.rows.size());
    return done.shown;
}

void WidgetDriver::picture(QWidget &window, const QString &name)
{
    if (m_shotFolder.isEmpty())
        return;
    QCoreApplication::processEvents();
    const QString file =
        QDir(m_shotFolder)
            .absoluteFilePath(QStringLiteral("%1-%2.png").arg(++m_shot, 2, 10, QLatin1Char('0')).arg(name));
    if (!window.grab().save(file))
        throw script::HostError{QStringLiteral("could not write %1").arg(file)};
    m_shots.append(file);
}

// ---- input ------------------------------------------------------------------------------------------------

void WidgetDriver::press(int key, Qt::KeyboardModifiers modifiers, const QString &text, QWidget *to)
{
    QPointer<QWidget> target = to ? (to->focusWidget() ? to->focusWidget() : to) : keyTarget(m_window.get());
    if (!target)
        throw ScriptError{QStringLiteral("no window takes the key")};
    if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text, false, 1)) {
        QCoreApplication::processEvents();
        return; // a shortcut of the window took it
    }
    if (!target)
        return;
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &down);
    if (target) {
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(target, &up);
    }
    QCoreApplication::processEvents();
}

void WidgetDriver::replaceText(const controls::TextField &field, const QString &text)
{
    // The whole content is selected (as after the focus came by a click), then replaced.
    if (field.selectionStart() != 0 || field.selectionLength() != field.text().size())
        press(Qt::Key_A, Qt::ControlModifier);
    typeKeys(text);
}

void WidgetDriver::typeKeys(const QString &text, QWidget *to)
{
    for (const QChar c : text) {
        const int key = c.toUpper().unicode();
        press(key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c), to);
    }
}

void WidgetDriver::mouseClick(QWidget &widget, QPoint at)
{
    if (at.x() < 0)
        at = qobject_cast<QRadioButton *>(&widget) ? QPoint(6, widget.height() / 2) : widget.rect().center();
    QPointer<QWidget> guard(&widget);
    // A click gives the focus first (when the widget takes it by clicking), then presses.
    if (widget.focusPolicy() & Qt::ClickFocus)
        widget.setFocus(Qt::MouseFocusReason);
    if (!guard)
        return;
    const QPointF local(at), global(widget.mapToGlobal(at));
    QMouseEvent down(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &down);
    if (guard) {
        QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &up);
    }
    QCoreApplication::processEvents();
}

// ---- windows the steps open -------------------------------------------------------------------------------

void WidgetDriver::settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        if (!QApplication::activeModalWidget())
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QElapsedTimer clock;
    clock.start();
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (clock.elapsed() > kModalTimeoutMs) {
            m_host.warn(QStringLiteral("the window \"%1\" stayed open").arg(modal->windowTitle()));
            modal->close();
            clock.restart();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    closeWindows();
}

void WidgetDriver::closeWindows()
{
    // Print previews and record windows stand beside the main window: looked at, then
    // closed with Escape, as the clerk does.
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget> &guard : windows) {
        if (!guard || guard == m_window.get() || !guard->isVisible() || !qobject_cast<QDialog *>(guard.data())
            || guard->isModal())
            continue;
        picture(*guard, guard->objectName().isEmpty() ? QStringLiteral("window") : guard->objectName());
        press(Qt::Key_Escape, Qt::NoModifier, QString(), guard);
        if (guard && guard->isVisible())
            guard->close();
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The clerk is back at the main window (a closed window leaves none active where
    // no window manager hands the focus back).
    if (m_window && !QApplication::activeModalWidget() && QApplication::activeWindow() != m_window.get())
        toFront();
}

void WidgetDriver::toFront()
{
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window.get());
    QCoreApplication::processEvents();
}

void WidgetDriver::pollModals()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    for (const QObject *seen : m_answered)
        if (seen == modal)
            return;
    m_answered.push_back(modal);
    QObject::connect(modal, &QObject::destroyed, m_poll.get(), [this, modal] { std::erase(m_answered, modal); });
    QMetaObject::invokeMethod(
        m_poll.get(),
        [this, guard = QPointer<QWidget>(modal)] {
            if (guard && guard->isVisible())
                answer(*guard);
        },
        Qt::QueuedConnection);
}

void WidgetDriver::answer(QWidget &modal)
{
    picture(modal, modal.objectName().isEmpty() ? QStringLiteral("dialog") : modal.objectName());
    if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
        // A question is answered as the script queued it (yes when it queued nothing);
        // anything else with its default button.
        if (QAbstractButton *yes = box->button(QMessageBox::Yes)) {
            bool answerYes = true;
            if (!m_confirmations.empty()) {
                answerYes = m_confirmations.front();
                m_confirmations.pop_front();
            }
            QAbstractButton *button = answerYes ? yes : box->button(QMessageBox::No);
            if (button)
                mouseClick(*button);
            return;
        }
        press(Qt::Key_Return, Qt::NoModifier, QString(), &modal);
        return;
    }
    if (modal.objectName() == u"CamposAdicionales" && m_additional) {
        const script::steps::Additional s = *m_additional;
        m_additional.reset();
        QPointer<QWidget> guard(&modal);
        if (auto *input = modal.findChild<QLineEdit *>(s.field)) {
            mouseClick(*input);
            press(Qt::Key_A, Qt::ControlModifier, QString(), &modal);
            press(Qt::Key_Backspace, Qt::NoModifier, QString(), &modal);
            typeKeys(s.value, &modal);
        }
        if (guard)
            press(Qt::Key_Return, Qt::NoModifier, QString(), &modal);
        // Still open: the dialog said why under its fields.
        if (guard && guard->isVisible()) {
            auto *reason = modal.findChild<QLabel *>(QStringLiteral("reason"));
            m_host.warn(script::warnings::additionalRefused(s.field, reason ? reason->text() : QString()));
            press(Qt::Key_Escape, Qt::NoModifier, QString(), &modal);
        }
        return;
    }
    if (modal.objectName() == u"catalogueSearch" && m_search && !m_search->served) {
        answerSearch(modal);
        return;
    }
    if (auto *view = modal.findChild<ui::FormView *>()) {
        answerDialog(modal, *view);
        return;
    }
    press(Qt::Key_Escape, Qt::NoModifier, QString(), &modal);
}

void WidgetDriver::answerSearch(QWidget &dialog)
{
    PendingSearch &pending = *m_search;
    pending.served = true;
    QPointer<QWidget> guard(&dialog);
    typeKeys(pending.step.filter, &dialog);
    // The rows follow the filter once the typing pauses.
    QPointer<QTimer> pause = dialog.findChild<QTimer *>(QStringLiteral("typingPause"));
    QElapsedTimer clock;
    clock.start();
    while (guard && pause && pause->isActive() && clock.elapsed() < kModalTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    if (!guard)
        return;
    if (auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("rows"))) {
        for (int c = 0; c < list->columnCount(); ++c)
            pending.shown.columns << list->headerItem()->text(c);
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << list->topLevelItem(r)->text(c);
            pending.shown.rows << cells;
        }
    }
    auto *more = dialog.findChild<QLabel *>(QStringLiteral("more"));
    pending.shown.more = more && !more->text().isEmpty();
    picture(dialog, QStringLiteral("catalogueSearch-rows"));
    const int pick = pending.step.pick;
    if (pick < 1 || pick > pending.shown.rows.size()) {
        press(Qt::Key_Escape, Qt::NoModifier, QString(), &dialog);
        return;
    }
    for (int i = 1; i < pick && guard; ++i)
        press(Qt::Key_Down, Qt::NoModifier, QString(), &dialog);
    if (guard)
        press(Qt::Key_Return, Qt::NoModifier, QString(), &dialog);
}

void WidgetDriver::answerDialog(QWidget &window, ui::FormView &view)
{
    QPointer<QWidget> guard(&window);
    // Queued answers serve this opening in order while it stays open (a refused amount
    // keeps it open for the next one); then its Cancelar button closes it.
    while (guard && window.isVisible() && view.hasForm() && view.form().isVisible() && !m_prorates.empty()) {
        const script::ProrateStep step = m_prorates.front();
        m_prorates.pop_front();
        playProrate(view, step);
    }
    if (!guard || !window.isVisible() || !view.hasForm() || !view.form().isVisible())
        return;
    if (auto *cancel = qobject_cast<QAbstractButton *>(view.widgetFor(QStringLiteral("cmdCancelar"))))
        mouseClick(*cancel);
    if (guard && window.isVisible())
        static_cast<QDialog &>(window).reject();
}

void WidgetDriver::playProrate(ui::FormView &view, const script::ProrateStep &step)
{
    controls::Form &dialog = view.form();
    if (auto *amount = dynamic_cast<controls::TextField *>(dialog.find(QStringLiteral("txtImporte")))) {
        QWidget *widget = view.widgetFor(*amount);
        if (widget && widget->isEnabled() && widget->isVisible()) {
            mouseClick(*widget);
            if (amount->hasFocus())
                replaceText(*amount, step.amount);
        }
    } else {
        m_host.warn(script::warnings::dialogLacks(dialog.name(), QStringLiteral("txtImporte")));
    }
    const QString optionName = QStringLiteral("Option%1").arg(step.option);
    if (QWidget *option = view.widgetFor(optionName))
        mouseClick(*option);
    else
        m_host.warn(script::warnings::dialogLacks(dialog.name(), optionName));
    if (!view.hasForm() || !dialog.isVisible())
        return;
    const auto pressButton = [&](const QString &name) {
        if (auto *button = qobject_cast<QAbstractButton *>(view.widgetFor(name)))
            mouseClick(*button);
        else
            m_host.warn(script::warnings::dialogLacks(dialog.name(), name));
    };
    switch (step.action) {
    case script::ProrateAction::Accept:
        pressButton(QStringLiteral("cmdAceptar"));
        break;
    case script::ProrateAction::Cancel:
        pressButton(QStringLiteral("cmdCancelar"));
        break;
    case script::ProrateAction::F4:
        press(Qt::Key_F4);
        break;
    case script::ProrateAction::Escape:
        press(Qt::Key_Escape);
        break;
    }
}

} // namespace qmx44::apps::gui
