#pragma once
// The document toolbar: each command an action (desktop-theme icon, tooltip, shortcut)
// enabled and shown from the model; the optional command's caption; the confirmation
// before Eliminar; the additional-fields dialog.
#include "platform/controls/toolbar.h"

#include <QToolBar>

class QAction;

namespace qmx44::ui {

class ToolbarView : public QToolBar {
    Q_OBJECT
public:
    explicit ToolbarView(controls::Toolbar &toolbar, QWidget *parent = nullptr);
    ~ToolbarView() override;
    controls::Toolbar &toolbar() const { return m_toolbar; }
    // The action of `command`.
    QAction *action(controls::Command command) const;
    // The action that opens the additional-fields dialog.
    QAction *additionalFieldsAction() const;

private:
    void refresh();
    void forgetToolbar();
    QAction *addCommand(controls::Command command, const QString &text, const char *themeIcon, int fallbackIcon,
                        const QList<QKeySequence> &shortcuts);

    controls::Toolbar &m_toolbar;
    QList<QPair<controls::Command, QAction *>> m_actions;
    QAction *m_additional = nullptr;
    bool m_alive = true;
    int m_ticket = 0;
    int m_formTicket = 0;
};

} // namespace qmx44::ui
