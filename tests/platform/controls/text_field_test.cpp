// Text fields: typing rules, Change and lookup timing, Enter with tab-on-enter, the
// currency amount type and the catalogue search.
#include "platform/controls/controls.h"
#include "platform/core/message.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

struct TypingCase {
    int maxlength;
    bool mayusculas;
    bool locked;
    const char *typed;
    const char *expected;
};

class controlsTyping : public ::testing::TestWithParam<TypingCase> {};

} // namespace

// Guards the typing rules of the design settings: length limit, Unicode upper case and
// locked fields.
TEST_P(controlsTyping, TypedTextFollowsTheFieldSettings)
{
    const TypingCase &c = GetParam();
    Form form(QStringLiteral("f"));
    auto &field = form.add<TextField>("txt");
    field.setMaxlength(c.maxlength);
    field.setMayusculas(c.mayusculas);
    field.setLocked(c.locked);
    field.setFocus();
    form.typeText(QString::fromUtf8(c.typed));
    EXPECT_EQ(QString::fromUtf8(c.expected), field.text());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, controlsTyping,
    ::testing::Values(TypingCase{3, false, false, "0011", "001"},
                      TypingCase{0, true, false, "ñandú", "ÑANDÚ"},
                      TypingCase{4, true, false, "dv01x", "DV01"},
                      TypingCase{0, false, true, "abc", ""},
                      TypingCase{3, false, false, "ab\bcd", "acd"}));

// Guards that a locked field still takes the focus (it shows its text and can be tabbed
// through) while refusing every edit, Backspace included.
TEST(controlsTextField, LockedFieldTakesFocusButRefusesEdits)
{
    Form form(QStringLiteral("f"));
    auto &field = form.add<TextField>("txt_Sc_Descripcion");
    field.setText("Matriz");
    field.setLocked(true);
    EXPECT_TRUE(field.setFocus());
    field.pressKey(keys::Backspace);
    field.typeText("x");
    EXPECT_EQ(QString("Matriz"), field.text());
}

// Guards Change: it fires for typed and code-written text, once per real change, never
// for writing the same text again.
TEST(controlsTextField, ChangeFiresOnlyWhenTheTextChanges)
{
    Form form(QStringLiteral("f"));
    auto &field = form.add<TextField>("txtFolio");
    QStringList seen;
    field.Change.connect([&] { seen << field.text(); });
    field.setFocus();
    form.typeText("A1");
    field.setText("A1");
    field.setText("B");
    field.clear();
    EXPECT_EQ((QStringList{"A", "A1", "B", ""}), seen);
}

// Guards the currency amount type: fresh fields show "$0.0000", values keep full
// precision behind a four-decimal display, typed amounts are read on commit, and a
// value that is not a number is refused.
TEST(controlsTextField, CurrencyFieldKeepsADoubleBehindItsDisplay)
{
    Form form(QStringLiteral("f"));
    auto &total = form.add<TextField>("txt_Total");
    total.applySetting("text", "$0.0000");
    total.applySetting("tipodato", 6);
    total.applySetting("formato", 10);
    EXPECT_EQ(QString("$0.0000"), total.text());

    total.setValue(1.0 / 3);
    EXPECT_EQ(QString("$0.3333"), total.text());
    EXPECT_EQ(1.0 / 3, total.value().toDouble());

    total.setFocus();
    form.typeText("1234.5x");
    total.commit();
    EXPECT_EQ(QString("$1,234.5000"), total.text());
    EXPECT_EQ(1234.5, total.value().toDouble());

    EXPECT_THROW(total.setValue(std::numeric_limits<double>::quiet_NaN()), RuntimeError);
    EXPECT_EQ(1234.5, total.value().toDouble());
    total.clear();
    EXPECT_EQ(QString("$0.0000"), total.text());
}

// ---- lookups and Enter, on every available back-end ---------------------------------------

