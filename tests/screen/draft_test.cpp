// The draft of a note being entered, on the demo company: what only the screen can show
// (a modification recovered as a modification, an unreadable draft, a second program on
// the same draft). Recovering a new note is guarded end to end by
// tests/scenarios/drafts.scenario, and a kill mid-entry by tests/apps/cli_test.cpp.
#include "document/install.h"
#include "platform/controls/keys.h"
#include "platform/host/padre.h"
#include "screen/draft_journal.h"
#include "screen/draft_store.h"
#include "screen_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace qmx44;

namespace {

const QString Database = QStringLiteral("sqlite:/company/drafts.sqlite");

struct DraftScreen : test::DemoScreen {
    DraftScreen() : DemoScreen("sqlite")
    {
        context->draftDatabase = Database;
        padre->setMember(QStringLiteral("Modulo"), QStringLiteral("COMPRAS"));
        padre->setMember(QStringLiteral("Transaccion"), QStringLiteral("CO003"));
        document::install(*frm);
        frm->setPadre(padre);
    }
    // The form closes and the host opens a fresh one, which offers the draft.
    void reopen()
    {
        frm->unload();
        frm = std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{context, sistema.get(), utilerias.get()});
        intake::install(*frm);
        bonus::install(*frm);
        document::install(*frm);
        frm->setPadre(padre);
        open();
        frm->draftJournal()->offer();
    }
    void typeAndEnter(controls::TextField &field, const QString &text)
    {
        ASSERT_TRUE(field.setFocus());
        field.selectAll();
        form().typeText(text);
        form().keyStroke(controls::keys::Enter);
    }
    std::shared_ptr<host::Padre> padre = std::make_shared<host::Padre>();
};

// Guards against a modification coming back as a new note (saved beside the note it was
// to replace) or with the bonus as the note had it before the clerk changed it.
TEST(DraftTest, AModifiedNoteIsRecoveredAsAModificationOfTheSameNote)
{
    DraftScreen s;
    s.open();
    s.typeAndEnter(s.frm->txtFolio(), QStringLiteral("3"));
    ASSERT_TRUE(s.frm->Controles().click(controls::Command::Modificar));
    controls::Grid &grid = s.frm->ssDetalle();
    const int amount = grid.columnIndex(QStringLiteral("BON_IMPORTE"));
    s.frm->ssTabFichas().setActivePage(1);
    grid.editCell(0, amount, QStringLiteral("\b7"));
    s.frm->draftJournal()->flush();

    s.reopen();
    EXPECT_TRUE(s.frm->Controles().EnEdicion());
    EXPECT_FALSE(s.frm->Controles().editingNew());
    EXPECT_EQ(s.frm->txtFolio().text(), QStringLiteral("0000000003"));
    EXPECT_EQ(s.frm->ssDetalle().cellValue(0, amount).toDouble(), 7.0);
    EXPECT_TRUE(s.sink->messages().empty());
}

// Guards against an unreadable draft stopping the screen, being asked about again at
// every opening, or being lost without a trace.
TEST(DraftTest, AnUnreadableDraftIsReportedOnceAndSetAside)
{
    DraftScreen s;
    QString path;
    {
        screen::DraftStore store(s.context->session->user(), Database);
        path = store.path();
        store.write("{\"version\": 1, \"written\":");
    }
    s.open();
    s.frm->draftJournal()->offer();
    s.frm->draftJournal()->offer();
    ASSERT_EQ(s.sink->messages().size(), 1u);
    EXPECT_EQ(s.sink->messages()[0].id, QStringLiteral("ERR-ID:7500036"));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).dir().entryList({QStringLiteral("*.unreadable-*")}).size(), 1);
}

// Guards against two programs of the same clerk on the same database overwriting each
// other's draft, or one offering the note the other is still entering.
TEST(DraftTest, ASecondProgramOnTheSameDraftLeavesItAlone)
{
    screen::DraftStore first(QStringLiteral("CXP01"), Database);
    first.write("first");
    {
        screen::DraftStore second(QStringLiteral("CXP01"), Database);
        EXPECT_FALSE(second.owned());
        EXPECT_EQ(second.read(), std::nullopt);
        second.write("second");
    }
    EXPECT_EQ(first.read(), QByteArray("first"));
    first.remove();
}

} // namespace
