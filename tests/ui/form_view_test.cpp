// What the widget driver's scenarios do not reach in a form's view: a dialog's window
// closed by its title bar, and the catalogue search a field opens.
#include "platform/controls/controls.h"
#include "tests/support/test_db.h"
#include "ui/catalogue_search.h"
#include "ui/dialog_presenter.h"
#include "ui/form_view.h"

#include <QApplication>
#include <QDialog>
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
