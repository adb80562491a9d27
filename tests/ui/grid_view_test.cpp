// The grid's view: what the model holds is drawn as the screen shows it (which columns,
// captions, formats, alignment, the editable look); keys and clicks through the view are
// the widget driver's scenarios'.
#include "platform/business/ajuste_grid.h"
#include "platform/controls/controls.h"
#include "platform/core/message.h"
#include "ui/grid_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::reset();
        form.setMessageSink(&sink);
        form.show();
        auto column = [](const char *name, ColumnType type, const char *format, bool shown, bool editable) {
            ColumnDef c;
            c.name = QString::fromUtf8(name);
            c.caption = c.name.toUpper();
            c.type = type;
            c.format = QString::fromUtf8(format);
            c.shown = shown;
            c.editable = editable;
            c.alignment = type == ColumnType::Number ? Alignment::Right : Alignment::Left;
            return c;
        };
        grid.setColumns({column("Producto", ColumnType::Text, "", true, false),
                         column("Oculta", ColumnType::Number, "", false, false),
                         column("Bon_Importe", ColumnType::Number, "$#,##0.00", true, true)});
        for (int i = 0; i < 3; ++i) {
            grid.addRow();
            grid.column("Producto").setText(QStringLiteral("P%1").arg(i));
            grid.column("Bon_Importe").setValue(0);
        }
        view.resize(600, 300);
        view.show();
        QCoreApplication::processEvents();
    }
    void TearDown() override { Desktop::reset(); }
    QString shown(int row, int viewColumn) const { return view.model()->index(row, viewColumn).data().toString(); }

    Form form{QStringLiteral("frmQMX44")};
    RecordingMessageSink sink;
    Grid &grid = form.add<Grid>("grdBonificacion");
    ui::GridView view{grid};
};

} // namespace

// Guards the model-to-view direction: shown columns only, captions, formats, alignment,
// editable look, cell and current-cell changes, and rows added after the view was built.
TEST_F(GridViewTest, ShowsWhatTheModelHolds)
{
    ASSERT_EQ(2, view.model()->columnCount());
    EXPECT_EQ(QString("BON_IMPORTE"), view.model()->headerData(1, Qt::Horizontal).toString());
    EXPECT_EQ(QString("$0.00"), shown(1, 1));
    EXPECT_TRUE(view.model()->flags(view.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(view.model()->flags(view.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(int(Qt::AlignRight | Qt::AlignVCenter), view.model()->index(0, 1).data(Qt::TextAlignmentRole).toInt());

    grid.setCellValue(1, 2, 1234.5);
    EXPECT_EQ(QString("$1,234.50"), shown(1, 1));
    grid.setCurrentRow(0);
    grid.setCurrentColumn(2);
    EXPECT_EQ(view.model()->index(0, 1), view.currentIndex());

    for (int i = 0; i < 500; ++i)
        grid.addRow();
    QCoreApplication::processEvents();
    EXPECT_EQ(503, view.model()->rowCount());
    EXPECT_EQ(view.model()->index(502, 1), view.currentIndex());
}

// Guards the clerk's column widths: a dragged width survives the grid being fitted to a
// new size (the other shown column takes what is left), and comes back by column name
// (what the host keeps in the user's settings) after the columns were set anew.
TEST_F(GridViewTest, SizedColumnsSurviveFittingAndComeBack)
{
    business::AjusteGrid fit;
    grid.setWidth(9000);
    fit.Ajustar(grid, QStringLiteral("1"));
    view.horizontalHeader()->resizeSection(0, 200); // the clerk drags the edge
    const int twips = grid.columnDef(0).width;
    grid.setWidth(12000);
    fit.Ajustar(grid, QStringLiteral("1"));
    EXPECT_EQ(200, view.horizontalHeader()->sectionSize(0));
    EXPECT_EQ(12000 - business::AjusteGrid::kMargin - twips, grid.columnDef(2).width);

    const QVariantMap kept = view.sizedColumnWidths();
    EXPECT_EQ((QVariantMap{{QStringLiteral("Producto"), twips}}), kept);
    std::vector<ColumnDef> columns;
    for (int i = 0; i < grid.columnCount(); ++i)
        columns.push_back(grid.columnDef(i));
    columns[0].width = 3200;
    columns[0].userSized = false;
    grid.setColumns(columns);
    view.restoreSizedColumnWidths(kept);
    EXPECT_EQ(twips, grid.columnDef(0).width);
    EXPECT_TRUE(grid.columnDef(0).userSized);
}

// Guards against captions and values cut off at the platform's font: a column designed
// narrower than its caption or its texts is shown wide enough for them, but a width the
// clerk drags, however narrow, is the clerk's.
TEST_F(GridViewTest, DesignedColumnsShowTheirCaptionAndTextsWhole)
{
    std::vector<ColumnDef> columns;
    for (int i = 0; i < grid.columnCount(); ++i)
        columns.push_back(grid.columnDef(i));
    columns[0].width = 60;
    columns[2].width = 60;
    grid.setColumns(columns);
    grid.addRow();
    grid.column("Bon_Importe").setValue(1234567.5);
    QCoreApplication::processEvents();
    const QFontMetrics header = view.horizontalHeader()->fontMetrics();
    EXPECT_GT(view.horizontalHeader()->sectionSize(0), header.horizontalAdvance(QStringLiteral("PRODUCTO")));
    EXPECT_GT(view.horizontalHeader()->sectionSize(1),
              view.fontMetrics().horizontalAdvance(QStringLiteral("$1,234,567.50")));

    view.horizontalHeader()->resizeSection(0, 40);
    EXPECT_EQ(40, view.horizontalHeader()->sectionSize(0));

    // Texts written later (a proration's percentages) widen their column, unless the
    // clerk sized it.
    grid.column("Bon_Importe").setValue(987654321.25);
    grid.column("Producto").setText(QStringLiteral("PRODUCTO DE NOMBRE LARGO"));
    QCoreApplication::processEvents();
    EXPECT_GT(view.horizontalHeader()->sectionSize(1),
              view.fontMetrics().horizontalAdvance(QStringLiteral("$987,654,321.25")));
    EXPECT_EQ(40, view.horizontalHeader()->sectionSize(0));
}
