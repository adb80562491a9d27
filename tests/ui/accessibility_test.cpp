// The screen's form as assistive technology finds it.
#include "intake/detail_format.h"
#include "platform/controls/controls.h"
#include "screen/field_names.h"
#include "screen/form_design.h"
#include "ui/form_view.h"

#include <QAccessible>
#include <QLabel>
#include <functional>
#include <gtest/gtest.h>

using namespace qmx44;
namespace fields = screen::fields;

namespace {

// Every object under `object`, the grid's cells left to its table interface (a cell
// without text is named by its column's header there).
void walk(QAccessibleInterface *object, const std::function<void(QAccessibleInterface *)> &visit)
{
    visit(object);
    if (object->tableInterface())
        return;
    for (int i = 0; i < object->childCount(); ++i)
        if (QAccessibleInterface *child = object->child(i))
            walk(child, visit);
}

} // namespace

// Guards against a control a clerk can reach by keyboard that a screen reader cannot
// name; against labels that do not lead to their field or use the menus' Alt letters;
// and against a grid that hides its rows, columns and cells.
TEST(AccessibilityTest, EveryFocusableObjectOfTheScreenHasAName)
{
    controls::Form form(fields::frmQMX44);
    screen::buildForm(form, screen::mainFormDesign());
    auto &grid = form.get<controls::Grid>(fields::ssDetalle);
    intake::configureDetailGrid(grid);
    grid.addRow();
    grid.setCellText(0, 0, QStringLiteral("BT-001"));
    form.show();
    ui::FormView view(form);
    view.show();

    QStringList unnamed;
    for (int page : {0, 1}) {
        form.get<controls::TabControl>(fields::ssTabFichas).setActivePage(page);
        walk(QAccessible::queryAccessibleInterface(&view), [&](QAccessibleInterface *object) {
            if (object->state().focusable && !object->state().invisible && object->text(QAccessible::Name).isEmpty())
                unnamed << (object->object() ? object->object()->objectName() : QString::number(object->role()));
        });
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u' ').toStdString();

    for (const auto &control : form.controls()) {
        const auto *label = dynamic_cast<const controls::Label *>(control.get());
        // The labels of what the note will do show figures; they name no field.
        if (!label || label->container() == form.find(fields::frEfecto))
            continue;
        const auto *shown = qobject_cast<QLabel *>(view.widgetFor(*label));
        ASSERT_TRUE(shown && label->buddy());
        EXPECT_EQ(view.widgetFor(*label->buddy()), shown->buddy()) << label->name().toStdString();
        EXPECT_FALSE(QStringLiteral("ACV").contains(label->mnemonic())) << label->name().toStdString();
        EXPECT_TRUE(label->caption().contains(label->mnemonic(), Qt::CaseInsensitive)) << label->name().toStdString();
        EXPECT_FALSE(view.widgetFor(*label->buddy())->accessibleDescription().isEmpty());
    }
    EXPECT_EQ(QStringLiteral("Causa"), view.widgetFor(fields::txt_Cn_Cve_Causa_Nota)->accessibleName());

    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(view.widgetFor(grid))->tableInterface();
    ASSERT_TRUE(table);
    EXPECT_EQ(1, table->rowCount());
    EXPECT_EQ(int(grid.shownColumns().size()), table->columnCount());
    EXPECT_EQ(QStringLiteral("BT-001"), table->cellAt(0, 0)->text(QAccessible::Name));
}
