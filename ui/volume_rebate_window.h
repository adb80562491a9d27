#pragma once
// The volume rebate's window: the supplier, period, currency, cause, reference, the amount
// or percent and what it is spread by; "Buscar" lists the eligible purchase lines with
// their parts, spread again as lines are left out or the value changes; "Guardar" saves
// one note per purchase; a stored run is shown again by its folio, printed as a summary
// and cancelled as a whole.
#include "platform/controls/additional_fields.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace qmx44::services {
class Session;
}

namespace qmx44::rebate {
class VolumeRebate;
struct EligibleLine;
struct RebateParameters;
struct RebateRun;
} // namespace qmx44::rebate

namespace qmx44::ui {

class VolumeRebateWindow : public QWidget {
    Q_OBJECT
public:
    // The printed summaries are written to `outputFolder` (the system's temporary folder
    // when empty) before they are previewed.
    VolumeRebateWindow(std::shared_ptr<services::Session> session, const QString &outputFolder = {},
                       QWidget *parent = nullptr);
    ~VolumeRebateWindow() override;

    // The table's columns while lines are listed.
    enum Column {
        Purchase,
        Date,
        Branch,
        Warehouse,
        Product,
        Description,
        Size,
        Color,
        Unit,
        Quantity,
        ControlQuantity,
        Amount,
        Pending,
        Include,
        Part,
        PartWithTax,
        ColumnCount
    };

    QTableWidget *table() const { return m_table; }
    const std::vector<rebate::EligibleLine> &lines() const { return m_lines; }
    // The line under the list: what is granted, in how many notes, and what cannot be placed.
    QString grantedText() const;
    QString unplacedText() const;
    // The run shown (empty while lines are listed).
    QString shownRun() const { return m_run; }

    // Lists the eligible lines for the parameters as they stand, spread.
    void search();
    // Asks the clerk to confirm, then saves the listed parts and shows the run saved.
    // True when saved.
    bool save();
    // Shows the stored run `folio`: its parameters and its notes. False, after a message
    // box, when there is no such run.
    bool showRun(const QString &folio);
    // Asks the clerk to confirm, then cancels the shown run. True when cancelled.
    bool cancelRun();
    // The shown run's summary, written and previewed.
    void print();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    rebate::RebateParameters parameters() const;
    void setParameters(const rebate::RebateParameters &parameters);
    void respread();
    void setLineHeaders();
    void fillLines();
    void fillParts();
    void paintRow(int row);
    void fillRun(const rebate::RebateRun &run);
    void clearList();
    void toggleCurrent();
    void confirmSupplier();
    void valueKindChanged();
    void updateButtons();

    std::shared_ptr<services::Session> m_session;
    std::unique_ptr<rebate::VolumeRebate> m_rebate;
    QString m_outputFolder;
    std::vector<rebate::EligibleLine> m_lines;
    controls::AdditionalFields m_fields; // the notes' additional fields, as last typed
    QString m_run;                       // the run shown
    bool m_runLive = false;              // the run shown is not cancelled
    bool m_filling = false;
    std::int64_t m_asked = 0, m_unplacedCents = 0; // cents: asked for, and what no line takes

    QLineEdit *m_supplier = nullptr, *m_currency = nullptr, *m_cause = nullptr, *m_reference = nullptr;
    QLineEdit *m_runFolio = nullptr;
    QDateEdit *m_from = nullptr, *m_to = nullptr;
    QRadioButton *m_byAmount = nullptr, *m_byPercent = nullptr;
    QDoubleSpinBox *m_value = nullptr;
    QComboBox *m_basis = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_tableCaption = nullptr, *m_granted = nullptr, *m_unplaced = nullptr;
    QPushButton *m_search = nullptr, *m_save = nullptr, *m_show = nullptr, *m_print = nullptr, *m_cancel = nullptr;
    QString m_saveToken; // the run being saved, kept across attempts until it is saved
};

} // namespace qmx44::ui
