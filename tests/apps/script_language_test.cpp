// The scenario runner's pieces that scripts depend on but the scenarios cannot pin down
// one by one: how a line splits into arguments, how key names become key codes, how
// numbers print, and a modal dialog the queued prorate lines cannot close. How the queue
// serves the proration dialog is guarded by tests/scenarios/bonus/prorate_paths.scenario.
#include "apps/script/json_values.h"
#include "apps/script/key_names.h"
#include "apps/script/modal_presenter.h"
#include "apps/script/script_line.h"
#include "platform/controls/controls.h"

#include <QDate>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::apps::script;

namespace {

struct LineCase {
    const char *text;
    const char *command; // nullptr: the line is skipped
    std::vector<const char *> args;
    const char *rest;
};

class ScriptLanguageLineTest : public testing::TestWithParam<LineCase> {};

// Guards against arguments split inside quotes, escapes read wrongly, SQL split into
// arguments, or comments and blank lines run as commands.
TEST_P(ScriptLanguageLineTest, SplitsAsTheLanguageSays)
{
    const LineCase &c = GetParam();
    const auto line = parseLine(QString::fromUtf8(c.text), 7);
    if (!c.command) {
        EXPECT_FALSE(line.has_value());
        return;
    }
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->number, 7);
    EXPECT_EQ(line->command, QString::fromUtf8(c.command));
    QStringList expected;
    for (const char *a : c.args)
        expected << QString::fromUtf8(a);
    EXPECT_EQ(line->args, expected);
    if (c.rest) {
        EXPECT_EQ(line->rest, QString::fromUtf8(c.rest));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptLanguageLineTest,
    testing::Values(LineCase{"   \t ", nullptr, {}, nullptr}, LineCase{"# a comment", nullptr, {}, nullptr},
                    LineCase{"type  txtFolio\t123", "type", {"txtFolio", "123"}, nullptr},
                    LineCase{"cell 1 \"dos  palabras\" \"\"", "cell", {"1", "dos  palabras", ""}, nullptr},
                    LineCase{"type f \"a \\\"b\\\" c\\\\d\"", "type", {"f", "a \"b\" c\\d"}, nullptr},
                    LineCase{"type f 5\"", "type", {"f", "5\""}, nullptr},
                    LineCase{"exec   UPDATE Parametro SET Pa_Valor = 'a  b' WHERE Pa_Nombre = \"X\"  ",
                             "exec",
                             {},
                             "UPDATE Parametro SET Pa_Valor = 'a  b' WHERE Pa_Nombre = \"X\""}));

// Guards against a broken quote being taken as text instead of stopping the run.
TEST(ScriptLanguageLineErrorTest, UnterminatedOrGluedQuotesAreBadLines)
{
    EXPECT_THROW(parseLine(QStringLiteral("type f \"abc"), 1), ScriptError);
    EXPECT_THROW(parseLine(QStringLiteral("type f \"abc\\\""), 1), ScriptError);
    EXPECT_THROW(parseLine(QStringLiteral("type f \"a\"b"), 1), ScriptError);
}

struct KeyCase {
    const char *name;
    int code;
    int shift;
    char16_t typed;
};

class ScriptLanguageKeyTest : public testing::TestWithParam<KeyCase> {};

// Guards against the page shortcuts receiving the wrong key code or shift state (Alt+1
// must be 49 with exactly 4), and against keys held with Ctrl or Alt typing characters.
TEST_P(ScriptLanguageKeyTest, NamesGiveTheCodesTheFormExpects)
{
    const KeyCase &c = GetParam();
    const auto chord = parseKeyChord(QString::fromUtf8(c.name));
    ASSERT_TRUE(chord.has_value()) << c.name;
    EXPECT_EQ(chord->code, c.code) << c.name;
    EXPECT_EQ(chord->shift, c.shift) << c.name;
    EXPECT_EQ(int(chord->typed), int(c.typed)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptLanguageKeyTest,
                         testing::Values(KeyCase{"Alt+1", 49, 4, 0}, KeyCase{"1", 49, 0, u'1'},
                                         KeyCase{"Enter", 13, 0, 0}, KeyCase{"F4", 115, 0, 0},
                                         KeyCase{"Shift+Tab", 9, 1, 0}, KeyCase{"a", 65, 0, u'a'},
                                         KeyCase{"Shift+a", 65, 1, u'A'}, KeyCase{"Ctrl+A", 65, 2, 0},
                                         KeyCase{"Space", 32, 0, u' '}, KeyCase{"control+alt+Delete", 46, 6, 0}));

// Guards against a misspelt key being sent as some other key instead of stopping the run.
TEST(ScriptLanguageKeyErrorTest, UnknownNamesAreRefused)
{
    for (const char *bad : {"", "Alt+", "Hyper+1", "F13", "F04", "Alt+Alt+1", "Enterr", "Alt+12"})
        EXPECT_FALSE(parseKeyChord(QString::fromUtf8(bad)).has_value()) << bad;
}

// Guards against amounts printed rounded, or as invalid JSON (plain amounts, dates and
// texts print in every scenario's expected output).
TEST(ScriptLanguageJsonTest, NumbersPrintExactlyAndCompactly)
{
    EXPECT_EQ(jsonLine(jsonNumber(0.1 + 0.2)), "0.30000000000000004");
    EXPECT_EQ(jsonLine(jsonNumber(std::nan(""))), "null");
    EXPECT_EQ(jsonLine(jsonFloat(1234.1f)), "1234.1");
    EXPECT_EQ(jsonLine(jsonFloat(11000.0f)), "11000");
}

// Guards against a dialog without a cancel button (or one that ignores it) hanging the
// run, and against missing controls going unnoticed.
TEST(ScriptLanguagePresenterTest, ADialogThatDoesNotCloseIsHiddenAndMissingControlsAreTold)
{
    QStringList warnings;
    ScriptPresenter presenter([&](const QString &w) { warnings << w; });
    presenter.queue({QStringLiteral("10"), 1, ProrateAction::Accept});
    controls::Form opener(QStringLiteral("frmOpener"));
    controls::Form bare(QStringLiteral("frmBare"));
    opener.setPresenter(&presenter);
    opener.show();
    opener.showModal(bare);
    EXPECT_FALSE(bare.isVisible());
    EXPECT_EQ(warnings.size(), 3); // txtImporte, Option1, cmdAceptar
}

} // namespace
