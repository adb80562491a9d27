// Progress of the long jobs on a purchase of a few thousand lines: taking it in and
// showing a note of it, on every back-end.
#include "tests/document/document_fixture.h"
#include "tests/support/recording_progress.h"

#include <gtest/gtest.h>

using namespace qmx44;
using test::PantallaNota;

namespace {

constexpr int ExtraLines = 3000;
const QString Purchase = QStringLiteral("C000000002"); // seven lines in four groups before

class ProgressTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        // The purchase grows by lines of products of their own, each its own group.
        auto rs = p.db().query(QStringLiteral("SELECT * FROM COMPRA WHERE Co_Folio = ? AND Co_Linea = 1"), {Purchase});
        const QStringList columns = rs->columns();
        QVariantList line;
        for (const QString &c : columns)
            line << rs->field(c);
        rs->close();
        const QString insert = QStringLiteral("INSERT INTO COMPRA (%1) VALUES (%2)")
                                   .arg(columns.join(QLatin1Char(',')),
                                        QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        const auto position = [&](const QString &name) {
            for (int i = 0; i < columns.size(); ++i)
                if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
                    return i;
            return -1;
        };
        const int lineColumn = position(QStringLiteral("Co_Linea"));
        const int productColumn = position(QStringLiteral("Pr_Cve_Producto"));
        p.db().begin();
        for (int i = 1; i <= ExtraLines; ++i) {
            const QString product = QStringLiteral("PG%1").arg(i, 5, 10, QLatin1Char('0'));
            p.db().run(QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion) VALUES (?, ?)"),
                       {product, product});
            line[lineColumn] = 100 + i;
            line[productColumn] = product;
            p.db().run(insert, line);
        }
        p.db().commit();
        p.context->session->setProgressSink(progress);
        p.open();
        p.messages();
    }
    PantallaNota p{GetParam()};
    std::shared_ptr<test::RecordingProgressSink> progress = std::make_shared<test::RecordingProgressSink>();
};

// Guards against long work without progress, counted against the wrong total, reported
// at every row (slowing the work down) or left unfinished (the window staying up).
TEST_P(ProgressTest, TakingInAPurchaseAndShowingANoteReportTheirLines)
{
    const qint64 lines = ExtraLines + 7;
    p.toolbar().click(controls::Command::Nuevo);
    p.typeInto("txt_Co_Folio", Purchase);
    EXPECT_TRUE(test::sinMensajes(p.messages()));
    EXPECT_EQ(ExtraLines + 4, p.grid().rowCount());
    EXPECT_TRUE(progress->oneJob(QStringLiteral("Cargando partidas de la compra…"), lines));

    p.toolbar().click(controls::Command::Cancelar);
    progress->clear();
    p.showNote(QStringLiteral("1"));
    EXPECT_TRUE(test::sinMensajes(p.messages()));
    EXPECT_EQ(ExtraLines + 4, p.grid().rowCount());
    EXPECT_TRUE(progress->oneJob(QStringLiteral("Cargando la nota…"), lines));
}

INSTANTIATE_TEST_SUITE_P(Backends, ProgressTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
