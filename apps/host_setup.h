#pragma once
// What every host subcommand (run, gui) does before the screen: the database prepared
// and the screen component found in the registry; and what a start that fails tells.
#include "platform/db/connection.h"
#include "platform/db/open.h"
#include "platform/host/component_registry.h"

#include <QString>
#include <memory>
#include <optional>

namespace qmx44::apps {

// A start that cannot go on: the exit status (kExitUnreachable...), what went wrong and
// what to do about it (the database named without its password).
struct StartFailure {
    int status;
    QString problem;
    QString advice; // one line; may be empty
    QString text() const { return advice.isEmpty() ? problem : problem + u'\n' + advice; }
};

// The start failure for a database that open() refused or could not reach.
StartFailure startFailure(const db::OpenError &error, const QString &connection);

// The database, prepared: a missing SQLite file is created with the schema and the demo
// company; an older qmx44 database is upgraded. Throws StartFailure, with nothing written
// (a file made here is removed again), for a database that cannot be reached, is empty
// (made with `qmx44 init-db`), is not ours or is newer; for `user` unknown to it; and,
// when `usersNeeded`, for a database without users (nobody could sign in).
std::unique_ptr<db::Conexion> prepareDatabase(const QString &connection, const std::optional<QString> &user,
                                              bool usersNeeded);

// The registry to take the screen component from: the user's component folder when it
// holds one this program can load, else the folder of the component that comes with the
// program (see builtComponent; nothing is copied into the user's folder, where it would
// outlive an upgrade of the program). Null, with a message printed, when neither has it.
std::unique_ptr<host::ComponentRegistry> screenRegistry(const QString &command);

} // namespace qmx44::apps
