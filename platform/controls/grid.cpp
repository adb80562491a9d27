// The data grid model: columns by name, typed cell storage, and the editing path with
// events 13, 26, 28 and 50.
#include "platform/controls/grid.h"

#include "platform/controls/clipboard.h"
#include "platform/controls/form.h"
#include "platform/controls/keys.h"
#include "platform/controls/number_format.h"
#include "platform/core/error.h"
#include "platform/core/message.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <utility>

namespace qmx44::controls {

namespace {
constexpr int InternLimit = 6; // short codes (units, sizes, colours) repeat: share them

// A pasted value as a number cell takes it typed: what a spreadsheet copies of a number
// (a leading "$", commas between groups of three digits) without those marks; null when
// it is no number, has a sign (no number cell takes one from the keyboard) or a comma
// elsewhere ("12,5" may mean 12.5: it is not taken for 125).
QString typedNumber(const QString &value)
{
    static const QRegularExpression plain(QStringLiteral(R"(^\$?(\d{1,3}(,\d{3})+|\d*)(\.\d*)?$)"));
    if (!plain.match(value).hasMatch() || !parseNumber(value))
        return QString();
    QString typed = value;
    typed.remove(u'$');
    typed.remove(u',');
    return typed;
}
} // namespace

// ---- GridColumn ---------------------------------------------------------------------------------

const ColumnDef &GridColumn::def() const
{
    return m_grid->columnDef(m_index);
}

QString GridColumn::text() const
{
    m_grid->requireCurrentRow();
    return m_grid->cellText(m_grid->m_row, m_index);
}

void GridColumn::setText(const QString &text)
{
    m_grid->requireCurrentRow();
    m_grid->setCellText(m_grid->m_row, m_index, text);
}

QVariant GridColumn::value() const
{
    m_grid->requireCurrentRow();
    return m_grid->cellValue(m_grid->m_row, m_index);
}

void GridColumn::setValue(const QVariant &value)
{
    m_grid->requireCurrentRow();
    m_grid->setCellValue(m_grid->m_row, m_index, value);
}

// ---- design -------------------------------------------------------------------------------------------

Grid::Grid(Form &form, const QString &name)
    : Control(form, name, ControlKind::Grid), KeyPress(this, QStringLiteral("KeyPress")),
      CellMoved(this, QStringLiteral("CellMoved")), CellChange(this, QStringLiteral("Change")),
      CellDone(this, QStringLiteral("CellDone"))
{
}

void Grid::setColumns(std::vector<ColumnDef> columns)
{
    m_columns = std::move(columns);
    m_byName.clear();
    std::vector<ColumnType> types;
    for (int i = 0; i < int(m_columns.size()); ++i) {
        m_byName.insert(m_columns[std::size_t(i)].name.toLower(), i);
        types.push_back(m_columns[std::size_t(i)].type);
    }
    m_cells.setTypes(types);
    removeAll();
    notify(Aspect::Columns);
}

const ColumnDef &Grid::columnDef(int index) const
{
    requireColumn(index);
    return m_columns[std::size_t(index)];
}

void Grid::setColumnWidth(int index, int width)
{
    requireColumn(index);
    if (width < 0)
        throw RuntimeError(QStringLiteral("Ancho de columna negativo: %1").arg(width));
    if (m_columns[std::size_t(index)].width == width)
        return;
    m_columns[std::size_t(index)].width = width;
    notify(Aspect::Columns, -1, index);
}

void Grid::sizeColumn(int index, int width)
{
    // Marked first: whoever is told of the new width knows it is the clerk's.
    requireColumn(index);
    m_columns[std::size_t(index)].userSized = true;
    setColumnWidth(index, width);
}

int Grid::columnIndex(const QString &name) const
{
    return m_byName.value(name.toLower(), -1);
}

GridColumn Grid::column(int index)
{
    requireColumn(index);
    return GridColumn(*this, index);
}

GridColumn Grid::column(const QString &name)
{
    const int i = columnIndex(name);
    if (i < 0)
        throw RuntimeError(QStringLiteral("No existe la columna %1 en %2").arg(name, this->name()));
    return GridColumn(*this, i);
}

std::vector<int> Grid::shownColumns() const
{
    std::vector<int> out;
    for (int i = 0; i < columnCount(); ++i)
        if (m_columns[std::size_t(i)].shown)
            out.push_back(i);
    return out;
}

void Grid::requireColumn(int column) const
{
    if (column < 0 || column >= columnCount())
        throw RuntimeError(QStringLiteral("Columna fuera de rango en %1: %2").arg(name()).arg(column));
}

void Grid::requireCurrentRow() const
{
    if (m_row < 0 || m_row >= rowCount())
        throw RuntimeError(QStringLiteral("No hay renglón actual en %1").arg(name()));
}

// ---- rows ----------------------------------------------------------------------------------------------

void Grid::removeAll()
{
    m_cells.clear();
    m_pool.clear();
    m_marks.clear();
    m_row = -1;
    m_col = -1;
    m_anchorRow = m_anchorCol = -1;
    m_editing = false;
    m_freshCell = true;
    notify(Aspect::Rows, 0);
    notify(Aspect::CurrentCell, m_row, m_col);
}

void Grid::addRow()
{
    m_row = m_anchorRow = m_cells.rowCount();
    m_cells.addRow();
    m_anchorCol = m_col;
    notify(Aspect::Rows, m_row);
    notify(Aspect::CurrentCell, m_row, m_col);
}

void Grid::refresh()
{
    notify(Aspect::Cell); // every cell: row and column -1
}

void Grid::moveTo(int row, int column, bool extend)
{
    const bool collapses = !extend && (m_anchorRow != row || m_anchorCol != column);
    if (!extend) {
        m_anchorRow = row;
        m_anchorCol = column;
    }
    if (row == m_row && column == m_col) {
        if (collapses)
            notify(Aspect::CurrentCell, m_row, m_col); // the selection changed
        return;
    }
    m_row = row;
    m_col = column;
    notify(Aspect::CurrentCell, m_row, m_col);
}

void Grid::moveFirst()
{
    moveTo(rowCount() > 0 ? 0 : -1, m_col);
}

void Grid::moveNext()
{
    if (m_row + 1 < rowCount())
        moveTo(m_row + 1, m_col);
}

bool Grid::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    moveTo(row, m_col);
    return true;
}

