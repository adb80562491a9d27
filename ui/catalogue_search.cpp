// The catalogue search: a filter line over the catalogue's rows; Up/Down move, Enter or a
// double click picks, Escape cancels. The rows come from the database one page at a
// time: typing restarts a short timer and the search runs when the clerk pauses, so fast
// typing runs one query, not one per key.
#include "ui/catalogue_search.h"

#include "platform/controls/text_field.h"
#include "platform/core/error.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qmx44::ui {

namespace {

// The pause in typing after which the search runs.
constexpr int TypingPauseMs = 150;

class SearchDialog : public QDialog {
public:
    SearchDialog(controls::TextField &field, QWidget *parent)
        : QDialog(parent), m_field(field), m_filter(new QLineEdit(this)), m_list(new QTreeWidget(this)),
          m_more(new QLabel(this)), m_pause(new QTimer(this))
    {
        setObjectName(QStringLiteral("catalogueSearch"));
        setWindowTitle(tr("Buscar"));
        m_filter->setObjectName(QStringLiteral("filter"));
        m_filter->setPlaceholderText(tr("Filtrar"));
        m_list->setObjectName(QStringLiteral("rows"));
        m_list->setRootIsDecorated(false);
        m_list->setUniformRowHeights(true);
        m_list->setFocusPolicy(Qt::NoFocus); // the filter keeps the keyboard
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(tr("Aceptar"));
        buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(m_filter);
        layout->addWidget(m_list);
        m_more->setObjectName(QStringLiteral("more"));
        layout->addWidget(m_more);
        layout->addWidget(buttons);
        resize(640, 420);
        m_pause->setObjectName(QStringLiteral("typingPause"));
        m_pause->setSingleShot(true);
        m_pause->setInterval(TypingPauseMs);
        m_filter->installEventFilter(this);
        connect(m_filter, &QLineEdit::textChanged, m_pause, qOverload<>(&QTimer::start));
        connect(m_pause, &QTimer::timeout, this, [this] { fill(m_filter->text()); });
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
            if (m_pause->isActive()) { // Enter before the pause: the rows of what was typed
                m_pause->stop();
                fill(m_filter->text());
            }
            pick();
            return true;
        }
        return false;
    }

private:
    void fill(const QString &filter)
    {
        m_list->clear();
        controls::CatalogueListing listing;
        try {
            listing = m_field.search(filter);
        } catch (const std::exception &e) {
            m_field.reportFailure(m_field.name() + QStringLiteral("_Buscar()"), describe(e));
            return;
        }
        const QStringList headers = controls::catalogueHeaders(listing);
        m_list->setColumnCount(int(headers.size()));
        m_list->setHeaderLabels(headers);
        m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch); // the description takes the rest
        m_list->header()->setStretchLastSection(false);
        QList<QTreeWidgetItem *> items;
        items.reserve(qsizetype(listing.rows.size()));
        for (const auto &row : listing.rows) {
            auto *item = new QTreeWidgetItem(controls::catalogueCells(listing, row));
            if (listing.hasTotal) // amounts line up on the right
                item->setTextAlignment(int(headers.indexOf(QStringLiteral("Total"))),
                                       Qt::AlignRight | Qt::AlignVCenter);
            items.append(item);
        }
        m_list->addTopLevelItems(items);
        m_more->setText(
            listing.more
                ? tr("Se muestran las primeras %1 filas; escriba más para acotar la búsqueda").arg(listing.rows.size())
                : QString());
        m_more->setVisible(listing.more);
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
    QLabel *m_more;
    QTimer *m_pause;
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
