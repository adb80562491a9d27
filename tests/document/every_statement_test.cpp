// Each operation that writes or reads a note, with each of its statements failing in
// turn (and, separately, its commit), on every back-end: the database is as it was
// before (or, after the commit, holds the whole note), the clerk is told, with no
// transaction open, and the screen takes the same command again. The number of
// statements is found by running the operation, so a new statement is covered without
// touching this test; the counts are printed.
#include "rebate/volume_rebate.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

using namespace qmx44;
using test::NoteScreen;

namespace {

const QString kCompra = QStringLiteral("C000000002");

struct Operation {
    const char *name;
    std::function<void(NoteScreen &)> prepare; // up to just before the clerk's command
    std::function<void(NoteScreen &)> act;     // the command
};

void newNote(NoteScreen &p, const char *apply)
{
    p.setParameter("CXP_APLICAR_NOTA_CREDITO", QString::fromLatin1(apply));
    p.open();
    p.newNote(kCompra);
    p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 100);
    p.grantBonus(p.rowOf("CJ-001", "", ""), 50);
}

void showNoteOne(NoteScreen &p)
{
    p.open();
    p.showNote(QStringLiteral("1"));
}

// A refusal shown to the clerk as the rebate's window shows it.
void tell(NoteScreen &p, const rebate::Outcome &outcome)
{
    if (outcome.ok)
        return;
    Message m;
    m.text = outcome.error;
    m.style = int(MessageStyle::Warning);
    m.title = QStringLiteral("Bonificación por volumen");
    p.sink->show(m);
}

// A volume rebate over supplier P0001's three purchases of March and April 2024, read,
// spread and saved as its window does.
void grantRebate(NoteScreen &p)
{
    rebate::RebateParameters asked;
    asked.supplier = QStringLiteral("P0001");
    asked.from = QDate(2024, 3, 1);
    asked.to = QDate(2024, 4, 30);
    asked.cause = QStringLiteral("BC");
    asked.reference = QStringLiteral("VOL-1");
    asked.value = 300;
    rebate::VolumeRebate rebates(p.context->session);
    rebate::Outcome outcome;
    try {
        auto lines = rebates.eligible(asked);
        rebate::VolumeRebate::spreadOver(asked, lines);
        outcome = rebates.save(asked, lines, {{QStringLiteral("NC_FOLIO_PROVEEDOR"), QStringLiteral("PRV-77")}});
    } catch (const RuntimeError &e) {
        outcome.error = e.description();
    }
    tell(p, outcome);
}

void cancelRebate(NoteScreen &p)
{
    const rebate::Outcome outcome =
        rebate::VolumeRebate(p.context->session)
            .cancel(p.scalar(QStringLiteral("SELECT MAX(Bv_Folio) FROM Bonificacion_Volumen")).toString());
    tell(p, outcome);
}

const Operation kOperations[] = {
    {"save", [](NoteScreen &p) { newNote(p, "0"); }, [](NoteScreen &p) { p.accept(); }},
    {"save_and_apply", [](NoteScreen &p) { newNote(p, "1"); }, [](NoteScreen &p) { p.accept(); }},
    {"replace",
     [](NoteScreen &p) {
         showNoteOne(p);
         p.toolbar().click(controls::Command::Modificar);
         p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 200);
     },
     [](NoteScreen &p) { p.accept(); }},
    {"cancel", showNoteOne, [](NoteScreen &p) { p.toolbar().click(controls::Command::Eliminar); }},
    {"load", [](NoteScreen &p) { p.open(); }, [](NoteScreen &p) { p.showNote(QStringLiteral("1")); }},
    {"rebate_save", [](NoteScreen &p) { p.open(); }, grantRebate},
    {"rebate_cancel",
     [](NoteScreen &p) {
         p.open();
         grantRebate(p);
     },
     cancelRebate},
};

struct Measured {
    int statements = 0;   // the command's statements, all of them
    int beforeCommit = 0; // those up to the commit (all when it commits nothing)
    QString after;        // the database once the command succeeded
};

