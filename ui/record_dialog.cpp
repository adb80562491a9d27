// The record query's read-only window.
#include "ui/record_dialog.h"

#include "platform/business/table_rows.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qmx44::ui {

QDialog *createRecordsDialog(const business::TableRows &rows, QWidget *parent)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("ConsultaRegistro"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QObject::tr("%1: %2 = %3").arg(rows.table, rows.keyColumn, rows.keyValue));
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(QObject::tr("%n registro(s)", nullptr, int(rows.rows.size())), dialog));
    auto *table = new QTableWidget(int(rows.rows.size()), int(rows.columns.size()), dialog);
    table->setHorizontalHeaderLabels(rows.columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int r = 0; r < int(rows.rows.size()); ++r) {
        const QVariantList &values = rows.rows[r];
        for (int c = 0; c < int(values.size()) && c < int(rows.columns.size()); ++c) {
            const QVariant &v = values[c];
            auto *item = new QTableWidgetItem(v.isNull() ? QString() : v.toString());
            if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *close = buttons->addButton(QObject::tr("Cerrar"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->resize(720, 360);
    close->setFocus();
    return dialog;
}

void showRecords(const business::TableRows &rows, QWidget *parent)
{
    QDialog *dialog = createRecordsDialog(rows, parent);
    dialog->show();
    dialog->raise();
}

} // namespace qmx44::ui
