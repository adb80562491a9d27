// Forms: tab order and focus, the key-release preview, the desktop and modal display,
// and the event boundary.
#include "platform/controls/controls.h"
#include "platform/core/log.h"
#include "platform/core/message.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

QString focusedName(const Form &f)
{
    return f.focused() ? f.focused()->name() : QStringLiteral("<none>");
}

class FormTest : public ::testing::Test {
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
TEST_F(FormTest, TabVisitsOnlyControlsThatCanTakeTheFocus)
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

// Guards against the focus staying on a field whose frame was disabled (it could then
// still be typed into).
TEST_F(FormTest, DisablingTheFrameOfTheFocusedFieldReleasesTheFocus)
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

// Guards Alt+letter: it reaches the field of the label with that mnemonic that can take
// the focus (a shared letter goes to each in turn), the field then gets no key; with no
// such field the key goes on to the focused field; Ctrl+Alt+letter is no mnemonic.
TEST_F(FormTest, AltWithALabelsLetterFocusesItsField)
{
    auto label = [&](const char *name, const char *buddy, const char *letter) {
        auto &l = form.add<Label>(name);
        l.applySetting("buddy", buddy);
        l.applySetting("mnemonic", letter);
    };
    label("lblA", "a", "d");
    auto &a = form.add<TextField>("a");
    label("lblB", "b", "D");
    auto &b = form.add<OptionButton>("b");
    label("lblC", "c", "X");
    form.add<TextField>("c").setEnabled(false);
    int keysInB = 0;
    b.KeyDown.connect([&](int &, int &) { ++keysInB; });

    form.keyStroke('D', keys::AltMask);
    EXPECT_EQ(&a, form.focused());
    form.keyStroke('D', keys::AltMask);
    EXPECT_EQ(&b, form.focused());
    EXPECT_EQ(0, keysInB);
    form.keyStroke('X', keys::AltMask);
    form.keyStroke('D', keys::AltMask | keys::CtrlMask);
    EXPECT_EQ(&b, form.focused());
    EXPECT_EQ(2, keysInB);
}

// Guards the event boundary: a failing handler (of either kind of exception) is reported
// once and the control keeps working; and the failure is not lost to support (it reaches
// the log). The message's title, style, owner and module show in every scenario's
// expected messages.
TEST_F(FormTest, FailingHandlerIsReportedAndTheControlStaysUsable)
{
    QTemporaryDir logs;
    ASSERT_TRUE(log::openLog(logs.path()));
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
    EXPECT_EQ(QString("División entre cero"), sink.messages()[0].text);
    EXPECT_EQ(QString("plain failure"), sink.messages()[1].text);
    EXPECT_EQ(2, runs);
    log::closeLog();
    QFile written(logs.filePath(QStringLiteral("qmx44.log")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(written.readAll())
                    .contains(QStringLiteral("ERROR frmTest cmdAceptar_Click(): División entre cero\n")));
}

// Guards typed dates: only a complete YYYY-MM-DD date replaces the value.
TEST_F(FormTest, DateFieldTakesOnlyCompleteIsoDates)
{
    auto &date = form.add<DateField>("dpFecha");
    date.setValue(QDate(2024, 5, 1));
    EXPECT_FALSE(date.typeDate("2024-02-30"));
    EXPECT_FALSE(date.typeDate("1/5/2024"));
    EXPECT_TRUE(date.typeDate("2024-06-15"));
    EXPECT_EQ(QDate(2024, 6, 15), date.value());
}
