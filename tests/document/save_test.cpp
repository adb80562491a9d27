// Saving a credit note from the screen, on every back-end: validation, the stored note,
// every way the transaction can fail (each leaving the database exactly as it was and
// the screen with its contents on the lines page), the aftermath, a commit whose answer
// was lost, and replacing a note.
#include "document/excede_pendiente.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

using namespace qmx44;
using test::NoteScreen;

namespace {

const QString kCompra = QStringLiteral("C000000002");

// The rows of note 0000000004, the first one saved on the demo database.
int rowsOfNote4(NoteScreen &p)
{
    return p.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = '0000000004'"))
        .toInt();
}

class SaveTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { p.open(); }

    // A note on C000000002: 100 on BT-001 27 NEG and 50 on CJ-001.
    void notaDeDosLineas()
    {
        p.newNote(kCompra);
        p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 100);
        p.grantBonus(p.rowOf("CJ-001", "", ""), 50);
        p.messages();
    }
    NoteScreen p{GetParam()};
};

// A refused save: one message, shown with no transaction open, nothing written, and the
// screen still holding the note being entered, on the lines page, editing.
::testing::AssertionResult refusedAndKept(NoteScreen &p, const QString &antes, const char *id = nullptr)
{
    const auto m = p.messages();
    if (m.size() != 1 || (id && m[0].id != QLatin1String(id)))
        return ::testing::AssertionFailure() << "expected " << id << test::noMessages(m);
    if (p.sink->abiertas.back() || p.db().inTransaction())
        return ::testing::AssertionFailure() << "told inside the transaction";
    if (antes != p.fingerprint())
        return ::testing::AssertionFailure() << "the database changed";
    if (p.frm->ssTabFichas().activePage() != 1 || !p.toolbar().EnEdicion()
        || !p.context->activityLog->printedDocuments().empty())
        return ::testing::AssertionFailure() << "the screen left the note";
    return ::testing::AssertionSuccess();
}

// Guards against a zero or negative bonus reaching the document, and a division by a
// zero quantity.
TEST_P(SaveTest, SkipsRowsWithoutBonusAndZeroQuantityGivesZeroUnitValues)
{
    p.newNote(kCompra);
    const int botas = p.rowOf("BT-001", "27", "NEG");
    p.grantBonus(p.rowOf("CJ-001", "", ""), -20);
    p.grid().setCellValue(botas, p.column("Cantidad_1"), 0);
    p.grantBonus(botas, 30);
    p.accept();
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(1, rowsOfNote4(p));
    EXPECT_EQ(0.0,
              p.scalar(QStringLiteral("SELECT Nc_Precio_Lista + Nc_Precio_Neto FROM NOTA_CREDITO_PROVEEDOR "
                                      "WHERE Nc_Folio = '0000000004'"))
                  .toDouble());
}

struct PlannedFailure {
    const char *nombre;
    const char *operacion;
    const char *text;
    const char *id;      // "" = no message at all
    const char *mensaje; // as shown
};

class SaveFailureTest : public ::testing::TestWithParam<std::tuple<std::string, PlannedFailure>> {};

// Guards against a failure inside the transaction leaving part of the note behind,
// reporting in the wrong words, showing its message before the rollback, or clearing
// what the user typed (each statement failing in turn is the every-statement test's).
TEST_P(SaveFailureTest, LeavesTheDatabaseAsItWasAndTheScreenAsTheUserLeftIt)
{
    const auto &[backend, f] = GetParam();
    NoteScreen p(backend);
    p.open();
    p.newNote(kCompra);
    p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 100);
    p.grantBonus(p.rowOf("CJ-001", "", ""), 50);
    p.messages();
    const QString antes = p.fingerprint();

    p.armFault(f.operacion, QString::fromUtf8(f.text));
    p.accept();

    if (!*f.id) {
        EXPECT_TRUE(p.messages().empty());
        EXPECT_EQ(antes, p.fingerprint());
        EXPECT_TRUE(p.toolbar().EnEdicion());
        return;
    }
    const std::vector<Message> shown = p.sink->messages();
    EXPECT_TRUE(refusedAndKept(p, antes, f.id));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(QString::fromUtf8(f.mensaje), shown[0].text);
    EXPECT_EQ(150.0, p.textField("txt_SubTotal").value().toDouble());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveFailureTest,
    ::testing::Combine(::testing::ValuesIn(test::backends()),
                       ::testing::Values(PlannedFailure{"linea", "NotaCredito.AgregarDetalle", "Línea rechazada",
                                                        "ERR-ID:7500008", "Línea rechazada"},
                                         PlannedFailure{"linea_sin_texto", "NotaCredito.AgregarDetalle", "", "", ""},
                                         PlannedFailure{
                                             "campos", "Controles.GuardarCamposAdicionales", "Valor no admitido",
                                             "ERR-ID:7500034",
                                             "Imposible actualizar campos adicionales\r\nValor no admitido"})),
    [](const auto &p) { return test::backendLabel(std::get<0>(p.param)) + "_" + std::get<1>(p.param).nombre; });

