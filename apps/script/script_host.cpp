#include "apps/script/script_host.h"

#include "apps/script/state_dump.h"
#include "component/prog_id.h"
#include "platform/controls/toolbar.h"
#include "platform/core/error.h"
#include "platform/db/admin.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "screen/field_names.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace qmx44::apps::script {

std::vector<Message> MessageRecorder::takeNew()
{
    std::vector<Message> out(m_messages.begin() + qsizetype(m_printed), m_messages.end());
    m_printed = m_messages.size();
    return out;
}

ScriptHost::ScriptHost(const HostOptions &options) : m_messages(std::make_shared<MessageRecorder>())
{
    m_presenter = std::make_shared<ScriptPresenter>([this](const QString &text) { warn(text); });
    m_presenter->onDialog = [this](const controls::Form &dialog) { m_owners.insert(dialog.handle(), dialog.name()); };

    m_signedIn = options.database != nullptr;
    try {
        int versionFound = 0;
        if (m_signedIn)
            m_connection = options.database;
        else
            m_connection =
                db::open(options.connection.value_or(QStringLiteral(":memory:")), db::OpenMode::Upgrade, versionFound);
        if (options.demo && !m_signedIn)
            db::loadDemo(*m_connection);
    } catch (const db::OpenError &) {
        throw; // the command tells what to do, with its own exit status
    } catch (const std::exception &e) {
        throw HostError{describe(e)};
    }

    // On a new or in-memory database nobody signs in: the user's branch, warehouse and
    // rights come from the script.
    m_context = host::makePlatformContext(m_connection, options.user);
    m_context->session->setMessageSink(m_messages);
    if (options.today)
        m_context->session->setFixedDate(*options.today);
    m_context->presenter = m_presenter;
    // A note being entered is kept as a draft of the database the run names; in memory for
    // one that lives only as long as the run, or that the run was handed unnamed (the
    // desktop's walk-through).
    m_context->draftDatabase =
        db::parseConnectionString(options.connection.value_or(QStringLiteral(":memory:"))).identity();
    // Printed documents go to a folder of this run's own, removed with it.
    if (!options.outputFolder.isEmpty())
        m_context->outputFolder = options.outputFolder;
    else if (m_outputFolder.isValid())
        m_context->outputFolder = m_outputFolder.path();
    m_screen = std::make_unique<host::ScreenSession>(m_context, component::ProgId, options.builtComponent);
}

ScriptHost::~ScriptHost()
{
    // The component goes first (stopping it closes the form), while the session, the
    // message sink and the presenter it uses still exist.
    m_form = nullptr;
    m_watched = nullptr;
    m_screen.reset();
}

bool ScriptHost::open()
{
    host::MainForm *opened = nullptr;
    try {
        // Whatever form was had before may have been replaced by this call.
        opened = m_screen->open();
    } catch (const std::exception &e) {
        throw HostError{describe(e)};
    }
    if (!adopt(opened))
        return false;
    if (auto *toolbar = dynamic_cast<controls::Toolbar *>(form().find(screen::fields::Controles)))
        toolbar->setConfirm([this](const QString &, const QString &) { return nextConfirmation(); });
    m_form->show();
    return true;
}

bool ScriptHost::adopt(host::MainForm *form)
{
    QObject::disconnect(m_padreClosed);
    m_form = form;
    if (!m_form) {
        warn(QStringLiteral("open: %1 gave no form").arg(component::ProgId));
        return false;
    }
    m_owners.insert(this->form().handle(), this->form().name());
    // Told before the closed form is destroyed: what `dump` prints of it afterwards.
    m_watched = &this->form();
    m_watched->observers().add([this, watched = m_watched](const controls::ModelChange &change) {
        if (change.aspect == controls::Aspect::Gone && watched == m_watched) {
            m_lastState = formStateJson(*watched, false, m_screen->formObject());
            m_watched = nullptr;
        }
    });
    // Closing the parent window closes the form, once the command that closed it is over.
    m_padreClosed = QObject::connect(m_screen->padre(), &host::Padre::closed, [this] { m_closeRequested = true; });
    return true;
}

void ScriptHost::useViews(std::shared_ptr<MessageSink> echo, std::shared_ptr<controls::ModalPresenter> presenter)
{
    m_messages->echo = std::move(echo);
    m_presenter->views = std::move(presenter);
}

bool ScriptHost::formOpen() const
{
    host::MainForm *form = liveForm();
    return form && form->isLoaded() && form->form().isVisible();
}

Json ScriptHost::formState() const
{
    host::MainForm *form = liveForm();
    return form ? formStateJson(form->form(), formOpen(), m_screen->formObject()) : m_lastState;
}

void ScriptHost::afterCommand()
{
    if (m_closeRequested) {
        m_closeRequested = false;
        if (formOpen())
            m_form->unload();
    }
    // No event loop runs the script: a closed form's deferred deletion is sent here,
    // between commands, where nothing of the form is running.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool ScriptHost::nextConfirmation()
{
    if (m_confirmations.empty())
        return true;
    const bool yes = m_confirmations.front();
    m_confirmations.pop_front();
    return yes;
}

QString ScriptHost::ownerName(qint64 handle) const
{
    if (handle == 0)
        return QString();
    return m_owners.value(handle, QString::number(handle));
}

Json ScriptHost::printedJson() const
{
    Json out = Json::array();
    if (!m_context->activityLog)
        return out;
    for (const business::PrintedDocument &d : m_context->activityLog->printedDocuments()) {
        Json j;
        j["format"] = jsonText(d.format);
        j["folio"] = jsonText(d.folio);
        // The output folder is the run's own and goes with it: the name is what is stable.
        j["file"] = jsonText(d.file.isEmpty() ? QString() : QFileInfo(d.file).fileName());
        out.push_back(std::move(j));
    }
    return out;
}

Json ScriptHost::queriedJson() const
{
    Json out = Json::array();
    if (!m_context->activityLog)
        return out;
    for (const business::ConsultedRecord &r : m_context->activityLog->consultedRecords()) {
        Json j;
        j["table"] = jsonText(r.table);
        j["column"] = jsonText(r.column);
        j["value"] = jsonText(r.value);
        out.push_back(std::move(j));
    }
    return out;
}

} // namespace qmx44::apps::script
