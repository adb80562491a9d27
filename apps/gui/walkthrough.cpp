#include "apps/gui/walkthrough.h"

#include "apps/gui/main_window.h"
#include "apps/gui/sign_in.h"
#include "component/prog_id.h"
#include "platform/controls/grid.h"
#include "screen/field_names.h"
#include "ui/form_view.h"
#include "ui/grid_view.h"
#include "ui/toolbar_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

namespace qmx44::apps::gui {

namespace fields = screen::fields;
using controls::Command;

namespace {

// How long a step may keep a modal window open after it was answered.
constexpr int kModalTimeoutMs = 10000;

QString commandName(Command c)
{
    switch (c) {
    case Command::Nuevo:
        return QStringLiteral("Nuevo");
    case Command::Modificar:
        return QStringLiteral("Modificar");
    case Command::Imprimir:
        return QStringLiteral("Imprimir");
    case Command::Consultar:
        return QStringLiteral("Consultar");
    case Command::Eliminar:
        return QStringLiteral("Eliminar");
    case Command::Aceptar:
        return QStringLiteral("Aceptar");
    case Command::Cancelar:
        return QStringLiteral("Cancelar");
    case Command::Salir:
        return QStringLiteral("Salir");
    case Command::Opcional:
        return QStringLiteral("Opcional");
    }
    return QString();
}

std::optional<Command> commandNamed(const QString &name)
{
    for (Command c : {Command::Nuevo, Command::Modificar, Command::Imprimir, Command::Consultar, Command::Eliminar,
                      Command::Aceptar, Command::Cancelar, Command::Salir, Command::Opcional}) {
        if (commandName(c) == name)
            return c;
    }
    return std::nullopt;
}

// The widget a key press goes to: the focused one, else the window in front.
QWidget *keyTarget()
{
    if (QWidget *w = QApplication::focusWidget())
        return w;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

Walkthrough::Walkthrough(std::shared_ptr<db::Conexion> database, QString databaseName, QString builtComponent,
                         QString folder, WalkthroughPlan plan)
    : m_database(std::move(database)), m_databaseName(std::move(databaseName)),
      m_builtComponent(std::move(builtComponent)),
      m_folder(std::move(folder)), m_plan(std::move(plan))
{
}

Walkthrough::~Walkthrough()
{
    m_polling = false;
    m_window.reset();
    m_screen.reset();
}

// ---- the clerk's work -------------------------------------------------------------------------------

bool Walkthrough::run(const std::function<void(const QString &)> &report)
{
    m_report = report;
    QDir().mkpath(m_folder);
    m_polling = true;
    pollModals();

    std::optional<QString> user;
    step(QStringLiteral("sign-in"), [&] {
        expectModal(QStringLiteral("sign-in"), [this](QWidget &dialog) {
            shoot(dialog, QStringLiteral("sign-in"));
            // The list finds the user by the keys typed within its search interval; a
            // busy machine may take longer between two keys than a person would.
            const int interval = QApplication::keyboardInputInterval();
            QApplication::setKeyboardInputInterval(60000);
            typeKeys(m_plan.user, &dialog);
            QApplication::setKeyboardInputInterval(interval);
            press(Qt::Key_Return, Qt::NoModifier, QString(), &dialog);
        });
        user = signIn(*m_database);
    });
    if (!user) {
        problem(QStringLiteral("nobody signed in"));
        m_polling = false;
        return false;
    }
    if (*user != m_plan.user)
        problem(QStringLiteral("signed in as %1 instead of %2").arg(*user, m_plan.user));

    auto context = makeContext(m_database, *user, m_folder);
    m_screen = std::make_unique<host::ScreenSession>(context, component::ProgId, m_builtComponent);
    m_window = std::make_unique<MainWindow>(*m_screen, m_databaseName);
    m_window->resize(1180, 820);
    m_window->show();
    bringToFront(*m_window);
    shoot(*m_window, QStringLiteral("main-window"));

    step(QStringLiteral("screen-open"), [&] {
        m_window->screenAction()->trigger();
        if (!m_window->screenView())
            problem(QStringLiteral("the screen did not open"));
    });
    if (!m_window->screenView()) {
        m_polling = false;
        return false;
    }
    step(QStringLiteral("new-note"), [&] { trigger(QStringLiteral("Nuevo")); });
    step(QStringLiteral("purchase-taken-in"), [&] {
        focusField(fields::txt_Co_Folio);
        typeKeys(m_plan.purchase);
        press(Qt::Key_Return);
    });
    step(QStringLiteral("cause-and-reference"), [&] {
        focusField(fields::txt_Cn_Cve_Causa_Nota);
        typeKeys(m_plan.cause);
        press(Qt::Key_Return);
        focusField(fields::txt_Nc_Referencia);
        typeKeys(m_plan.reference);
    });
    step(QStringLiteral("grid-page"), [&] { press(Qt::Key_2, Qt::AltModifier); });
    step(QStringLiteral("bonus-cells"), [&] {
        for (int row = 0; row < 2; ++row) {
            clickCell(row, QStringLiteral("BON_PORCENTAJE"));
            typeKeys(m_plan.percentage);
        }
        press(Qt::Key_Return);
    });
    step(QStringLiteral("prorated"), [&] {
        expectModal(QStringLiteral("proration dialog"), [this](QWidget &dialog) {
            auto *view = dialog.findChild<ui::FormView *>();
            if (!view) {
                problem(QStringLiteral("the proration dialog shows no form"));
                return;
            }
            shoot(dialog, QStringLiteral("proration-dialog"));
            if (QWidget *option = view->widgetFor(QStringLiteral("Option3")))
                click(*option);
            if (QWidget *amount = view->widgetFor(QStringLiteral("txtImporte")))
                click(*amount);
            typeKeys(m_plan.prorated);
            shoot(dialog, QStringLiteral("proration-typed"));
            press(Qt::Key_F4);
        });
        trigger(QStringLiteral("Opcional"));
    });
    // Saving before the required additional field is filled in is refused with a message.
    step(QStringLiteral("refused-without-required-field"), [&] { trigger(QStringLiteral("Aceptar")); });
    step(QStringLiteral("additional-field"), [&] {
        expectModal(QStringLiteral("additional fields"), [this](QWidget &dialog) {
            const auto edits = dialog.findChildren<QLineEdit *>();
            if (edits.isEmpty()) {
                problem(QStringLiteral("the additional-fields dialog has no input"));
                return;
            }
            click(*edits.first());
            typeKeys(m_plan.supplierFolio);
            shoot(dialog, QStringLiteral("additional-fields"));
            press(Qt::Key_Return);
        });
        auto *toolbar = m_window->screenView()->findChild<ui::ToolbarView *>();
        if (QAction *a = toolbar ? toolbar->additionalFieldsAction() : nullptr)
            a->trigger();
        else
            problem(QStringLiteral("the toolbar offers no additional fields"));
    });

    const auto &printed = context->activityLog->printedDocuments();
    const std::size_t printedBefore = printed.size();
    step(QStringLiteral("saved"), [&] {
        const QWidgetList before = QApplication::topLevelWidgets();
        trigger(QStringLiteral("Aceptar"));
        closePreview(before, QStringLiteral("saved-note-preview"));
    });
    QString folio;
    if (printed.size() > printedBefore) {
        folio = printed.back().folio;
        if (!printed.back().file.isEmpty()) {
            m_files.append(printed.back().file);
            m_report(printed.back().file);
        }
    } else {
        problem(QStringLiteral("the note was not saved and printed"));
    }

    if (!folio.isEmpty()) {
        step(QStringLiteral("saved-note-shown"), [&] {
            focusField(fields::txtFolio);
            typeKeys(folio);
            press(Qt::Key_Return);
        });
        step(QStringLiteral("record-query"), [&] {
            const QWidgetList before = QApplication::topLevelWidgets();
            trigger(QStringLiteral("Consultar"));
            closePreview(before, QStringLiteral("record-query-window"));
        });
        step(QStringLiteral("print-preview"), [&] {
            const QWidgetList before = QApplication::topLevelWidgets();
            trigger(QStringLiteral("Imprimir"));
            closePreview(before, QStringLiteral("print-preview-window"));
        });
    }
    step(QStringLiteral("screen-closed"), [&] { trigger(QStringLiteral("Salir")); });
    if (m_window->screenView())
        problem(QStringLiteral("Salir left the screen's window open"));

    m_window->close();
    settle();
    m_polling = false;
    return m_problems.isEmpty();
}

// ---- steps and modal windows -------------------------------------------------------------------------

void Walkthrough::bringToFront(QWidget &window)
{
    window.activateWindow();
    settle();
    // A real window system gives the focus back a moment later, if at all: with no window
    // manager (a virtual X server) a closed dialog leaves no window active. Wait a little,
    // then make it the active window as a window manager would.
    QDeadlineTimer deadline(2000);
    while (QApplication::activeWindow() != &window && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    if (QApplication::activeWindow() != &window)
        QApplication::setActiveWindow(&window);
    settle();
}

void Walkthrough::step(const QString &name, const std::function<void()> &action)
{
    // The main window in front again (a closed preview leaves no window active).
    if (m_window && !QApplication::activeModalWidget())
        bringToFront(*m_window);
    action();
    settle();
    waitForNoModal();
    for (const Answer &a : m_answers)
        problem(QStringLiteral("%1: the %2 did not open").arg(name, a.name));
    m_answers.clear();
    if (m_window)
        shoot(*m_window, name);
}

void Walkthrough::expectModal(const QString &name, std::function<void(QWidget &)> act)
{
    m_answers.push_back({name, std::move(act)});
}

void Walkthrough::pollModals()
{
    if (!m_polling)
        return;
    // The next look is planned first, so that it runs inside the loop of any window the
    // answer opens.
    QTimer::singleShot(40, [this] { pollModals(); });
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    for (const QObject *seen : m_answered) {
        if (seen == modal)
            return;
    }
    m_answered.push_back(modal);
    QPointer<QWidget> guard(modal);
    QObject::connect(modal, &QObject::destroyed, [this, modal] { std::erase(m_answered, modal); });
    modal->activateWindow();
    QCoreApplication::processEvents();
    if (!guard)
        return;
    if (qobject_cast<QMessageBox *>(modal) || m_answers.empty()) {
        answerUnexpected(*modal);
        return;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.erase(m_answers.begin());
    answer.act(*modal);
}

void Walkthrough::answerUnexpected(QWidget &modal)
{
    // A message box is read, pictured and answered with its default button (Enter);
    // any other window nobody expected is closed with Escape.
    if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
        const QString text = QStringLiteral("%1: %2").arg(box->windowTitle(), box->text());
        m_messages.append(text);
        m_report(QStringLiteral("message: %1").arg(text));
        shoot(modal, QStringLiteral("message"));
        press(Qt::Key_Return);
        return;
    }
    problem(QStringLiteral("an unexpected window opened: %1").arg(modal.windowTitle()));
    shoot(modal, QStringLiteral("unexpected"));
    press(Qt::Key_Escape);
}

void Walkthrough::closePreview(const QWidgetList &before, const QString &name)
{
    // The preview is a window of its own beside the main one, not a modal one: the window
    // that appeared is pictured and closed with Escape.
    settle();
    QWidget *preview = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && qobject_cast<QDialog *>(w) && !before.contains(w))
            preview = w;
    }
    if (!preview) {
        problem(QStringLiteral("%1: no print preview opened").arg(name));
        return;
    }
    preview->activateWindow();
    settle();
    shoot(*preview, name);
    QPointer<QWidget> guard(preview);
    // Escape goes to the preview itself: on a real window system its activation arrives
    // later, and the application's focus may still be in the main window.
    press(Qt::Key_Escape, Qt::NoModifier, QString(), preview);
    if (guard && guard->isVisible())
        problem(QStringLiteral("%1: Escape left the preview open").arg(name));
}

void Walkthrough::waitForNoModal()
{
    QElapsedTimer clock;
    clock.start();
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (clock.elapsed() > kModalTimeoutMs) {
            problem(QStringLiteral("the window \"%1\" stayed open").arg(modal->windowTitle()));
            modal->close();
            clock.restart();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

void Walkthrough::settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        if (!QApplication::activeModalWidget())
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void Walkthrough::shoot(QWidget &widget, const QString &name)
{
    QCoreApplication::processEvents();
    const QString file =
        QDir(m_folder).absoluteFilePath(QStringLiteral("%1-%2.png").arg(++m_shot, 2, 10, QLatin1Char('0')).arg(name));
    if (!widget.grab().save(file)) {
        problem(QStringLiteral("could not write %1").arg(file));
        return;
    }
    m_files.append(file);
    m_report(file);
}

void Walkthrough::problem(const QString &text)
{
    m_problems.append(text);
    m_report(QStringLiteral("problem: %1").arg(text));
}

// ---- input ---------------------------------------------------------------------------------------------

void Walkthrough::press(int key, Qt::KeyboardModifiers modifiers, const QString &text, QWidget *to)
{
    QPointer<QWidget> target = to ? (to->focusWidget() ? to->focusWidget() : to) : keyTarget();
    if (!target) {
        problem(QStringLiteral("no window takes the key %1").arg(key));
        return;
    }
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &down);
    if (target) {
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(target, &up);
    }
    QCoreApplication::processEvents();
}

void Walkthrough::typeKeys(const QString &text, QWidget *to)
{
    for (const QChar c : text) {
        // Printable ASCII keys carry their upper-case character code as Qt's key.
        const int key = c.toUpper().unicode();
        press(key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c), to);
    }
}

void Walkthrough::click(QWidget &widget, QPoint at)
{
    // An option button takes a click on its mark; anything else in its middle.
    if (at.x() < 0)
        at = qobject_cast<QRadioButton *>(&widget) ? QPoint(6, widget.height() / 2) : widget.rect().center();
    // A click gives the focus first (when the widget takes it by clicking), then presses.
    if (widget.focusPolicy() & Qt::ClickFocus)
        widget.setFocus(Qt::MouseFocusReason);
    const QPointF local(at), global(widget.mapToGlobal(at));
    QMouseEvent down(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &up);
    QCoreApplication::processEvents();
}

void Walkthrough::focusField(const QString &name)
{
    QWidget *widget = m_window->screenView() ? m_window->screenView()->widgetFor(name) : nullptr;
    if (!widget) {
        problem(QStringLiteral("the screen shows no %1").arg(name));
        return;
    }
    // A field's own widget may be a frame around the input: the input is what is clicked.
    QWidget *input = widget->focusProxy() ? widget->focusProxy() : widget;
    if (auto *edit = widget->findChild<QLineEdit *>(); edit && !qobject_cast<QLineEdit *>(input))
        input = edit;
    click(*input);
    if (QApplication::focusWidget() != input)
        problem(QStringLiteral("%1 did not take the focus").arg(name));
}

void Walkthrough::clickCell(int row, const QString &column)
{
    auto *view = m_window->screenView() ? m_window->screenView()->findChild<ui::GridView *>() : nullptr;
    if (!view) {
        problem(QStringLiteral("the screen shows no grid"));
        return;
    }
    const int shown = view->tableModel()->viewColumn(view->grid().columnIndex(column));
    const QModelIndex index = view->model()->index(row, shown);
    if (!index.isValid()) {
        problem(QStringLiteral("the grid has no cell %1, %2").arg(row + 1).arg(column));
        return;
    }
    view->scrollTo(index);
    view->setFocus(Qt::MouseFocusReason);
    click(*view->viewport(), view->visualRect(index).center());
}

void Walkthrough::trigger(const QString &command)
{
    auto *toolbar = m_window->screenView() ? m_window->screenView()->findChild<ui::ToolbarView *>() : nullptr;
    const auto c = commandNamed(command);
    QAction *action = toolbar && c ? toolbar->action(*c) : nullptr;
    if (!action || !action->isEnabled() || !action->isVisible()) {
        problem(QStringLiteral("the toolbar does not offer %1").arg(command));
        return;
    }
    // Clicked on its button when it has one.
    if (auto *button = qobject_cast<QAbstractButton *>(toolbar->widgetForAction(action)))
        click(*button);
    else
        action->trigger();
}

} // namespace qmx44::apps::gui
