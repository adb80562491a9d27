#include "apps/script/modal_presenter.h"

#include "apps/script/script_step.h"

#include "platform/controls/buttons.h"
#include "platform/controls/keys.h"
#include "platform/controls/text_field.h"

namespace qmx44::apps::script {

namespace keys = controls::keys;

void ScriptPresenter::runModal(controls::Form &dialog)
{
    if (onDialog)
        onDialog(dialog);
    if (views) {
        views->runModal(dialog);
        return;
    }
    // Queued lines serve this opening in order while it stays open (a refused amount
    // keeps it open for the next line).
    while (dialog.isVisible() && !m_steps.empty()) {
        const ProrateStep step = m_steps.front();
        m_steps.pop_front();
        play(dialog, step);
    }
    if (dialog.isVisible())
        cancel(dialog);
}

void ScriptPresenter::play(controls::Form &dialog, const ProrateStep &step)
{
    if (auto *amountField = dynamic_cast<controls::TextField *>(dialog.find(QStringLiteral("txtImporte")))) {
        if (amountField->setFocus() && amountField->hasFocus()) {
            amountField->selectAll();
            dialog.typeText(step.amount);
        }
    } else {
        m_warn(warnings::dialogLacks(dialog.name(), QStringLiteral("txtImporte")));
    }

    const QString optionName = QStringLiteral("Option%1").arg(step.option);
    if (auto *option = dynamic_cast<controls::OptionButton *>(dialog.find(optionName))) {
        // A click takes the focus first: leaving txtImporte commits the typed amount.
        option->setFocus();
        option->click();
    } else {
        m_warn(warnings::dialogLacks(dialog.name(), optionName));
    }
    if (!dialog.isVisible())
        return;

    auto pressButton = [&](const QString &name) {
        if (auto *button = dynamic_cast<controls::Button *>(dialog.find(name))) {
            button->setFocus();
            button->click();
        } else {
            m_warn(warnings::dialogLacks(dialog.name(), name));
        }
    };
    switch (step.action) {
    case ProrateAction::Accept:
        pressButton(QStringLiteral("cmdAceptar"));
        break;
    case ProrateAction::Cancel:
        pressButton(QStringLiteral("cmdCancelar"));
        break;
    case ProrateAction::F4:
        dialog.keyStroke(keys::F4);
        break;
    case ProrateAction::Escape:
        dialog.keyStroke(keys::Escape);
        break;
    }
}

void ScriptPresenter::cancel(controls::Form &dialog)
{
    if (auto *button = dynamic_cast<controls::Button *>(dialog.find(QStringLiteral("cmdCancelar"))))
        button->click();
    // A dialog that does not close on its own cancel button must not hold the run.
    if (dialog.isVisible())
        dialog.hide();
}

} // namespace qmx44::apps::script
