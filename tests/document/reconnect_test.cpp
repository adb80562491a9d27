// The PostgreSQL server going away under the screen: stopped between two actions, or
// stopped while a save waits inside its transaction. Runs under its own throwaway
// server (scripts/with-postgres), which it stops and starts.
#include "platform/db/open.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace qmx44;
using test::NoteScreen;

namespace {

const QString kCompra = QStringLiteral("C000000002");

bool server(const char *action)
{
    const std::string command =
        std::string("\"") + std::getenv("QMX44_TEST_PG_SERVER") + "\" " + action + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

class ReconnectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("QMX44_TEST_PG_SERVER") || !std::getenv("QMX44_TEST_PG"))
            GTEST_SKIP() << "needs a throwaway PostgreSQL server of its own (scripts/with-postgres)";
        p = std::make_unique<NoteScreen>("postgres");
        p->open();
        p->newNote(kCompra);
        p->grantBonus(p->rowOf("BT-001", "27", "NEG"), 100);
        p->messages();
        before = p->fingerprint();
        notesBefore = notes();
    }
    int notes()
    {
        return p
            ->scalar(QStringLiteral("SELECT COUNT(DISTINCT Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR WHERE Co_Folio = ?"),
                     {kCompra})
            .toInt();
    }
    void TearDown() override
    {
        if (stopped)
            server("start");
        p.reset();
    }
    // "stop", "kill" or "start" the server.
    void serverTo(const std::string &action)
    {
        ASSERT_TRUE(server(action.c_str()));
        stopped = action != "start";
    }
    // The save that fails showed one message, with no transaction open, naming the loss.
    void expectOneMessageNaming(const char *words)
    {
        const auto shown = p->messages();
        ASSERT_EQ(1u, shown.size()) << test::noMessages(shown);
        EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(words))) << shown[0].text.toStdString();
        EXPECT_FALSE(p->sink->abiertas.back());
    }
    // Once the server is back the same screen saves the same note, reconnecting by itself.
    void expectNothingSavedThenTheSaveSucceeds()
    {
        EXPECT_EQ(before, p->fingerprint());
        EXPECT_TRUE(p->toolbar().EnEdicion());
        p->accept();
        EXPECT_TRUE(test::noMessages(p->messages()));
        EXPECT_EQ(notesBefore + 1, notes());
    }

    std::unique_ptr<NoteScreen> p;
    QString before;
    int notesBefore = 0;
    bool stopped = false;
};

// Guards against a clerk's action after a server restart or crash failing for good (or
// with the driver's raw text), and against a dead session being kept or the screen
// needing to be reopened: a server still down is named, and once it is back the save
// goes through.
TEST_F(ReconnectTest, ServerCrashedOrStoppedBetweenActions)
{
    serverTo("kill");
    serverTo("start");
    EXPECT_EQ(before, p->fingerprint());
    serverTo("stop");
    p->accept();
    expectOneMessageNaming("No hay conexión con la base de datos");
    serverTo("start");
    expectNothingSavedThenTheSaveSucceeds();
}

// Guards against a save cut by the server inside its transaction leaving part of the
// note behind, or the rest of it being written on a new session without the first part.
TEST_F(ReconnectTest, ServerStoppedWhileTheSaveIsInItsTransaction)
{
    // Another clerk holds the purchase's lines, so the save waits inside its transaction
    // until the server stops.
    auto holder = db::open(p->fresh.connectionString(), db::OpenMode::Existing);
    holder->begin();
    holder->lockRows(QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"), kCompra);
    const QString url = p->fresh.connectionString();
    std::thread stopper([&] {
        auto watch = db::open(url, db::OpenMode::Raw);
        for (int i = 0; i < 400; ++i) {
            auto rs = watch->query(QStringLiteral("SELECT COUNT(*) AS n FROM pg_stat_activity "
                                                  "WHERE wait_event_type = 'Lock'"));
            if (rs->field(QStringLiteral("n")).toInt() > 0)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        watch.reset();
        server("stop");
    });
    p->accept();
    stopper.join();
    stopped = true;
    expectOneMessageNaming("Se perdió la conexión con la base de datos");
    holder.reset();
    serverTo("start");
    expectNothingSavedThenTheSaveSucceeds();
}

} // namespace