bool Grid::setCurrentColumn(int column)
{
    if (column < -1 || column >= columnCount())
        return false;
    moveTo(m_row, column);
    return true;
}

// ---- cells ---------------------------------------------------------------------------------------------------

QVariant Grid::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        throw RuntimeError(QStringLiteral("Renglón fuera de rango en %1: %2").arg(name()).arg(row));
    requireColumn(column);
    return m_cells.get(row, column);
}

void Grid::store(int row, int column, const QVariant &normalised)
{
    if (row < 0 || row >= rowCount())
        throw RuntimeError(QStringLiteral("Renglón fuera de rango en %1: %2").arg(name()).arg(row));
    requireColumn(column);
    m_cells.set(row, column, normalised);
}

// What a value becomes in a cell of `column`: null for nothing, a double for numbers,
// a QDate for dates, a (shared when short) QString for text; text that a number or
// date column cannot read is kept as text.
QVariant Grid::normalise(int column, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const ColumnDef &def = m_columns[std::size_t(column)];
    const bool isText = value.typeId() == QMetaType::QString;
    switch (def.type) {
    case ColumnType::Number: {
        if (isText) {
            const QString t = value.toString();
            if (t.trimmed().isEmpty())
                return QVariant();
            if (auto v = parseNumber(t))
                return *v;
            return t;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw RuntimeError(QStringLiteral("Valor no numérico para la columna %1").arg(def.name));
        return d;
    }
    case ColumnType::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value;
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date();
        const QString t = value.toString();
        if (t.isEmpty())
            return QVariant();
        const QDate d = QDate::fromString(t.left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant(t);
    }
    case ColumnType::Text:
        break;
    }
    const QString t = value.toString();
    if (t.isEmpty())
        return QVariant();
    if (t.size() <= InternLimit) {
        auto &pool = const_cast<QSet<QString> &>(m_pool);
        auto it = pool.constFind(t);
        if (it == pool.constEnd())
            it = pool.insert(t);
        return *it;
    }
    return t;
}

QString Grid::cellText(int row, int column) const
{
    const QVariant v = cell(row, column);
    if (!v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Double:
        return formatNumber(v.toDouble(), m_columns[std::size_t(column)].format);
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    default:
        return v.toString();
    }
}

QVariant Grid::cellValue(int row, int column) const
{
    const QVariant v = cell(row, column);
    const ColumnDef &def = m_columns[std::size_t(column)];
    if (v.typeId() == QMetaType::QString && def.type == ColumnType::Number) {
        auto parsed = parseNumber(v.toString());
        return parsed ? QVariant(*parsed) : QVariant();
    }
    if (v.typeId() == QMetaType::QString && def.type == ColumnType::Date) {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    if (!v.isValid() && def.type == ColumnType::Text)
        return QString();
    return v;
}

void Grid::setCellValue(int row, int column, const QVariant &value)
{
    store(row, column, normalise(column, value));
    notify(Aspect::Cell, row, column);
}

void Grid::setCellText(int row, int column, const QString &text)
{
    setCellValue(row, column, QVariant(text));
}

void Grid::setRowMarked(int row, bool marked)
{
    if (row < 0 || row >= rowCount())
        throw RuntimeError(QStringLiteral("Renglón fuera de rango en %1: %2").arg(name()).arg(row));
    if (rowMarked(row) == marked)
        return;
    if (m_marks.size() <= std::size_t(row))
        m_marks.resize(std::size_t(rowCount()), false);
    m_marks[std::size_t(row)] = marked;
    notify(Aspect::Cell, row, -1);
}

bool Grid::rowMarked(int row) const
{
    if (row < 0 || row >= rowCount())
        throw RuntimeError(QStringLiteral("Renglón fuera de rango en %1: %2").arg(name()).arg(row));
    return std::size_t(row) < m_marks.size() && m_marks[std::size_t(row)];
}

// ---- the user's path ----------------------------------------------------------------------------------------

bool Grid::gotoCell(int row, int column)
{
    return goTo(row, column, false);
}

bool Grid::selectTo(int row, int column)
{
    return goTo(row, column, true);
}

bool Grid::goTo(int row, int column, bool extend)
{
    if (!effectivelyEnabled() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()
        || !m_columns[std::size_t(column)].shown)
        return false;
    if (!hasFocus())
        setFocus();
    if (m_editing)
        endEdit();
    if (row == m_row && column == m_col) {
        moveTo(row, column, extend);
        return true;
    }
    const int prevRow = m_row, prevCol = m_col;
    m_freshCell = true;
    moveTo(row, column, extend);
    CellMoved.raise(prevRow, prevCol);
    return true;
}

bool Grid::typeChar(int charCode)
{
    if (!effectivelyEnabled())
        return false;
    int code = charCode;
    KeyPress.raise(code);
    if (code == 0 || m_row < 0 || m_col < 0 || m_row >= rowCount())
        return false;
    const ColumnDef &def = m_columns[std::size_t(m_col)];
    if (!def.editable)
        return false;
    QString text;
    if (code == keys::Backspace) {
        if (!m_freshCell) {
            text = cellText(m_row, m_col);
            text.chop(1);
        }
    } else if (code < 32 || code == 127) {
        return false; // Enter, Escape and other control keys type nothing
    } else {
        text = (m_freshCell ? QString() : cellText(m_row, m_col)) + QChar(char16_t(code));
        if (text.size() > def.length)
            return false;
    }
    // Kept as typed until the edit ends, so that the user sees what they type.
    if (!m_editing)
        m_beforeEdit = cell(m_row, m_col); // what Escape gives back
    store(m_row, m_col, text);
    m_editing = true;
    m_freshCell = false;
    notify(Aspect::Cell, m_row, m_col);
    CellChange.raise();
    return true;
}

void Grid::finishTypedText(int row, int column)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    const QVariant typed = cell(row, column);
    if (typed.typeId() == QMetaType::QString) {
        store(row, column, normalise(column, typed));
        notify(Aspect::Cell, row, column);
    }
}

void Grid::endEdit()
{
    if (!m_editing)
        return;
    m_editing = false;
    m_freshCell = true;
    const int row = m_row, column = m_col;
    CellDone.raise(column);
    finishTypedText(row, column);
}

void Grid::cancelEdit()
{
    if (!m_editing)
        return;
    m_editing = false;
    m_freshCell = true;
    const QVariant before = std::exchange(m_beforeEdit, QVariant());
    if (m_row < 0 || m_row >= rowCount() || m_col < 0 || m_col >= columnCount())
        return;
    store(m_row, m_col, before);
    notify(Aspect::Cell, m_row, m_col);
    // The same path as a typed change, so that whatever follows the cell (the screen's
    // totals) follows it back.
    CellChange.raise();
}

void Grid::editCell(int row, int column, const QString &text)
{
    if (!gotoCell(row, column))
        return;
    for (QChar ch : text)
        typeChar(ch == u'\b' ? keys::Backspace : int(ch.unicode()));
    // Entering and leaving a cell ends its edit even when nothing was typed.
    if (m_row == row && m_col == column) {
        m_editing = true;
        endEdit();
    }
}

// ---- selection and the clipboard ----------------------------------------------------------------------------

Grid::Selection Grid::selection() const
{
    Selection s;
    if (m_row < 0 || m_row >= rowCount() || m_col < 0 || m_col >= columnCount())
        return s;
    const bool anchorValid = m_anchorRow >= 0 && m_anchorRow < rowCount() && m_anchorCol >= 0;
    const int anchorRow = anchorValid ? m_anchorRow : m_row;
    const int anchorCol = anchorValid ? m_anchorCol : m_col;
    s.top = qMin(anchorRow, m_row);
    s.bottom = qMax(anchorRow, m_row);
    const auto shown = shownColumns();
    const auto a = std::find(shown.begin(), shown.end(), anchorCol);
    const auto c = std::find(shown.begin(), shown.end(), m_col);
    if (a == shown.end() || c == shown.end()) {
        s.columns = {m_col};
        return s;
    }
    s.columns.assign(qMin(a, c), qMax(a, c) + 1);
    return s;
}

void Grid::copy()
{
    const Selection s = selection();
    if (s.top < 0)
        return;
    QString text;
    for (int row = s.top; row <= s.bottom; ++row) {
        if (row > s.top)
            text += u'\n';
        for (std::size_t i = 0; i < s.columns.size(); ++i) {
            if (i > 0)
                text += u'\t';
            text += cellText(row, s.columns[i]);
        }
    }
    Clipboard::setText(text);
}

bool Grid::paste()
{
    if (!effectivelyEnabled() || m_row < 0 || m_row >= rowCount() || m_col < 0 || m_col >= columnCount())
        return false;
    const int first = m_row, column = m_col;
    const ColumnDef &def = m_columns[std::size_t(column)];
    if (!def.editable)
        return false;
    QString text = Clipboard::text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1); // a spreadsheet ends its last line too
    if (text.isEmpty())
        return false;
    QStringList values = text.split(u'\n');
    const QString caption = def.caption.isEmpty() ? def.name : def.caption;
    for (int i = 0; i < values.size(); ++i) {
        QString value = values[i].trimmed();
        if (def.type == ColumnType::Number)
            value = typedNumber(value);
        if (value.isNull() || value.size() > def.length) {
            refusePaste(QStringLiteral("No se pegó nada: «%1» (línea %2 de lo copiado) no es un número que acepte la "
                                       "columna «%3».")
                            .arg(values[i].trimmed())
                            .arg(i + 1)
                            .arg(caption));
            return false;
        }
        values[i] = value;
    }
    if (first + values.size() > rowCount()) {
        refusePaste(QStringLiteral("No se pegó nada: se copiaron %1 valores y del renglón %2 al último sólo hay %3.")
                        .arg(values.size())
                        .arg(first + 1)
                        .arg(rowCount() - first));
        return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        // Each value as the user would enter it: to the cell (50 for the edit left, 26),
        // typed key by key (13, 28), left (50).
        if (!goTo(first + i, column, false) || m_row != first + i || m_col != column)
            return false; // a handler took the grid elsewhere
        if (values[i].isEmpty())
            typeChar(keys::Backspace);
        for (QChar ch : std::as_const(values[i]))
            typeChar(ch.unicode());
        endEdit();
    }
    if (m_row == first + values.size() - 1 && m_col == column) {
        m_anchorRow = first; // the pasted cells selected
        notify(Aspect::CurrentCell, m_row, m_col);
    }
    return true;
}

