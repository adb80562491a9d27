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

// Guards against arguments split inside quotes, escapes read wrongly, SQL split into
// arguments, or comments and blank lines run as commands.
TEST(ScriptLanguageLineTest, SplitsAsTheLanguageSays)
{
    EXPECT_FALSE(parseLine(QStringLiteral("   \t "), 7).has_value());
    EXPECT_FALSE(parseLine(QStringLiteral("# a comment"), 7).has_value());
    const std::pair<const char *, QStringList> cases[] = {
        {"type  txtFolio\t123", {"type", "txtFolio", "123"}},
        {"cell 1 \"dos  palabras\" \"\"", {"cell", "1", "dos  palabras", ""}},
        {"type f \"a \\\"b\\\" c\\\\d\"", {"type", "f", "a \"b\" c\\d"}},
        {"type f 5\"", {"type", "f", "5\""}}};
    for (const auto &[text, expected] : cases) {
        const auto line = parseLine(QString::fromUtf8(text), 7);
        ASSERT_TRUE(line.has_value()) << text;
        EXPECT_EQ(QStringList(line->command) + line->args, expected) << text;
    }
    const auto sql =
        parseLine(QStringLiteral("exec   UPDATE Parametro SET Pa_Valor = 'a  b' WHERE Pa_Nombre = \"X\"  "), 7);
    ASSERT_TRUE(sql.has_value());
    EXPECT_TRUE(sql->args.isEmpty());
    EXPECT_EQ(sql->rest, QStringLiteral("UPDATE Parametro SET Pa_Valor = 'a  b' WHERE Pa_Nombre = \"X\""));
}

// Guards against a broken quote being taken as text instead of stopping the run.
TEST(ScriptLanguageLineErrorTest, UnterminatedOrGluedQuotesAreBadLines)
{
    EXPECT_THROW(parseLine(QStringLiteral("type f \"abc"), 1), ScriptError);
    EXPECT_THROW(parseLine(QStringLiteral("type f \"abc\\\""), 1), ScriptError);
    EXPECT_THROW(parseLine(QStringLiteral("type f \"a\"b"), 1), ScriptError);
}

// Guards against the page shortcuts receiving the wrong key code or shift state (Alt+1
// must be 49 with exactly 4), and against keys held with Ctrl or Alt typing characters.
TEST(ScriptLanguageKeyTest, NamesGiveTheCodesTheFormExpects)
{
    const std::tuple<const char *, int, int, char16_t> cases[] = {
        {"Alt+1", 49, 4, 0},      {"1", 49, 0, u'1'},
        {"Enter", 13, 0, 0},      {"F4", 115, 0, 0},
        {"Shift+Tab", 9, 1, 0},   {"a", 65, 0, u'a'},
        {"Shift+a", 65, 1, u'A'}, {"Ctrl+A", 65, 2, 0},
        {"Space", 32, 0, u' '},   {"control+alt+Delete", 46, 6, 0}};
    for (const auto &[name, code, shift, typed] : cases) {
        const auto chord = parseKeyChord(QString::fromUtf8(name));
        ASSERT_TRUE(chord.has_value()) << name;
        EXPECT_EQ(chord->code, code) << name;
        EXPECT_EQ(chord->shift, shift) << name;
        EXPECT_EQ(int(chord->typed), int(typed)) << name;
    }
}

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
