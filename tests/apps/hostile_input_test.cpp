// Hostile input through the scenario runner, on every back-end: every text field of the
// screen and both bonus cells fed quotes, SQL fragments, LIKE wildcards, control
// characters, a NUL, text beyond the basic plane, a text far beyond the field's length,
// and numbers at the edges of a double. Nothing may crash or break a statement; what a
// field accepted is stored exactly so; a refusal comes with the screen's own message.
#include "tests/support/test_db.h"

#include <QProcess>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>

using Json = nlohmann::json;
using namespace qmx44;

namespace {

const QStringList kTexts = {
    QStringLiteral("\""),           QStringLiteral("x' OR '1'='1"),        QStringLiteral("\\' + CHAR(39) + '"),
    QStringLiteral("%_[]^"),        QStringLiteral("a\x01\x07\x1b\x7f z"), QString(QChar(0)) + QStringLiteral("nul"),
    QStringLiteral("😀👍🏽"),
};

const QStringList kNumbers = {
    QStringLiteral("1e308"),
    QStringLiteral("-0"),
    QStringLiteral("nan"),
    QStringLiteral("inf"),
    QStringLiteral("0.1234567890123456789"),
    QStringLiteral("1,000.50"),
    QStringLiteral("'"),
};

// The messages the screen may answer such input with: no such purchase, folio or cause,
// a bonus it does not take, a note beyond what is pending or with nothing to save.
const std::set<std::string> kExpectedIds = {"ERR-ID:7500002", "ERR-ID:7500005", "ERR-ID:7500007",
                                            "ERR-ID:7500016", "ERR-ID:7500017", "ERR-ID:7500019",
                                            "ERR-ID:7500020", "ERR-ID:7500021", "ERR-ID:7500030"};

// An argument of a script line: quoted, with \ and " escaped.
QString arg(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

class HostileInputTest : public ::testing::TestWithParam<std::string> {
protected:
    // Runs the script; returns what it printed, one JSON value a line.
    std::vector<Json> run(const QStringList &lines)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QMX44_COMPONENT_PATH"), QStringLiteral(QMX44_COMPONENT_DIR));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QMX44_EXECUTABLE),
                {QStringLiteral("script"), QStringLiteral("--db"), fresh.connectionString(), QStringLiteral("--demo"),
                 QStringLiteral("--today"), QStringLiteral("2024-07-15"), QStringLiteral("-")});
        EXPECT_TRUE(p.waitForStarted());
        p.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(240000));
        EXPECT_EQ(QProcess::NormalExit, p.exitStatus());
        EXPECT_EQ(0, p.exitCode());
        const QString errors = QString::fromUtf8(p.readAllStandardError());
        EXPECT_FALSE(errors.contains(QLatin1String("the screen failed"))) << errors.toStdString();
        std::vector<Json> out;
        for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                out.push_back(Json::parse(line.toStdString()));
        return out;
    }

    // Every message is one the screen gives for bad input, never the database's own.
    void expectOnlyScreenMessages(const Json &messages, const QString &input)
    {
        for (const Json &m : messages["messages"])
            EXPECT_TRUE(kExpectedIds.count(m["id"].get<std::string>())) << input.toStdString() << " -> " << m.dump();
    }

    // Empty: the run loads the demo company itself, so that it may set up the screen.
    test::FreshDatabase fresh{GetParam(), /*demo=*/false};
};

