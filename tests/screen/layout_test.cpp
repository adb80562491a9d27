// The layout on resize: what follows the form's size, what keeps its place, a partly
// applied layout on a tiny form, and the grid's columns fitted to its width.
#include "screen_fixture.h"

#include "platform/business/ajuste_grid.h"
#include "screen/form_design.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

struct Box {
    float left, top, width, height;
    bool operator==(const Box &) const = default;
};

void PrintTo(const Box &b, std::ostream *os)
{
    *os << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { p.abrir(); }

    Box box(const char *name)
    {
        auto *c = p.form().find(QString::fromLatin1(name));
        return {c->left(), c->top(), c->width(), c->height()};
    }
    int shownWidth()
    {
        auto &g = p.frm->ssDetalle();
        int sum = 0;
        for (int i : g.shownColumns())
            sum += g.columnDef(i).width;
        return sum;
    }

    test::PantallaDemo p{"sqlite"};
};

// Guards against the first layout moving anything away from the design.
TEST_F(LayoutTest, DesignSizeKeepsTheDesignPositions)
{
    const auto &d = screen::mainFormDesign();
    EXPECT_EQ(p.form().clientWidth(), float(d.clientWidth));
    EXPECT_EQ(box("ssTabFichas"), (Box{120, 1080, 11000, 7000}));
    EXPECT_EQ(box("ssDetalle"), (Box{0, 120, 11000, 5380}));
    EXPECT_EQ(box("frTotal"), (Box{7400, 5600, 3600, 1200}));
    EXPECT_EQ(shownWidth(), 11000 - business::AjusteGrid::kMargen);
}

// Guards against a part that does not follow the width, the totals frame leaving the
// grid's right edge, or its top moving with the width.
TEST_F(LayoutTest, WideningByAThousandWidensEverythingByAThousand)
{
    const Box tab = box("ssTabFichas"), grid = box("ssDetalle"), total = box("frTotal");
    const float sh0 = box("sh0").width, fr1 = box("fr1").width;
    p.form().setClientSize(p.form().clientWidth() + 1000, p.form().clientHeight());
    EXPECT_EQ(box("ssTabFichas"), (Box{tab.left, tab.top, tab.width + 1000, tab.height}));
    EXPECT_EQ(box("fr0").width, tab.width + 1000);
    EXPECT_EQ(box("fr1").width, fr1 + 1000);
    EXPECT_EQ(box("sh0").width, sh0 + 1000);
    EXPECT_EQ(box("sh1").width, sh0 + 1000);
    EXPECT_EQ(box("ssDetalle"), (Box{grid.left, grid.top, grid.width + 1000, grid.height}));
    EXPECT_EQ(box("frTotal"), (Box{total.left + 1000, total.top, total.width, total.height}));
    EXPECT_EQ(shownWidth(), int(grid.width) + 1000 - business::AjusteGrid::kMargen);
    // The header fields keep their places and sizes.
    EXPECT_EQ(box("txt_Pv_Razon_Social").width, 9120.0f);
}

// Guards against the grid or the totals frame not following the height.
TEST_F(LayoutTest, ATallerFormMakesTheGridTallerAndMovesTheTotalsDown)
{
    const Box grid = box("ssDetalle"), total = box("frTotal");
    p.form().setClientSize(p.form().clientWidth(), p.form().clientHeight() + 500);
    EXPECT_EQ(box("ssDetalle"), (Box{grid.left, grid.top, grid.width, grid.height + 500}));
    EXPECT_EQ(box("frTotal"), (Box{total.left, total.top + 500, total.width, total.height}));
    EXPECT_EQ(box("fr0").height, 7500.0f);
}

// Guards against a refused step stopping the layout (or reporting): on a tiny form the
// widths still follow while the heights that would be negative are skipped.
TEST_F(LayoutTest, ShrinkingFarAppliesWhatItCanSilently)
{
    const Box grid = box("ssDetalle"), total = box("frTotal");
    p.form().setClientSize(5000, 1500);   // tab height 1500-1080-100 = 320
    EXPECT_EQ(box("ssTabFichas").width, 4760.0f);
    EXPECT_EQ(box("ssTabFichas").height, 320.0f);
    EXPECT_EQ(box("ssDetalle").width, 4760.0f);
    EXPECT_EQ(box("ssDetalle").height, grid.height);   // 320-120-1200-300 < 0: skipped
    EXPECT_EQ(box("frTotal").top, total.top);          // from the unchanged grid
    EXPECT_EQ(box("frTotal").left, 4760.0f - total.width);

    p.form().setClientSize(100, 100);                  // even the tab's size is refused
    EXPECT_EQ(box("ssTabFichas").width, 4760.0f);
    EXPECT_TRUE(p.sink->messages().empty());
}

} // namespace
