// Text fields: typing rules, Change and lookup timing, Enter with tab-on-enter, the
// currency amount type and the catalogue search.
#include "platform/controls/controls.h"
#include "platform/core/message.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qmx44;
using namespace qmx44::controls;

// Guards the typing rules of the design settings: length limit (a backspace frees a
// place), Unicode upper case and locked fields.
TEST(TextFieldTest, TypedTextFollowsTheFieldSettings)
{
    const std::tuple<int, bool, bool, const char *, const char *> cases[] = {
        {3, false, false, "ab\bcd0", "acd"}, {0, true, false, "ñandú", "ÑANDÚ"}, {0, false, true, "abc", ""}};
    for (const auto &[maxlength, mayusculas, locked, typed, expected] : cases) {
        Form form(QStringLiteral("f"));
        auto &field = form.add<TextField>("txt");
        field.setMaxlength(maxlength);
        field.setMayusculas(mayusculas);
        field.setLocked(locked);
        field.setFocus();
        form.typeText(QString::fromUtf8(typed));
        EXPECT_EQ(QString::fromUtf8(expected), field.text()) << typed;
    }
}

// Guards Change: it fires for typed and code-written text, once per real change, never
// for writing the same text again; and against Ctrl+A not selecting the whole content
// (what is typed next would be added to the old text instead of replacing it) or
// typing an "a".
TEST(TextFieldTest, ChangeFiresOnlyWhenTheTextChanges)
{
    Form form(QStringLiteral("f"));
    auto &field = form.add<TextField>("txtFolio");
    QStringList seen;
    field.Change.connect([&] { seen << field.text(); });
    field.setFocus();
    form.typeText("A1");
    field.setText("A1");
    field.setText("B");
    form.keyStroke('A', keys::CtrlMask, 0);
    form.typeText("7");
    field.clear();
    EXPECT_EQ((QStringList{"A", "A1", "B", "7", ""}), seen);
}

// Guards the undo history: a run of typing is one step, a locked field takes no undo,
// and code writing the text forgets the history (undo must not bring back what the
// screen replaced).
TEST(TextFieldTest, UndoStepsBackThroughTheClerksEdits)
{
    Form form(QStringLiteral("f"));
    auto &field = form.add<TextField>("txtCausa");
    field.setFocus();
    form.typeText("ab");
    form.keyStroke(keys::Backspace);
    form.keyStroke('Z', keys::CtrlMask);
    EXPECT_EQ(QStringLiteral("ab"), field.text());
    field.setLocked(true);
    EXPECT_FALSE(field.undo());
    field.setLocked(false);
    form.keyStroke('Z', keys::CtrlMask);
    EXPECT_EQ(QString(), field.text());
    form.typeText("c");
    field.setText(QStringLiteral("C001"));
    EXPECT_FALSE(field.undo());
}

// Guards the currency amount type: values keep full precision behind a four-decimal
// display, typed amounts are read on commit, and a value that is not a number is refused.
TEST(TextFieldTest, CurrencyFieldKeepsADoubleBehindItsDisplay)
{
    Form form(QStringLiteral("f"));
    auto &total = form.add<TextField>("txt_Total");
    total.applySetting("text", "$0.0000");
    total.applySetting("tipodato", 6);
    total.applySetting("formato", 10);
    total.setValue(1.0 / 3);
    EXPECT_EQ(1.0 / 3, total.value().toDouble());

    total.setFocus();
    form.typeText("1234.5x");
    total.commit();
    EXPECT_EQ(QString("$1,234.5000"), total.text());
    EXPECT_EQ(1234.5, total.value().toDouble());

    EXPECT_THROW(total.setValue(std::numeric_limits<double>::quiet_NaN()), RuntimeError);
    EXPECT_EQ(1234.5, total.value().toDouble());
}

// ---- lookups and Enter, on every available back-end ---------------------------------------

namespace {

// A branch key with its lookup into the description, and a next field, over a database
// holding branch "001" and one whose key has a quote.
struct BranchKeyForm {
    explicit BranchKeyForm(const std::string &backend) : db(test::freshDatabase(backend))
    {
        Desktop::reset();
        db->run("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES (?, ?)", {"001", "Matriz"});
        db->run("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES (?, ?)", {"O'X", "Con comilla"});
        form.setConnection(db.get());
        form.setMessageSink(&sink);
        key.setSql("SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '?'");
        key.setSqlControlResultado("txt_Sc_Descripcion");
        key.setMaxlength(3);
        description.setLocked(true);
        description.setTabStop(false);
    }

    std::unique_ptr<db::Conexion> db;
    Form form{QStringLiteral("frmQMX44")};
    RecordingMessageSink sink;
    TextField &key = form.add<TextField>("txt_Sc_Cve_Sucursal");
    TextField &description = form.add<TextField>("txt_Sc_Descripcion");
    TextField &next = form.add<TextField>("txt_Siguiente");
};

class TextFieldLookupTest : public ::testing::TestWithParam<std::string>, public BranchKeyForm {
protected:
    TextFieldLookupTest() : BranchKeyForm(GetParam()) {}
};

} // namespace