class EveryStatementTest : public ::testing::TestWithParam<std::tuple<std::string, int>> {
protected:
    const std::string &backend() const { return std::get<0>(GetParam()); }
    const Operation &operation() const { return kOperations[std::get<1>(GetParam())]; }

    std::unique_ptr<NoteScreen> prepared()
    {
        auto p = std::make_unique<NoteScreen>(backend());
        operation().prepare(*p);
        p->messages();
        p->faults.resetCount();
        return p;
    }

    // The command run once untouched, and once with its commit failing.
    Measured measure()
    {
        Measured run;
        auto p = prepared();
        p->faults.failCommit();
        operation().act(*p);
        run.beforeCommit = p->faults.statements();
        if (!p->faults.fired()) // a command that commits nothing
            p->faults.disarm();
        p = prepared();
        operation().act(*p);
        EXPECT_TRUE(test::noMessages(p->messages()));
        run.statements = p->faults.statements();
        run.after = p->fingerprint();
        return run;
    }

    // The clerk was told of the failure, with nothing held, in words that name it.
    void expectTold(NoteScreen &p, const QString &fault)
    {
        const auto shown = p.messages();
        ASSERT_FALSE(shown.empty()) << "nothing told of: " << fault.toStdString();
        bool named = false;
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_FALSE(p.sink->abiertas[p.sink->abiertas.size() - shown.size() + i]);
            named = named || shown[i].text.contains(fault);
        }
        EXPECT_TRUE(named) << fault.toStdString() << test::noMessages(shown);
    }
};

// Guards against a failing statement leaving part of a note (or of its cancellation or
// application) behind, a failure passed over in silence or told while locks are held,
// and a screen that no longer takes the command after a failure.
TEST_P(EveryStatementTest, EachStatementAndTheCommitFailingInTurn)
{
    const Measured run = measure();
    std::cout << "[ COUNT    ] " << operation().name << " on " << backend() << ": " << run.statements << " statements, "
              << run.beforeCommit << " up to the commit\n";
    ASSERT_GT(run.statements, 0);

    auto p = prepared();
    const QString before = p->fingerprint();
    if (std::string(operation().name) != "load") {
        ASSERT_NE(before, run.after) << "the command wrote nothing";
    }
    for (int n = 1; n <= run.statements; ++n) {
        SCOPED_TRACE(QStringLiteral("statement %1: ").arg(n).toStdString());
        if (n > run.beforeCommit) { // the note is saved; the next one needs a new screen
            p = prepared();
        }
        p->faults.resetCount();
        p->faults.failStatement(n);
        operation().act(*p);
        if (!p->faults.fired()) {
            // The screen took the command again, but with less to do after the last
            // failure (the purchase already shown): the statement is reached from the start.
            p = prepared();
            p->faults.failStatement(n);
            operation().act(*p);
        }
        ASSERT_TRUE(p->faults.fired()) << "the command ran fewer statements than before";
        SCOPED_TRACE(p->faults.last().toStdString());
        expectTold(*p, db::StatementFaults::faultText(n));
        EXPECT_EQ(n <= run.beforeCommit ? before : run.after, p->fingerprint());
        // A note shown in part (a load cut short) is never offered for modifying.
        if (p->toolbar().modifyEnabled()) {
            EXPECT_GT(p->grid().rowCount(), 0) << "Modificar offered on a note shown without its lines";
        }
    }
    if (run.beforeCommit < run.statements)
        p = prepared();
    p->faults.failCommit();
    operation().act(*p);
    if (p->faults.fired()) {
        expectTold(*p, db::StatementFaults::commitFaultText());
        EXPECT_EQ(before, p->fingerprint());
    }
    // After all that, the same screen carries the command out.
    p->faults.disarm();
    operation().act(*p);
    EXPECT_TRUE(test::noMessages(p->messages()));
    EXPECT_EQ(run.after, p->fingerprint());
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<std::string, int>> &info)
{
    return std::string(kOperations[std::get<1>(info.param)].name) + "_" + test::backendLabel(std::get<0>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Operations, EveryStatementTest,
                         ::testing::Combine(::testing::ValuesIn(test::backends()),
                                            ::testing::Range(0, int(std::size(kOperations)))),
                         caseName);

} // namespace
