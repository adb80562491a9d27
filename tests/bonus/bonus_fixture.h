#pragma once
// A main form reduced to what the bonus code touches: the detail grid with its
// columns, the three currency totals, the services with a recording message sink, and
// the members BaseSubTotal / BaseImpuestos. Shown, so that sent keystrokes reach it.
#include "bonus/bonus_columns.h"
#include "intake/detail_format.h"
#include "platform/controls/controls.h"
#include "platform/core/message.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"

#include <QString>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qmx44::test {

// One purchase line group as the grid holds it after a fill (bonuses 0).
struct BonusLine {
    double base = 100;                            // Precio_Descontado_Importe
    double factor = 0.16;                         // Impuesto_Factor
    double control1 = 1;                          // Cantidad_Control_1
    QString unidad1 = QStringLiteral("PZA");      // Unidad_Control_1
    double control2 = 1;                          // Cantidad_Control_2
    QString unidad2 = QStringLiteral("PZA");      // Unidad_Control_2
    QString unidadCompra = QStringLiteral("PZA"); // Unidad_1
};

struct BonusForm {
    BonusForm()
    {
        controls::Desktop::reset();
        session->setMessageSink(sink);
        form.setMessageSink(sink.get());
        intake::configureDetailGrid(grid);
        for (auto *t : {&subTotal, &impuestos, &total}) {
            t->applySetting(QStringLiteral("tipodato"), 6);
            t->applySetting(QStringLiteral("text"), QStringLiteral("$0.0000"));
            t->setLocked(true);
        }
        form.show();
    }
    ~BonusForm() { controls::Desktop::reset(); }

    void addLine(const BonusLine &l)
    {
        grid.addRow();
        auto set = [&](const char *col, const QVariant &v) { grid.column(QString::fromLatin1(col)).setValue(v); };
        set("Pr_Cve_Producto", QStringLiteral("P%1").arg(grid.rowCount()));
        set("Cantidad_1", l.control1);
        set("Unidad_1", l.unidadCompra);
        set("Cantidad_Control_1", l.control1);
        set("Unidad_Control_1", l.unidad1);
        set("Cantidad_Control_2", l.control2);
        set("Unidad_Control_2", l.unidad2);
        set("Precio_Lista_Importe", l.base);
        set("Precio_Descontado_Importe", l.base);
        set("Impuesto_Factor", l.factor);
        set("BON_PORCENTAJE", 0);
        set("BON_IMPORTE", 0);
    }

    int col(const QString &name) const { return grid.columnIndex(name); }
    double number(int row, const QString &column) const { return bonus::amountOf(grid.cellValue(row, col(column))); }
    double sub() const { return bonus::amountOf(subTotal.value()); }
    double imp() const { return bonus::amountOf(impuestos.value()); }
    double tot() const { return bonus::amountOf(total.value()); }
    bonus::Totals totals() { return bonus::Totals{subTotal, impuestos, total}; }

    std::shared_ptr<RecordingMessageSink> sink = std::make_shared<RecordingMessageSink>();
    std::shared_ptr<services::Session> session = std::make_shared<services::Session>();
    services::Sistema sistema{session};
    services::Utilerias utilerias{session};
    controls::Form form{QStringLiteral("frmQMX44")};
    controls::Grid &grid = form.add<controls::Grid>(QStringLiteral("ssDetalle"));
    controls::TextField &subTotal = form.add<controls::TextField>(QStringLiteral("txt_SubTotal"));
    controls::TextField &impuestos = form.add<controls::TextField>(QStringLiteral("txt_Impuestos"));
    controls::TextField &total = form.add<controls::TextField>(QStringLiteral("txt_Total"));
    double BaseSubTotal = 0;
    double BaseImpuestos = 0;
};

} // namespace qmx44::test