void Grid::refusePaste(const QString &text)
{
    endEdit();
    Message m;
    m.text = text;
    m.style = static_cast<int>(MessageStyle::Warning);
    m.title = QStringLiteral("Pegar");
    m.owner = form().handle();
    m.module = form().module();
    if (MessageSink *sink = form().messageSink())
        sink->show(m);
    else
        qWarning().noquote() << m.title << text;
}

// ---- keyboard ---------------------------------------------------------------------------------------------

void Grid::keyDown(int &keyCode, int &shift)
{
    const bool ctrl = shift & keys::CtrlMask, extend = shift & keys::ShiftMask;
    if (keyCode == keys::Escape) {
        if (m_editing) {
            cancelEdit();
            keyCode = 0; // nothing to type: the edit is gone
        }
        return;
    }
    if (ctrl && (keyCode == 'C' || keyCode == 'V')) {
        if (keyCode == 'C')
            copy();
        else
            paste();
        keyCode = 0;
        return;
    }
    const auto shown = shownColumns();
    if (rowCount() == 0 || shown.empty())
        return;
    const int lastRow = rowCount() - 1, lastPos = int(shown.size()) - 1;
    int row = qMax(m_row, 0);
    // Without a current column the row's first shown cell counts as current.
    int pos = int(std::find(shown.begin(), shown.end(), m_col) - shown.begin());
    if (pos > lastPos)
        pos = 0;
    switch (keyCode) {
    case keys::Up:
        row = qMax(0, row - 1);
        break;
    case keys::Down:
        row = qMin(lastRow, row + 1);
        break;
    case keys::PageUp:
        row = qMax(0, row - m_visibleRows);
        break;
    case keys::PageDown:
        row = qMin(lastRow, row + m_visibleRows);
        break;
    case keys::Left:
        pos = qMax(0, pos - 1);
        break;
    case keys::Right:
        pos = qMin(lastPos, pos + 1);
        break;
    case keys::Home:
        pos = 0;
        if (ctrl)
            row = 0;
        break;
    case keys::End:
        pos = lastPos;
        if (ctrl)
            row = lastRow;
        break;
    default:
        return;
    }
    keyCode = 0;
    goTo(row, shown[std::size_t(pos)], extend);
}

