// The four bonus handlers of the detail grid. Each touches only the current row and the
// three totals, so editing costs the same whatever the number of rows.
#include "bonus/bonus_editing.h"

#include "platform/controls/keys.h"
#include "platform/services/utilerias.h"
#include "screen/pending_marks.h"

namespace qmx44::bonus {

namespace {
// What a bonus cell accepts besides Backspace.
const QString BonusCharacters = QStringLiteral("1234567890.");
} // namespace

BonusEditing::BonusEditing(controls::Grid &grid, Totals totals, double &baseSubTotal, double &baseImpuestos,
                           services::Utilerias &utilerias)
    : m_grid(grid), m_totals(totals), m_baseSubTotal(baseSubTotal), m_baseImpuestos(baseImpuestos),
      m_utilerias(utilerias)
{
}

void BonusEditing::attach(const std::shared_ptr<BonusEditing> &self)
{
    controls::Grid &grid = self->m_grid;
    grid.KeyPress.connect([self](int &keyAscii) { self->ssDetalle_KeyPress(keyAscii); });
    grid.CellMoved.connect([self](int row, int column) { self->ssDetalle_CellMoved(row, column); });
    grid.CellChange.connect([self] { self->ssDetalle_Change(); });
    grid.CellDone.connect([self](int column) { self->ssDetalle_CellDone(column); });
}

QString BonusEditing::currentColumnName() const
{
    const int c = m_grid.currentColumn();
    if (c < 0 || c >= m_grid.columnCount())
        return QString();
    return m_grid.columnDef(c).name.toUpper();
}

bool BonusEditing::hasCurrentRow() const
{
    return m_grid.currentRow() >= 0 && m_grid.currentRow() < m_grid.rowCount();
}

void BonusEditing::ssDetalle_KeyPress(int &keyAscii)
{
    if (keyAscii == controls::keys::Enter) {
        // Enter moves on as Tab does, in every column, and leaves no character behind.
        keyAscii = 0;
        m_utilerias.EnviarTeclas(QStringLiteral("\t"), false);
        return;
    }
    const QString column = currentColumnName();
    if (column != bonusColumns::BonusPercent && column != bonusColumns::BonusAmount)
        return;
    if (keyAscii == controls::keys::Backspace || keyAscii == '.')
        return;
    // A minus sign, letters, blanks and the comma never reach a bonus; a second point
    // does, and the cell then counts as 0 until it reads as a number again.
    if (keyAscii <= 0 || keyAscii > 0xFFFF || !BonusCharacters.contains(QChar(char16_t(keyAscii))))
        keyAscii = 0;
}

void retakeBase(controls::Grid &grid, const Totals &totals, double &baseSubTotal, double &baseImpuestos)
{
    if (grid.currentRow() < 0 || grid.currentRow() >= grid.rowCount())
        return;
    const double amount = amountOf(grid.column(bonusColumns::BonusAmount).value());
    const double factor = amountOf(grid.column(bonusColumns::TaxFactor).value());
    baseSubTotal = finiteOrZero(amountOf(totals.subTotal.value()) - amount);
    baseImpuestos = finiteOrZero(amountOf(totals.taxes.value()) - factor * amount);
}

void BonusEditing::ssDetalle_CellMoved(int, int)
{
    retakeBase(m_grid, m_totals, m_baseSubTotal, m_baseImpuestos);
}

void BonusEditing::ssDetalle_Change()
{
    if (!hasCurrentRow())
        return;
    const QString column = currentColumnName();
    controls::GridColumn amount = m_grid.column(bonusColumns::BonusAmount);
    controls::GridColumn percent = m_grid.column(bonusColumns::BonusPercent);
    if (column == bonusColumns::BonusPercent) {
        const double base = amountOf(m_grid.column(bonusColumns::Base).value());
        const double p = amountOf(percent.value());
        amount.setValue(finiteOrZero((base * p) / 100));
    } else if (column == bonusColumns::BonusAmount) {
        const double base = amountOf(m_grid.column(bonusColumns::Base).value());
        const double a = amountOf(amount.value());
        // Without a base no percent can be derived: the row's percent is 0.
        percent.setValue(base == 0 ? 0.0 : finiteOrZero((a / base) * 100));
    }
    const double bonusValue = amountOf(amount.value());
    const double factor = amountOf(m_grid.column(bonusColumns::TaxFactor).value());
    m_totals.subTotal.setValue(finiteOrZero(m_baseSubTotal + bonusValue));
    m_totals.taxes.setValue(finiteOrZero(m_baseImpuestos + factor * bonusValue));
    m_totals.total.setValue(finiteOrZero(amountOf(m_totals.subTotal.value()) + amountOf(m_totals.taxes.value())));
    screen::markPendingRow(m_grid, m_grid.currentRow());
}

void BonusEditing::ssDetalle_CellDone(int)
{
    if (!hasCurrentRow())
        return;
    const QString column = currentColumnName();
    if (column != bonusColumns::BonusPercent && column != bonusColumns::BonusAmount)
        return;
    controls::GridColumn cell = m_grid.column(column);
    // An empty cell, and one whose text does not read as a number (a lone point, two
    // points), counted as 0 while it was typed: it now shows the 0 it stands for.
    if (cell.text().trimmed().isEmpty() || !cell.value().isValid() || cell.value().isNull())
        cell.setValue(0);
}

} // namespace qmx44::bonus