// Guards against a line that exceeds what is pending being stored, or the lines before
// it staying stored: the second line exceeds, the first was already added (where the
// limit lies is the excede pendiente test's).
TEST_P(SaveTest, ExceedingLineRollsBackTheLinesAlreadyAdded)
{
    p.newNote(kCompra);
    p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 100);
    // CJ-001: 783 net purchased; 676 + 16 % = 784.16 truncates to 784 > 783.
    p.grantBonus(p.rowOf("CJ-001", "", ""), 676);
    p.messages();
    const QString antes = p.fingerprint();
    p.accept();
    EXPECT_TRUE(refusedAndKept(p, antes, "ERR-ID:7500007"));
}

// Guards against applying the note when the parameter says not to.
TEST_P(SaveTest, AppliesOnlyWhenTheParameterSaysSo)
{
    NoteScreen q(GetParam());
    q.setParameter("CXP_APLICAR_NOTA_CREDITO", QStringLiteral("0"));
    q.open();
    q.newNote(kCompra);
    q.grantBonus(0, 10);
    q.armFault("NotaCredito.Aplicar", QStringLiteral("no debe llamarse"));
    q.accept();
    EXPECT_TRUE(test::noMessages(q.messages()));
    EXPECT_FALSE(q.context->session->faults().empty()); // Aplicar never ran
}

// Guards against a failure after the commit undoing the note or leaving the toolbar
// editing: the note stays saved, the screen cleared, and the error is reported.
TEST_P(SaveTest, PrintFailureAfterTheCommitOnlyReports)
{
    notaDeDosLineas();
    p.armFault("Impresion.Imprimir", QStringLiteral("Impresora fuera de línea"));
    p.accept();
    EXPECT_EQ(1u, p.messages().size());
    EXPECT_EQ(2, rowsOfNote4(p));
    EXPECT_FALSE(p.toolbar().EnEdicion());
    EXPECT_EQ(1, p.toolbar().savedNotified());
}

// Guards against a full disk half-writing a note or being told in the driver's words,
// and against the screen losing the note: the same save goes through once there is room.
TEST_P(SaveTest, FullDiskSavesNothingAndTheSameSaveGoesThroughOnceThereIsRoom)
{
    if (GetParam() != "sqlite")
        GTEST_SKIP() << "the file's page limit is SQLite's";
    notaDeDosLineas();
    // The file packed tight and not allowed to grow, and the room left in the notes'
    // table taken by cancelled rows of no purchase.
    p.db().run(QStringLiteral("VACUUM"));
    p.db().run(QStringLiteral("PRAGMA max_page_count = %1").arg(p.scalar(QStringLiteral("PRAGMA page_count")).toInt()));
    EXPECT_THROW(
        for (int n = 1;; ++n) p.db().run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, "
                                                        "Co_Folio, Es_Cve_Estado) VALUES (?, 1, '', 'CA')"),
                                         {QStringLiteral("R%1").arg(n)}),
        RuntimeError);
    const QString before = p.fingerprint();

    p.accept();
    EXPECT_TRUE(p.sink->messages().at(0).text.startsWith(QStringLiteral("No hay espacio")));
    EXPECT_TRUE(refusedAndKept(p, before));

    p.db().run(QStringLiteral("PRAGMA max_page_count = 1073741823"));
    p.accept();
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(2, rowsOfNote4(p));
}

