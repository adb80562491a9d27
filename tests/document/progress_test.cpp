// Progress of the long jobs on a purchase of a few thousand lines: taking it in and
// showing a note of it, on every back-end.
#include "tests/document/document_fixture.h"
#include "tests/support/recording_progress.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

class ProgressTest : public ::testing::TestWithParam<std::string> {
protected:
    test::NoteScreen p{GetParam()};
};

// Guards against long work without progress, counted against the wrong total, reported
// at every row (slowing the work down) or left unfinished (the window staying up).
TEST_P(ProgressTest, TakingInAPurchaseAndShowingANoteReportTheirLines)
{
    // Purchase C000000002 (seven lines in four groups) grows by 3,000 lines copied from
    // its first, each of a product of its own.
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                                           "3000) SELECT %1 FROM n");
    p.db().run(QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion) ")
               + numbers.arg(QStringLiteral("'PG' || i, 'PG' || i")));
    QStringList copied = p.db().query(QStringLiteral("SELECT * FROM COMPRA"))->columns();
    const QString columns = copied.join(QLatin1Char(','));
    for (QString &c : copied) {
        if (c.compare(QLatin1String("Co_Linea"), Qt::CaseInsensitive) == 0)
            c = QStringLiteral("100 + i");
        else if (c.compare(QLatin1String("Pr_Cve_Producto"), Qt::CaseInsensitive) == 0)
            c = QStringLiteral("'PG' || i");
        else
            c = QStringLiteral("(SELECT %1 FROM COMPRA WHERE Co_Folio = 'C000000002' AND Co_Linea = 1)").arg(c);
    }
    p.db().run(QStringLiteral("INSERT INTO COMPRA (%1) ").arg(columns) + numbers.arg(copied.join(QLatin1Char(','))));

    auto progress = std::make_shared<test::RecordingProgressSink>();
    p.context->session->setProgressSink(progress);
    p.open();
    p.toolbar().click(controls::Command::Nuevo);
    p.typeInto("txt_Co_Folio", QStringLiteral("C000000002"));
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(3004, p.grid().rowCount());
    progress->expectOneJob(QStringLiteral("Cargando partidas de la compra…"), 3007);

    p.toolbar().click(controls::Command::Cancelar);
    *progress = {};
    p.showNote(QStringLiteral("1"));
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_EQ(3004, p.grid().rowCount());
    progress->expectOneJob(QStringLiteral("Cargando la nota…"), 3007);
}

INSTANTIATE_TEST_SUITE_P(Backends, ProgressTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
