// The detail grid's row format: which cells the user may edit.
#include "intake/detail_format.h"
#include "platform/controls/form.h"

#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

class DetailFormatTest : public ::testing::Test {
protected:
    void SetUp() override { intake::configureDetailGrid(grid); }
    Form form{QStringLiteral("frmQMX44")};
    Grid &grid = form.add<Grid>("ssDetalle");
};

} // namespace

// Guards that only the two bonus cells accept typing after a fill, found by the
// screen's mixed-case names.
TEST_F(DetailFormatTest, OnlyTheBonusColumnsAcceptTyping)
{
    grid.addRow();
    grid.column("Precio_Descontado_Importe").setValue(250.0);
    grid.column("Bon_Porcentaje").setValue(0);
    grid.column("Bon_Importe").setValue(0);
    QStringList accepting;
    for (int i : grid.shownColumns()) {
        grid.editCell(0, i, "5");
        if (grid.cellText(0, i).startsWith(u'5') || grid.cellText(0, i).startsWith(u"$5"))
            accepting << grid.columnDef(i).name;
    }
    EXPECT_EQ((QStringList{"BON_PORCENTAJE", "BON_IMPORTE"}), accepting);
}