void Grid::keyPress(int &charCode)
{
    typeChar(charCode);
}

bool Grid::handleTab(bool backwards)
{
    auto shown = shownColumns();
    std::erase_if(shown, [this](int c) { return !m_columns[std::size_t(c)].tabStop; });
    if (rowCount() == 0 || shown.empty()) {
        endEdit();
        return false;
    }
    int pos = -1;
    for (int i = 0; i < int(shown.size()); ++i)
        if (shown[std::size_t(i)] == m_col)
            pos = i;
    int row = qMax(m_row, 0);
    if (pos < 0) {
        pos = backwards ? int(shown.size()) - 1 : 0;
    } else if (!backwards) {
        if (++pos == int(shown.size())) {
            pos = 0;
            if (++row == rowCount()) {
                endEdit();
                return false; // past the last cell: the focus leaves the grid
            }
        }
    } else {
        if (--pos < 0) {
            pos = int(shown.size()) - 1;
            if (--row < 0) {
                endEdit();
                return false;
            }
        }
    }
    return gotoCell(row, shown[std::size_t(pos)]);
}

void Grid::focusOut()
{
    endEdit();
}

bool Grid::applySetting(const QString &name, const QVariant &value)
{
    if (name.compare(QLatin1String("caption"), Qt::CaseInsensitive) == 0) {
        setCaption(value.toString());
        return true;
    }
    return Control::applySetting(name, value);
}

} // namespace qmx44::controls
