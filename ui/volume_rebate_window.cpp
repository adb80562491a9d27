#include "ui/volume_rebate_window.h"
#include "ui/list_parts.h"

#include "platform/business/activity_log.h"
#include "platform/business/print/print_template.h"
#include "platform/core/error.h"
#include "rebate/note_fields.h"
#include "rebate/rebate_summary.h"
#include "rebate/volume_rebate.h"
#include "ui/additional_fields_dialog.h"
#include "ui/print_preview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTableWidget>
#include <QUuid>
#include <QVBoxLayout>
#include <cmath>

namespace qmx44::ui {

namespace {

const QString kTitle = QStringLiteral("Bonificación por volumen");

using business::print::formatAmount;
using business::print::formatQuantity;

QLineEdit *textField(const QString &name, int length, bool upper, QWidget *parent)
{
    QLineEdit *field = keyField(length, parent, upper);
    field->setObjectName(name);
    return field;
}

QString cents(std::int64_t value)
{
    return formatAmount(double(value) / 100.0);
}

// A part with its tax, as the note's line carries it (its tax not rounded).
double withTax(const rebate::EligibleLine &line)
{
    return double(line.cents) / 100.0 * (1.0 + line.taxFactor);
}

QString notesText(int count)
{
    return count == 1 ? QStringLiteral("1 nota") : QStringLiteral("%1 notas").arg(count);
}

QTableWidgetItem *cell(const QString &text, bool number = false)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// A question with Spanish answers; true for `yes`.
bool confirm(QWidget *parent, const QString &question, const QString &yes, const QString &no, bool yesByDefault)
{
    QMessageBox box(QMessageBox::Question, kTitle, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(yes);
    box.button(QMessageBox::No)->setText(no);
    box.setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

VolumeRebateWindow::VolumeRebateWindow(std::shared_ptr<services::Session> session, const QString &outputFolder,
                                       QWidget *parent)
    : QWidget(parent), m_session(session), m_rebate(std::make_unique<rebate::VolumeRebate>(std::move(session))),
      m_outputFolder(outputFolder.isEmpty() ? QDir::tempPath() : outputFolder)
{
    setWindowTitle(kTitle);

    m_supplier = textField(QStringLiteral("supplier"), 10, true, this);
    m_currency = textField(QStringLiteral("currency"), 5, true, this);
    m_currency->setToolTip(QStringLiteral("Vacía: la moneda del proveedor"));
    m_cause = textField(QStringLiteral("cause"), 10, true, this);
    m_reference = textField(QStringLiteral("reference"), 50, false, this);
    const QDate today = QDate::currentDate();
    m_from = new QDateEdit(QDate(today.year(), 1, 1), this);
    m_to = new QDateEdit(today, this);
    m_from->setObjectName(QStringLiteral("from"));
    m_to->setObjectName(QStringLiteral("to"));
    for (QDateEdit *date : {m_from, m_to}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    m_byAmount = new QRadioButton(QStringLiteral("Impor&te"), this);
    m_byPercent = new QRadioButton(QStringLiteral("Porcenta&je"), this);
    m_byPercent->setObjectName(QStringLiteral("percent"));
    m_byAmount->setChecked(true);
    auto *kind = new QButtonGroup(this);
    kind->addButton(m_byAmount);
    kind->addButton(m_byPercent);
    m_value = new QDoubleSpinBox(this);
    m_value->setObjectName(QStringLiteral("value"));
    m_value->setGroupSeparatorShown(true);
    m_value->setAlignment(Qt::AlignRight);
    m_basis = new QComboBox(this);
    m_basis->setObjectName(QStringLiteral("basis"));
    m_basis->addItem(QStringLiteral("Importe"), int(rebate::Basis::Amount));
    m_basis->addItem(QStringLiteral("Cantidad de control"), int(rebate::Basis::ControlQuantity));
    valueKindChanged();

    auto *fields = new QGridLayout;
    const auto labelled = [&](int row, int column, const QString &caption, QWidget *field, int span = 1) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        fields->addWidget(label, row, column);
        fields->addWidget(field, row, column + 1, 1, span);
    };
    labelled(0, 0, QStringLiteral("&Proveedor:"), m_supplier);
    labelled(0, 2, QStringLiteral("Mo&neda:"), m_currency);
    // The period in a row of its own, so that its captions sit beside their dates.
    auto *period = new QHBoxLayout;
    const auto periodDate = [&](const QString &caption, QDateEdit *date) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(date);
        period->addWidget(label);
        period->addWidget(date);
    };
    periodDate(QStringLiteral("&Desde:"), m_from);
    periodDate(QStringLiteral("&Hasta:"), m_to);
    period->addStretch(1);
    fields->addLayout(period, 0, 4, 1, 2);
    labelled(1, 0, QStringLiteral("Ca&usa:"), m_cause);
    labelled(1, 2, QStringLiteral("&Referencia:"), m_reference, 3);
    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(m_byAmount);
    kindRow->addWidget(m_byPercent);
    fields->addLayout(kindRow, 2, 0, 1, 2);
    labelled(2, 2, QStringLiteral("Val&or:"), m_value);
    labelled(2, 4, QStringLiteral("Repartir &según:"), m_basis);
    m_search = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-find")), QStringLiteral("&Buscar"), this);
    fields->addWidget(m_search, 0, 6);
    fields->setColumnStretch(7, 1);

    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("lines"));
    setUpRowList(m_table, QStringLiteral("Espacio incluye o deja fuera la línea"));
    m_table->installEventFilter(this);
    m_tableCaption = new QLabel(QStringLiteral("&Líneas:"), this);
    m_tableCaption->setBuddy(m_table);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || !m_run.isEmpty() || item->column() != Include || item->row() >= int(m_lines.size()))
            return;
        m_lines[size_t(item->row())].excluded = item->checkState() != Qt::Checked;
        paintRow(item->row());
        respread();
    });

    m_granted = new QLabel(this);
    m_granted->setObjectName(QStringLiteral("granted"));
    m_granted->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_unplaced = new QLabel(this);
    m_unplaced->setObjectName(QStringLiteral("unplaced"));
    m_save = new QPushButton(QIcon::fromTheme(QStringLiteral("document-save")), QStringLiteral("&Guardar"), this);
    auto *totalsRow = new QHBoxLayout;
    totalsRow->addWidget(m_granted);
    totalsRow->addSpacing(24);
    totalsRow->addWidget(m_unplaced, 1);
    totalsRow->addWidget(m_save);

    m_runFolio = textField(QStringLiteral("runFolio"), 10, true, this);
    m_show = new QPushButton(QStringLiteral("&Mostrar"), this);
    m_print = new QPushButton(QIcon::fromTheme(QStringLiteral("document-print")), QStringLiteral("&Imprimir…"), this);
    m_cancel = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-delete")),
                               QStringLiteral("Canc&elar bonificación"), this);
    auto *runRow = new QHBoxLayout;
    auto *folioLabel = new QLabel(QStringLiteral("&Folio de bonificación:"), this);
    folioLabel->setBuddy(m_runFolio);
    runRow->addWidget(folioLabel);
    runRow->addWidget(m_runFolio);
    runRow->addWidget(m_show);
    runRow->addStretch(1);
    runRow->addWidget(m_print);
    runRow->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_tableCaption);
    layout->addWidget(m_table, 1);
    layout->addLayout(totalsRow);
    layout->addLayout(runRow);

    QWidget *order[] = {m_supplier, m_currency,  m_from,  m_to,    m_cause,  m_reference,
                        m_byAmount, m_byPercent, m_value, m_basis, m_search, m_table,
                        m_save,     m_runFolio,  m_show,  m_print, m_cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_search, &QPushButton::clicked, this, &VolumeRebateWindow::search);
    connect(m_save, &QPushButton::clicked, this, &VolumeRebateWindow::save);
    connect(m_show, &QPushButton::clicked, this, [this] { showRun(m_runFolio->text().trimmed()); });
    connect(m_runFolio, &QLineEdit::returnPressed, this, [this] { showRun(m_runFolio->text().trimmed()); });
    connect(m_print, &QPushButton::clicked, this, &VolumeRebateWindow::print);
    connect(m_cancel, &QPushButton::clicked, this, &VolumeRebateWindow::cancelRun);
    connect(m_supplier, &QLineEdit::editingFinished, this, &VolumeRebateWindow::confirmSupplier);
    for (QLineEdit *field : {m_supplier, m_currency})
        connect(field, &QLineEdit::returnPressed, this, &VolumeRebateWindow::search);
    // What the lines were read for changes: they are read again by Buscar.
    for (QLineEdit *field : {m_supplier, m_currency})
        connect(field, &QLineEdit::textEdited, this, &VolumeRebateWindow::clearList);
    for (QDateEdit *date : {m_from, m_to})
        connect(date, &QDateEdit::dateChanged, this, [this] {
            if (!m_filling)
                clearList();
        });
    // What the lines are spread by changes: spread again at once.
    connect(m_byPercent, &QRadioButton::toggled, this, [this] {
        // An amount is no percent (nor the other way): the value is typed again.
        if (!m_filling)
            m_value->setValue(0);
        valueKindChanged();
        respread();
    });
    connect(m_value, &QDoubleSpinBox::valueChanged, this, [this] { respread(); });
    connect(m_basis, &QComboBox::currentIndexChanged, this, [this] { respread(); });

    setFocusProxy(m_supplier);
    clearList();
}

