// What the widget driver's scenarios do not reach in a form's view: a dialog's window
// closed by its title bar, the catalogue search a field opens, text from input methods
// and AltGr, the mouse on a field's text, and a print preview beside the screen.
#include "platform/business/activity_log.h"
#include "platform/controls/controls.h"
#include "tests/support/test_db.h"
#include "ui/catalogue_search.h"
#include "ui/dialog_presenter.h"
#include "ui/form_view.h"
#include "ui/print_preview.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

// A small form with one text field.
struct FormViewTest : ::testing::Test {
    Form form{QStringLiteral("frmPrueba")};
    TextField &next = form.add<TextField>(QStringLiteral("txtSiguiente"));
    std::unique_ptr<ui::FormView> view;

    void SetUp() override
    {
        next.setWidth(1500), next.setHeight(315);
        form.setClientSize(6000, 4000);
        form.show();
        view = std::make_unique<ui::FormView>(form);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
};

// The dialog window being shown (a window-modal one is not the application's modal widget).
QWidget *shownDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QDialog *>(w))
            return w;
    return nullptr;
}

} // namespace

// A dialog closed by its window's close button must cancel through the dialog's own
// Escape, not leave the model showing a dialog no window holds.
TEST_F(FormViewTest, DialogsCloseButtonCancelsThroughEscape)
{
    Form dialog(QStringLiteral("frmDialogo"));
    int escapes = 0;
    dialog.KeyUp.connect([&](int &key, int &) {
        if (key == keys::Escape && ++escapes)
            dialog.hide();
    });
    ui::DialogPresenter presenter;
    form.setPresenter(&presenter);
    QTimer::singleShot(0, [] { shownDialog()->close(); });
    form.showModal(dialog);
    EXPECT_EQ(1, escapes);
    EXPECT_FALSE(dialog.isVisible());
}

// The catalogue search lists the field's catalogue, filtered once the typing pauses, with
// a column for each the catalogue adds; Enter picks.
TEST_F(FormViewTest, CatalogueSearchPicksByEnter)
{
    auto db = test::freshDatabase("sqlite");
    form.setConnection(db.get());
    next.setSqlLista(QStringLiteral("SELECT 'A1' AS CLAVE, 'Uno' AS DESCRIPCION, 1234.5 AS TOTAL "
                                    "UNION ALL SELECT 'B2', 'Dos', 7"));
    int rows = -1;
    QString total;
    QTimer::singleShot(0, [&] {
        auto *search = QApplication::activeModalWidget();
        ASSERT_TRUE(search);
        auto *filter = search->findChild<QLineEdit *>(QStringLiteral("filter"));
        auto *list = search->findChild<QTreeWidget *>();
        total = list->topLevelItem(0)->text(2);
        QTest::keyClicks(filter, QStringLiteral("do"));
        EXPECT_EQ(2, list->topLevelItemCount()); // still typing
        QTRY_COMPARE(list->topLevelItemCount(), 1);
        rows = list->topLevelItemCount();
        QTest::keyClick(filter, Qt::Key_Return);
    });
    EXPECT_TRUE(ui::searchCatalogue(next, view.get()));
    EXPECT_EQ(1, rows);
    EXPECT_EQ(QStringLiteral("$1,234.50"), total);
    EXPECT_EQ(QStringLiteral("B2"), next.text());
}

// Guards against text that does not come as a plain key press being lost: a dead key's
// composition (a commit string, its preedit only shown), and AltGr characters, reported
// as Ctrl+Alt or as the group switch (where Ctrl+Alt with no character stays a chord).
TEST_F(FormViewTest, ComposedAndAltGrCharactersReachTheModel)
{
    next.setFocus();
    QWidget *edit = view->widgetFor(next);
    QTest::keyClicks(edit, QStringLiteral("Devoluci"));
    QInputMethodEvent composing(QStringLiteral("´"), {});
    QCoreApplication::sendEvent(edit, &composing);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ó"));
    QCoreApplication::sendEvent(edit, &composed);
    QTest::keyClick(edit, Qt::Key_N);
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char *> altGr[] = {
        {Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@"},
        {Qt::Key_E, Qt::GroupSwitchModifier, "€"},
        {Qt::Key_1, Qt::ControlModifier | Qt::AltModifier, ""}};
    for (const auto &[key, modifiers, text] : altGr) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString::fromUtf8(text));
        QCoreApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(QStringLiteral("Devolución@€"), next.text());
}

// Guards the mouse on a field's text: a click places the model's caret, a drag selects
// from there, a double click selects the word.
TEST_F(FormViewTest, ClicksAndDragsPlaceTheCaretAndSelect)
{
    next.setText(QStringLiteral("ABC DEF"));
    next.setFocus();
    auto *edit = qobject_cast<QLineEdit *>(view->widgetFor(next));
    const auto at = [edit](int position) {
        for (int x = 0; x < edit->width(); ++x)
            if (edit->cursorPositionAt(QPoint(x, edit->height() / 2)) == position)
                return QPoint(x, edit->height() / 2);
        return QPoint();
    };
    QTest::mouseClick(edit, Qt::LeftButton, {}, at(1));
    EXPECT_EQ(1, next.cursorPosition());
    EXPECT_EQ(0, next.selectionLength());
    QMouseEvent drag(QEvent::MouseMove, at(5), edit->mapToGlobal(at(5)), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(edit, &drag);
    EXPECT_EQ(QStringLiteral("BC D"), next.selectedText());
    EXPECT_EQ(QStringLiteral("BC D"), edit->selectedText());
    QTest::mouseDClick(edit, Qt::LeftButton, {}, at(6));
    EXPECT_EQ(QStringLiteral("DEF"), next.selectedText());
}

// Guards against the preview of a printed note taking the keyboard from the screen:
// after a save the clerk types the next folio straight away.
TEST_F(FormViewTest, PrintPreviewLeavesTheKeyboardWithTheScreen)
{
    next.setFocus();
    business::PrintedDocument printed;
    printed.html = QStringLiteral("<p>Nota</p>");
    ui::previewPrinted(printed, view.get());
    QTest::qWait(100);
    EXPECT_TRUE(shownDialog());
    EXPECT_EQ(view.get(), QApplication::activeWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
    EXPECT_EQ(QStringLiteral("7"), next.text());
    shownDialog()->close();
}