// Guards against replacing a note leaving the old one live, losing the link between
// them, or counting both against the purchase.
TEST_P(SaveTest, ModifyAndSaveReplacesTheNote)
{
    p.showNote(QStringLiteral("1"));
    ASSERT_TRUE(p.toolbar().modifyEnabled());
    p.toolbar().click(controls::Command::Modificar);
    p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 200);
    p.messages();
    const double saldo =
        p.scalar(QStringLiteral("SELECT Pv_Saldo FROM Proveedor WHERE Pv_Cve_Proveedor = 'P0002'")).toDouble();

    p.accept();

    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(QStringLiteral("0000000001"),
              p.scalar(QStringLiteral("SELECT Nc_Folio_Sustituye FROM NOTA_CREDITO_PROVEEDOR "
                                      "WHERE Nc_Folio = '0000000004'"))
                  .toString());
    // The live notes on BT-001 27 NEG: only the new one (the old one cancelled).
    EXPECT_DOUBLE_EQ(232.0,
                     p.scalar(QStringLiteral("SELECT SUM(Nc_Precio_Neto_Importe) FROM NOTA_CREDITO_PROVEEDOR "
                                             "WHERE Pr_Cve_Producto = 'BT-001' AND Tl_Cve_Talla = '27' "
                                             "AND Co_Folio = 'C000000002' AND Es_Cve_Estado <> 'CA'"))
                         .toDouble());
    // The old application reversed (+174), the new one applied (-232).
    EXPECT_DOUBLE_EQ(
        saldo + 174 - 232,
        p.scalar(QStringLiteral("SELECT Pv_Saldo FROM Proveedor WHERE Pv_Cve_Proveedor = 'P0002'")).toDouble());
}

// Guards against an empty control unit stored as the first purchase row's, which shows
// the bonus on another row and moves it there for good on the next modification.
TEST_P(SaveTest, LineKeepsItsRowsEmptyControlUnit)
{
    p.db().run(QStringLiteral("UPDATE COMPRA SET Co_Unidad_Control_1 = '' WHERE Co_Folio = ? AND Co_Linea = 2"),
               {kCompra});
    const auto rowWithUnit = [&](const char *unit) {
        for (int r = 0; r < p.grid().rowCount(); ++r)
            if (p.grid().cellText(r, p.column("Pr_Cve_Producto")) == QLatin1String("BT-001")
                && p.grid().cellText(r, p.column("Tl_Cve_Talla")) == QLatin1String("27")
                && p.grid().cellText(r, p.column("Unidad_Control_1")) == QLatin1String(unit))
                return r;
        return -1;
    };
    p.newNote(kCompra);
    ASSERT_NE(-1, rowWithUnit(""));
    p.grantBonus(rowWithUnit(""), 10);
    p.accept();
    ASSERT_TRUE(test::noMessages(p.messages()));

    p.showNote(QStringLiteral("4"));
    EXPECT_EQ(10.0, p.cell(rowWithUnit(""), "BON_IMPORTE").toDouble());
    EXPECT_EQ(0.0, p.cell(rowWithUnit("PAR"), "BON_IMPORTE").toDouble());
}

// Guards against the cancellation of the replaced note failing silently, or its reason
// shown without the line break (or with a dangling one when there is none).
TEST_P(SaveTest, ReplacedNoteThatCannotBeCancelled)
{
    for (const QString &razon : {QStringLiteral("La nota ya estaba cancelada"), QString()}) {
        p.toolbar().click(controls::Command::Cancelar);
        // The period is checked on the date shown before the note's own replaces it.
        p.frm->dpFecha().setValue(QDate(2024, 7, 15));
        p.showNote(QStringLiteral("1"));
        p.toolbar().click(controls::Command::Modificar);
        p.messages();
        const QString antes = p.fingerprint();
        p.armFault("NotaCredito.Cancelar", razon);
        p.accept();
        const QString text = p.sink->messages().at(0).text;
        EXPECT_EQ(razon.isEmpty() ? QStringLiteral("Error al cancelar la nota de credito")
                                  : QStringLiteral("Error al cancelar la nota de credito\r\n") + razon,
                  text);
        EXPECT_TRUE(refusedAndKept(p, antes, "ERR-ID:7500006"));
    }
}

