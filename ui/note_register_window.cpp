#include "ui/note_register_window.h"
#include "ui/list_parts.h"

#include "platform/business/note_register_model.h"
#include "platform/core/error.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qmx44::ui {

namespace {

const QString kTitle = QStringLiteral("Notas de crédito de proveedor");

} // namespace

NoteRegisterWindow::NoteRegisterWindow(std::shared_ptr<services::Session> session, QWidget *parent)
    : QWidget(parent), m_model(new business::NoteRegisterModel(std::move(session), this))
{
    setWindowTitle(kTitle);

    m_supplier = keyField(10, this);
    m_purchase = keyField(10, this);
    m_cause = keyField(10, this);
    m_user = keyField(20, this);
    m_useFrom = new QCheckBox(QStringLiteral("&Desde"), this);
    m_useTo = new QCheckBox(QStringLiteral("&Hasta"), this);
    const QDate today = QDate::currentDate();
    m_from = new QDateEdit(QDate(today.year(), today.month(), 1), this);
    m_to = new QDateEdit(today, this);
    for (QDateEdit *date : {m_from, m_to}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        date->setEnabled(false);
    }
    connect(m_useFrom, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_useTo, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    m_state = new QComboBox(this);
    m_state->addItem(QStringLiteral("Vigentes"), int(business::NoteState::Live));
    m_state->addItem(QStringLiteral("Canceladas"), int(business::NoteState::Cancelled));
    m_state->addItem(QStringLiteral("Todas"), int(business::NoteState::Any));

    auto *filters = new QGridLayout;
    const auto labelled = [&](int row, int column, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        filters->addWidget(label, row, column);
        filters->addWidget(field, row, column + 1);
    };
    labelled(0, 0, QStringLiteral("&Proveedor:"), m_supplier);
    labelled(0, 2, QStringLiteral("C&ompra:"), m_purchase);
    labelled(0, 4, QStringLiteral("&Estado:"), m_state);
    labelled(1, 0, QStringLiteral("Ca&usa:"), m_cause);
    labelled(1, 2, QStringLiteral("U&suario:"), m_user);
    auto *dates = new QHBoxLayout;
    dates->addWidget(m_useFrom);
    dates->addWidget(m_from);
    dates->addWidget(m_useTo);
    dates->addWidget(m_to);
    filters->addLayout(dates, 1, 4, 1, 2);
    auto *searchButton =
        new QPushButton(QIcon::fromTheme(QStringLiteral("edit-find")), QStringLiteral("&Buscar"), this);
    filters->addWidget(searchButton, 0, 6);
    filters->setColumnStretch(7, 1);
    connect(searchButton, &QPushButton::clicked, this, &NoteRegisterWindow::search);
    for (QLineEdit *field : {m_supplier, m_purchase, m_cause, m_user})
        connect(field, &QLineEdit::returnPressed, this, &NoteRegisterWindow::search);

    m_table = new QTableView(this);
    m_table->setModel(m_model);
    setUpRowList(m_table, QStringLiteral("Enter o doble clic muestra la nota en la pantalla"));
    m_table->installEventFilter(this);
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this] { showCurrent(); });
    auto *reread = new QShortcut(QKeySequence(Qt::Key_F5), this);
    reread->setContext(Qt::WidgetWithChildrenShortcut);
    connect(reread, &QShortcut::activated, this, &NoteRegisterWindow::refresh);

    // The totals of every matching note, under the list's columns.
    m_totals = new QTableWidget(1, business::NoteColumnCount, this);
    m_totals->horizontalHeader()->hide();
    m_totals->verticalHeader()->hide();
    m_totals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_totals->setFocusPolicy(Qt::NoFocus);
    m_totals->setSelectionMode(QAbstractItemView::NoSelection);
    m_totals->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_totals->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_totals->verticalHeader()->setDefaultSectionSize(m_table->verticalHeader()->defaultSectionSize());
    m_totals->setFixedHeight(m_totals->verticalHeader()->defaultSectionSize() + 2 * m_totals->frameWidth());
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { m_totals->setColumnWidth(column, width); });
    connect(m_table->horizontalScrollBar(), &QScrollBar::valueChanged, m_totals->horizontalScrollBar(),
            &QScrollBar::setValue);

    m_count = new QLabel(this);
    auto *csv = new QPushButton(QIcon::fromTheme(QStringLiteral("text-csv")), QStringLiteral("Exportar &CSV…"), this);
    auto *pdf =
        new QPushButton(QIcon::fromTheme(QStringLiteral("application-pdf")), QStringLiteral("Exportar P&DF…"), this);
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(
            this, QStringLiteral("Exportar a CSV"), QStringLiteral("notas_credito.csv"), QStringLiteral("CSV (*.csv)"));
        if (!file.isEmpty())
            exportCsv(file);
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(
            this, QStringLiteral("Exportar a PDF"), QStringLiteral("notas_credito.pdf"), QStringLiteral("PDF (*.pdf)"));
        if (!file.isEmpty())
            exportPdf(file);
    });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(csv);
    buttons->addWidget(pdf);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_table, 1);
    layout->setSpacing(4);
    // Beside the totals, room for the list's vertical scroll bar while it shows, so the
    // columns line up when the list is scrolled sideways to its end.
    auto *totalsRow = new QHBoxLayout;
    totalsRow->setSpacing(0);
    totalsRow->addWidget(m_totals);
    auto *scrollBarRoom = new QWidget(this);
    scrollBarRoom->setFixedWidth(0);
    totalsRow->addWidget(scrollBarRoom);
    connect(m_table->verticalScrollBar(), &QScrollBar::rangeChanged, scrollBarRoom,
            [this, scrollBarRoom](int, int max) {
                scrollBarRoom->setFixedWidth(max > 0 ? m_table->verticalScrollBar()->sizeHint().width() : 0);
            });
    layout->addLayout(totalsRow);
    layout->addLayout(buttons);

    connect(m_model, &business::NoteRegisterModel::totalsChanged, this, &NoteRegisterWindow::fillTotals);
    connect(m_model, &business::NoteRegisterModel::failed, this,
            [this](const QString &message) { QMessageBox::warning(this, kTitle, message); });
    // Newest first; the header's click sorts by another column. Turning sorting on sorts
    // by the indicator, which reads the list the first time.
    m_model->noteRegister().setFilter(currentFilter());
    m_table->horizontalHeader()->setSortIndicator(int(business::NoteColumn::Folio), Qt::DescendingOrder);
    {
        WaitCursor wait;
        m_table->setSortingEnabled(true);
    }
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    m_table->resizeColumnsToContents();
    fitTotals();
}

