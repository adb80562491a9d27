#include "apps/gui/main_window.h"

#include "platform/controls/form.h"
#include "platform/controls/keys.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
#include "platform/core/error.h"
#include "platform/services/sistema.h"
#include "screen/field_names.h"
#include "ui/dialog_presenter.h"
#include "ui/form_view.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/note_register_window.h"
#include "ui/print_preview.h"
#include "ui/progress_dialog.h"
#include "ui/record_dialog.h"
#include "ui/volume_rebate_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace qmx44::apps::gui {

namespace {

const QString kScreenTitle = QStringLiteral("Nota de crédito de proveedor (bonificación)");
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kStateKey = QStringLiteral("window/state");
const QString kColumnsKey = QStringLiteral("screen/gridColumnWidths");
const QString kScreenGeometryKey = QStringLiteral("screen/geometry");

// The window a dialog of the host belongs to: the modal one in front, else the active one.
QWidget *dialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

std::shared_ptr<host::PlatformContext> makeContext(std::shared_ptr<db::Conexion> database, const QString &user,
                                                   const QString &outputFolder)
{
    auto context = host::makePlatformContext(std::move(database), user);
    context->session->setMessageSink(std::make_shared<ui::MessageBoxSink>());
    // Over the window the clerk works in when a long job starts.
    context->session->setProgressSink(std::make_shared<ui::ProgressDialogSink>());
    context->presenter = std::make_shared<ui::DialogPresenter>();
    context->outputFolder = outputFolder;
    context->activityLog->onPrint = [](const business::PrintedDocument &d) { ui::previewPrinted(d, dialogParent()); };
    context->activityLog->onQuery = [](const business::TableRows &rows) { ui::showRecords(rows, dialogParent()); };
    return context;
}

MainWindow::MainWindow(host::ScreenSession &screen, const QString &databaseName, QWidget *parent)
    : QMainWindow(parent), m_screen(screen)
{
    setWindowTitle(QStringLiteral("qmx44"));
    m_area = new QMdiArea(this);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_area);
    // The clerk coming back to the screen's window from another one activates its form
    // again (its first activation comes with its showing).
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        const bool isScreen = window && window == screenWindow();
        if (isScreen && !m_screenActive && form() && form()->isLoaded())
            form()->activate();
        m_screenActive = isScreen;
        // Back to the register from elsewhere: what it lists may have changed meanwhile.
        const bool isRegister = window && window == m_registerWindow;
        if (isRegister && !m_registerActive)
            if (auto *list = qobject_cast<ui::NoteRegisterWindow *>(window->widget()))
                list->refresh();
        m_registerActive = isRegister;
    });
    buildMenus();
    buildStatusBar(databaseName);

    QSettings settings;
    if (!restoreGeometry(settings.value(kGeometryKey).toByteArray()))
        resize(1100, 760);
    restoreState(settings.value(kStateKey).toByteArray());
}

MainWindow::~MainWindow()
{
    // The area tells of windows activated while its windows close, which it does after
    // this window is gone: nothing of this window may hear of it then.
    m_area->disconnect(this);
    // The screen's window goes first (unloading the form); the host's session keeps the
    // component's object.
    delete m_screenWindow.data();
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Archivo"));
    QAction *exit = file->addAction(QIcon::fromTheme(QStringLiteral("application-exit")), QStringLiteral("&Salir"));
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *purchases = menuBar()->addMenu(QStringLiteral("&Compras"));
    m_screenAction = purchases->addAction(QIcon::fromTheme(QStringLiteral("document-new")), kScreenTitle);
    m_screenAction->setStatusTip(QStringLiteral("%1 (%2)").arg(kScreenTitle, m_screen.progId()));
    connect(m_screenAction, &QAction::triggered, this, [this] { openScreen(); });
    m_registerAction = purchases->addAction(QIcon::fromTheme(QStringLiteral("view-list-details")),
                                            QStringLiteral("Notas de crédito de &proveedor"));
    m_registerAction->setStatusTip(QStringLiteral("Las notas guardadas: buscar, exportar y mostrar en la pantalla"));
    connect(m_registerAction, &QAction::triggered, this, [this] { openRegister(); });
    m_rebateAction = purchases->addAction(QIcon::fromTheme(QStringLiteral("view-financial-list")),
                                          QStringLiteral("&Bonificación por volumen"));
    m_rebateAction->setStatusTip(
        QStringLiteral("Un importe o porcentaje repartido en las compras de un proveedor en un periodo"));
    connect(m_rebateAction, &QAction::triggered, this, [this] { openRebate(); });

    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Ventana"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);
    fillWindowMenu();
}

