// Forms: tab order and focus, the key-release preview, the desktop and modal display,
// float geometry, and the event boundary.
#include "platform/controls/controls.h"
#include "platform/core/message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

QString focusedName(const Form &f)
{
    return f.focused() ? f.focused()->name() : QStringLiteral("<none>");
}

class controlsForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::reset();
        form.setMessageSink(&sink);
    }
    void TearDown() override { Desktop::reset(); }

    Form form{QStringLiteral("frmTest")};
    RecordingMessageSink sink;
};

} // namespace

// Guards the Tab walk: a disabled frame's fields, disabled fields, labels and fields
// without tab stop are skipped; locked fields are visited; the walk wraps around.
TEST_F(controlsForm, TabVisitsOnlyControlsThatCanTakeTheFocus)
{
    auto &a = form.add<TextField>("a");
    auto &frame = form.add<Frame>("fr1");
    auto &b = form.add<TextField>("b");
    b.setContainer(&frame);
    form.add<Label>("lbl");
    auto &c = form.add<TextField>("c");
    c.setLocked(true);
    auto &d = form.add<TextField>("d");
    d.setEnabled(false);
    auto &e = form.add<DateField>("e");
    form.add<Button>("noStop").setTabStop(false);
    frame.setEnabled(false);

    ASSERT_TRUE(a.setFocus());
    std::vector<QString> visited;
    for (int i = 0; i < 3; ++i) {
        form.focusNext();
        visited.push_back(focusedName(form));
    }
    EXPECT_EQ((std::vector<QString>{"c", "e", "a"}), visited);

    frame.setEnabled(true);
    form.focusNext();
    EXPECT_EQ(QString("b"), focusedName(form));
    (void)e;
}

// Guards against a focus request on a disabled control failing the handler that made it
// (a form's "focus then set enabled" sequence must not stop at the focus step).
TEST_F(controlsForm, FocusOnDisabledControlIsRefusedQuietly)
{
    auto &a = form.add<TextField>("a");
    auto &date = form.add<DateField>("dpFecha");
    date.setEnabled(false);
    a.setFocus();
    EXPECT_FALSE(date.setFocus());
    EXPECT_EQ(QString("a"), focusedName(form));
    EXPECT_TRUE(sink.messages().empty());
}

// Guards against the focus staying on a field whose frame was disabled (it could then
// still be typed into).
TEST_F(controlsForm, DisablingTheFrameOfTheFocusedFieldReleasesTheFocus)
{
    auto &frame = form.add<Frame>("fr0");
    auto &a = form.add<TextField>("a");
    a.setContainer(&frame);
    a.setFocus();
    frame.setEnabled(false);
    EXPECT_EQ(nullptr, form.focused());
    form.keyStroke(0, 0, u'x');
    EXPECT_EQ(QString(), a.text());
}

// Guards the preview: the form sees the release of every key, after the focused field
// got the key, and a zeroed key does not reach further.
TEST_F(controlsForm, KeyReleasePreviewSeesKeysTypedIntoAnyField)
{
    auto &a = form.add<TextField>("a");
    a.setFocus();
    std::vector<std::pair<int, int>> seen;
    QString textWhenSeen;
    form.KeyUp.connect([&](int &key, int &shift) {
        seen.emplace_back(key, shift);
        textWhenSeen = a.text();
        key = 0;
    });
    form.typeText("q");
    form.keyStroke('1', keys::AltMask);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{'Q', 0}, {'1', keys::AltMask}}), seen);
    EXPECT_EQ(QString("q"), textWhenSeen);
    EXPECT_EQ(QString("q"), a.text()); // Alt+1 typed nothing
}

namespace {
// Drives a dialog like the runner: one sent Tab, then the dialog hides itself.
class TabThenClose : public ModalPresenter {
public:
    void runModal(Form &dialog) override
    {
        activeDuring = Desktop::activeForm();
        Desktop::sendTab();
        focusedDuring = dialog.focused() ? dialog.focused()->name() : QString();
        dialog.hide();
    }
    Form *activeDuring = nullptr;
    QString focusedDuring;
};
} // namespace

// Guards that keystrokes sent by services reach the modal dialog while it runs and the
// main form again afterwards, and that the dialog inherits the host's wiring.
TEST_F(controlsForm, SentKeysReachTheModalDialogWhileItRuns)
{
    auto &m1 = form.add<TextField>("m1");
    form.add<TextField>("m2");
    form.show();
    m1.setFocus();

    Form dialog(QStringLiteral("frmDialog"));
    auto &d1 = dialog.add<TextField>("d1");
    dialog.add<TextField>("d2");
    d1.setFocus();
    TabThenClose presenter;
    form.setPresenter(&presenter);

    form.showModal(dialog);
    EXPECT_EQ(&dialog, presenter.activeDuring);
    EXPECT_EQ(QString("d2"), presenter.focusedDuring);
    EXPECT_EQ(&sink, dialog.messageSink());
    EXPECT_FALSE(dialog.isVisible());

    EXPECT_TRUE(Desktop::sendTab());
    EXPECT_EQ(QString("m2"), focusedName(form));
    EXPECT_NE(form.handle(), dialog.handle());
}

