// Each kind of view bound both ways: a model change shows in its widget, and the clerk's
// keys and clicks reach the model (never the widget's own editing or focus chain).
#include "platform/controls/controls.h"
#include "tests/support/test_db.h"
#include "ui/catalogue_search.h"
#include "ui/dialog_presenter.h"
#include "ui/form_view.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

// A small form: two fields with tab-on-enter, a locked one, a date, a frame with two
// options, a tab control whose pages hold one frame each.
struct FormViewTest : ::testing::Test {
    Form form{QStringLiteral("frmPrueba")};
    TextField &folio = form.add<TextField>(QStringLiteral("txtFolio"));
    TextField &next = form.add<TextField>(QStringLiteral("txtSiguiente"));
    DateField &date = form.add<DateField>(QStringLiteral("dpFecha"));
    Frame &frame = form.add<Frame>(QStringLiteral("Frame1"));
    OptionButton &first = form.add<OptionButton>(QStringLiteral("Option1"));
    OptionButton &second = form.add<OptionButton>(QStringLiteral("Option2"));
    TabControl &tabs = form.add<TabControl>(QStringLiteral("ssTab"));
    Frame &page0 = form.add<Frame>(QStringLiteral("fr0"));
    Frame &page1 = form.add<Frame>(QStringLiteral("fr1"));
    std::unique_ptr<ui::FormView> view;

