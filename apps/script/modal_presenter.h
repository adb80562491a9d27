#pragma once
// The scenario runner's modal presenter: when the screen shows a dialog modally, the
// queued `prorate` lines drive it (amount into txtImporte, an option button, then accept,
// F4, cancel or Escape) for as long as it stays open; a dialog still open when the queue
// runs out is cancelled as its cmdCancelar button would.
#include "platform/controls/form.h"

#include <QString>
#include <deque>
#include <functional>
#include <memory>

namespace qmx44::apps::script {

enum class ProrateAction { Accept, F4, Cancel, Escape };

struct ProrateStep {
    QString amount; // typed key by key, as the user would
    int option = 1; // Option1..Option3
    ProrateAction action = ProrateAction::Accept;
};

class ScriptPresenter : public controls::ModalPresenter {
public:
    // `warn` gets what the runner tells on standard error (a control the dialog lacks).
    explicit ScriptPresenter(std::function<void(const QString &)> warn) : m_warn(std::move(warn)) {}

    void queue(ProrateStep step) { m_steps.push_back(std::move(step)); }
    std::size_t queued() const { return m_steps.size(); }

    // Every dialog shown so far, by window handle, so messages can name their owner.
    std::function<void(const controls::Form &)> onDialog;
    // A host window's presenter, when dialogs are shown and answered through windows.
    std::shared_ptr<controls::ModalPresenter> views;

    void runModal(controls::Form &dialog) override;

private:
    void play(controls::Form &dialog, const ProrateStep &step);
    void cancel(controls::Form &dialog);

    std::deque<ProrateStep> m_steps;
    std::function<void(const QString &)> m_warn;
};

} // namespace qmx44::apps::script
