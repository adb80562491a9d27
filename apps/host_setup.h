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

// The registry's entry for the screen component, registering the one built with this
// executable when the folder lacks it; none (with a message printed) when neither exists.
std::optional<host::ComponentRegistry::Entry> screenComponent(host::ComponentRegistry &registry,
                                                              const QString &command);

} // namespace qmx44::apps
