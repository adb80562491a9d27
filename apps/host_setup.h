#pragma once
// What every host subcommand (run, gui) does before the screen: the database prepared
// and the screen component found in the registry.
#include "platform/db/connection.h"
#include "platform/host/component_registry.h"

#include <QString>
#include <memory>
#include <optional>

namespace qmx44::apps {

// The database, prepared: a new one (missing SQLite file, empty server database) gets the
// schema and the demo company; an older one is upgraded; one that is not ours or is newer
// is refused (throws) before anything is written.
std::unique_ptr<db::Conexion> prepareDatabase(const QString &connection);

// The registry to take the screen component from: the user's component folder when it
// holds one this program can load, else the folder of the component that comes with the
// program (see builtComponent; nothing is copied into the user's folder, where it would
// outlive an upgrade of the program). Null, with a message printed, when neither has it.
std::unique_ptr<host::ComponentRegistry> screenRegistry(const QString &command);

} // namespace qmx44::apps
