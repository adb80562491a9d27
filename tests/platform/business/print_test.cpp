// Print formats: the template language, the printed amounts, and credit notes written
// as PDF (their text read back with pdftotext) on every back-end.
#include "platform/business/impresion.h"
#include "platform/business/print/note_data.h"
#include "platform/business/print/print_format.h"
#include "platform/business/print/print_template.h"
#include "platform/db/open.h"
#include "platform/db/schema.h"
#include "tests/platform/services/services_fixture.h"
#include "tests/support/recording_progress.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace qmx44;
using namespace qmx44::business::print;

namespace {

// ---- the template language ------------------------------------------------------------

struct TemplateCase {
    const char *templateText;
    const char *esperado;
};

class PrintTemplateTest : public ::testing::TestWithParam<TemplateCase> {};

// Guards against unescaped values (a supplier name breaking the page), lost or repeated
// lines, sections shown on the wrong condition and templates cut at a malformed tag.
TEST_P(PrintTemplateTest, FillsTheTemplate)
{
    PrintData data;
    data.fields = {{"Nombre", "Ana & <Bo>"}, {"Vacio", ""}, {"Multi", "a\nb"}, {"N", "fuera"}};
    data.lists[QStringLiteral("Lineas")] = {{{"N", "1"}}, {{"N", "2"}}};
    data.lists[QStringLiteral("Nada")] = {};
    EXPECT_EQ(fillTemplate(QString::fromUtf8(GetParam().templateText), data), QString::fromUtf8(GetParam().esperado));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintTemplateTest,
    ::testing::Values(TemplateCase{"{{Nombre}}", "Ana &amp; &lt;Bo&gt;"},
                      TemplateCase{"{{#Lineas}}{{Vacio}}{{Multi}};{{/Lineas}}{{N}}", "a<br/>b;a<br/>b;fuera"},
                      TemplateCase{"{{#Vacio}}x{{/Vacio}}{{^Vacio}}y{{/Vacio}}", "y"},
                      TemplateCase{"{{#Nada}}x{{/Nada}}{{^Nada}}sin líneas{{/Nada}}", "sin líneas"},
                      TemplateCase{"{{#Nombre}}sin fin", "sin fin"}, TemplateCase{"a{{/Nombre}}b", "ab"},
                      TemplateCase{"abierto {{Nombre", "abierto {{Nombre"}));

// Guards against amounts printed without grouping, with a stray minus, or rounded the
// wrong way; and quantities printed with meaningless zeros.
TEST(PrintAmountsTest, AmountsAndQuantities)
{
    EXPECT_EQ(formatAmount(-0.004), QStringLiteral("0.00"));
    EXPECT_EQ(formatAmount(-1234567.891), QStringLiteral("-1,234,567.89"));
    EXPECT_EQ(formatAmount(0.125), QStringLiteral("0.13"));
    EXPECT_EQ(formatQuantity(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(formatQuantity(12345.000001), QStringLiteral("12,345"));
}

// Guards against the schema upgrade overwriting a print format the company changed, or
// leaving a company with the plain one.
TEST(PrintDefaultFormatTest, TheUpgradeReplacesOnlyThePlainTemplate)
{
    for (const bool propio : {false, true}) {
        SCOPED_TRACE(propio ? "own template" : "plain template");
        QTemporaryDir dir;
        auto c = db::open(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("v1.sqlite")), db::OpenMode::Raw);
        db::upgradeSchema(*c, {db::schemaStep(1, c->backend())});
        if (propio)
            c->run(QStringLiteral(
                "UPDATE Formato_Impresion SET Fi_Plantilla = 'propia' WHERE Fi_Nombre = 'NCP_BONIFICACION'"));
        db::upgradeSchema(*c);
        const QString templateText = formatTemplate(*c, QStringLiteral("NCP_BONIFICACION"));
        if (propio)
            EXPECT_EQ(templateText, QStringLiteral("propia"));
        else
            EXPECT_TRUE(templateText.contains(QStringLiteral("{{#Lineas}}"))) << templateText.toStdString();
    }
}

// ---- printed notes --------------------------------------------------------------------

QString runTool(const QString &programa, const QStringList &argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 falló: %2>").arg(programa, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The PDF's text with runs of white space made one space.
QString pdfText(const QString &file)
{
    return runTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")})
        .replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

int pdfPages(const QString &file)
{
    const auto m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(runTool(QStringLiteral("pdfinfo"), {file}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class PrintTest : public ::testing::TestWithParam<std::string> {
protected:
    QString imprimir(const QString &folio, const QString &formato = QStringLiteral("NCP_BONIFICACION"))
    {
        return printNote(*db, formato, folio, folder.path());
    }

    std::unique_ptr<db::Conexion> db = test::freshDatabase(GetParam(), /*demo=*/true);
    QTemporaryDir folder;
};

// Guards against a printed note missing what a credit note must show: company, folio,
// date, supplier and delivery address, purchase, cause, reference, lines and totals.
TEST_P(PrintTest, TheDefaultFormatPrintsACompleteNote)
{
    const QString file = imprimir(QStringLiteral("0000000001"));
    const QString text = pdfText(file);
    for (const char *esperado :
         {"Distribuidora Textil del Bajío, S.A. de C.V.", "0000000001", "10/02/2024",
          "Calzado Industrial de León, S.A. de C.V.", "Calle Nardo 112, entre Jazmín y Azucena", "C000000002",
          "DP Diferencia en precio", "NCP-4471", "BT-001", "174.00", "CXP01 María Fernanda López Ibarra"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(esperado))) << esperado << "\n" << text.toStdString();
    }
    EXPECT_FALSE(text.contains(QStringLiteral("CANCELADA"))) << text.toStdString();
}

// Guards against a cancelled note printed as if it were live, and a replacement that
// does not say which note it replaces.
TEST_P(PrintTest, CancelledAndReplacingNotesSaySo)
{
    const QString cancelada = pdfText(imprimir(QStringLiteral("0000000002")));
    EXPECT_TRUE(cancelada.contains(QStringLiteral("Cancelada por ADMIN el 25/03/2024 09:40")))
        << cancelada.toStdString();

    db->run(QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Folio_Sustituye = '0000000002' "
                           "WHERE Nc_Folio = '0000000003'"));
    const QString sustituta = pdfText(imprimir(QStringLiteral("0000000003")));
    EXPECT_TRUE(sustituta.contains(QStringLiteral("Sustituye a la nota: 0000000002"))) << sustituta.toStdString();
}

// Guards against long notes losing lines at page breaks or printing only one page, and
// against their pages printed without progress.
TEST_P(PrintTest, ALongNoteRunsOverSeveralPagesWithEveryLine)
{
    db->begin();
    for (int i = 1; i <= 150; ++i)
        db->run(
            QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Pv_Cve_Proveedor, "
                           "Pr_Cve_Producto, Nc_Cantidad_1, Nc_Precio_Descontado_Importe, Nc_Impuesto_Importe, "
                           "Nc_Precio_Neto_Importe) VALUES ('LARGA', ?, 'C000000002', 'P0002', ?, 1, 10, 1.6, 11.6)"),
            {i, QStringLiteral("PX-%1").arg(i, 4, 10, QLatin1Char('0'))});
    db->commit();
    test::RecordingProgressSink progress;
    const QString file =
        printNote(*db, QStringLiteral("NCP_BONIFICACION"), QStringLiteral("LARGA"), folder.path(), nullptr, &progress);
    EXPECT_GE(pdfPages(file), 3);
    progress.expectOneJob(QStringLiteral("Imprimiendo…"), pdfPages(file));
    const QString text = pdfText(file);
    for (int i = 1; i <= 150; ++i)
        ASSERT_TRUE(text.contains(QStringLiteral("PX-%1").arg(i, 4, 10, QLatin1Char('0'))))
            << i << text.left(3000).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1,740.00"))) << text.toStdString();
}

// Guards against printing with a format or a note that does not exist going unnoticed,
// and against a folio that makes the file land outside the output folder.
TEST_P(PrintTest, UnknownFormatsAndNotesAreErrorsAndFileNamesStayInTheFolder)
{
    EXPECT_THROW(imprimir(QStringLiteral("0000000001"), QStringLiteral("NO_EXISTE")), RuntimeError);
    EXPECT_THROW(imprimir(QStringLiteral("0000000001"), QString()), RuntimeError);
    EXPECT_THROW(imprimir(QStringLiteral("0000000099")), RuntimeError);
    EXPECT_EQ(noteFileName(QStringLiteral("../x/ñ 1")), QStringLiteral("NC____x___1.pdf"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, PrintTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