VolumeRebateWindow::~VolumeRebateWindow() = default;

rebate::RebateParameters VolumeRebateWindow::parameters() const
{
    rebate::RebateParameters p;
    p.supplier = m_supplier->text().trimmed();
    p.from = m_from->date();
    p.to = m_to->date();
    p.currency = m_currency->text().trimmed();
    p.cause = m_cause->text().trimmed();
    p.reference = m_reference->text().trimmed();
    p.percent = m_byPercent->isChecked();
    p.value = m_value->value();
    p.basis = rebate::Basis(m_basis->currentData().toInt());
    return p;
}

void VolumeRebateWindow::setParameters(const rebate::RebateParameters &p)
{
    m_filling = true;
    m_supplier->setText(p.supplier);
    m_from->setDate(p.from);
    m_to->setDate(p.to);
    m_currency->setText(p.currency);
    m_cause->setText(p.cause);
    m_reference->setText(p.reference);
    (p.percent ? m_byPercent : m_byAmount)->setChecked(true);
    valueKindChanged();
    m_value->setValue(p.value);
    m_basis->setCurrentIndex(m_basis->findData(int(p.basis)));
    m_filling = false;
}

void VolumeRebateWindow::valueKindChanged()
{
    const bool percent = m_byPercent->isChecked();
    m_value->setDecimals(percent ? 4 : 2);
    m_value->setRange(0, percent ? 100 : 999999999.99);
    m_value->setSuffix(percent ? QStringLiteral(" %") : QString());
}

