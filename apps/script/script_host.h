#pragma once
// The headless host of a scenario run: the database and the signed-in session, the
// host's context for the component (messages recorded, confirmations and dialogs
// answered from the script), and the screen loaded by its programmatic identifier
// through the component registry, exactly as the GUI host loads it.
#include "apps/script/json_values.h"
#include "apps/script/modal_presenter.h"
#include "platform/core/message.h"
#include "platform/host/component_interfaces.h"
#include "platform/host/screen_session.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace qmx44::apps::script {

// A failure of the run's surroundings (the database, the component), not of a line:
// exit status 1. A database that cannot be reached or is refused for its schema is
// thrown as db::OpenError instead (the command gives it its own status).
struct HostError {
    QString text;
};

// Every coded message shown; the runner prints those not printed yet.
class MessageRecorder : public MessageSink {
public:
    int show(const Message &message) override
    {
        m_messages.push_back(message);
        return echo ? echo->show(message) : 1;
    }
    // Where a message is shown besides (a host window's message box); none: nowhere.
    std::shared_ptr<MessageSink> echo;
    // The messages shown since the last call.
    std::vector<Message> takeNew();

private:
    std::vector<Message> m_messages;
    std::size_t m_printed = 0;
};

struct HostOptions {
    std::optional<QString> connection; // none: a fresh in-memory SQLite database
    bool demo = false;                 // load the demo company into the (empty) database
    std::optional<QDate> today;        // the working date
    // The component plug-in built with the executable: used when none is registered.
    QString builtComponent;
    // A site's database, opened and signed in to by the command (`connection` and `demo`
    // are then not used): the session is `user`'s, and the lines that rewrite the site's
    // settings are refused.
    std::shared_ptr<db::Conexion> database;
    QString user;
    // Where printed documents go; empty: a folder of the run's own, removed with it.
    QString outputFolder;
};

class ScriptHost {
public:
    // Opens (and prepares) the database and the session. Throws HostError.
    explicit ScriptHost(const HostOptions &options);
    ~ScriptHost();
    ScriptHost(const ScriptHost &) = delete;
    ScriptHost &operator=(const ScriptHost &) = delete;

    db::Conexion &connection() { return *m_connection; }
    // A site's database that someone signed in to: its settings are not the script's.
    bool signedIn() const { return m_signedIn; }
    services::Session &session() { return *m_context->session; }
    ScriptPresenter &presenter() { return *m_presenter; }
    // Where standard-error warnings go (the runner prefixes the line number).
    void setWarn(std::function<void(const QString &)> warn) { m_warn = std::move(warn); }
    void warn(const QString &text) const
    {
        if (m_warn)
            m_warn(text);
    }

    // ---- the screen ----------------------------------------------------------------
    // Creates "QMX44.Pantalla", reads GetPantalla, assigns Padre (members Transaccion
    // and Modulo "COMPRAS") and shows the form (which activates it). False, with a
    // warning, when the component gives no form. Throws HostError when the component
    // cannot be found or loaded.
    bool open();
    // The form a host window opened through screenSession() (null when the component
    // gave none): recorded as open() records its own, but shown and answered by the
    // window's views.
    bool adopt(host::MainForm *form);
    host::ScreenSession &screenSession() { return *m_screen; }
    host::PlatformContext &context() { return *m_context; }
    // Shows each message through `echo` too, and runs dialogs through `presenter`
    // (recording their names all the same): a host window's, instead of the script's
    // own answers.
    void useViews(std::shared_ptr<MessageSink> echo, std::shared_ptr<controls::ModalPresenter> presenter);
    // A form was had from the component (it may have been closed, and destroyed, since).
    bool hasForm() const { return m_form != nullptr; }
    // The form is loaded and shown: it takes user input.
    bool formOpen() const;
    // The form had, while the component has not destroyed it.
    host::MainForm *liveForm() const { return m_screen->formObject() ? m_form : nullptr; }
    host::MainForm &mainForm() { return *liveForm(); }
    controls::Form &form() { return liveForm()->form(); }
    // The form's state for `dump` (the form, its fields, containers, grid, toolbar and
    // members); once the component destroyed the closed form, as it was then.
    Json formState() const;
    // The host's part after each command: a closed parent window closes the form, and
    // a closed form is destroyed (the deletions the event loop would send).
    void afterCommand();

    // ---- answers the script gives --------------------------------------------------
    void queueConfirmation(bool yes) { m_confirmations.push_back(yes); }
    // The next queued answer; yes when none is queued.
    bool nextConfirmation();

    // ---- what the screen did ---------------------------------------------------------
    std::vector<Message> takeNewMessages() { return m_messages->takeNew(); }
    // The form (or dialog) that owns window `handle`, by name; the number otherwise.
    QString ownerName(qint64 handle) const;
    // Impresion.Imprimir and ConsultaRegistro.Mostrar calls so far.
    Json printedJson() const;
    Json queriedJson() const;

private:
    QTemporaryDir m_outputFolder;
    std::shared_ptr<db::Conexion> m_connection;
    bool m_signedIn = false;
    std::shared_ptr<host::PlatformContext> m_context;
    std::shared_ptr<MessageRecorder> m_messages;
    std::shared_ptr<ScriptPresenter> m_presenter;
    std::function<void(const QString &)> m_warn;
    std::deque<bool> m_confirmations;
    QHash<qint64, QString> m_owners;

    std::unique_ptr<host::ScreenSession> m_screen;
    host::MainForm *m_form = nullptr;
    const controls::Form *m_watched = nullptr; // the form had, until it is destroyed
    Json m_lastState;                          // its state then
    QMetaObject::Connection m_padreClosed;
    bool m_closeRequested = false;
};

} // namespace qmx44::apps::script
