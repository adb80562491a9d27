// The desktop host's built-in walk-through: its scenario run through the real main
// window writes a picture of each step and the printed note, and the window remembers
// its geometry and the grid's column widths. (What the walk-through saves is the
// scenario test's: the same scenario runs there through both drivers.)
#include "apps/gui/main_window.h"
#include "apps/gui/walkthrough.h"
#include "component/prog_id.h"
#include "platform/business/note_register_model.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "tests/support/test_db.h"
#include "ui/note_register_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QRect>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qmx44;

// Guards against a walk-through that stops short or pictures nothing, and against the
// windows forgetting their geometry and the grid's column widths.
TEST(GuiHostTest, WalkthroughPicturesEachStepAndRemembersTheWindow)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    test::FreshDatabase fresh("sqlite", /*demo=*/true);
    fresh.closeConnection();
    std::shared_ptr<db::Conexion> database = db::open(fresh.connectionString());

    QStringList files, problems;
    const bool ok = apps::gui::runWalkthrough(
        database, QStringLiteral("CXP01"), QStringLiteral(QMX44_COMPONENT_FILE), folder.filePath(QStringLiteral("out")),
        [&](const QString &line) { (line.startsWith(QLatin1String("problem:")) ? problems : files) << line; });
    EXPECT_TRUE(ok) << problems.join(u'\n').toStdString();
    EXPECT_EQ(files.filter(QStringLiteral(".pdf")).size(), 1) << "the saved note, printed";
    EXPECT_GE(files.filter(QStringLiteral(".png")).size(), 12);
    for (const QString &file : files)
        EXPECT_TRUE(QFileInfo(file).size() > 0) << file.toStdString();

    QSettings settings;
    EXPECT_TRUE(settings.contains(QStringLiteral("window/geometry")));
    EXPECT_TRUE(settings.contains(QStringLiteral("screen/gridColumnWidths")));
    EXPECT_TRUE(settings.value(QStringLiteral("screen/geometry")).toRect().isValid());
}

// Guards against closing the window on a note being entered losing it without a word,
// asking twice (the main window, then the screen's window), or the answer losing the
// draft the next opening offers.
TEST(GuiHostTest, ClosingOnANoteBeingEnteredAsksOnceAndKeepsTheDraft)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    test::FreshDatabase fresh("sqlite", /*demo=*/true);
    fresh.closeConnection();
    auto context = apps::gui::makeContext(db::open(fresh.connectionString()), QStringLiteral("CXP01"), folder.path());
    context->draftDatabase = db::parseConnectionString(fresh.connectionString()).identity();
    host::ScreenSession screen(context, component::ProgId, QStringLiteral(QMX44_COMPONENT_FILE));
    apps::gui::MainWindow window(screen, QStringLiteral("demo"));
    window.show();
    ASSERT_TRUE(window.openScreen());
    QCoreApplication::processEvents();
    auto &toolbar = dynamic_cast<controls::Toolbar &>(*window.screenForm()->form().find(QStringLiteral("Controles")));
    toolbar.click(controls::Command::Nuevo);
    QCoreApplication::processEvents();

    int asked = 0;
    bool discard = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++asked;
            box->button(discard ? QMessageBox::Yes : QMessageBox::No)->click();
        }
    });
    answer.start(10);
    window.close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window.screenWindow() != nullptr) << "kept open: the clerk goes on entering the note";
    discard = true;
    window.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(window.screenWindow(), nullptr);
    const QString drafts = QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath(QStringLiteral("qmx44/drafts"));
    EXPECT_EQ(QDir(drafts).entryList({QStringLiteral("*.json")}).size(), 1);
}

// Guards against the register's Enter showing another note than the one selected, or
// showing it past the screen's own folio entry (the screen would not be in its shown
// mode, nor its folio field hold the folio), and against a register gone stale when the
// clerk comes back to it.
TEST(GuiHostTest, EnterInTheRegisterShowsTheNoteInTheScreen)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    test::FreshDatabase fresh("sqlite", /*demo=*/true);
    fresh.closeConnection();
    auto context = apps::gui::makeContext(db::open(fresh.connectionString()), QStringLiteral("CXP01"), folder.path());
    host::ScreenSession screen(context, component::ProgId, QStringLiteral(QMX44_COMPONENT_FILE));
    apps::gui::MainWindow window(screen, QStringLiteral("demo"));
    window.show();
    window.registerAction()->trigger();
    auto *list = window.findChild<ui::NoteRegisterWindow *>();
    ASSERT_TRUE(list);
    // Live notes, newest first: 0000000003, 0000000001.
    ASSERT_EQ(list->model().rowCount(), 2);
    list->table()->setCurrentIndex(list->model().index(1, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list->table(), &enter);
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.screenForm());
    const controls::Form &form = window.screenForm()->form();
    EXPECT_EQ(dynamic_cast<controls::TextField &>(*form.find(QStringLiteral("txtFolio"))).text(),
              QStringLiteral("0000000001"));
    EXPECT_EQ(dynamic_cast<controls::TextField &>(*form.find(QStringLiteral("txt_Co_Folio"))).text(),
              QStringLiteral("C000000002"));
    auto &toolbar = dynamic_cast<controls::Toolbar &>(*form.find(QStringLiteral("Controles")));
    EXPECT_EQ(toolbar.Folio(), QStringLiteral("0000000001")) << "the toolbar stands for the shown note";

    // Another clerk saves a note meanwhile: back in the register, it is listed, and the
    // clerk is still on the note he left.
    auto other = db::open(fresh.connectionString());
    other->run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Pv_Cve_Proveedor) "
                              "VALUES ('0000000009', 1, 'C000000004', 'P0004')"));
    window.registerAction()->trigger();
    EXPECT_EQ(list->model().rowCount(), 3);
    EXPECT_EQ(list->model().folio(list->table()->currentIndex().row()), QStringLiteral("0000000001"));
}
