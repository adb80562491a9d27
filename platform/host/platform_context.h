#pragma once
// What the host hands to the component when it loads it: the session (connection, user,
// overrides, planned failures, message sink) and the host's own facilities — where
// prints go, how yes/no questions are answered, how modal windows are shown.
#include "platform/business/activity_log.h"
#include "platform/controls/form.h"
#include "platform/services/session.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

namespace qmx44::host {

struct PlatformContext {
    // The signed-in session; the component's services answer for it.
    std::shared_ptr<services::Session> session = std::make_shared<services::Session>();

    // Folder where printed documents (PDF) are written; empty = the current folder.
    QString outputFolder;

    // What the component printed and handed to the record query, in order (the business
    // objects Impresion and ConsultaRegistro record into it).
    std::shared_ptr<business::ActivityLog> activityLog = std::make_shared<business::ActivityLog>();

    // Runs the component's modal dialogs (the GUI's window loop, or the scenario runner);
    // null = dialogs return at once. Given to every form the component shows.
    std::shared_ptr<controls::ModalPresenter> presenter;

    // The database as the drafts of notes being entered name it (db::ConnectionSpec::
    // identity(), never a password): with the user, it keys the one draft the screen keeps
    // so that a note typed and not saved outlives a crash. Empty: the host keeps no drafts.
    QString draftDatabase;
    // The drafts of an in-memory database (draftDatabase ":memory:"), which cannot outlive
    // the run: kept here, as long as the host's context and its database.
    QHash<QString, QByteArray> memoryDrafts;
};

} // namespace qmx44::host