void VolumeRebateWindow::confirmSupplier()
{
    const QString supplier = m_supplier->text().trimmed();
    if (supplier.isEmpty() || m_filling)
        return;
    try {
        WaitCursor wait;
        const QString currency = m_rebate->supplierCurrency(supplier);
        if (currency.isEmpty())
            m_granted->setText(QStringLiteral("No existe el proveedor %1").arg(supplier));
        else if (m_currency->text().trimmed() != currency) {
            m_currency->setText(currency);
            clearList();
        }
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
    }
}

void VolumeRebateWindow::clearList()
{
    if (m_filling)
        return;
    m_lines.clear();
    m_run.clear();
    m_runLive = false;
    m_asked = m_unplacedCents = 0;
    m_filling = true;
    m_table->clearContents();
    m_table->setRowCount(0);
    setLineHeaders();
    m_filling = false;
    m_granted->clear();
    m_unplaced->clear();
    updateButtons();
}

void VolumeRebateWindow::search()
{
    m_saveToken.clear();
    const rebate::RebateParameters p = parameters();
    if (p.supplier.isEmpty()) {
        QMessageBox::warning(this, kTitle, QStringLiteral("Falta el proveedor."));
        m_supplier->setFocus();
        return;
    }
    if (p.from > p.to) {
        QMessageBox::warning(this, kTitle, QStringLiteral("La fecha inicial es posterior a la final."));
        m_from->setFocus();
        return;
    }
    std::vector<rebate::EligibleLine> lines;
    try {
        WaitCursor wait;
        if (p.currency.isEmpty())
            m_currency->setText(m_rebate->supplierCurrency(p.supplier));
        lines = m_rebate->eligible(p);
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
        return;
    }
    clearList();
    m_lines = std::move(lines);
    fillLines();
    respread();
    if (m_lines.empty())
        m_granted->setText(QStringLiteral("Ninguna compra del proveedor en el periodo tiene líneas que bonificar."));
    else {
        m_table->setCurrentCell(0, Purchase);
        m_table->setFocus();
    }
}

