#pragma once
// Signing in: the clerk picks a user of the database (the Usuario table).
#include "platform/db/connection.h"

#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace qmx44::apps::gui {

struct UserRow {
    QString key;  // Us_Cve_Usuario
    QString name; // Us_Nombre
};

// The database's users, by key.
std::vector<UserRow> databaseUsers(db::Conexion &connection);

// The sign-in dialog over the database's users; the key picked, none when cancelled.
std::optional<QString> signIn(db::Conexion &connection, QWidget *parent = nullptr);

} // namespace qmx44::apps::gui