namespace {

class controlsLookup : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        Desktop::reset();
        db = test::freshDatabase(GetParam());
        db->run("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES (?, ?)", {"001", "Matriz"});
        db->run("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES (?, ?)", {"O'X", "Con comilla"});
        form.setConnection(db.get());
        form.setMessageSink(&sink);
        key = &form.add<TextField>("txt_Sc_Cve_Sucursal");
        key->setSql("SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '?'");
        key->setSqlControlResultado("txt_Sc_Descripcion");
        key->setMaxlength(3);
        description = &form.add<TextField>("txt_Sc_Descripcion");
        description->setLocked(true);
        next = &form.add<TextField>("txt_Siguiente");
    }

    std::unique_ptr<db::Conexion> db;
    Form form{QStringLiteral("frmQMX44")};
    RecordingMessageSink sink;
    TextField *key = nullptr;
    TextField *description = nullptr;
    TextField *next = nullptr;
};

} // namespace

// Guards the lookup timing: nothing while typing; on Enter before the Enter handler
// (which must see the description); on every code write; on leaving after typing.
TEST_P(controlsLookup, LookupRunsWhenTheTextIsCommitted)
{
    QString seenByHandler = "<not run>";
    key->Enter.connect([&] { seenByHandler = description->text(); });
    key->setFocus();
    form.typeText("001");
    EXPECT_EQ(QString(), description->text());
    key->pressKey(keys::Enter);
    EXPECT_EQ(QString("Matriz"), seenByHandler);

    key->setText("999");
    EXPECT_EQ(QString(), description->text());
    key->setText("O'X");
    EXPECT_EQ(QString("Con comilla"), description->text());

    key->setFocus();
    key->selectAll();
    form.typeText("001");
    next->setFocus();
    EXPECT_EQ(QString("Matriz"), description->text());
    EXPECT_TRUE(sink.messages().empty());
}

// Guards against a broken lookup statement ending the program or leaving a stale
// description: it is reported once and the field goes on working.
TEST_P(controlsLookup, FailingLookupIsReportedAndEmptiesTheResult)
{
    key->setText("001");
    ASSERT_EQ(QString("Matriz"), description->text());
    key->setSql("SELECT Nada FROM Tabla_Que_No_Existe WHERE X = '?'");
    key->setText("002");
    ASSERT_EQ(1u, sink.messages().size());
    EXPECT_EQ(QString("txt_Sc_Cve_Sucursal_Validar()"), sink.messages()[0].title);
    EXPECT_EQ(16, sink.messages()[0].style);
    EXPECT_EQ(QString(), description->text());
    key->setText("003");
    EXPECT_EQ(QString("003"), key->text());
}

struct EnterCase {
    const char *name;
    bool tabonentervacio;
    bool tabonentercancel;
    bool handlerFails;
    const char *typed;
    bool moves;
};