// Guards against a second Aceptar, delivered while the save lets pending window events
// through (a double click), saving the note a second time inside the first save.
TEST_P(SaveTest, SecondAceptarDuringTheYieldIsIgnored)
{
    notaDeDosLineas();
    int clicks = 0;
    QTimer::singleShot(0, [&] {
        ++clicks;
        p.accept();
    });
    p.accept();
    EXPECT_EQ(1, clicks);
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(1, p.toolbar().savedNotified());
    EXPECT_EQ(4, p.scalar(QStringLiteral("SELECT COUNT(DISTINCT Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR")).toInt());
}

// Guards against a Cancelar, or the window closed, during that yield leaving the save
// to go on over the cleared screen or the released form (and fail with a puzzling
// message): the user left the note, so nothing is saved and nothing is said.
TEST_P(SaveTest, CancelarOrClosingDuringTheYieldAbandonsTheSave)
{
    const QString antes = p.fingerprint();
    for (const bool cerrar : {false, true}) {
        notaDeDosLineas();
        QTimer::singleShot(0, [&] {
            if (cerrar)
                p.padre->close();
            else
                p.toolbar().click(controls::Command::Cancelar);
        });
        p.accept();
        EXPECT_TRUE(test::noMessages(p.messages()));
        EXPECT_EQ(antes, p.fingerprint());
        EXPECT_EQ(0, p.toolbar().savedNotified());
    }
    EXPECT_TRUE(p.frm->isUnloaded());
}

// Guards against a note the server kept, though the commit's answer was lost, being
// saved again by the next Aceptar (or by one after a failed look-up) instead of shown.
TEST_P(SaveTest, CommitLostAfterTheServerKeptTheNoteIsFoundNotSavedAgain)
{
    notaDeDosLineas();
    p.faults.loseCommit(true);
    p.accept();
    EXPECT_EQ(QStringLiteral("ERR-ID:7500012"), p.messages().at(0).id);
    const QString saved = p.fingerprint();
    p.faults.failStatement(1);
    p.accept();
    EXPECT_TRUE(p.faults.last().contains(QStringLiteral("Nc_Token")));
    EXPECT_EQ(1u, p.messages().size());

    p.accept();
    EXPECT_EQ(1u, p.messages().size());
    EXPECT_EQ(QStringLiteral("0000000004"), p.frm->txtFolio().text());
    p.accept();
    EXPECT_EQ(saved, p.fingerprint());
}

// Guards against a note the server did not keep being left unsaved, or saved with
// another token, by the next Aceptar.
TEST_P(SaveTest, CommitLostBeforeTheServerKeptTheNoteIsSavedOnceByTheNextAceptar)
{
    notaDeDosLineas();
    p.faults.loseCommit(false);
    p.accept();
    const QString token = p.frm->saveToken;
    p.messages();
    p.accept();
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(
        2, p.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Token = ?"), {token}).toInt());
}

INSTANTIATE_TEST_SUITE_P(Backends, SaveTest, ::testing::ValuesIn(test::backends()), test::backendName);

class SaveLockTimeoutTest : public ::testing::TestWithParam<std::string> {};

// Guards against a clerk holding a purchase's lock (a laptop asleep inside a save)
// stopping everyone else's save, against the wait ending in the driver's words or with
// part of the note written, and against the note being lost to the clerk.
TEST_P(SaveLockTimeoutTest, WaitingPastTheLockTimeoutSavesNothingAndTheSameSaveGoesThroughLater)
{
    if (GetParam() != "postgres")
        GTEST_SKIP() << "SQLite waits for its write lock by busy_timeout";
    NoteScreen p(GetParam(), QStringLiteral("ADMIN"), test::ServerLogin::Superuser, QStringLiteral("lock_timeout=1s"));
    p.open();
    p.newNote(kCompra);
    p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 100);
    p.messages();
    const QString before = p.fingerprint();
    auto holder = db::open(p.fresh.connectionString(), db::OpenMode::Existing);
    holder->begin();
    holder->lockRows(QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"), kCompra);
    QElapsedTimer waited;
    waited.start();
    p.accept();
    EXPECT_LT(waited.elapsed(), 10000);
    EXPECT_TRUE(p.sink->messages().at(0).text.startsWith(QStringLiteral("Otro usuario está guardando")));
    EXPECT_TRUE(refusedAndKept(p, before));
    holder->rollback();
    p.accept();
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_NE(before, p.fingerprint());
}

INSTANTIATE_TEST_SUITE_P(Backends, SaveLockTimeoutTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