void MainWindow::fillWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(QStringLiteral("&Cascada"), m_area, &QMdiArea::cascadeSubWindows);
    m_windowMenu->addAction(QStringLiteral("&Mosaico"), m_area, &QMdiArea::tileSubWindows);
    m_windowMenu->addAction(QStringLiteral("Cerrar &todas"), m_area, &QMdiArea::closeAllSubWindows);
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    if (!windows.isEmpty())
        m_windowMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow *w : windows) {
        QAction *a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == m_area->activeSubWindow());
        connect(a, &QAction::triggered, w, [this, w] { m_area->setActiveSubWindow(w); });
    }
}

void MainWindow::buildStatusBar(const QString &databaseName)
{
    services::Session &session = *m_screen.context().session;
    QString userText = session.user(), branch, warehouse;
    try {
        auto rs = session.connection().query(QStringLiteral("SELECT Us_Nombre FROM Usuario WHERE Us_Cve_Usuario = ?"),
                                             {session.user()});
        if (!rs->eof())
            userText += QStringLiteral(" — ") + rs->field(QStringLiteral("Us_Nombre")).toString();
        services::Sistema system(m_screen.context().session);
        branch = system.Sucursal();
        warehouse = system.Almacen();
    } catch (const std::exception &e) {
        userText += QStringLiteral(" (%1)").arg(describe(e));
    }
    const auto add = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    add(QStringLiteral("Usuario: %1").arg(userText));
    add(QStringLiteral("Sucursal: %1").arg(branch.isEmpty() ? QStringLiteral("todas") : branch));
    add(QStringLiteral("Almacén: %1").arg(warehouse.isEmpty() ? QStringLiteral("todos") : warehouse));
    add(QStringLiteral("Base de datos: %1").arg(databaseName));
    add(QStringLiteral("Fecha: %1").arg(session.workingDate().toString(QStringLiteral("dd/MM/yyyy"))));
}

QMdiSubWindow *MainWindow::openScreen()
{
    if (QMdiSubWindow *open = screenWindow()) {
        m_area->setActiveSubWindow(open);
        return open;
    }
    if (host::Padre *old = m_screen.padre())
        old->disconnect(this);
    try {
        m_form = m_screen.open();
    } catch (const std::exception &e) {
        m_form = nullptr;
        QMessageBox::critical(this, kScreenTitle, describe(e));
        return nullptr;
    }
    if (!m_form) {
        QMessageBox::critical(this, kScreenTitle,
                              QStringLiteral("El componente %1 no dio su pantalla.").arg(m_screen.progId()));
        return nullptr;
    }

    // The screen's Salir closes its parent, which closes the window once the screen's
    // handler has returned.
    connect(
        m_screen.padre(), &host::Padre::closed, this,
        [this] {
            if (m_screenWindow)
                m_screenWindow->close();
        },
        Qt::QueuedConnection);

    auto *view = new ui::FormView(m_form->form());
    m_screenActive = true; // the form activates itself as it shows
    auto *window = m_area->addSubWindow(view);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(m_form->form().caption().isEmpty() ? kScreenTitle : m_form->form().caption());
    window->installEventFilter(this);
    m_screenWindow = window;
    m_screenView = view;
    // The model hid the form (it unloaded itself): its window goes too.
    connect(view, &ui::FormView::formHidden, window, &QWidget::close, Qt::QueuedConnection);
    connect(window, &QObject::destroyed, this, [this] { screenWindowClosed(); });

    m_form->show();
    // The columns the clerk sized, before the window's size fits the others around them.
    if (auto *grid = view->findChild<ui::GridView *>())
        grid->restoreSizedColumnWidths(QSettings().value(kColumnsKey).toMap());
    // Where the clerk left it; the first time as large as the area (the screen lays
    // itself out for any size; the grid's columns get room).
    const QRect kept = QSettings().value(kScreenGeometryKey).toRect();
    if (kept.isValid())
        window->setGeometry(kept);
    else
        window->resize(window->sizeHint().expandedTo(m_area->viewport()->size()).boundedTo(m_area->viewport()->size()));
    window->show();
    m_area->setActiveSubWindow(window);
    return window;
}

ui::NoteRegisterWindow *MainWindow::openRegister()
{
    if (m_registerWindow) {
        m_area->setActiveSubWindow(m_registerWindow);
        return qobject_cast<ui::NoteRegisterWindow *>(m_registerWindow->widget());
    }
    auto *view = new ui::NoteRegisterWindow(m_screen.context().session);
    connect(view, &ui::NoteRegisterWindow::showNote, this, &MainWindow::showNote);
    QMdiSubWindow *window = m_area->addSubWindow(view);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(window->sizeHint().expandedTo(QSize(900, 500)).boundedTo(m_area->viewport()->size()));
    m_registerWindow = window;
    m_registerActive = true; // it reads its list as it opens
    window->show();
    m_area->setActiveSubWindow(window);
    view->table()->setFocus();
    return view;
}