namespace {
std::string backendOfEnterCase(const ::testing::TestParamInfo<std::tuple<std::string, EnterCase>> &info)
{
    return test::backendLabel(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
}
} // namespace

class controlsTabOnEnterMatrix
    : public ::testing::TestWithParam<std::tuple<std::string, EnterCase>> {};

// Guards the meaning of tabonenter / tabonentervacio / tabonentercancel and that a
// failing Enter handler keeps the focus where the user can correct the value.
TEST_P(controlsTabOnEnterMatrix, EnterMovesTheFocusOnlyWhenTheSettingsAllow)
{
    const auto &[backend, c] = GetParam();
    Desktop::reset();
    auto db = test::freshDatabase(backend);
    db->run("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES (?, ?)", {"001", "Matriz"});
    Form form(QStringLiteral("frmQMX44"));
    RecordingMessageSink sink;
    form.setConnection(db.get());
    form.setMessageSink(&sink);
    auto &key = form.add<TextField>("txt_Sc_Cve_Sucursal");
    key.setSql("SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '?'");
    key.setSqlControlResultado("txt_Sc_Descripcion");
    form.add<TextField>("txt_Sc_Descripcion").setTabStop(false);
    auto &next = form.add<TextField>("txt_Siguiente");
    key.setTabonenter(true);
    key.setTabonentervacio(c.tabonentervacio);
    key.setTabonentercancel(c.tabonentercancel);
    if (c.handlerFails)
        key.Enter.connect([] { throw RuntimeError(QStringLiteral("falla")); });
    key.setFocus();
    form.typeText(QString::fromUtf8(c.typed));
    form.keyStroke(keys::Enter);
    EXPECT_EQ(c.moves, next.hasFocus()) << c.name;
    EXPECT_EQ(c.handlerFails ? 1u : 0u, sink.messages().size()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, controlsTabOnEnterMatrix,
    ::testing::Combine(::testing::ValuesIn(test::backends()),
                       ::testing::Values(EnterCase{"Found", false, false, false, "001", true},
                                         EnterCase{"Empty", false, false, false, "", false},
                                         EnterCase{"EmptyVacio", true, false, false, "", true},
                                         EnterCase{"NotFound", false, false, false, "999", true},
                                         EnterCase{"NotFoundCancel", false, true, false, "999", false},
                                         EnterCase{"FoundCancel", false, true, false, "001", true},
                                         EnterCase{"HandlerFails", false, false, true, "001", false})),
    backendOfEnterCase);

// Guards event 1: raised when a changed text is committed other than by Enter (focus
// leaving, code writing a new text, a key picked from the search), never by Enter.
TEST_P(controlsLookup, RevalidateFollowsCommitsOtherThanEnter)
{
    int revalidations = 0;
    key->Revalidate.connect([&] { ++revalidations; });
    key->setFocus();
    form.typeText("001");
    key->pressKey(keys::Enter);
    EXPECT_EQ(0, revalidations);
    key->selectAll();
    form.typeText("002");
    next->setFocus();
    EXPECT_EQ(1, revalidations);
    key->setText("002");
    EXPECT_EQ(1, revalidations);
    key->setText("001");
    EXPECT_EQ(2, revalidations);
    EXPECT_TRUE(key->pick("O'X"));
    EXPECT_EQ(3, revalidations);
    EXPECT_EQ(QString("Con comilla"), description->text());
}

// Guards the catalogue search: rows come from sql_lista with CLAVE and DESCRIPCION, and
// the user's filter is applied without entering the statement.
TEST_P(controlsLookup, SearchListsTheCatalogueAndFiltersSafely)
{
    key->setSqlLista("SELECT Sc_Cve_Sucursal AS CLAVE, Sc_Descripcion AS DESCRIPCION "
                     "FROM Sucursal ORDER BY Sc_Cve_Sucursal");
    auto all = key->search();
    ASSERT_EQ(2u, all.size());
    EXPECT_EQ(QString("001"), all[0].clave);
    EXPECT_EQ(QString("Matriz"), all[0].descripcion);
    auto some = key->search("comILLA' OR '1'='1");
    EXPECT_EQ(0u, some.size());
    EXPECT_EQ(1u, key->search("comilla").size());
    EXPECT_TRUE(sink.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, controlsLookup, ::testing::ValuesIn(test::backends()),
                         [](const auto &info) { return qmx44::test::backendLabel(info.param); });

// Guards the catalogue registration: a field's search runs the statement its form
// registered for its idconsulta (ignoring case and blanks), and nothing for another id.
TEST_P(controlsLookup, SearchRunsTheCatalogueRegisteredForItsId)
{
    form.registerCatalogue("sucursales", "SELECT Sc_Cve_Sucursal AS CLAVE, Sc_Descripcion AS DESCRIPCION FROM Sucursal");
    key->setIdconsulta(" SUCURSALES");
    EXPECT_EQ(2u, key->search().size());
    key->setIdconsulta("OTRO");
    EXPECT_TRUE(key->search().empty());
    EXPECT_TRUE(sink.messages().empty());
}
