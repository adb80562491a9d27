#pragma once
// Signing in: the clerk picks a user of a demo database, or gives a user (or a server's
// login) and its password.
#include "platform/db/connection.h"

#include <QString>
#include <optional>

class QWidget;

namespace qmx44::apps::gui {

// The sign-in dialog over the database's users; the key picked, none when cancelled.
std::optional<QString> signIn(db::Conexion &connection, QWidget *parent = nullptr);

struct UserAndPassword {
    QString user;
    QString password;
};

// The sign-in dialog that asks a user (or login) and its password for `database`. `user`
// fills the first field; `problem`, when not empty, says why it asks again. The password
// is never kept: it lives as long as the answer. None when cancelled.
std::optional<UserAndPassword> askPassword(const QString &database, const QString &userCaption, const QString &user,
                                           const QString &problem, QWidget *parent = nullptr);

} // namespace qmx44::apps::gui
