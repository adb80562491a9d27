#pragma once
// The desktop host's main window: the purchasing module's menu, which opens the screen by
// its programmatic identifier through the component registry as any host does, the
// screen's form in a sub-window of a multiple-document area, a list of the open windows,
// the notes register, the volume rebate, a status bar with who works where and on what,
// and the window's geometry, the screen's window geometry and the widths of the grid's
// columns the clerk sized remembered between runs.
#include "platform/db/connection.h"
#include "platform/host/screen_session.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace qmx44::ui {
class FormView;
class NoteRegisterWindow;
class VolumeRebateWindow;
} // namespace qmx44::ui

namespace qmx44::apps::gui {

// The host's context for a signed-in `user`: messages as message boxes, dialogs in
// windows of their own, printed notes previewed and queried records shown. Printed
// documents are written to `outputFolder`.
std::shared_ptr<host::PlatformContext> makeContext(std::shared_ptr<db::Conexion> database, const QString &user,
                                                   const QString &outputFolder);

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `databaseName` is what the status bar shows of the connection.
    MainWindow(host::ScreenSession &screen, const QString &databaseName, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the screen (or brings its window forward when it is open already). The
    // sub-window, or null when the component gave no screen (a message box said why).
    QMdiSubWindow *openScreen();
    // The screen's form view while its window is open, else null.
    ui::FormView *screenView() const;
    // The screen's sub-window while it is open, else null.
    QMdiSubWindow *screenWindow() const;
    // The screen's form while its window is open, else null.
    host::MainForm *screenForm() const;
    QMdiArea *mdiArea() const { return m_area; }
    QAction *screenAction() const { return m_screenAction; }
    QAction *registerAction() const { return m_registerAction; }
    QAction *rebateAction() const { return m_rebateAction; }

    // Opens the notes register (or brings its window forward).
    ui::NoteRegisterWindow *openRegister();
    // Opens the volume rebate's window (or brings it forward).
    ui::VolumeRebateWindow *openRebate();
    // Shows the saved note `folio` in the screen, opening it when closed, as the clerk
    // would: the folio typed into the screen's folio field and Enter. A note being
    // entered there is discarded first, once the clerk agrees.
    void showNote(const QString &folio);
    host::PlatformContext &context() const { return m_screen.context(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildStatusBar(const QString &databaseName);
    void fillWindowMenu();
    // The sub-window was closed (by the clerk or by the screen's Salir): the form goes.
    void screenWindowClosed();
    // The screen's window geometry and the grid's columns the clerk sized, in the settings.
    void saveScreenLayout();
    // A note is being entered or modified on the open screen.
    bool noteBeingEntered() const;
    // The clerk closes the screen's window (or the main window) on a note being entered:
    // asks once whether to discard it; false keeps the window open.
    bool discardConfirmed();

    host::ScreenSession &m_screen;
    QMdiArea *m_area = nullptr;
    QMenu *m_windowMenu = nullptr;
    QAction *m_screenAction = nullptr;
    QAction *m_registerAction = nullptr;
    QPointer<QMdiSubWindow> m_registerWindow;
    QAction *m_rebateAction = nullptr;
    QPointer<QMdiSubWindow> m_rebateWindow;
    // The form of the last opening, while the component has not destroyed it (closed).
    host::MainForm *form() const { return m_screen.formObject() ? m_form : nullptr; }
    host::MainForm *m_form = nullptr;
    // Held as a widget: the window's events still reach the filter while it is being
    // destroyed, when it is no longer a QMdiSubWindow.
    QPointer<QWidget> m_screenWindow;
    QPointer<ui::FormView> m_screenView;
    bool m_screenActive = false;   // the screen's window is the area's active one
    bool m_registerActive = false; // the register's window is
};

} // namespace qmx44::apps::gui