// Guards against input that breaks a statement, crashes the screen or is stored other
// than the field shows it, in every text field and in the header fields a note keeps; and
// against a bonus text that is not a finite amount reaching the totals or the database,
// or an accepted amount stored other than the grid shows it. One run takes both.
TEST_P(HostileInputTest, TextFieldsAndBonusCells)
{
    fresh.closeConnection();
    QStringList s{QStringLiteral("exec UPDATE Campo_Adicional SET Ca_Requerido = 0"), QStringLiteral("open")};
    const QStringList lookups = {QStringLiteral("txt_Co_Folio"), QStringLiteral("txt_Cn_Cve_Causa_Nota")};
    QStringList all = kTexts;
    all << QString(3000, QLatin1Char('A'));
    for (const QString &v : all) {
        // The look-ups first, then a note whose reference and comment hold the text.
        s << QStringLiteral("type txtFolio %1").arg(arg(v)) << QStringLiteral("enter txtFolio")
          << QStringLiteral("messages") << QStringLiteral("click Nuevo");
        for (const QString &f : lookups)
            s << QStringLiteral("type %1 %2").arg(f, arg(v)) << QStringLiteral("enter %1").arg(f)
              << QStringLiteral("messages");
        s << QStringLiteral("type txt_Co_Folio C000000002") << QStringLiteral("enter txt_Co_Folio")
          << QStringLiteral("type txt_Cn_Cve_Causa_Nota PP") << QStringLiteral("enter txt_Cn_Cve_Causa_Nota");
        // Every other field too (most are locked: nothing may change or break).
        for (const char *f : {"txt_Sc_Cve_Sucursal", "txt_Pv_Cve_Proveedor", "txt_Nc_Tipo_Cambio", "txt_SubTotal"})
            s << QStringLiteral("type %1 %2").arg(QLatin1String(f), arg(v));
        s << QStringLiteral("type txt_Nc_Referencia %1").arg(arg(v))
          << QStringLiteral("type txt_Comentario %1").arg(arg(v)) << QStringLiteral("page 1")
          << QStringLiteral("cell 1 BON_PORCENTAJE 1") << QStringLiteral("dump") << QStringLiteral("click Aceptar")
          << QStringLiteral("messages")
          << QStringLiteral("query SELECT Nc_Referencia AS \"r\", Nc_Comentario AS \"c\" FROM NOTA_CREDITO_PROVEEDOR "
                            "WHERE Nc_Folio = (SELECT MAX(Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR)");
    }
    for (const QString &v : kNumbers)
        s << QStringLiteral("click Nuevo") << QStringLiteral("type txt_Co_Folio C000000002")
          << QStringLiteral("enter txt_Co_Folio") << QStringLiteral("type txt_Cn_Cve_Causa_Nota PP")
          << QStringLiteral("enter txt_Cn_Cve_Causa_Nota") << QStringLiteral("page 1")
          << QStringLiteral("cell 1 BON_IMPORTE %1").arg(arg(v))
          << QStringLiteral("cell 2 BON_PORCENTAJE %1").arg(arg(v)) << QStringLiteral("cell 3 BON_IMPORTE 1")
          << QStringLiteral("messages") << QStringLiteral("dump") << QStringLiteral("click Aceptar")
          << QStringLiteral("messages")
          << QStringLiteral("query SELECT Nc_Folio AS \"f\", Pr_Cve_Producto AS \"p\", Tl_Cve_Talla AS \"t\", "
                            "Nc_Precio_Descontado_Importe AS \"b\" FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = "
                            "(SELECT MAX(Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR)")
          << QStringLiteral("click Cancelar");
    const std::vector<Json> out = run(s);
    constexpr size_t kPerText = 6;   // three look-ups' messages, dump, the save's messages, the stored note
    constexpr size_t kPerNumber = 4; // typing's messages, dump, the save's messages, the last note
    ASSERT_EQ(all.size() * kPerText + kNumbers.size() * kPerNumber, out.size());
    for (qsizetype i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(all[i].left(40).toStdString());
        const Json *o = &out[size_t(i) * kPerText];
        for (int m = 0; m < 3; ++m)
            expectOnlyScreenMessages(o[m], all[i]);
        ASSERT_TRUE(o[4]["messages"].empty()) << o[4].dump();
        const Json &fields = o[3]["fields"];
        const Json &stored = o[5]["rows"].at(0);
        EXPECT_EQ(fields["txt_Nc_Referencia"]["text"], stored["r"]);
        EXPECT_EQ(fields["txt_Comentario"]["text"], stored["c"]);
    }
    for (qsizetype i = 0; i < kNumbers.size(); ++i) {
        SCOPED_TRACE(kNumbers[i].toStdString());
        const Json *o = &out[all.size() * kPerText + size_t(i) * kPerNumber];
        expectOnlyScreenMessages(o[0], kNumbers[i]);
        expectOnlyScreenMessages(o[2], kNumbers[i]);
        const Json &grid = o[1]["grid"]["rows"];
        for (const char *total : {"txt_SubTotal", "txt_Impuestos", "txt_Total"}) {
            EXPECT_TRUE(o[1]["fields"][total]["value"].is_number()) << o[1]["fields"][total].dump();
        }
        if (!o[2]["messages"].empty())
            continue; // refused, with its message: nothing stored
        // Saved: each stored line holds the amount its row showed.
        for (const Json &line : o[3]["rows"]) {
            for (const Json &row : grid) {
                if (row["Pr_Cve_Producto"] == line["p"] && row["Tl_Cve_Talla"] == line["t"]) {
                    EXPECT_DOUBLE_EQ(row["BON_IMPORTE"].get<double>(), line["b"].get<double>()) << line.dump();
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, HostileInputTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
