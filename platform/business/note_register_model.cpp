#include "platform/business/note_register_model.h"

#include "platform/core/error.h"

namespace qmx44::business {

NoteRegisterModel::NoteRegisterModel(std::shared_ptr<services::Session> session, QObject *parent)
    : QAbstractTableModel(parent), m_register(std::move(session))
{
}

QString NoteRegisterModel::folio(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].folio : QString();
}

bool NoteRegisterModel::refresh()
{
    beginResetModel();
    m_rows.clear();
    m_totals = {};
    QString failure;
    try {
        m_totals = m_register.totals();
        m_rows = m_register.rows(0, PageSize);
    } catch (const std::exception &e) {
        m_rows.clear();
        m_totals = {};
        failure = describe(e);
    }
    endResetModel();
    emit totalsChanged();
    if (!failure.isEmpty())
        emit failed(failure);
    return failure.isEmpty();
}

bool NoteRegisterModel::setFilter(const NoteRegisterFilter &filter)
{
    m_register.setFilter(filter);
    return refresh();
}

int NoteRegisterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int NoteRegisterModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NoteColumnCount;
}

QVariant NoteRegisterModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const auto column = NoteColumn(index.column());
    if (role == Qt::DisplayRole)
        return NoteRegister::cellText(m_rows[size_t(index.row())], column);
    if (role == Qt::TextAlignmentRole
        && (column == NoteColumn::Subtotal || column == NoteColumn::Tax || column == NoteColumn::Total))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == NoteColumn::Supplier)
        return m_rows[size_t(index.row())].supplier;
    return {};
}

QVariant NoteRegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < NoteColumnCount)
        return NoteRegister::headers().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool NoteRegisterModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && int(m_rows.size()) < m_totals.notes;
}

void NoteRegisterModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    std::vector<NoteRow> page;
    try {
        page = m_register.rows(int(m_rows.size()), PageSize);
    } catch (const std::exception &e) {
        m_totals.notes = int(m_rows.size());
        emit failed(describe(e));
        return;
    }
    if (page.empty()) {
        // Notes went away since the totals were read: stop asking.
        m_totals.notes = int(m_rows.size());
        return;
    }
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + page.size()) - 1);
    for (NoteRow &row : page)
        m_rows.push_back(std::move(row));
    endInsertRows();
}

void NoteRegisterModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= NoteColumnCount)
        return;
    m_register.setSort(NoteColumn(column), order == Qt::DescendingOrder);
    refresh();
}

} // namespace qmx44::business
