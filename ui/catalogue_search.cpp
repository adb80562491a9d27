// The catalogue search: a filter line over the catalogue's rows; Up/Down move, Enter or a
// double click picks, Escape cancels.
#include "ui/catalogue_search.h"

#include "platform/controls/text_field.h"
#include "platform/core/error.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qmx44::ui {

namespace {

class SearchDialog : public QDialog {
public:
    SearchDialog(controls::TextField &field, QWidget *parent)
        : QDialog(parent), m_field(field), m_filter(new QLineEdit(this)), m_list(new QTreeWidget(this))
    {
        setObjectName(QStringLiteral("catalogueSearch"));
        setWindowTitle(tr("Buscar"));
        m_filter->setObjectName(QStringLiteral("filter"));
        m_filter->setPlaceholderText(tr("Filtrar"));
        m_list->setObjectName(QStringLiteral("rows"));
        m_list->setHeaderLabels({QStringLiteral("CLAVE"), QStringLiteral("DESCRIPCION")});
        m_list->setRootIsDecorated(false);
        m_list->setUniformRowHeights(true);
        m_list->setFocusPolicy(Qt::NoFocus); // the filter keeps the keyboard
        m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(tr("Aceptar"));
        buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_filter);
        layout->addWidget(m_list);
        layout->addWidget(buttons);
        resize(520, 400);
        m_filter->installEventFilter(this);
        connect(m_filter, &QLineEdit::textChanged, this, &SearchDialog::fill);
        connect(m_list, &QTreeWidget::itemDoubleClicked, this, &SearchDialog::pick);
        connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::pick);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        fill(QString());
    }

    bool picked() const { return m_picked; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_filter || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pick();
            return true;
        }
        return false;
    }

private:
    void fill(const QString &filter)
    {
        m_list->clear();
        std::vector<controls::CatalogueRow> rows;
        try {
            rows = m_field.search(filter);
        } catch (const std::exception &e) {
            m_field.reportFailure(m_field.name() + QStringLiteral("_Buscar()"), describe(e));
            return;
        }
        QList<QTreeWidgetItem *> items;
        items.reserve(qsizetype(rows.size()));
        for (const auto &row : rows)
            items.append(new QTreeWidgetItem({row.key, row.description}));
        m_list->addTopLevelItems(items);
        if (!items.isEmpty())
            m_list->setCurrentItem(items.first());
    }

    void pick()
    {
        if (QTreeWidgetItem *item = m_list->currentItem()) {
            m_picked = m_field.pick(item->text(0));
            accept();
        }
    }

    controls::TextField &m_field;
    QLineEdit *m_filter;
    QTreeWidget *m_list;
    bool m_picked = false;
};

} // namespace

bool searchCatalogue(controls::TextField &field, QWidget *parent)
{
    SearchDialog dialog(field, parent);
    dialog.exec();
    return dialog.picked();
}

} // namespace qmx44::ui
