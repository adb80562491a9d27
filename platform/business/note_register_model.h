#pragma once
// The notes register as a table model: the rows of the matching notes fetched a page at
// a time as the view scrolls to them, sorting on the database, and the totals of every
// matching note (not only the fetched ones) for the view's totals row.
#include "platform/business/note_register.h"

#include <QAbstractTableModel>

namespace qmx44::business {

class NoteRegisterModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows read by each fetch.
    static constexpr int PageSize = 200;

    explicit NoteRegisterModel(std::shared_ptr<services::Session> session, QObject *parent = nullptr);

    NoteRegister &noteRegister() { return m_register; }
    const NoteTotals &totals() const { return m_totals; }
    // The note of a row, empty past the fetched rows.
    QString folio(int row) const;

    // Reads the totals and the first page again: after a new filter or a save elsewhere.
    // A failure of the database leaves the model empty and is told through `failed`:
    // these run from the view's events (sorting, scrolling), where nothing may throw.
    bool refresh();
    bool setFilter(const NoteRegisterFilter &filter);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void totalsChanged();
    void failed(const QString &message);

private:
    NoteRegister m_register;
    std::vector<NoteRow> m_rows;
    NoteTotals m_totals;
};

} // namespace qmx44::business
