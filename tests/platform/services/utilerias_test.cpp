// Utilerias against the demo company: exchange rates, operating periods, folios by the
// document's width, the working date and planned failures — on every back-end.
#include "platform/services/utilerias.h"
#include "services_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using qmx44::services::Utilerias;

namespace {

QDate d(const char *iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

class UtileriasTest : public ::testing::TestWithParam<std::string> {
protected:
    test::DemoSession demo{GetParam()};
    Utilerias utilerias{demo.session};
};

// Guards against a rate taken from after the date, from another currency, a local
// currency that is not exactly 1, and a made-up rate when none is known. The demo has
// USD rates from 2024-01-02 (17.0512), 2024-03-01 (16.9875) and 2024-07-01 (18.2545).
TEST_P(UtileriasTest, TipoCambioIsTheLatestRateOnOrBeforeTheDate)
{
    const std::tuple<const char *, QDate, double> cases[] = {
        {"USD", d("2024-01-01"), 0.0},     // before the first rate
        {"USD", d("2024-01-02"), 17.0512}, // on the day a rate starts
        {"USD", d("2024-01-31"), 17.0512}, // between two rates
        {"USD", d("2031-01-01"), 18.2545}, // after the last
        {"MN", d("2024-03-15"), 1.0},      // the local currency
        {"EUR", d("2024-03-15"), 0.0},     // unknown currency
        {"USD", QDate(), 0.0},
    };
    for (const auto &[moneda, fecha, esperado] : cases)
        EXPECT_DOUBLE_EQ(utilerias.TipoCambio(QString::fromLatin1(moneda), fecha), esperado)
            << moneda << " " << fecha.toString(Qt::ISODate).toStdString();
}

// Guards against closed periods counting as open, open ends being excluded, and periods
// of another module counting. The demo's COMPRAS periods are closed to 2024-06-30 and
// open from 2024-07-01 to 2099-12-31.
TEST_P(UtileriasTest, ValidarPeriodoNeedsAnOpenPeriodOfTheModule)
{
    const QString compras = QStringLiteral("COMPRAS");
    EXPECT_FALSE(utilerias.ValidarPeriodo(d("2024-06-30"), compras, 0));
    EXPECT_TRUE(utilerias.ValidarPeriodo(d("2024-07-01"), compras, 0));
    EXPECT_TRUE(utilerias.ValidarPeriodo(d("2099-12-31"), compras, 0));
    EXPECT_FALSE(utilerias.ValidarPeriodo(d("2100-01-01"), compras, 0));
    EXPECT_FALSE(utilerias.ValidarPeriodo(d("2025-03-10"), QStringLiteral("VENTAS"), 0));
    EXPECT_FALSE(utilerias.ValidarPeriodo(QDate(), compras, 0));
}

// Guards against the stored width of a document's folios being ignored.
TEST_P(UtileriasTest, FormatearFolioUsesTheDocumentsWidth)
{
    demo.db().run(QStringLiteral("INSERT INTO Folio_Contador (Fc_Documento, Fc_Ultimo, Fc_Ancho) VALUES (?, 0, 6)"),
                  {QStringLiteral("VALE")});
    EXPECT_EQ(utilerias.FormatearFolio(QStringLiteral(" 12 "), QStringLiteral("VALE")), QStringLiteral("000012"));
    EXPECT_EQ(utilerias.FormatearFolio(QStringLiteral("12")), QStringLiteral("0000000012"));
    EXPECT_EQ(utilerias.FormatearFolio(QStringLiteral("12"), QStringLiteral("NO_EXISTE")),
              QStringLiteral("0000000012"));
}

// Guards against an operation that ignores the host's planned failure.
TEST_P(UtileriasTest, EveryOperationHonoursThePlannedFailure)
{
    test::expectEachHonoursOnePlannedFailure(
        *demo.session,
        {
            {QStringLiteral("Utilerias.FechaActual"), [&] { utilerias.FechaActual(); }},
            {QStringLiteral("Utilerias.ValidarPeriodo"),
             [&] { utilerias.ValidarPeriodo(d("2024-07-01"), QStringLiteral("COMPRAS"), 0); }},
            {QStringLiteral("Utilerias.FormatearFolio"), [&] { utilerias.FormatearFolio(QStringLiteral("1")); }},
            {QStringLiteral("Utilerias.TipoCambio"),
             [&] { utilerias.TipoCambio(QStringLiteral("USD"), d("2024-07-01")); }},
            {QStringLiteral("Utilerias.Transaccion"),
             [&] { utilerias.Transaccion(QStringLiteral("CO003"), QStringLiteral("Orvalis")); }},
            {QStringLiteral("Utilerias.EnviarTeclas"), [&] { utilerias.EnviarTeclas(QStringLiteral("\t"), false); }},
        });
}

INSTANTIATE_TEST_SUITE_P(Backends, UtileriasTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
