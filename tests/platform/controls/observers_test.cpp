// The view channel: every change a view must redraw reaches each observer, apart from
// the screen's events and without any of them firing (the grid's cells and rows reaching
// its view are grid_view_test's).
#include "platform/controls/controls.h"

#include <gtest/gtest.h>

using namespace qmx44::controls;

namespace {

// Records the aspects a control reported.
struct Seen {
    std::vector<ModelChange> changes;
    int ticket = 0;
    explicit Seen(const Control &c)
    {
        ticket = c.observers().add([this](const ModelChange &m) { changes.push_back(m); });
    }
    bool saw(Aspect a) const
    {
        return std::any_of(changes.begin(), changes.end(), [a](const ModelChange &m) { return m.aspect == a; });
    }
};

} // namespace

// A second view on the same field is told too, and the screen's Change handler still runs
// once: the channel neither steals nor duplicates the event.
TEST(ObserversTest, EveryViewOfAFieldIsToldAndTheEventKeepsItsOneHandler)
{
    Form form(QStringLiteral("f"));
    auto &field = form.add<TextField>(QStringLiteral("txt"));
    int changes = 0;
    field.Change.connect([&] { ++changes; });
    Seen first(field), second(field);
    field.setText(QStringLiteral("A"));
    field.setLocked(true);
    field.setEnabled(false);
    EXPECT_EQ(1, changes);
    for (const Seen *s : {&first, &second}) {
        EXPECT_TRUE(s->saw(Aspect::Text));
        EXPECT_TRUE(s->saw(Aspect::Locked));
        EXPECT_TRUE(s->saw(Aspect::Enabled));
    }
    // A view that goes away is no longer told.
    field.observers().remove(first.ticket);
    first.changes.clear();
    field.setText(QStringLiteral("B"));
    EXPECT_TRUE(first.changes.empty());
}

// Disabling a frame changes what its fields accept; their views must hear of it.
TEST(ObserversTest, AFramesStateReachesTheViewsOfWhatItHolds)
{
    Form form(QStringLiteral("f"));
    auto &frame = form.add<Frame>(QStringLiteral("fr"));
    auto &inside = form.add<TextField>(QStringLiteral("txt"));
    inside.setContainer(&frame);
    Seen seen(inside);
    frame.setVisible(false);
    frame.setEnabled(false);
    EXPECT_TRUE(seen.saw(Aspect::Visible));
    EXPECT_TRUE(seen.saw(Aspect::Enabled));
}

// Focus moves are told to the control that lost it, the one that took it and the form;
// and the field taking the focus selects its text, which its view must show, or the
// clerk's next key silently replaces text the widget shows as unselected.
TEST(ObserversTest, FocusMovesAndTheSelectionTheyMakeAreTold)
{
    Form form(QStringLiteral("f"));
    auto &a = form.add<TextField>(QStringLiteral("a"));
    auto &b = form.add<TextField>(QStringLiteral("b"));
    b.setText(QStringLiteral("XY"));
    a.setFocus();
    Seen seenA(a), seenB(b);
    int formTold = 0;
    form.observers().add([&](const ModelChange &m) { formTold += m.aspect == Aspect::Focus; });
    int selectedWhenTold = -1;
    b.observers().add([&](const ModelChange &m) {
        if (m.aspect == Aspect::Text)
            selectedWhenTold = b.selectionLength();
    });
    form.sendTab();
    EXPECT_TRUE(seenA.saw(Aspect::Focus));
    EXPECT_TRUE(seenB.saw(Aspect::Focus));
    EXPECT_EQ(1, formTold);
    EXPECT_EQ(2, selectedWhenTold);
}