ui::VolumeRebateWindow *MainWindow::openRebate()
{
    if (m_rebateWindow) {
        m_area->setActiveSubWindow(m_rebateWindow);
        return qobject_cast<ui::VolumeRebateWindow *>(m_rebateWindow->widget());
    }
    auto *view = new ui::VolumeRebateWindow(m_screen.context().session, m_screen.context().outputFolder);
    QMdiSubWindow *window = m_area->addSubWindow(view);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Wide: the lines' columns, their parts last, want the room.
    window->resize(window->sizeHint().expandedTo(QSize(1280, 600)).boundedTo(m_area->viewport()->size()));
    m_rebateWindow = window;
    window->show();
    m_area->setActiveSubWindow(window);
    view->setFocus();
    return view;
}

void MainWindow::showNote(const QString &folio)
{
    if (noteBeingEntered()) {
        QMessageBox box(
            QMessageBox::Question, QStringLiteral("Nota sin guardar"),
            QStringLiteral("Hay una nota en captura sin guardar. ¿Descartarla y mostrar la nota %1?").arg(folio),
            QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Descartar y mostrar"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Seguir capturando"));
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes) {
            m_area->setActiveSubWindow(screenWindow());
            return;
        }
    }
    if (!openScreen() || !form())
        return;
    controls::Form &screenForm = form()->form();
    auto *toolbar = dynamic_cast<controls::Toolbar *>(screenForm.find(screen::fields::Controles));
    auto *field = dynamic_cast<controls::TextField *>(screenForm.find(screen::fields::txtFolio));
    if (!field)
        return;
    // A note being entered or modified, or a note shown: Cancelar gives the folio field
    // back, as the clerk would.
    if (!field->editable() && toolbar && toolbar->available(controls::Command::Cancelar))
        toolbar->click(controls::Command::Cancelar);
    if (!field->setFocus() || !field->hasFocus())
        return;
    field->selectAll();
    screenForm.typeText(folio);
    screenForm.keyStroke(controls::keys::Enter);
}

ui::FormView *MainWindow::screenView() const
{
    return m_screenView;
}

host::MainForm *MainWindow::screenForm() const
{
    return m_screenView ? form() : nullptr;
}

QMdiSubWindow *MainWindow::screenWindow() const
{
    return qobject_cast<QMdiSubWindow *>(m_screenWindow.data());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_screenWindow && event->type() == QEvent::Close) {
        if (!discardConfirmed()) {
            event->ignore();
            return true;
        }
        // Its place and column widths are kept while it exists.
        saveScreenLayout();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::noteBeingEntered() const
{
    // A form that closed itself (Salir) has nothing being entered any more.
    host::MainForm *open = form();
    if (!open || !open->isLoaded() || !open->form().isVisible())
        return false;
    const auto *toolbar = dynamic_cast<const controls::Toolbar *>(open->form().find(screen::fields::Controles));
    return toolbar && toolbar->EnEdicion();
}

bool MainWindow::discardConfirmed()
{
    if (!noteBeingEntered())
        return true;
    // The screen's draft stays either way: the next opening offers it again.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Nota sin guardar"),
                    QStringLiteral("Hay una nota en captura sin guardar. ¿Cerrar la ventana y descartarla?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setInformativeText(QStringLiteral("Al abrir la pantalla otra vez se le ofrecerá recuperarla."));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Descartar y cerrar"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Seguir capturando"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::saveScreenLayout()
{
    QSettings settings;
    if (m_screenWindow)
        settings.setValue(kScreenGeometryKey, m_screenWindow->geometry());
    if (auto *grid = m_screenView ? m_screenView->findChild<ui::GridView *>() : nullptr)
        settings.setValue(kColumnsKey, grid->sizedColumnWidths());
}

void MainWindow::screenWindowClosed()
{
    // Closing the window closes the form: it releases what it holds, and the next opening
    // gets a fresh one from the component.
    host::MainForm *closing = form();
    m_form = nullptr;
    if (closing && closing->isLoaded())
        closing->unload();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_area->closeAllSubWindows();
    if (m_screenWindow && m_screenWindow->isVisible()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState());
    QMainWindow::closeEvent(event);
}

} // namespace qmx44::apps::gui
