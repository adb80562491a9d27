// The data grid: column lookup, cell value vs text, the walk over rows, and the order
// of the editing events (Enter turned into a move is bonus/editing.scenario's).
#include "platform/controls/controls.h"
#include "platform/core/message.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::reset();
        form.setMessageSink(&sink);
        form.show();
        auto column = [](const char *name, ColumnType type, const char *format, bool shown, bool editable) {
            ColumnDef c;
            c.name = c.caption = QString::fromUtf8(name);
            c.type = type;
            c.format = QString::fromUtf8(format);
            c.shown = shown;
            c.editable = editable;
            return c;
        };
        ColumnDef key = column("Pr_Cve_Producto", ColumnType::Text, "", true, false);
        ColumnDef hidden = column("Oculta", ColumnType::Number, "", false, false);
        ColumnDef pct = column("BON_PORCENTAJE", ColumnType::Number, "#,##0.00#######", true, true);
        ColumnDef amount = column("BON_IMPORTE", ColumnType::Number, "$#,##0.00#######", true, true);
        grid.setColumns({key, hidden, pct, amount});
        for (int i = 0; i < 2; ++i) {
            grid.addRow();
            grid.column("pr_cve_producto").setText(QStringLiteral("P%1").arg(i));
            grid.column("Bon_Porcentaje").setValue(0);
            grid.column("Bon_Importe").setValue(0);
        }
        grid.KeyPress.connect([&](int &code) {
            log << QStringLiteral("13:%1").arg(QChar(code == 8 ? u'<' : char16_t(code)));
            if (code == 'a')
                code = 0;
        });
        grid.CellMoved.connect([&](int r, int c) { log << QStringLiteral("26:%1,%2").arg(r).arg(c); });
        grid.CellChange.connect([&] { log << "28:" + grid.column(grid.currentColumn()).text(); });
        grid.CellDone.connect([&](int) { log << "50:" + grid.column(grid.currentColumn()).text(); });
    }
    void TearDown() override { Desktop::reset(); }

    Form form{QStringLiteral("frmQMX44")};
    RecordingMessageSink sink;
    Grid &grid = form.add<Grid>("ssDetalle");
    QStringList log;
};

} // namespace

// Guards the editing order the totals rely on: move (26) before any key, 13 before each
// change, 28 after each accepted key, 50 last while the edited cell is still current;
// the first key replaces the old content; a zeroed key changes nothing.
TEST_F(GridTest, EditingRaisesEventsInOrder)
{
    grid.editCell(1, 2, "1a5\b0");
    EXPECT_EQ(
        (QStringList{"26:1,-1", "13:1", "28:1", "13:a", "13:5", "28:15", "13:<", "28:1", "13:0", "28:10", "50:10"}),
        log);
    EXPECT_EQ(10.0, grid.cellValue(1, 2).toDouble());
    EXPECT_EQ(QString("10.00"), grid.cellText(1, 2));
}

// Guards full precision behind the display and the walk that every screen loop uses:
// first row, then next n times, never past the last row.
TEST_F(GridTest, WalkKeepsExactValuesAndStopsOnTheLastRow)
{
    grid.moveFirst();
    grid.column("BON_IMPORTE").setValue(1.0 / 3 * 100);
    const int n = grid.rowCount();
    for (int i = 0; i < n; ++i)
        grid.moveNext();
    EXPECT_EQ(1, grid.currentRow());
    grid.moveFirst();
    EXPECT_EQ(1.0 / 3 * 100, grid.column("BON_IMPORTE").value().toDouble());
    grid.removeAll();
    EXPECT_EQ(-1, grid.currentColumn());
    EXPECT_THROW(grid.column("BON_IMPORTE").value(), RuntimeError);
}

// Guards the page: PageDown and PageUp move by the rows the view shows, no further than
// the first and last rows, keeping the column.
TEST_F(GridTest, PagesMoveByTheVisibleRows)
{
    for (int i = 0; i < 8; ++i)
        grid.addRow();
    grid.setVisibleRows(4);
    grid.gotoCell(0, 2);
    QList<int> rows;
    for (int key : {keys::PageDown, keys::PageDown, keys::PageDown, keys::PageUp}) {
        form.keyStroke(key);
        rows << grid.currentRow();
    }
    EXPECT_EQ((QList<int>{4, 8, 9, 5}), rows);
    EXPECT_EQ(2, grid.currentColumn());
}

// Guards the typed cell storage: what a number or date column cannot read stays as text
// until a value replaces it, rows past the first block keep theirs, and a cell left empty
// beside filled ones reads as empty.
TEST(GridCellsTest, CellsReadBackAsSet)
{
    Form form{QStringLiteral("frm")};
    Grid &grid = form.add<Grid>("g");
    ColumnDef number, date, text;
    number.name = "N";
    number.type = ColumnType::Number;
    date.name = "D";
    date.type = ColumnType::Date;
    text.name = "T";
    grid.setColumns({number, date, text});
    for (int i = 0; i < 300; ++i)
        grid.addRow();
    grid.setCellValue(299, 0, "abc");
    grid.setCellValue(299, 1, "sin fecha");
    grid.setCellValue(0, 0, 2.5);
    grid.setCellValue(0, 1, QDate(2024, 7, 15));
    grid.setCellText(1, 2, "PZA");
    EXPECT_EQ(QString("abc"), grid.cellText(299, 0));
    EXPECT_FALSE(grid.cellValue(299, 0).isValid());
    EXPECT_EQ(QString("sin fecha"), grid.cellText(299, 1));
    EXPECT_EQ(QVariant(2.5), grid.cellValue(0, 0));
    EXPECT_EQ(QVariant(QDate(2024, 7, 15)), grid.cellValue(0, 1));
    EXPECT_FALSE(grid.cellValue(1, 0).isValid());
    EXPECT_FALSE(grid.cellValue(298, 1).isValid());
    EXPECT_EQ(QVariant(QString()), grid.cellValue(0, 2));
    grid.setCellValue(299, 0, 0.0);
    grid.setCellValue(299, 1, QVariant());
    EXPECT_EQ(QVariant(0.0), grid.cellValue(299, 0));
    EXPECT_EQ(QString(), grid.cellText(299, 1));
    EXPECT_EQ(QString("PZA"), grid.cellText(1, 2));
}
