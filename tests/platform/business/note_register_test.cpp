// The notes register on the demo company and two notes added here (one in dollars that
// replaces the cancelled note, from a supplier whose name holds a comma and quotes), on
// every back-end: filters, sort and paging, totals, a restricted user, CSV.
#include "platform/business/note_register.h"
#include "tests/platform/services/services_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using namespace qmx44::business;

namespace {

class NoteRegisterTest : public ::testing::TestWithParam<std::string> {
protected:
    NoteRegisterTest() : demo(GetParam())
    {
        demo.db().run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) "
                                     "VALUES ('P0099', 'Avíos \"El Norte\", S.A.')"));
        const QString line = QStringLiteral(
            "INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Nc_Fecha, Mn_Cve_Moneda, Nc_Tipo_Cambio, "
            "Co_Folio, "
            "Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cn_Cve_Causa_Nota_Credito_Proveedor, Nc_Usuario, "
            "Nc_Folio_Sustituye, Nc_Precio_Descontado_Importe, Nc_Impuesto_Importe, Nc_Precio_Neto_Importe) "
            "VALUES (?, ?, ?, 'USD', 17, 'C000000004', '001', 'A01', 'P0099', 'BC', 'ADMIN', ?, ?, ?, ?)");
        demo.db().run(line,
                      {QStringLiteral("0000000004"), 1, QStringLiteral("2024-03-20"), QStringLiteral("0000000002"),
                       10.0, 1.6, 11.6});
        demo.db().run(line,
                      {QStringLiteral("0000000004"), 2, QStringLiteral("2024-03-20"), QStringLiteral("0000000002"), 5.0,
                       0.8, 5.8});
    }

    std::vector<QString> folios(NoteRegister &r) const
    {
        std::vector<QString> out;
        for (const NoteRow &row : r.rows(0, -1))
            out.push_back(row.folio);
        return out;
    }

    test::DemoSession demo;
};

// Guards against a filter that narrows nothing, narrows by the wrong column, or loses
// the last day of a date range.
TEST_P(NoteRegisterTest, EachFilterNarrowsTheList)
{
    NoteRegister r(demo.session);
    using Folios = std::vector<QString>;
    EXPECT_EQ(folios(r), (Folios{"0000000001", "0000000002", "0000000003", "0000000004"}));
    const auto filtered = [&](auto change) {
        NoteRegisterFilter f;
        change(f);
        r.setFilter(f);
        return folios(r);
    };
    EXPECT_EQ(filtered([](auto &f) { f.supplier = QStringLiteral("P0004"); }), (Folios{"0000000002", "0000000003"}));
    EXPECT_EQ(filtered([](auto &f) { f.purchase = QStringLiteral("C000000004"); }),
              (Folios{"0000000002", "0000000004"}));
    EXPECT_EQ(filtered([](auto &f) {
                  f.from = QDate(2024, 3, 15);
                  f.to = QDate(2024, 3, 19);
              }),
              (Folios{"0000000002", "0000000003"}));
    EXPECT_EQ(filtered([](auto &f) { f.state = NoteState::Live; }), (Folios{"0000000001", "0000000003", "0000000004"}));
    EXPECT_EQ(filtered([](auto &f) { f.state = NoteState::Cancelled; }), (Folios{"0000000002"}));
    EXPECT_EQ(filtered([](auto &f) { f.cause = QStringLiteral("BC"); }), (Folios{"0000000002", "0000000004"}));
    EXPECT_EQ(filtered([](auto &f) { f.user = QStringLiteral("MTY01"); }), (Folios{"0000000003"}));
}