void NoteRegisterWindow::search()
{
    WaitCursor wait;
    m_model->setFilter(currentFilter());
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
}

void NoteRegisterWindow::refresh()
{
    WaitCursor wait;
    const QString folio = m_model->folio(m_table->currentIndex().row());
    m_model->refresh();
    int row = 0;
    while (row < m_model->rowCount() && m_model->folio(row) != folio)
        ++row;
    if (row == m_model->rowCount())
        row = 0;
    if (m_model->rowCount() > 0)
        m_table->selectRow(row);
}

business::NoteRegisterFilter NoteRegisterWindow::currentFilter() const
{
    business::NoteRegisterFilter f;
    f.supplier = m_supplier->text().trimmed();
    f.purchase = m_purchase->text().trimmed();
    f.cause = m_cause->text().trimmed();
    f.user = m_user->text().trimmed();
    if (m_useFrom->isChecked())
        f.from = m_from->date();
    if (m_useTo->isChecked())
        f.to = m_to->date();
    f.state = business::NoteState(m_state->currentData().toInt());
    return f;
}

void NoteRegisterWindow::fillTotals()
{
    const business::NoteTotals &t = m_model->totals();
    for (int i = 0; i < business::NoteColumnCount; ++i) {
        const auto column = business::NoteColumn(i);
        auto *item = new QTableWidgetItem(business::NoteRegister::totalsText(t, column));
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        if (column == business::NoteColumn::Subtotal || column == business::NoteColumn::Tax
            || column == business::NoteColumn::Total)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_totals->setItem(0, i, item);
    }
    m_count->setText(m_model->noteRegister().filterText());
    fitTotals();
}

void NoteRegisterWindow::fitTotals()
{
    // A column as wide as its total needs (the list's columns follow), never narrower
    // than the clerk left it.
    for (int i = 0; i < business::NoteColumnCount; ++i) {
        const QTableWidgetItem *item = m_totals->item(0, i);
        const int needed = item ? QFontMetrics(item->font()).horizontalAdvance(item->text()) + 12 : 0;
        if (needed > m_table->columnWidth(i))
            m_table->setColumnWidth(i, needed);
        m_totals->setColumnWidth(i, m_table->columnWidth(i));
    }
}

void NoteRegisterWindow::showCurrent()
{
    const QString folio = m_model->folio(m_table->currentIndex().row());
    if (!folio.isEmpty())
        emit showNote(folio);
}

bool NoteRegisterWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            showCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool NoteRegisterWindow::exportCsv(const QString &file)
{
    try {
        WaitCursor wait;
        const QString point = QLocale().decimalPoint();
        const QChar decimal = point.isEmpty() ? QChar(u'.') : point.at(0);
        const QByteArray text = m_model->noteRegister().toCsv(business::csvSeparator(decimal), decimal);
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
            throw RuntimeError(QStringLiteral("No se pudo escribir %1: %2").arg(file, out.errorString()));
        return true;
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
        return false;
    }
}

bool NoteRegisterWindow::exportPdf(const QString &file)
{
    try {
        WaitCursor wait;
        m_model->noteRegister().writePdf(file);
        return true;
    } catch (const std::exception &e) {
        QMessageBox::warning(this, kTitle, describe(e));
        return false;
    }
}

} // namespace qmx44::ui
