#pragma once
// Who may sign in: the demo mark, the PostgreSQL login a session runs as and the qmx44
// user mapped to it, the password hashes of an SQLite file's users, and the
// administration of clerks' logins on a server.
#include "platform/db/connection.h"

#include <QString>
#include <optional>
#include <vector>

namespace qmx44::db {

// The group role on a PostgreSQL server that every clerk's login belongs to; it holds
// exactly the grants the screen needs.
inline constexpr char kClerkRole[] = "qmx44_clerk";

// A database made with the demo company (Base_Demostracion has its row): its users are
// picked from a list without a password.
bool isDemoDatabase(Conexion &c);

// PostgreSQL: the login the session runs as (session_user).
QString sessionLogin(Conexion &c);
// PostgreSQL: the qmx44 user mapped to the session's login; none when it is not mapped.
std::optional<QString> mappedUser(Conexion &c);

// Argon2id (libsodium's crypto_pwhash_str at its interactive limits): the hash in its
// string form, salt and parameters included. Throws RuntimeError when out of memory.
QString hashPassword(const QString &password);
bool verifyPassword(const QString &hash, const QString &password);

// The users of Usuario (key and name, by key).
struct UserRow {
    QString key;
    QString name;
};
std::vector<UserRow> databaseUsers(Conexion &c);

// SQLite sign-in: the user's password hash stored (over an earlier one). Throws
// RuntimeError for a user the database does not have or an empty password.
void setPassword(Conexion &c, const QString &user, const QString &password);
// True when the user exists, has a password and `password` is it.
bool checkPassword(Conexion &c, const QString &user, const QString &password);
bool hasPassword(Conexion &c, const QString &user);

// ---- clerks' logins on a PostgreSQL server (an administrator's connection) ----------

struct ClerkLogin {
    QString login;
    QString user;
    bool canLogIn = false; // false: disabled (or the role is gone)
};

// The login (created when the server has no such role, with `password`; an existing
// role is only made a member of the clerks' group) mapped to `user`, which the database
// must have. A login already mapped is mapped again. Throws RuntimeError naming the
// problem (a name that is not a plain login name, an unknown user, no right to create
// roles).
void addClerk(Conexion &c, const QString &login, const QString &user, const std::optional<QString> &password);
// Lets the login sign in again, or not (its mapping and its notes stay).
void setClerkEnabled(Conexion &c, const QString &login, bool enabled);
// The mapping goes; the login role is dropped when `dropLogin` (it must own nothing).
void removeClerk(Conexion &c, const QString &login, bool dropLogin);
std::vector<ClerkLogin> clerkLogins(Conexion &c);
// A server-side password change of a login (ALTER ROLE ... PASSWORD).
void setLoginPassword(Conexion &c, const QString &login, const QString &password);

// Whether `name` is a login name qmx44 accepts: letters, digits, '_', '.', '-', at most
// 63 characters, starting with a letter or '_'.
bool plainLoginName(const QString &name);

} // namespace qmx44::db