void VolumeRebateWindow::setLineHeaders()
{
    static const char *const headers[ColumnCount] = {
        "Compra", "Fecha",    "Sucursal",      "Almacén", "Producto",  "Descripción", "Talla",        "Color",
        "Unidad", "Cantidad", "Cant. control", "Importe", "Pendiente", "Incluir",     "Bonificación", "Con impuesto"};
    m_table->setColumnCount(ColumnCount);
    QStringList captions;
    for (const char *header : headers)
        captions << QString::fromUtf8(header);
    m_table->setHorizontalHeaderLabels(captions);
}

void VolumeRebateWindow::fillLines()
{
    m_filling = true;
    setLineHeaders();
    m_table->setRowCount(int(m_lines.size()));
    for (int row = 0; row < int(m_lines.size()); ++row) {
        const rebate::EligibleLine &l = m_lines[size_t(row)];
        m_table->setItem(row, Purchase, cell(l.purchase));
        m_table->setItem(row, Date, cell(l.purchaseDate.toString(QStringLiteral("dd/MM/yyyy"))));
        m_table->setItem(row, Branch, cell(l.branch));
        m_table->setItem(row, Warehouse, cell(l.warehouse));
        m_table->setItem(row, Product, cell(l.product));
        m_table->setItem(row, Description, cell(l.description));
        m_table->setItem(row, Size, cell(l.size));
        m_table->setItem(row, Color, cell(l.color));
        m_table->setItem(row, Unit, cell(l.unit1));
        m_table->setItem(row, Quantity, cell(formatQuantity(l.quantity1), true));
        m_table->setItem(row, ControlQuantity,
                         cell(QStringLiteral("%1 %2").arg(formatQuantity(l.controlBasis), l.controlUnit1), true));
        m_table->setItem(row, Amount, cell(formatAmount(l.amount), true));
        m_table->setItem(row, Pending, cell(formatAmount(l.pending), true));
        auto *include = new QTableWidgetItem;
        include->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        include->setCheckState(l.excluded ? Qt::Unchecked : Qt::Checked);
        m_table->setItem(row, Include, include);
        m_table->setItem(row, Part, cell(QString(), true));
        m_table->setItem(row, PartWithTax, cell(QString(), true));
        if (l.excluded)
            paintRow(row);
    }
    m_table->resizeColumnsToContents();
    m_table->setColumnWidth(Description, std::min(m_table->columnWidth(Description), 100));
    m_filling = false;
}

