// The volume rebate's window on the demo company, driven as the clerk drives it.
#include "rebate/volume_rebate.h"
#include "tests/platform/services/services_fixture.h"
#include "ui/volume_rebate_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>
#include <numeric>

using namespace qmx44;

namespace {

int runNotes(db::Conexion &c)
{
    auto rs = c.query(QStringLiteral("SELECT COUNT(*) FROM Bonificacion_Volumen_Nota"));
    return rs->fieldAt(0).toInt();
}

} // namespace

// Guards against a line left out still taking its part (or the parts no longer adding up
// to the amount typed), against Guardar writing other notes than the listed purchases',
// and against Mostrar not bringing the saved run back.
TEST(VolumeRebateWindowTest, LeavesALineOutSavesOneNotePerPurchaseAndShowsTheRun)
{
    test::DemoSession demo("sqlite", QStringLiteral("CXP01"));
    ui::VolumeRebateWindow window(demo.session);
    window.show();
    auto *supplier = window.findChild<QLineEdit *>(QStringLiteral("supplier"));
    supplier->setText(QStringLiteral("P0004"));
    emit supplier->editingFinished();
    EXPECT_EQ(window.findChild<QLineEdit *>(QStringLiteral("currency"))->text(), QStringLiteral("MN"));
    window.findChild<QDateEdit *>(QStringLiteral("from"))->setDate(QDate(2024, 1, 1));
    window.findChild<QDateEdit *>(QStringLiteral("to"))->setDate(QDate(2024, 12, 31));
    window.findChild<QLineEdit *>(QStringLiteral("cause"))->setText(QStringLiteral("BC"));
    window.findChild<QLineEdit *>(QStringLiteral("reference"))->setText(QStringLiteral("Bonificación año"));
    window.findChild<QDoubleSpinBox *>(QStringLiteral("value"))->setValue(500);
    window.search();
    // C000000004's four lines and C000000007's two.
    ASSERT_EQ(window.lines().size(), 6u);

    QTableWidget *table = window.table();
    table->setCurrentCell(0, ui::VolumeRebateWindow::Purchase);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(table, &space);
    ASSERT_TRUE(window.lines()[0].excluded);
    EXPECT_EQ(window.lines()[0].cents, 0);
    EXPECT_EQ(table->item(0, ui::VolumeRebateWindow::Part)->text(), QString());
    const auto granted = std::accumulate(window.lines().begin(), window.lines().end(), std::int64_t(0),
                                         [](std::int64_t sum, const rebate::EligibleLine &l) { return sum + l.cents; });
    EXPECT_EQ(granted, 50000);
    EXPECT_TRUE(window.grantedText().startsWith(QStringLiteral("Bonificación: 500.00 MN en 2 notas")))
        << window.grantedText().toStdString();
    EXPECT_EQ(window.unplacedText(), QStringLiteral("No colocado: 0.00 MN"));

    // The demo's required additional field, Yes to the confirmation, then OK to the folio.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            (box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes) : box->button(QMessageBox::Ok))->click();
        else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialog->findChild<QLineEdit *>(QStringLiteral("NC_FOLIO_PROVEEDOR"))->setText(QStringLiteral("NCP-9001"));
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        }
    });
    answer.start(10);
    ASSERT_TRUE(window.save());
    EXPECT_EQ(runNotes(demo.db()), 2);
    const QString folio = window.shownRun();
    ASSERT_FALSE(folio.isEmpty());

    window.search();
    ASSERT_TRUE(window.shownRun().isEmpty());
    ASSERT_TRUE(window.showRun(folio));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("C000000004"));
    EXPECT_EQ(window.findChild<QLineEdit *>(QStringLiteral("reference"))->text(), QStringLiteral("Bonificación año"));
}