// Guards against a modal display without a presenter blocking or leaving the dialog active.
TEST_F(controlsForm, ShowModalWithoutPresenterReturnsAtOnce)
{
    form.show();
    Form dialog(QStringLiteral("frmDialog"));
    int activations = 0;
    dialog.Activate.connect([&] { ++activations; });
    form.showModal(dialog);
    EXPECT_EQ(1, activations);
    EXPECT_EQ(&form, Desktop::activeForm());
}

struct SizeCase {
    double requested;
    bool accepted;
    float stored;
};

class controlsGeometry : public ::testing::TestWithParam<SizeCase> {};

// Guards the layout's contract: a refused width keeps the old one and says so, so the
// layout can skip the step; accepted values are stored in single precision.
TEST_P(controlsGeometry, WidthIsStoredAsFloatOrRefused)
{
    Form f(QStringLiteral("f"));
    auto &c = f.add<Shape>("s");
    ASSERT_TRUE(c.setWidth(500));
    const SizeCase &p = GetParam();
    EXPECT_EQ(p.accepted, c.setWidth(p.requested));
    EXPECT_EQ(p.stored, c.width());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, controlsGeometry,
    ::testing::Values(SizeCase{1234.5678, true, 1234.5678f}, SizeCase{0, true, 0.f},
                      SizeCase{-1, false, 500.f}, SizeCase{1e39, false, 500.f},
                      SizeCase{std::numeric_limits<double>::quiet_NaN(), false, 500.f},
                      SizeCase{std::numeric_limits<double>::infinity(), false, 500.f}));

// Guards against negative positions being refused like sizes (a control may sit left of
// its container's origin).
TEST(controlsGeometryPosition, NegativePositionIsAccepted)
{
    Form f(QStringLiteral("f"));
    auto &c = f.add<Shape>("s");
    EXPECT_TRUE(c.setLeft(-120));
    EXPECT_EQ(-120.f, c.left());
}

// Guards the event boundary: a failing handler is reported once with the handler's
// name, the form's handle, style 16 and the form's module, and the control keeps working.
TEST_F(controlsForm, FailingHandlerIsReportedAndTheControlStaysUsable)
{
    form.setModule("QMX44");
    auto &button = form.add<Button>("cmdAceptar");
    int runs = 0;
    button.Click.connect([&] {
        if (++runs == 1)
            throw RuntimeError(QStringLiteral("División entre cero"));
        throw std::runtime_error("plain failure");
    });
    EXPECT_TRUE(button.click());
    EXPECT_TRUE(button.click());
    ASSERT_EQ(2u, sink.messages().size());
    const Message &m = sink.messages()[0];
    EXPECT_EQ(QString("División entre cero"), m.text);
    EXPECT_EQ(16, m.style);
    EXPECT_EQ(QString("cmdAceptar_Click()"), m.title);
    EXPECT_EQ(form.handle(), m.owner);
    EXPECT_EQ(QString("QMX44"), m.module);
    EXPECT_EQ(QString(), m.id);
    EXPECT_EQ(QString("plain failure"), sink.messages()[1].text);
    EXPECT_EQ(2, runs);
}

// Guards against a failing load being swallowed: the host must learn that the form did
// not load.
TEST_F(controlsForm, FailingLoadReachesTheCaller)
{
    form.Load.connect([] { throw RuntimeError(QStringLiteral("sin parámetros")); });
    EXPECT_THROW(form.load(), RuntimeError);
    EXPECT_TRUE(sink.messages().empty());
}

// Guards the option group rule: one selected option per container.
TEST_F(controlsForm, OneOptionSelectedPerFrame)
{
    auto &frame = form.add<Frame>("Frame1");
    auto &o1 = form.add<OptionButton>("Option1");
    auto &o2 = form.add<OptionButton>("Option2");
    auto &other = form.add<OptionButton>("Elsewhere");
    o1.setContainer(&frame);
    o2.setContainer(&frame);
    o1.setSelected(true);
    other.setSelected(true);
    o2.click();
    EXPECT_EQ((std::vector<bool>{false, true, true}),
              (std::vector<bool>{o1.selected(), o2.selected(), other.selected()}));
}

// Guards the tab control: page changes by code raise event 10 with the previous page,
// only when the page really changes.
TEST_F(controlsForm, TabPageChangeReportsThePreviousPage)
{
    auto &tabs = form.add<TabControl>("ssTabFichas");
    tabs.applySetting("tab", 1);
    std::vector<int> previous;
    tabs.Click.connect([&](int p) { previous.push_back(p); });
    tabs.setActivePage(0);
    tabs.setActivePage(0);
    tabs.setActivePage(1);
    EXPECT_EQ((std::vector<int>{1, 0}), previous);
}

// Guards typed dates: only a complete YYYY-MM-DD date replaces the value.
TEST_F(controlsForm, DateFieldTakesOnlyCompleteIsoDates)
{
    auto &date = form.add<DateField>("dpFecha");
    date.setValue(QDate(2024, 5, 1));
    EXPECT_FALSE(date.typeDate("2024-02-30"));
    EXPECT_FALSE(date.typeDate("1/5/2024"));
    EXPECT_TRUE(date.typeDate("2024-06-15"));
    EXPECT_EQ(QDate(2024, 6, 15), date.value());
}