    void SetUp() override
    {
        folio.applySetting(QStringLiteral("mayusculas"), true);
        folio.applySetting(QStringLiteral("tabonenter"), true);
        frame.setCaption(QStringLiteral("Prorratear por:"));
        for (OptionButton *o : {&first, &second})
            o->setContainer(&frame), o->setWidth(1200), o->setHeight(255), o->setCaption(o->name());
        first.setTop(300);
        second.setTop(600);
        tabs.setPages({QStringLiteral("Encabezado"), QStringLiteral("Detalle")});
        tabs.applySetting(QStringLiteral("pagecontrols"),
                          QVariantList{QStringList{QStringLiteral("fr0")}, QStringList{QStringLiteral("fr1")}});
        for (Frame *f : {&page0, &page1})
            f->setContainer(&tabs);
        for (Control *c : std::initializer_list<Control *>{&folio, &next, &date, &frame, &tabs})
            c->setWidth(1500), c->setHeight(c == &frame || c == &tabs ? 1000 : 315);
        frame.setTop(1000);
        tabs.setTop(2200);
        form.setClientSize(6000, 4000);
        form.show();
        folio.setFocus();
        view = std::make_unique<ui::FormView>(form);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    template <class W>
    W *widget(const Control &c)
    {
        return qobject_cast<W *>(view->widgetFor(c));
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

// A text field that edited itself, or moved the focus by Qt's own chain, would part from
// the model: keys go through the model (upper case applied there), Enter moves on as Tab.
TEST_F(FormViewTest, TextFieldFollowsTheModelAndTypesThroughIt)
{
    auto *edit = widget<QLineEdit>(folio);
    ASSERT_TRUE(edit);
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("ab1"));
    EXPECT_EQ(QStringLiteral("AB1"), folio.text());
    EXPECT_EQ(QStringLiteral("AB1"), edit->text());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(&next, form.focused());
    EXPECT_TRUE(widget<QLineEdit>(next)->hasFocus());
    // Backtab is the form's too: back to the folio, whose text is then selected whole.
    QTest::keyClick(widget<QLineEdit>(next), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(&folio, form.focused());
    EXPECT_EQ(QStringLiteral("AB1"), edit->selectedText());

    folio.setText(QStringLiteral("Z9"));
    EXPECT_EQ(QStringLiteral("Z9"), edit->text());
    folio.setLocked(true);
    EXPECT_TRUE(edit->isReadOnly());
    QTest::keyClicks(edit, QStringLiteral("q"));
    EXPECT_EQ(QStringLiteral("Z9"), folio.text());
}

// A click asks the model for the focus; a field the model refuses keeps no Qt focus.
TEST_F(FormViewTest, ClickFocusesThroughTheModel)
{
    QTest::mouseClick(widget<QLineEdit>(next), Qt::LeftButton);
    EXPECT_EQ(&next, form.focused());
    next.setEnabled(false);
    EXPECT_FALSE(widget<QLineEdit>(next)->isEnabled());
}

// A date picked in the widget must reach the model, and a date written by code show.
TEST_F(FormViewTest, DateFieldBothWays)
{
    auto *edit = widget<QDateEdit>(date);
    date.setValue(QDate(2024, 7, 15));
    EXPECT_EQ(QDate(2024, 7, 15), edit->date());
    edit->setDate(QDate(2024, 8, 1)); // what the calendar pop-up does
    EXPECT_EQ(QDate(2024, 8, 1), date.value());
}

// Option buttons: the model keeps one selected; Down reaches the screen's KeyDown; a
// disabled frame disables what it holds.
TEST_F(FormViewTest, OptionButtonsAndTheirFrame)
{
    int keyDown = 0;
    second.KeyDown.connect([&](int &key, int &) { keyDown = key; });
    auto *radio1 = widget<QRadioButton>(first);
    auto *radio2 = widget<QRadioButton>(second);
    QTest::mouseClick(radio2, Qt::LeftButton);
    EXPECT_TRUE(second.selected());
    EXPECT_TRUE(radio2->isChecked());
    QTest::keyClick(radio2, Qt::Key_Down);
    EXPECT_EQ(keys::Down, keyDown);
    first.setSelected(true);
    EXPECT_TRUE(radio1->isChecked());
    EXPECT_FALSE(radio2->isChecked());
    frame.setEnabled(false);
    EXPECT_FALSE(radio1->isEnabled());
}

// The tab strip shows the model's page (and only that page's frame); a click changes it.
TEST_F(FormViewTest, TabBarShowsTheModelsPage)
{
    auto *bar = view->widgetFor(tabs)->findChild<QTabBar *>();
    ASSERT_TRUE(bar);
    tabs.setActivePage(1);
    EXPECT_EQ(1, bar->currentIndex());
    EXPECT_TRUE(view->widgetFor(page1)->isVisible());
    EXPECT_FALSE(view->widgetFor(page0)->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(0, tabs.activePage());
    EXPECT_TRUE(view->widgetFor(page0)->isVisible());
}

// The dialog's window lasts until the model hides the dialog; its close button cancels
// through the dialog's own Escape.
TEST_F(FormViewTest, DialogRunsUntilTheModelHidesIt)
{
    Form dialog(QStringLiteral("frmDialogo"));
    auto &accept = dialog.add<Button>(QStringLiteral("cmdAceptar"));
    accept.setWidth(1200), accept.setHeight(375);
    accept.Click.connect([&] { dialog.hide(); });
    int escapes = 0;
    dialog.KeyUp.connect([&](int &key, int &) {
        if (key == keys::Escape && ++escapes)
            dialog.hide();
    });
    ui::DialogPresenter presenter;
    form.setPresenter(&presenter);
    QTimer::singleShot(0, [&] {
        QWidget *window = shownDialog();
        ASSERT_TRUE(window);
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
    });
    form.showModal(dialog);
    EXPECT_FALSE(dialog.isVisible());
    QTimer::singleShot(0, [] { shownDialog()->close(); });
    form.showModal(dialog);
    EXPECT_EQ(1, escapes);
}

// The catalogue search lists the field's catalogue, filtered as typed; Enter picks.
TEST_F(FormViewTest, CatalogueSearchPicksByEnter)
{
    auto db = test::freshDatabase("sqlite");
    form.setConnection(db.get());
    next.setSqlLista(QStringLiteral("SELECT 'A1' AS CLAVE, 'Uno' AS DESCRIPCION UNION ALL SELECT 'B2', 'Dos'"));
    int rows = -1;
    QTimer::singleShot(0, [&] {
        auto *search = QApplication::activeModalWidget();
        ASSERT_TRUE(search);
        auto *filter = search->findChild<QLineEdit *>(QStringLiteral("filter"));
        QTest::keyClicks(filter, QStringLiteral("do"));
        rows = search->findChild<QTreeWidget *>()->topLevelItemCount();
        QTest::keyClick(filter, Qt::Key_Return);
    });
    EXPECT_TRUE(ui::searchCatalogue(next, view.get()));
    EXPECT_EQ(1, rows);
    EXPECT_EQ(QStringLiteral("B2"), next.text());
}