void VolumeRebateWindow::paintRow(int row)
{
    // A line left out is greyed.
    const bool excluded = m_lines[size_t(row)].excluded;
    const bool filling = m_filling;
    m_filling = true;
    for (int column = 0; column < ColumnCount; ++column)
        if (QTableWidgetItem *item = m_table->item(row, column))
            item->setForeground(palette().brush(excluded ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    m_filling = filling;
}

void VolumeRebateWindow::respread()
{
    if (m_filling || !m_run.isEmpty())
        return;
    const rebate::SpreadOutcome outcome = rebate::VolumeRebate::spreadOver(parameters(), m_lines);
    m_asked = outcome.asked;
    m_unplacedCents = outcome.unplaced;
    fillParts();
}

void VolumeRebateWindow::fillParts()
{
    m_filling = true;
    for (int row = 0; row < int(m_lines.size()) && row < m_table->rowCount(); ++row) {
        const rebate::EligibleLine &l = m_lines[size_t(row)];
        m_table->item(row, Part)->setText(l.cents ? cents(l.cents) : QString());
        m_table->item(row, PartWithTax)->setText(l.cents ? formatAmount(withTax(l)) : QString());
    }
    m_filling = false;
    // The parts' columns follow what they hold (never narrower than their captions).
    for (int column : {Part, PartWithTax})
        m_table->resizeColumnToContents(column);
    m_granted->setText(grantedText());
    m_unplaced->setText(unplacedText());
    m_unplaced->setStyleSheet(m_unplacedCents != 0 ? QStringLiteral("color: #c00000; font-weight: bold") : QString());
    updateButtons();
}

QString VolumeRebateWindow::grantedText() const
{
    if (!m_run.isEmpty() || m_lines.empty())
        return m_granted->text();
    std::int64_t granted = 0;
    double taxed = 0;
    QSet<QString> purchases;
    for (const rebate::EligibleLine &l : m_lines)
        if (l.cents != 0) {
            granted += l.cents;
            taxed += withTax(l);
            purchases.insert(l.purchase);
        }
    const QString currency = m_currency->text().trimmed();
    return QStringLiteral("Bonificación: %1 %2 en %3 (con impuesto: %4 %2)")
        .arg(cents(granted), currency, notesText(int(purchases.size())), formatAmount(taxed));
}

QString VolumeRebateWindow::unplacedText() const
{
    if (!m_run.isEmpty() && m_unplacedCents == 0)
        return {};
    if (m_run.isEmpty() && m_lines.empty())
        return {};
    return QStringLiteral("No colocado: %1 %2").arg(cents(m_unplacedCents), m_currency->text().trimmed());
}

bool VolumeRebateWindow::save()
{
    if (!m_run.isEmpty() || m_lines.empty())
        return false;
    double taxed = 0;
    QSet<QString> purchases;
    for (const rebate::EligibleLine &l : m_lines)
        if (l.cents != 0) {
            taxed += withTax(l);
            purchases.insert(l.purchase);
        }
    if (purchases.isEmpty()) {
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Ninguna línea recibe bonificación: no hay notas que guardar."));
        return false;
    }
    // The notes' additional fields, asked once for all of them (the last ones typed kept).
    try {
        if (!m_fields.definitionsLoaded())
            m_fields = rebate::noteAdditionalFields(*m_session);
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
        return false;
    }
    if (!m_fields.definitions().empty() && !editAdditionalFields(m_fields, this))
        return false;
    std::vector<std::pair<QString, QString>> additional;
    for (const controls::AdditionalFieldDef &def : m_fields.definitions())
        additional.emplace_back(def.field, m_fields.value(def.field));
    QString question = QStringLiteral("¿Guardar %1 de crédito por un total de %2 %3, impuestos incluidos?")
                           .arg(notesText(int(purchases.size())), formatAmount(taxed), m_currency->text().trimmed());
    if (m_unplacedCents != 0)
        question += QStringLiteral("\n\nNo se colocan %1 %2: ninguna línea los admite.")
                        .arg(cents(m_unplacedCents), m_currency->text().trimmed());
    if (!confirm(this, question, QStringLiteral("&Guardar"), QStringLiteral("&No guardar"), true))
        return false;
    rebate::Outcome outcome;
    try {
        WaitCursor wait;
        // The same token on every attempt at these lines: after a commit whose answer was
        // lost, the next Guardar finds the run instead of granting it twice.
        if (m_saveToken.isEmpty())
            m_saveToken = QUuid::createUuid().toString(QUuid::WithoutBraces);
        rebate::RebateParameters p = parameters();
        p.token = m_saveToken;
        outcome = m_rebate->save(p, m_lines, additional);
    } catch (const std::exception &e) {
        outcome.error = describe(e);
    }
    if (!outcome.ok) {
        QMessageBox::warning(this, kTitle, outcome.error);
        return false;
    }
    m_saveToken.clear();
    m_runFolio->setText(outcome.folio);
    showRun(outcome.folio);
    QMessageBox::information(this, kTitle,
                             QStringLiteral("Se guardó la bonificación por volumen %1 con %2 de crédito.")
                                 .arg(outcome.folio, notesText(int(purchases.size()))));
    return true;
}

bool VolumeRebateWindow::showRun(const QString &folio)
{
    if (folio.isEmpty()) {
        m_runFolio->setFocus();
        return false;
    }
    rebate::RebateRun run;
    try {
        WaitCursor wait;
        run = m_rebate->run(folio);
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
        return false;
    }
    if (run.folio.isEmpty()) {
        QMessageBox::warning(this, kTitle, QStringLiteral("No existe la bonificación por volumen %1.").arg(folio));
        m_runFolio->setFocus();
        return false;
    }
    fillRun(run);
    return true;
}

void VolumeRebateWindow::fillRun(const rebate::RebateRun &run)
{
    clearList();
    setParameters(run.parameters);
    m_run = run.folio;
    m_runLive = !run.cancelled;
    m_runFolio->setText(run.folio);
    m_unplacedCents = run.unplaced;
    m_filling = true;
    const QStringList headers{QStringLiteral("Nota"),     QStringLiteral("Compra"), QStringLiteral("Subtotal"),
                              QStringLiteral("Impuesto"), QStringLiteral("Total"),  QStringLiteral("Estado")};
    m_table->setColumnCount(int(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setRowCount(int(run.notes.size()));
    double total = 0;
    for (int row = 0; row < int(run.notes.size()); ++row) {
        const rebate::RunNote &n = run.notes[size_t(row)];
        m_table->setItem(row, 0, cell(n.folio));
        m_table->setItem(row, 1, cell(n.purchase));
        m_table->setItem(row, 2, cell(formatAmount(n.subtotal), true));
        m_table->setItem(row, 3, cell(formatAmount(n.tax), true));
        m_table->setItem(row, 4, cell(formatAmount(n.total), true));
        m_table->setItem(row, 5, cell(n.cancelled ? QStringLiteral("Cancelada") : QStringLiteral("Vigente")));
        total += n.total;
    }
    m_table->resizeColumnsToContents();
    m_filling = false;
    QString state = run.cancelled ? QStringLiteral("Cancelada") : QStringLiteral("Vigente");
    if (run.cancelled && !run.cancelledBy.isEmpty())
        state += QStringLiteral(" por %1 el %2")
                     .arg(run.cancelledBy, run.cancelledAt.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    m_granted->setText(QStringLiteral("Bonificación %1: %2 %3 en %4, con impuesto %5 %3\nRegistró %6 el %7 · %8")
                           .arg(run.folio, cents(run.granted), run.parameters.currency,
                                notesText(int(run.notes.size())), formatAmount(total), run.user,
                                run.registered.toString(QStringLiteral("dd/MM/yyyy HH:mm")), state));
    m_unplaced->setText(unplacedText());
    m_unplaced->setStyleSheet(m_unplacedCents != 0 ? QStringLiteral("color: #c00000; font-weight: bold") : QString());
    if (!run.notes.empty())
        m_table->setCurrentCell(0, 0);
    updateButtons();
    m_table->setFocus();
}

bool VolumeRebateWindow::cancelRun()
{
    if (m_run.isEmpty() || !m_runLive)
        return false;
    if (!confirm(this,
                 QStringLiteral("¿Cancelar la bonificación por volumen %1 y sus %2?")
                     .arg(m_run, notesText(m_table->rowCount())),
                 QStringLiteral("Cancelar &bonificación"), QStringLiteral("&No cancelar"), false))
        return false;
    rebate::Outcome outcome;
    try {
        WaitCursor wait;
        outcome = m_rebate->cancel(m_run);
    } catch (const std::exception &e) {
        outcome.error = describe(e);
    }
    if (!outcome.ok) {
        QMessageBox::warning(this, kTitle, outcome.error);
        return false;
    }
    showRun(m_run);
    return true;
}

void VolumeRebateWindow::print()
{
    if (m_run.isEmpty())
        return;
    business::PrintedDocument document;
    document.format = QStringLiteral("BONIFICACION_VOLUMEN");
    document.folio = m_run;
    document.file = QDir(m_outputFolder).filePath(QStringLiteral("bonificacion_volumen_%1.pdf").arg(m_run));
    document.title = QStringLiteral("%1 %2").arg(kTitle, m_run);
    try {
        WaitCursor wait;
        const rebate::RebateRun run = m_rebate->run(m_run);
        document.html = rebate::summaryHtml(*m_session, run);
        document.watermark = rebate::summaryWatermark(run);
        m_rebate->writeSummaryPdf(m_run, document.file);
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
        return;
    }
    previewPrinted(document, this);
}

void VolumeRebateWindow::updateButtons()
{
    const bool listing = m_run.isEmpty() && !m_lines.empty();
    m_save->setEnabled(listing);
    m_print->setEnabled(!m_run.isEmpty());
    m_cancel->setEnabled(!m_run.isEmpty() && m_runLive);
    m_tableCaption->setText(m_run.isEmpty() ? QStringLiteral("&Líneas de compra:")
                                            : QStringLiteral("Notas de &la bonificación %1:").arg(m_run));
}

void VolumeRebateWindow::toggleCurrent()
{
    const int row = m_table->currentRow();
    if (!m_run.isEmpty() || row < 0 || row >= int(m_lines.size()))
        return;
    QTableWidgetItem *include = m_table->item(row, Include);
    include->setCheckState(include->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

bool VolumeRebateWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Space includes or leaves out the line whatever its column; Enter does nothing
        // here (it saves nothing and toggles nothing).
        if (key == Qt::Key_Space) {
            toggleCurrent();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qmx44::ui
