#pragma once
// What the bonus editing and the proration share: the detail-row columns they read and
// write, the three total fields of the main form, and how a cell or field value is read
// as an amount.
#include "platform/controls/form.h"
#include "platform/controls/text_field.h"
#include "screen/detail_columns.h"
#include "screen/field_names.h"

#include <QString>
#include <QVariant>
#include <cmath>

namespace qmx44::bonus {

namespace bonusColumns {
inline const QString &BonusPercent = screen::columns::BON_PORCENTAJE;
inline const QString &BonusAmount = screen::columns::BON_IMPORTE;
inline const QString &Base = screen::columns::Precio_Descontado_Importe;
inline const QString &TaxFactor = screen::columns::Impuesto_Factor;
} // namespace bonusColumns

// The note's totals on the main form.
struct Totals {
    controls::TextField &subTotal; // txt_SubTotal: sum of BON_IMPORTE
    controls::TextField &taxes;    // txt_Impuestos: sum of BON_IMPORTE x Impuesto_Factor
    controls::TextField &total;    // txt_Total: the two above added

    // The fields of `form` by their names; RuntimeError when one is missing.
    static Totals from(const controls::Form &form)
    {
        return Totals{form.get<controls::TextField>(screen::fields::txt_SubTotal),
                      form.get<controls::TextField>(screen::fields::txt_Impuestos),
                      form.get<controls::TextField>(screen::fields::txt_Total)};
    }
};

// An amount as the arithmetic takes it: an empty cell, a text that is not a number
// (a lone point while typing) and anything not finite count as 0, so no total or bonus
// can become infinite or not-a-number.
inline double amountOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0.0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

// A computed amount kept only when finite (an overflow counts as 0, as above).
inline double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace qmx44::bonus
