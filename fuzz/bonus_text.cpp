// A bonus cell given any text, typed key by key or set whole, read as the bonus code
// reads it: set whole, its value is exactly the number the text reads as (or none);
// either way the value is none or a finite number whose display reads back as it to
// within the picture's last decimal, and the amount the bonus code takes is finite.
#include "bonus/bonus_columns.h"
#include "platform/controls/grid.h"
#include "platform/controls/number_format.h"
#include "screen/detail_columns.h"

#include <cmath>
#include <cstdlib>

using namespace qmx44;
using controls::ColumnType;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    static controls::Form form(QStringLiteral("frmQMX44"));
    static controls::Grid &grid = []() -> controls::Grid & {
        auto &g = form.add<controls::Grid>(QStringLiteral("ssDetalle"));
        // BON_PORCENTAJE and BON_IMPORTE as the detail grid declares them.
        std::vector<controls::ColumnDef> columns{
            {screen::columns::BON_PORCENTAJE, {}, ColumnType::Number, QStringLiteral("#,##0.00#######")},
            {screen::columns::BON_IMPORTE, {}, ColumnType::Number, QStringLiteral("$#,##0.00#######")}};
        for (auto &c : columns)
            c.editable = true;
        g.setColumns(columns);
        g.addRow();
        return g;
    }();
    const auto parsed = controls::parseNumber(text);
    for (int column = 0; column < 2; ++column) {
        for (bool typed : {false, true}) {
            grid.setCellValue(0, column, QVariant());
            if (typed)
                grid.editCell(0, column, text);
            else
                grid.setCellText(0, column, text);
            const QVariant value = grid.cellValue(0, column);
            if (!typed && (parsed.has_value() != value.isValid() || (parsed && value.toDouble() != *parsed)))
                std::abort();
            const double amount = bonus::amountOf(grid.column(column).value());
            if (!std::isfinite(amount) || (value.isValid() && amount != value.toDouble()))
                std::abort();
            const double shown = controls::parseNumber(grid.cellText(0, column)).value_or(NAN);
            if (value.isValid() && !(std::fabs(shown - amount) <= 0.5e-9 * (1 + 1e-9) + std::fabs(amount) * 1e-15))
                std::abort();
        }
    }
    return 0;
}
