// ExcedePendiente on every back-end: what is pending on a purchase line (its net amount
// less the live notes on it), compared in whole units with a line's bonus with tax.
#include "document/excede_pendiente.h"
#include "platform/core/error.h"
#include "platform/db/statement_faults.h"
#include "tests/platform/business/nota_fixture.h"
#include "tests/platform/services/services_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qmx44;

namespace {

// ---- the rule alone -------------------------------------------------------------------

struct Comparison {
    double bonificacion, pendiente;
    bool excede;
};

class ExcedePendienteWholeUnitsTest : public ::testing::TestWithParam<Comparison> {};

// Guards against rounding instead of truncating, truncating toward minus infinity, and
// a non-strict comparison.
TEST_P(ExcedePendienteWholeUnitsTest, TruncatesTowardZeroAndComparesStrictly)
{
    const Comparison c = GetParam();
    EXPECT_EQ(c.excede, document::exceedsInWholeUnits(c.bonificacion, c.pendiente))
        << c.bonificacion << " vs " << c.pendiente;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExcedePendienteWholeUnitsTest,
                         ::testing::Values(Comparison{101.00, 100.99, true},
                                           Comparison{100.99, 100.00, false}, // not rounded up
                                           Comparison{100, 100, false},
                                           Comparison{0.5, -0.99, false}, // -0.99 truncates to 0
                                           Comparison{0.5, -1.5, true},   // -1.5 truncates to -1
                                           Comparison{1e15 + 1, 1e15, true}));

// Guards against an amount that is not a number passing as "not greater" (and being
// granted): it is a run-time error.
TEST(ExcedePendienteNotANumberTest, NotANumberIsARunTimeError)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_THROW(document::exceedsInWholeUnits(std::nan(""), 10), RuntimeError);
    EXPECT_THROW(document::exceedsInWholeUnits(inf, 10), RuntimeError);
    EXPECT_THROW(document::exceedsInWholeUnits(10, -inf), RuntimeError);
}

// ---- against the database -----------------------------------------------------------------

class ExcedePendienteTest : public ::testing::TestWithParam<std::string> {
protected:
    // Asks about `bonificacion` (tax included) on a line of `compra`.
    bool excede(const QString &compra, const QString &producto, const QString &talla, const QString &color,
                const QString &unidad, double bonificacion, int *sentencias = nullptr)
    {
        db::StatementFaults contando(demo.db());
        business::NotaCredito nota(demo.session, contando);
        nota.Nuevo();
        business::EncabezadoNota e{};
        e.compra = compra;
        nota.Encabezado(e);
        business::DetalleNota d{};
        d.producto = producto;
        d.talla = talla;
        d.color = color;
        d.unidad1 = unidad;
        d.precioNetoImporte = bonificacion;
        nota.Detalle(d);
        QString sql;
        const bool r = document::ExcedePendiente(contando, sql, nota);
        if (sentencias)
            *sentencias = contando.statements();
        return r;
    }
    bool botas(double bonificacion)
    {
        return excede(QStringLiteral("C000000002"), QStringLiteral("BT-001"), QStringLiteral("27"),
                      QStringLiteral("NEG"), QStringLiteral("PAR"), bonificacion);
    }
    void nota(const char *folio, const char *estado, const char *unidad, double net)
    {
        demo.db().run(
            QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Pr_Cve_Producto, "
                           "Tl_Cve_Talla, Cl_Cve_Color, Nc_Unidad_1, Es_Cve_Estado, Nc_Precio_Neto_Importe) "
                           "VALUES (?, 1, 'C000000002', 'BT-001', '27', 'NEG', ?, ?, ?)"),
            {QString::fromLatin1(folio), QString::fromLatin1(unidad), QString::fromLatin1(estado), net});
    }

    test::DemoSession demo{GetParam()};
};

// Guards against one purchase row or one note row being taken for the whole line,
// cancelled notes or purchase rows still counting, and the unit matched on the wrong
// column: two purchase rows (696 + 464 net) less the live note (174) leave 986 pending.
TEST_P(ExcedePendienteTest, SumsEveryLivePurchaseRowAndNoteOfTheSameUnit)
{
    EXPECT_FALSE(botas(986.99));
    EXPECT_TRUE(botas(987));
    nota("0000000049", "CA", "PAR", 500);
    nota("0000000048", "AC", "CAJ", 900);
    demo.db().run(
        QStringLiteral("INSERT INTO COMPRA (Co_Folio, Co_Linea, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, "
                       "Cl_Cve_Color, Co_Unidad_1, Co_Precio_Neto_Importe) "
                       "VALUES ('C000000002', 99, 'CA', 'BT-001', '27', 'NEG', 'PAR', 5000)"));
    nota("0000000050", "AC", "PAR", 100.5);
    nota("0000000051", "AC", "PAR", 0.5);
    EXPECT_FALSE(botas(885.99)); // 1,160 - 174 - 101 = 885
    EXPECT_TRUE(botas(886));
    // Nothing purchased in CAJ, 900 noted.
    EXPECT_TRUE(excede(QStringLiteral("C000000002"), QStringLiteral("BT-001"), QStringLiteral("27"),
                       QStringLiteral("NEG"), QStringLiteral("CAJ"), 1));
}

