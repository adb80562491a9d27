#pragma once
// What every host subcommand (run, gui) does before the screen: the database prepared
// and the screen component found in the registry; and what a start that fails tells.
#include "platform/db/connection.h"
#include "platform/db/open.h"
#include "platform/host/screen_session.h"

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

// How a start learns who signs in, by the command's own means: the desktop application
// asks in dialogs; a headless command answers from its environment, once.
class Credentials {
public:
    virtual ~Credentials() = default;
    // Someone can be asked; when not, an answer refused ends the start with a failure.
    virtual bool interactive() const = 0;
    struct LoginPassword {
        QString login;
        QString password;
    };
    // The PostgreSQL server refused `login` for want of the right password (`problem`: its
    // words). None: nobody gives one.
    virtual std::optional<LoginPassword> serverLogin(const QString &database, const QString &login,
                                                     const QString &problem) = 0;
    // A demo database: one of its users, picked from the list. None: given up.
    virtual std::optional<QString> pickUser(db::Conexion &database) = 0;
    // An SQLite file's user (`preset`, when the command line named one) and password;
    // `problem` says why it is asked again. None: given up.
    virtual std::optional<LoginPassword> userPassword(const QString &database, const QString &preset,
                                                      const QString &problem) = 0;
};

// Credentials of a command without a window: the server's password only from where libpq
// looks (the connection string, PGPASSWORD, ~/.pgpass); an SQLite file's password from
// $QMX44_PASSWORD; no pick list.
class HeadlessCredentials : public Credentials {
public:
    bool interactive() const override { return false; }
    std::optional<LoginPassword> serverLogin(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> pickUser(db::Conexion &) override { return std::nullopt; }
    std::optional<LoginPassword> userPassword(const QString &database, const QString &preset,
                                              const QString &problem) override;
};

struct StartOptions {
    std::optional<QString> user; // --user
    bool signIn = false;         // someone must sign in (else only --user, when given, is checked)
    bool usersNeeded = false;    // a database without users is refused
};

// A database a command may work on, and who signed in.
struct Started {
    std::unique_ptr<db::Conexion> database;
    QString user;         // empty when nobody signed in
    bool newFile = false; // an SQLite file this start created (with the demo company)
};

// The database, prepared: a missing SQLite file is created with the schema and the demo
// company; an older qmx44 database is upgraded. Then the sign-in:
//  - on PostgreSQL the user is the one mapped to the session's login (Usuario_Login),
//    never chosen; --user naming another, or a login mapped to nobody, is refused; a
//    server asking a password the connection did not carry gets it from the credentials;
//  - an SQLite demo database (or the default one) and an ODBC source: --user, else a
//    user picked from the list;
//  - any other SQLite file: the user's password, checked against its stored hash.
// Throws StartFailure, with nothing written (a file made here is removed again), for a
// database that cannot be reached, is empty (made with `qmx44 init-db`), is not ours or is
// newer, and for a sign-in refused. None when the clerk gave up (closed a dialog).
std::optional<Started> startOn(const QString &connection, const StartOptions &options, Credentials &credentials);

// Whether a registry serves the screen of `screen` (see host::ScreenSession: the user's
// component folder, else the component that came with the program); when none does, a
// message naming what to do is printed for `command`.
bool componentFound(const QString &command, host::ScreenSession &screen);

} // namespace qmx44::apps