// Guards the lookup timing: nothing while typing; on Enter before the Enter handler
// (which must see the description); on every code write; on leaving after typing.
TEST_P(TextFieldLookupTest, LookupRunsWhenTheTextIsCommitted)
{
    QString seenByHandler = "<not run>";
    key.Enter.connect([&] { seenByHandler = description.text(); });
    key.setFocus();
    form.typeText("001");
    EXPECT_EQ(QString(), description.text());
    key.pressKey(keys::Enter);
    EXPECT_EQ(QString("Matriz"), seenByHandler);

    key.setText("999");
    EXPECT_EQ(QString(), description.text());
    key.setText("O'X");
    EXPECT_EQ(QString("Con comilla"), description.text());

    key.setFocus();
    key.selectAll();
    form.typeText("001");
    next.setFocus();
    EXPECT_EQ(QString("Matriz"), description.text());
    EXPECT_TRUE(sink.messages().empty());
}

// Guards the meaning of tabonenter / tabonentervacio / tabonentercancel and that a
// failing Enter handler keeps the focus where the user can correct the value.
TEST(TextFieldTabOnEnterTest, EnterMovesTheFocusOnlyWhenTheSettingsAllow)
{
    struct Case {
        const char *name;
        bool tabonentervacio, tabonentercancel, handlerFails;
        const char *typed;
        bool moves;
    };
    for (const Case &c :
         {Case{"Found", false, false, false, "001", true}, Case{"Empty", false, false, false, "", false},
          Case{"EmptyVacio", true, false, false, "", true}, Case{"NotFoundCancel", false, true, false, "999", false},
          Case{"HandlerFails", false, false, true, "001", false}}) {
        BranchKeyForm f("sqlite");
        f.key.setTabonenter(true);
        f.key.setTabonentervacio(c.tabonentervacio);
        f.key.setTabonentercancel(c.tabonentercancel);
        if (c.handlerFails)
            f.key.Enter.connect([] { throw RuntimeError(QStringLiteral("falla")); });
        f.key.setFocus();
        f.form.typeText(QString::fromUtf8(c.typed));
        f.form.keyStroke(keys::Enter);
        EXPECT_EQ(c.moves, f.next.hasFocus()) << c.name;
        EXPECT_EQ(c.handlerFails ? 1u : 0u, f.sink.messages().size()) << c.name;
    }
}

// Guards the catalogue search: rows come from sql_lista with CLAVE and DESCRIPCION, or
// from the statement the form registered for the field's idconsulta (ignoring case and
// blanks, nothing for another id); the database filters them by key or description in
// any letter case (accents and ñ included), orders them by key and stops at the limit,
// telling that there are more; the user's filter never enters the statement.
TEST_P(TextFieldLookupTest, SearchFiltersAndLimitsOnTheDatabase)
{
    db->run("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES (?, ?)", {"N%_1", "Peñón [*?] 100%"});
    key.setSqlLista("SELECT Sc_Cve_Sucursal AS CLAVE, Sc_Descripcion AS DESCRIPCION, Es_Cve_Estado AS ESTADO "
                    "FROM Sucursal");
    auto all = key.search();
    ASSERT_EQ(3u, all.rows.size());
    EXPECT_EQ(QString("001"), all.rows[0].key);
    EXPECT_EQ(QString("Matriz"), all.rows[0].description);
    EXPECT_EQ(QString("AC"), all.rows[0].state.toString());
    EXPECT_TRUE(all.hasState && !all.hasDate && !all.more);
    EXPECT_TRUE(key.search("comILLA' OR '1'='1").rows.empty());
    EXPECT_EQ(QString("O'X"), key.search("COMILLA").rows.at(0).key);
    EXPECT_EQ(QString("N%_1"), key.search("PEÑ").rows.at(0).key);
    for (const char *literal : {"[*?]", "0%", "%_", "n%_", "_", "?"})
        EXPECT_EQ(1u, key.search(literal).rows.size()) << literal;
    auto two = key.search(QString(), 2);
    EXPECT_EQ((QStringList{two.rows[0].key, two.rows[1].key}), (QStringList{"001", "N%_1"}));
    EXPECT_TRUE(two.more);

    // A statement that places the filter itself: the key as the field holds it (upper
    // case), the description in any letter case; unfiltered, every row.
    key.setSqlLista("SELECT Sc_Cve_Sucursal AS CLAVE, Sc_Descripcion AS DESCRIPCION FROM Sucursal "
                    "WHERE MATCHES_UPPER(Sc_Cve_Sucursal) OR Sc_Cve_Sucursal IN "
                    "(SELECT s.Sc_Cve_Sucursal FROM Sucursal s WHERE matches ( s.Sc_Descripcion ))");
    EXPECT_EQ(3u, key.search().rows.size());
    EXPECT_EQ(QString("N%_1"), key.search("n%_").rows.at(0).key);
    EXPECT_EQ(QString("N%_1"), key.search("PEÑÓN").rows.at(0).key);
    EXPECT_EQ(QString("O'X"), key.search("o'").rows.at(0).key);
    EXPECT_TRUE(key.search("x') OR ('1'='1").rows.empty());

    key.setSqlLista("");
    form.registerCatalogue("sucursales",
                           "SELECT Sc_Cve_Sucursal AS CLAVE, Sc_Descripcion AS DESCRIPCION FROM Sucursal");
    key.setIdconsulta(" SUCURSALES");
    EXPECT_EQ(3u, key.search().rows.size());
    key.setIdconsulta("OTRO");
    EXPECT_TRUE(key.search().rows.empty());
    EXPECT_TRUE(sink.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, TextFieldLookupTest, ::testing::ValuesIn(test::backends()),
                         [](const auto &p) { return qmx44::test::backendLabel(p.param); });