// Guards against querying (or failing) without a purchase, a quote in a key ending the
// literal, and a failing statement being swallowed as "not exceeded".
TEST_P(ExcedePendienteTest, EmptyPurchaseRunsNothingQuotesStayInsideAndFailuresReachTheCaller)
{
    int sentencias = -1;
    EXPECT_FALSE(excede(QString(), QStringLiteral("BT-001"), QStringLiteral("27"), QStringLiteral("NEG"),
                        QStringLiteral("PAR"), 1e9, &sentencias));
    EXPECT_EQ(0, sentencias);

    EXPECT_TRUE(excede(QStringLiteral("C000000002"), QStringLiteral("X' OR '1'='1"), QStringLiteral("27"),
                       QStringLiteral("NEG"), QStringLiteral("PAR"), 1));

    demo.db().run(QStringLiteral("ALTER TABLE COMPRA RENAME COLUMN Co_Unidad_1 TO Co_Unidad_Uno"));
    EXPECT_THROW(botas(1), RuntimeError);
}

// Guards against the note's own earlier lines on the same purchase line going uncounted,
// the first (inserted at once) or a later one (still queued in the document).
TEST_P(ExcedePendienteTest, CountsTheNotesOwnEarlierLines)
{
    db::ScopedTransaction tx(demo.db());
    business::NotaCredito nota(demo.session);
    nota.Nuevo();
    nota.Encabezado(test::noteHeader());
    const auto linea = [&](double net) {
        nota.Detalle(test::noteDetail(QStringLiteral("C000000002"), {"BT-001", "27", "NEG", "PAR", 1, net, 0}));
    };
    for (const double net : {100.0, 200.0}) {
        linea(net);
        bool ok = false;
        nota.AgregarDetalle(ok);
        ASSERT_TRUE(ok) << nota.MensajeError().toStdString();
    }
    QString sql;
    linea(686.99); // 986 - 300 = 686 left
    EXPECT_FALSE(document::ExcedePendiente(demo.db(), sql, nota));
    linea(687);
    EXPECT_TRUE(document::ExcedePendiente(demo.db(), sql, nota));
}

// Guards against the check of a whole note from one statement answering otherwise than
// the check by line: cancelled notes, another unit, a line the purchase lacks, and the
// note's earlier lines granted on the same purchase line.
TEST_P(ExcedePendienteTest, WholeNoteCheckAnswersAsTheCheckByLine)
{
    nota("0000000049", "CA", "PAR", 500);
    nota("0000000048", "AC", "CAJ", 900);
    nota("0000000050", "AC", "PAR", 100.5);
    db::ScopedTransaction tx(demo.db());
    business::NotaCredito note(demo.session);
    note.Nuevo();
    note.Encabezado(test::noteHeader());
    QString sql;
    document::PurchasePending pending(demo.db(), sql, QStringLiteral("C000000002"));
    const auto ask = [&](const char *unit, double net) {
        note.Detalle(test::noteDetail(QStringLiteral("C000000002"), {"BT-001", "27", "NEG", unit, 1, net, 0}));
        const bool byLine = document::ExcedePendiente(demo.db(), sql, note);
        EXPECT_EQ(byLine, pending.exceeds(note)) << unit << " " << net;
        if (!byLine && QLatin1String(unit) == QLatin1String("PAR")) {
            bool ok = false;
            note.AgregarDetalle(ok);
            EXPECT_TRUE(ok) << note.MensajeError().toStdString();
        }
        return byLine;
    };
    // 1,160 - 174 - 100.5 = 885.5 pending in PAR; 900 noted on nothing purchased in CAJ.
    EXPECT_TRUE(ask("PAR", 886));
    EXPECT_FALSE(ask("PAR", 300));
    EXPECT_FALSE(ask("PAR", 585.99));
    EXPECT_TRUE(ask("PAR", 1));
    EXPECT_TRUE(ask("CAJ", 1));
    EXPECT_TRUE(ask("KG", 1));
    EXPECT_FALSE(ask("KG", 0.5));
}

INSTANTIATE_TEST_SUITE_P(Backends, ExcedePendienteTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
