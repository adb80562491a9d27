#include "ui/list_parts.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace qmx44::ui {

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

QLineEdit *keyField(int length, QWidget *parent, bool upper)
{
    auto *field = new QLineEdit(parent);
    field->setMaxLength(length);
    field->setClearButtonEnabled(true);
    if (upper)
        QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString &text) {
            const int at = field->cursorPosition();
            field->setText(text.toUpper());
            field->setCursorPosition(at);
        });
    return field;
}

void setUpRowList(QTableView *table, const QString &tip)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
    table->setToolTip(tip);
}

} // namespace qmx44::ui
