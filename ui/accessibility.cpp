// Accessible names, descriptions, tool tips and label buddies of a form's widgets.
#include "ui/accessibility.h"

#include "platform/controls/controls.h"

#include <QHash>
#include <QLabel>
#include <QLineEdit>

namespace qmx44::ui {

namespace {

using namespace controls;

// A caption as a name: without its trailing colon ("Folio:" -> "Folio").
QString spoken(QString caption)
{
    caption = caption.trimmed();
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption;
}

QString ownCaption(const Control &control)
{
    switch (control.kind()) {
    case ControlKind::Grid:
        return static_cast<const Grid &>(control).caption();
    case ControlKind::Toolbar:
        return static_cast<const Toolbar &>(control).caption();
    case ControlKind::Button:
        return static_cast<const Button &>(control).caption();
    case ControlKind::OptionButton:
        return static_cast<const OptionButton &>(control).caption();
    case ControlKind::Frame:
        return static_cast<const Frame &>(control).caption();
    case ControlKind::Label:
        return static_cast<const Label &>(control).caption();
    default:
        return {};
    }
}

} // namespace

QString labelText(const Label &label)
{
    const QString caption = label.caption();
    const qsizetype at = label.mnemonic().isNull() ? -1 : caption.indexOf(label.mnemonic(), 0, Qt::CaseInsensitive);
    if (at < 0)
        return caption.toHtmlEscaped();
    return caption.left(at).toHtmlEscaped() + QStringLiteral("<u>") + caption.mid(at, 1).toHtmlEscaped()
        + QStringLiteral("</u>") + caption.mid(at + 1).toHtmlEscaped();
}

void describeControls(const Form &form, const std::function<QWidget *(const Control &)> &widgetOf)
{
    QHash<const Control *, const Label *> labelOf;
    for (const auto &c : form.controls()) {
        if (c->kind() != ControlKind::Label)
            continue;
        const auto &label = static_cast<const Label &>(*c);
        if (const Control *buddy = label.buddy())
            labelOf.insert(buddy, &label);
        // Rich text, so that the underline shows and QLabel makes no shortcut of its own.
        if (auto *widget = qobject_cast<QLabel *>(widgetOf(label))) {
            widget->setTextFormat(Qt::RichText);
            widget->setText(labelText(label));
            widget->setAccessibleName(spoken(label.caption()));
            if (QWidget *buddyWidget = label.buddy() ? widgetOf(*label.buddy()) : nullptr)
                widget->setBuddy(buddyWidget);
        }
    }
    for (const auto &c : form.controls()) {
        if (c->kind() == ControlKind::Label)
            continue;
        QWidget *widget = widgetOf(*c);
        if (!widget)
            continue;
        const Label *label = labelOf.value(c.get());
        QString name = spoken(label ? label->caption() : ownCaption(*c));
        if (name.isEmpty())
            name = c->hint();
        // The date edit's own line edit takes the focus in its place: named alike.
        const auto inner = widget->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly);
        for (QWidget *named : QList<QWidget *>{widget} + QList<QWidget *>(inner.begin(), inner.end())) {
            named->setAccessibleName(name);
            named->setAccessibleDescription(c->hint());
        }
        QString tip = c->hint();
        if (label && !label->mnemonic().isNull() && !tip.isEmpty())
            tip += QStringLiteral(" (Alt+%1)").arg(label->mnemonic());
        widget->setToolTip(tip);
    }
}

} // namespace qmx44::ui
