#pragma once
// The notes register's window: the filters, the list of notes (fetched as it scrolls,
// sorted by a click on a header), its totals row, and the export to CSV and PDF. Enter or
// a double click on a note asks the host to show it in the screen.
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class QTableWidget;

namespace qmx44::services {
class Session;
}

namespace qmx44::business {
class NoteRegisterModel;
struct NoteRegisterFilter;
} // namespace qmx44::business

namespace qmx44::ui {

class NoteRegisterWindow : public QWidget {
    Q_OBJECT
public:
    explicit NoteRegisterWindow(std::shared_ptr<services::Session> session, QWidget *parent = nullptr);

    business::NoteRegisterModel &model() { return *m_model; }
    QTableView *table() const { return m_table; }

    // Reads the list again with the filters as they stand.
    void search();
    // Reads the list again with the filters last searched (F5, and each time the clerk
    // comes back to the window: notes may have been saved or cancelled meanwhile), the
    // same note selected when it is still among the rows read.
    void refresh();
    // What is listed, to a file (the buttons ask for its name first). False, after a
    // message box saying why, when it could not be written.
    bool exportCsv(const QString &file);
    bool exportPdf(const QString &file);

signals:
    // The clerk asked to see this note in the screen.
    void showNote(const QString &folio);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCurrent();
    business::NoteRegisterFilter currentFilter() const;
    void fillTotals();
    void fitTotals();

    business::NoteRegisterModel *m_model = nullptr;
    QLineEdit *m_supplier = nullptr, *m_purchase = nullptr, *m_cause = nullptr, *m_user = nullptr;
    QCheckBox *m_useFrom = nullptr, *m_useTo = nullptr;
    QDateEdit *m_from = nullptr, *m_to = nullptr;
    QComboBox *m_state = nullptr;
    QTableView *m_table = nullptr;
    QTableWidget *m_totals = nullptr;
    QLabel *m_count = nullptr;
};

} // namespace qmx44::ui
