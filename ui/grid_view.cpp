// The grid's table model and view, kept in step through the grid model's view channel.
#include "ui/grid_view.h"

#include "platform/controls/form.h"
#include "platform/controls/grid.h"
#include "ui/form_view.h"
#include "ui/key_map.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QStyle>

#include <algorithm>

namespace qmx44::ui {

using controls::Aspect;

namespace {

int qtAlignment(controls::Alignment alignment)
{
    switch (alignment) {
    case controls::Alignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case controls::Alignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case controls::Alignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// A marked row (its bonus over what is pending, for instance): a pale red ground.
const QColor kMarkedBackground(255, 214, 214);
const QColor kMarkedText(150, 0, 0);

} // namespace

// ---- GridTableModel ----------------------------------------------------------------------------

GridTableModel::GridTableModel(controls::Grid &grid, QObject *parent) : QAbstractTableModel(parent), m_grid(grid)
{
    m_ticket = m_grid.observers().add([this](const controls::ModelChange &change) { changed(change); });
    m_formTicket = m_grid.form().observers().add([this](const controls::ModelChange &change) {
        if (change.aspect == Aspect::Gone)
            forgetGrid();
    });
    applyReset();
}

GridTableModel::~GridTableModel()
{
    if (m_alive) {
        m_grid.observers().remove(m_ticket);
        m_grid.form().observers().remove(m_formTicket);
    }
}

void GridTableModel::forgetGrid()
{
    // Told while the form is being destroyed: its controls still exist, not for long.
    m_grid.observers().remove(m_ticket);
    m_grid.form().observers().remove(m_formTicket);
    beginResetModel();
    m_alive = false;
    m_shown.clear();
    m_viewOf.clear();
    m_alignment.clear();
    m_editable.clear();
    m_rows = 0;
    endResetModel();
}

int GridTableModel::gridColumn(int viewColumn) const
{
    return viewColumn >= 0 && viewColumn < int(m_shown.size()) ? m_shown[std::size_t(viewColumn)] : -1;
}

int GridTableModel::viewColumn(int gridColumn) const
{
    return gridColumn >= 0 && gridColumn < int(m_viewOf.size()) ? m_viewOf[std::size_t(gridColumn)] : -1;
}

void GridTableModel::changed(const controls::ModelChange &change)
{
    switch (change.aspect) {
    case Aspect::Rows:
        scheduleReset();
        break;
    case Aspect::Columns:
        if (change.column >= 0 && !m_resetPending) {
            const int view = viewColumn(change.column);
            if (view >= 0)
                emit columnWidthChanged(view, m_grid.columnDef(change.column).width);
        } else {
            scheduleReset();
        }
        break;
    case Aspect::Cell: {
        if (m_resetPending || m_rows == 0 || m_shown.empty())
            break;
        const int last = int(m_shown.size()) - 1;
        if (change.row < 0) {
            emit dataChanged(index(0, 0), index(m_rows - 1, last));
        } else if (change.row < m_rows) {
            // Column -1: the row's mark changed, so the whole row is repainted.
            const int view = change.column < 0 ? -1 : viewColumn(change.column);
            if (view >= 0)
                emit dataChanged(index(change.row, view), index(change.row, view));
            else if (change.column < 0)
                emit dataChanged(index(change.row, 0), index(change.row, last));
        }
        break;
    }
    case Aspect::CurrentCell:
        if (!m_resetPending)
            emit currentCellChanged(change.row, change.column);
        break;
    default:
        break;
    }
}

void GridTableModel::scheduleReset()
{
    if (m_resetPending)
        return;
    m_resetPending = true;
    QMetaObject::invokeMethod(this, &GridTableModel::applyReset, Qt::QueuedConnection);
}

void GridTableModel::applyReset()
{
    if (!m_alive)
        return;
    beginResetModel();
    m_resetPending = false;
    m_shown = m_grid.shownColumns();
    m_viewOf.assign(std::size_t(m_grid.columnCount()), -1);
    m_alignment.clear();
    m_editable.clear();
    for (int view = 0; view < int(m_shown.size()); ++view) {
        const controls::ColumnDef &def = m_grid.columnDef(m_shown[std::size_t(view)]);
        m_viewOf[std::size_t(m_shown[std::size_t(view)])] = view;
        m_alignment.push_back(qtAlignment(def.alignment));
        m_editable.push_back(def.editable);
    }
    m_rows = m_grid.rowCount();
    m_editableGround = QApplication::palette().color(QPalette::Base);
    m_lockedGround = QApplication::palette().color(QPalette::Window);
    endResetModel();
    emit currentCellChanged(m_grid.currentRow(), m_grid.currentColumn());
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

bool GridTableModel::cellExists(int row, int viewColumn) const
{
    // Between a change of the rows and the reset that follows it the view may still ask
    // for rows the grid no longer has.
    return m_alive && row >= 0 && row < m_grid.rowCount() && viewColumn >= 0 && viewColumn < int(m_shown.size())
        && m_shown[std::size_t(viewColumn)] < m_grid.columnCount();
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row(), column = index.column();
    if (!cellExists(row, column))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_grid.cellText(row, m_shown[std::size_t(column)]);
    case Qt::TextAlignmentRole:
        return m_alignment[std::size_t(column)];
    case Qt::BackgroundRole:
        if (m_grid.rowMarked(row))
            return kMarkedBackground;
        // Locked columns on the window's ground, the cells that take typing on white.
        return m_editable[std::size_t(column)] ? m_editableGround : m_lockedGround;
    case Qt::ForegroundRole:
        if (m_grid.rowMarked(row))
            return kMarkedText;
        return {};
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    const int gridCol = gridColumn(section);
    if (!m_alive || gridCol < 0 || gridCol >= m_grid.columnCount())
        return {};
    const controls::ColumnDef &def = m_grid.columnDef(gridCol);
    switch (role) {
    case Qt::DisplayRole:
        return def.caption.isEmpty() ? def.name : def.caption;
    case Qt::TextAlignmentRole:
        return m_alignment[std::size_t(section)];
    case Qt::ToolTipRole: {
        // The clerk's words: the caption, and whether the column takes typing.
        const QString caption = def.caption.isEmpty() ? def.name : def.caption;
        return def.editable ? tr("%1: se escribe aquí").arg(caption) : caption;
    }
    default:
        return {};
    }
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    if (!cellExists(index.row(), index.column()))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable[std::size_t(index.column())])
        f |= Qt::ItemIsEditable;
    return f;
}

// ---- GridView -------------------------------------------------------------------------------------

GridView::GridView(controls::Grid &grid, QWidget *parent) : QTableView(parent), m_model(new GridTableModel(grid, this))
{
    setModel(m_model);
    setObjectName(grid.name());
    // The grid model takes every key and click itself: no item editors; the selection
    // shown is the model's.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed row heights: the view never measures rows, so 10,000 of them scroll smoothly.
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setMinimumSectionSize(fontMetrics().height() + 2);
    rows->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QHeaderView *columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignCenter);
    columns->setStretchLastSection(false);

    connect(m_model, &GridTableModel::modelReset, this, [this] {
        applyColumnWidths();
        followCurrentCell();
        tellVisibleRows();
    });
    connect(m_model, &GridTableModel::currentCellChanged, this, &GridView::followCurrentCell);
    connect(m_model, &GridTableModel::columnWidthChanged, this, [this](int view, int) {
        m_applyingWidths = true;
        horizontalHeader()->resizeSection(view, columnPixels(view));
        m_applyingWidths = false;
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, &GridView::widenForChangedCells);
    connect(columns, &QHeaderView::sectionResized, this, &GridView::userResizedColumn);
    applyColumnWidths();
    followCurrentCell();
}

GridView::~GridView() = default;

controls::Grid &GridView::grid() const
{
    return m_model->grid();
}

void GridView::applyColumnWidths()
{
    if (!m_model->hasGrid())
        return;
    m_applyingWidths = true;
    for (int view = 0; view < m_model->columnCount(); ++view)
        horizontalHeader()->resizeSection(view, columnPixels(view));
    m_applyingWidths = false;
}

// Cells written after the rows came (a proration's percentages, a typed amount) widen
// their column when their text no longer fits; a column is never narrowed under the clerk.
void GridView::widenForChangedCells(const QModelIndex &from, const QModelIndex &to)
{
    if (!m_model->hasGrid() || !from.isValid() || from.row() >= SampledRows)
        return;
    const QFontMetrics cells = fontMetrics();
    m_applyingWidths = true;
    for (int view = from.column(); view <= to.column(); ++view) {
        const bool one = from.row() == to.row();
        if (one
            && cells.horizontalAdvance(m_model->index(from.row(), view).data().toString()) + 8
                <= horizontalHeader()->sectionSize(view))
            continue;
        const int wanted = columnPixels(view);
        if (wanted > horizontalHeader()->sectionSize(view))
            horizontalHeader()->resizeSection(view, wanted);
    }
    m_applyingWidths = false;
}

int GridView::columnPixels(int viewColumn) const
{
    const controls::ColumnDef &def = grid().columnDef(m_model->gridColumn(viewColumn));
    const int designed = toPixels(def.width, this);
    if (def.userSized || def.width <= 0)
        return designed;
    // The caption with the header's margins, and the cells' texts with theirs: a sample
    // of the first rows keeps a reset of 10,000 rows as quick as one of ten.
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
    int needed = horizontalHeader()->fontMetrics().horizontalAdvance(
                     m_model->headerData(viewColumn, Qt::Horizontal, Qt::DisplayRole).toString())
        + margin;
    const QFontMetrics cells = fontMetrics();
    for (int row = 0; row < std::min(SampledRows, m_model->rowCount()); ++row)
        needed = std::max(needed, cells.horizontalAdvance(m_model->index(row, viewColumn).data().toString()) + 8);
    return std::max(designed, needed);
}

void GridView::userResizedColumn(int viewColumn, int, int newSize)
{
    // The clerk dragged a column's edge: the model keeps the width (the layout and the
    // host's remembered widths read it there).
    if (m_applyingWidths || !m_model->hasGrid() || m_model->resetPending())
        return;
    const int gridCol = m_model->gridColumn(viewColumn);
    if (gridCol >= 0)
        grid().sizeColumn(gridCol, qRound(toTwips(newSize, this)));
}

QVariantMap GridView::sizedColumnWidths() const
{
    QVariantMap widths;
    if (!m_model->hasGrid())
        return widths;
    for (int c = 0; c < grid().columnCount(); ++c) {
        const controls::ColumnDef &def = grid().columnDef(c);
        if (def.userSized)
            widths.insert(def.name, def.width);
    }
    return widths;
}

void GridView::restoreSizedColumnWidths(const QVariantMap &widths)
{
    if (!m_model->hasGrid())
        return;
    for (auto it = widths.cbegin(); it != widths.cend(); ++it) {
        bool ok = false;
        const int twips = it.value().toInt(&ok);
        const int column = grid().columnIndex(it.key());
        if (ok && twips > 0 && column >= 0)
            grid().sizeColumn(column, twips);
    }
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    tellVisibleRows();
}

void GridView::tellVisibleRows()
{
    const int rowHeight = verticalHeader()->defaultSectionSize();
    if (m_model->hasGrid() && rowHeight > 0)
        grid().setVisibleRows(viewport()->height() / rowHeight);
}

void GridView::followCurrentCell()
{
    if (!m_model->hasGrid() || m_model->resetPending())
        return;
    const int row = grid().currentRow();
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        return;
    }
    int view = m_model->viewColumn(grid().currentColumn());
    // A current row without a current column shows the row's first cell.
    if (view < 0)
        view = 0;
    if (view >= m_model->columnCount())
        return;
    const QModelIndex index = m_model->index(row, view);
    // The model's selection: the rectangle from its anchor to the current cell.
    QItemSelection selected(index, index);
    const controls::Grid::Selection s = grid().selection();
    if (s.top >= 0 && !s.columns.empty()) {
        const int left = m_model->viewColumn(s.columns.front()), right = m_model->viewColumn(s.columns.back());
        if (left >= 0 && right >= 0 && s.bottom < m_model->rowCount())
            selected = QItemSelection(m_model->index(s.top, left), m_model->index(s.bottom, right));
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selectionModel()->select(selected, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if (!m_model->hasGrid()) {
        event->ignore();
        return;
    }
    if (!grid().hasFocus() && !grid().setFocus()) {
        event->ignore(); // a disabled grid takes no keys
        return;
    }
    if (!sendKey(grid().form(), *event))
        event->ignore(); // a chord for the window (the toolbar's shortcuts)
}

bool GridView::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QTableView::event(event);
}

bool GridView::focusNextPrevChild(bool)
{
    return false; // the model moves the focus (Tab past the last cell leaves the grid)
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (m_model->hasGrid() && index.isValid() && event->button() == Qt::LeftButton) {
        const int column = m_model->gridColumn(index.column());
        if (event->modifiers() & Qt::ShiftModifier)
            grid().selectTo(index.row(), column);
        else
            grid().gotoCell(index.row(), column);
        followCurrentCell(); // a refused move (a disabled grid) puts the old cell back
    }
    event->accept();
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    // A drag with the button held extends the model's selection to the cell under it.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (m_model->hasGrid() && index.isValid() && (event->buttons() & Qt::LeftButton)) {
        const int column = m_model->gridColumn(index.column());
        if (index.row() != grid().currentRow() || column != grid().currentColumn())
            grid().selectTo(index.row(), column);
    }
    event->accept();
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

} // namespace qmx44::ui