// Guards against a sort by a summed column that sorts line by line, ties left in the
// database's order (pages overlapping), and the replacement links read the wrong way.
TEST_P(NoteRegisterTest, SortsPagesAndLinksReplacements)
{
    NoteRegister r(demo.session);
    r.setSort(NoteColumn::Total, true);
    EXPECT_EQ(folios(r), (std::vector<QString>{"0000000003", "0000000001", "0000000002", "0000000004"}));
    r.setSort(NoteColumn::Supplier, false); // by name: "Avíos..." before the demo's suppliers
    const std::vector<NoteRow> all = r.rows(0, -1);
    const std::vector<NoteRow> page = r.rows(1, 2);
    ASSERT_EQ(page.size(), 2u);
    EXPECT_EQ(all.front().folio, QStringLiteral("0000000004"));
    EXPECT_EQ(page[0].folio, all[1].folio);
    EXPECT_EQ(page[1].folio, all[2].folio);
    for (const NoteRow &row : all) {
        if (row.folio == QStringLiteral("0000000002")) {
            EXPECT_EQ(row.replacedBy, QStringLiteral("0000000004"));
            EXPECT_TRUE(row.cancelled);
        }
        if (row.folio == QStringLiteral("0000000004")) {
            EXPECT_EQ(row.replaces, QStringLiteral("0000000002"));
            EXPECT_EQ(row.date, QDate(2024, 3, 20));
            EXPECT_DOUBLE_EQ(row.total, 17.4);
            EXPECT_EQ(NoteRegister::cellText(row, NoteColumn::Supplier), QStringLiteral("Avíos \"El Norte\", S.A."));
        }
    }
}

// Guards against totals of the fetched page only, and dollars added to pesos as if
// they were the same money.
TEST_P(NoteRegisterTest, TotalsInOneCurrencyOrConverted)
{
    NoteRegister r(demo.session);
    NoteRegisterFilter f;
    f.supplier = QStringLiteral("P0004");
    r.setFilter(f);
    NoteTotals t = r.totals();
    EXPECT_EQ(t.notes, 2);
    EXPECT_FALSE(t.converted);
    EXPECT_EQ(t.currency, QStringLiteral("MN"));
    EXPECT_NEAR(t.total, 116 + 1160 + 334.08, 1e-9);

    r.setFilter({});
    t = r.totals();
    EXPECT_EQ(t.notes, 4);
    EXPECT_TRUE(t.converted);
    EXPECT_EQ(t.currency, QStringLiteral("MN"));
    EXPECT_NEAR(t.total, 174 + 116 + 1160 + 334.08 + 17.4 * 17, 1e-9);
    EXPECT_NEAR(t.tax, 24 + 16 + 160 + 46.08 + 2.4 * 17, 1e-9);
}

// Guards against a restricted clerk listing (or exporting) notes of other branches or
// warehouses, whatever the filter asks.
TEST_P(NoteRegisterTest, RestrictedUsersSeeTheirBranchAndWarehouse)
{
    demo.session->setUser(QStringLiteral("GDL01")); // branch 001
    NoteRegister branch(demo.session);
    EXPECT_EQ(folios(branch), (std::vector<QString>{"0000000001", "0000000002", "0000000004"}));
    demo.session->setUser(QStringLiteral("ALM01")); // branch 001, warehouse A01
    NoteRegister warehouse(demo.session);
    NoteRegisterFilter f;
    f.supplier = QStringLiteral("P0004");
    warehouse.setFilter(f);
    EXPECT_EQ(folios(warehouse), (std::vector<QString>{"0000000002"}));
    EXPECT_EQ(warehouse.totals().notes, 1);
}

// Guards against a CSV that splits a name holding the separator, loses the accents in
// a spreadsheet, or writes amounts a comma-decimal spreadsheet reads as text.
TEST_P(NoteRegisterTest, CsvInTheLocalesSeparators)
{
    EXPECT_EQ(csvSeparator(u','), u';');
    EXPECT_EQ(csvSeparator(u'.'), u',');
    NoteRegister r(demo.session);
    NoteRegisterFilter f;
    f.purchase = QStringLiteral("C000000004");
    r.setFilter(f);
    const QByteArray csv = r.toCsv(u',', u'.');
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
              QStringLiteral("Folio,Fecha,Clave proveedor,Proveedor,Compra,Subtotal,Impuesto,Total,Moneda,"
                             "Estado,Sustituida por,Sustituye a"));
    EXPECT_EQ(lines[2],
              QStringLiteral("0000000004,20/03/2024,P0099,\"Avíos \"\"El Norte\"\", S.A.\",C000000004,15.00,"
                             "2.40,17.40,USD,Vigente,,0000000002"));
    EXPECT_EQ(lines[3], QStringLiteral("Total: 2 notas,,,,,355.00,56.80,411.80,MN (convertido),,,"));
    const QString semicolon = QString::fromUtf8(r.toCsv(u';', u',').mid(3));
    EXPECT_TRUE(semicolon.contains(QStringLiteral(";\"Avíos \"\"El Norte\"\", S.A.\";C000000004;15,00;2,40;17,40;")))
        << semicolon.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, NoteRegisterTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
