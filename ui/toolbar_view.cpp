// The toolbar's actions, kept in step with the toolbar model through its view channel.
#include "ui/toolbar_view.h"

#include "platform/controls/form.h"
#include "platform/core/error.h"
#include "ui/additional_fields_dialog.h"

#include <QAction>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace qmx44::ui {

using controls::Aspect;
using controls::Command;

namespace {

QIcon themeIcon(const QWidget *widget, const char *name, int fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name),
                            widget->style()->standardIcon(static_cast<QStyle::StandardPixmap>(fallback)));
}

QString tooltip(const QString &text, const QList<QKeySequence> &shortcuts)
{
    QStringList keys;
    for (const QKeySequence &k : shortcuts)
        keys << k.toString(QKeySequence::NativeText);
    return keys.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, keys.join(QStringLiteral(", ")));
}

} // namespace

ToolbarView::ToolbarView(controls::Toolbar &toolbar, QWidget *parent) : QToolBar(parent), m_toolbar(toolbar)
{
    setObjectName(toolbar.name());
    setWindowTitle(toolbar.caption().isEmpty() ? toolbar.name() : toolbar.caption());
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(22, 22));
    // Enter, Tab, F2, F4, Escape, Alt+1 and Alt+2 belong to the screen: none is used here.
    using K = QKeySequence;
    addCommand(Command::Nuevo, tr("Nuevo"), "document-new", QStyle::SP_FileIcon, {K(Qt::CTRL | Qt::Key_N)});
    addCommand(Command::Modificar, tr("Modificar"), "document-edit", QStyle::SP_FileDialogDetailedView,
               {K(Qt::CTRL | Qt::Key_M)});
    addCommand(Command::Eliminar, tr("Eliminar"), "edit-delete", QStyle::SP_TrashIcon,
               {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete)});
    addSeparator();
    addCommand(Command::Imprimir, tr("Imprimir"), "document-print", QStyle::SP_FileDialogContentsView,
               {K(Qt::CTRL | Qt::Key_P)});
    addCommand(Command::Consultar, tr("Consultar"), "edit-find", QStyle::SP_FileDialogInfoView,
               {K(Qt::CTRL | Qt::Key_F)});
    addSeparator();
    addCommand(Command::Aceptar, tr("Aceptar"), "dialog-ok-apply", QStyle::SP_DialogApplyButton,
               {K(Qt::Key_F10), K(Qt::CTRL | Qt::Key_Return)});
    addCommand(Command::Cancelar, tr("Cancelar"), "dialog-cancel", QStyle::SP_DialogCancelButton, {K(Qt::Key_F9)});
    addSeparator();
    const QList<QKeySequence> additionalKeys{K(Qt::CTRL | Qt::SHIFT | Qt::Key_A)};
    m_additional =
        addAction(themeIcon(this, "document-properties", QStyle::SP_FileDialogListView), tr("Campos adicionales"));
    m_additional->setObjectName(QStringLiteral("CamposAdicionales"));
    m_additional->setShortcuts(additionalKeys);
    m_additional->setToolTip(tooltip(m_additional->text(), additionalKeys));
    connect(m_additional, &QAction::triggered, this, [this] {
        if (m_alive)
            editAdditionalFields(m_toolbar, window());
    });
    addCommand(Command::Opcional, toolbar.optionalCaption(), "view-list-details", QStyle::SP_ArrowRight,
               {K(Qt::CTRL | Qt::Key_O)});
    addCommand(Command::Salir, tr("Salir"), "window-close", QStyle::SP_DialogCloseButton, {K(Qt::CTRL | Qt::Key_W)});

    m_toolbar.setConfirm([this](const QString &title, const QString &question) {
        QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, window());
        box.button(QMessageBox::Yes)->setText(tr("Sí"));
        box.setDefaultButton(QMessageBox::No); // a stray Enter changes nothing
        return box.exec() == QMessageBox::Yes;
    });
    m_ticket = m_toolbar.observers().add([this](const controls::ModelChange &change) {
        switch (change.aspect) {
        case Aspect::Commands:
        case Aspect::Caption:
        case Aspect::Enabled:
        case Aspect::Visible:
            refresh();
            break;
        default:
            break;
        }
    });
    m_formTicket = m_toolbar.form().observers().add([this](const controls::ModelChange &change) {
        if (change.aspect == Aspect::Gone)
            forgetToolbar();
    });
    refresh();
}

ToolbarView::~ToolbarView()
{
    if (m_alive) {
        m_toolbar.setConfirm({});
        m_toolbar.observers().remove(m_ticket);
        m_toolbar.form().observers().remove(m_formTicket);
    }
}

void ToolbarView::forgetToolbar()
{
    m_toolbar.setConfirm({});
    m_toolbar.observers().remove(m_ticket);
    m_toolbar.form().observers().remove(m_formTicket);
    m_alive = false;
    for (const auto &entry : m_actions)
        entry.second->setEnabled(false);
    m_additional->setEnabled(false);
}

QAction *ToolbarView::addCommand(Command command, const QString &text, const char *icon, int fallbackIcon,
                                 const QList<QKeySequence> &shortcuts)
{
    QAction *a = addAction(themeIcon(this, icon, fallbackIcon), text);
    a->setShortcuts(shortcuts);
    a->setToolTip(tooltip(text, shortcuts));
    a->setData(int(command));
    connect(a, &QAction::triggered, this, [this, command] {
        if (m_alive)
            m_toolbar.click(command);
    });
    m_actions.append({command, a});
    return a;
}

QAction *ToolbarView::action(Command command) const
{
    for (const auto &entry : m_actions)
        if (entry.first == command)
            return entry.second;
    return nullptr;
}

QAction *ToolbarView::additionalFieldsAction() const
{
    return m_additional;
}

void ToolbarView::refresh()
{
    if (!m_alive)
        return;
    for (const auto &[command, a] : m_actions) {
        const bool offered = m_toolbar.available(command);
        a->setEnabled(offered);
        if (command == Command::Opcional) {
            const QString caption = m_toolbar.optionalCaption();
            a->setText(caption);
            a->setToolTip(tooltip(caption, a->shortcuts()));
            a->setVisible(offered);
        } else if (command == Command::Salir) {
            a->setVisible(offered);
        }
    }
    bool hasDefinitions = false;
    if (m_toolbar.EnEdicion() && m_toolbar.effectivelyEnabled()) {
        try {
            hasDefinitions = !m_toolbar.additionalFields().definitions().empty();
        } catch (const RuntimeError &) {
            hasDefinitions = false; // the definitions could not be read: the save reports it
        }
    }
    m_additional->setEnabled(hasDefinitions);
}

} // namespace qmx44::ui
