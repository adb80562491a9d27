// The four bonus handlers of the detail grid. Each touches only the current row and the
// three totals, so editing costs the same whatever the number of rows.
#include "bonus/bonus_editing.h"

#include "platform/controls/keys.h"
#include "platform/services/utilerias.h"

namespace qmx44::bonus {

namespace {
// What a bonus cell accepts besides Backspace.
const QString CaracteresBono = QStringLiteral("1234567890.");
} // namespace

EdicionBonos::EdicionBonos(controls::Grid &grid, Totales totales, double &baseSubTotal,
                           double &baseImpuestos, services::Utilerias &utilerias)
    : m_grid(grid), m_totales(totales), m_baseSubTotal(baseSubTotal), m_baseImpuestos(baseImpuestos),
      m_utilerias(utilerias)
{
}

void EdicionBonos::conectar(const std::shared_ptr<EdicionBonos> &self)
{
    controls::Grid &grid = self->m_grid;
    grid.KeyPress.connect([self](int &keyAscii) { self->ssDetalle_KeyPress(keyAscii); });
    grid.CellMoved.connect([self](int fila, int columna) { self->ssDetalle_CellMoved(fila, columna); });
    grid.CellChange.connect([self] { self->ssDetalle_Change(); });
    grid.CellDone.connect([self](int columna) { self->ssDetalle_CellDone(columna); });
}

QString EdicionBonos::columnaActual() const
{
    const int c = m_grid.currentColumn();
    if (c < 0 || c >= m_grid.columnCount())
        return QString();
    return m_grid.columnDef(c).name.toUpper();
}

bool EdicionBonos::hayFilaActual() const
{
    return m_grid.currentRow() >= 0 && m_grid.currentRow() < m_grid.rowCount();
}

void EdicionBonos::ssDetalle_KeyPress(int &keyAscii)
{
    if (keyAscii == controls::keys::Enter) {
        // Enter moves on as Tab does, in every column, and leaves no character behind.
        keyAscii = 0;
        m_utilerias.EnviarTeclas(QStringLiteral("\t"), false);
        return;
    }
    const QString columna = columnaActual();
    if (columna != columnas::BonPorcentaje && columna != columnas::BonImporte)
        return;
    if (keyAscii == controls::keys::Backspace || keyAscii == '.')
        return;
    // A minus sign, letters, blanks and the comma never reach a bonus; a second point
    // does, and the cell then counts as 0 until it reads as a number again.
    if (keyAscii <= 0 || keyAscii > 0xFFFF || !CaracteresBono.contains(QChar(char16_t(keyAscii))))
        keyAscii = 0;
}

void retomarBase(controls::Grid &grid, const Totales &totales, double &baseSubTotal, double &baseImpuestos)
{
    if (grid.currentRow() < 0 || grid.currentRow() >= grid.rowCount())
        return;
    const double importe = importeDe(grid.column(columnas::BonImporte).value());
    const double factor = importeDe(grid.column(columnas::ImpuestoFactor).value());
    baseSubTotal = finito(importeDe(totales.subTotal.value()) - importe);
    baseImpuestos = finito(importeDe(totales.impuestos.value()) - factor * importe);
}

void EdicionBonos::ssDetalle_CellMoved(int, int)
{
    retomarBase(m_grid, m_totales, m_baseSubTotal, m_baseImpuestos);
}

void EdicionBonos::ssDetalle_Change()
{
    if (!hayFilaActual())
        return;
    const QString columna = columnaActual();
    controls::GridColumn importe = m_grid.column(columnas::BonImporte);
    controls::GridColumn porcentaje = m_grid.column(columnas::BonPorcentaje);
    if (columna == columnas::BonPorcentaje) {
        const double base = importeDe(m_grid.column(columnas::Base).value());
        const double p = importeDe(porcentaje.value());
        importe.setValue(finito((base * p) / 100));
    } else if (columna == columnas::BonImporte) {
        const double base = importeDe(m_grid.column(columnas::Base).value());
        const double a = importeDe(importe.value());
        // Without a base no percent can be derived: the row's percent is 0.
        porcentaje.setValue(base == 0 ? 0.0 : finito((a / base) * 100));
    }
    const double bono = importeDe(importe.value());
    const double factor = importeDe(m_grid.column(columnas::ImpuestoFactor).value());
    m_totales.subTotal.setValue(finito(m_baseSubTotal + bono));
    m_totales.impuestos.setValue(finito(m_baseImpuestos + factor * bono));
    m_totales.total.setValue(
        finito(importeDe(m_totales.subTotal.value()) + importeDe(m_totales.impuestos.value())));
}

void EdicionBonos::ssDetalle_CellDone(int)
{
    if (!hayFilaActual())
        return;
    const QString columna = columnaActual();
    if (columna != columnas::BonPorcentaje && columna != columnas::BonImporte)
        return;
    controls::GridColumn celda = m_grid.column(columna);
    // An empty cell, and one whose text does not read as a number (a lone point, two
    // points), counted as 0 while it was typed: it now shows the 0 it stands for.
    if (celda.text().trimmed().isEmpty() || !celda.value().isValid() || celda.value().isNull())
        celda.setValue(0);
}

} // namespace qmx44::bonus
