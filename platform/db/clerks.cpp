#include "platform/db/clerks.h"

#include <QRegularExpression>
#include <sodium.h>

namespace qmx44::db {

namespace {

void requirePostgres(Conexion &c)
{
    if (c.backend() != Backend::Postgres)
        throw RuntimeError(QStringLiteral("Clerks' logins live on a PostgreSQL server; this database is not one"));
}

void requireLoginName(const QString &login)
{
    if (!plainLoginName(login))
        throw RuntimeError(QStringLiteral("'%1' is not a login name qmx44 takes (letters, digits, _ . -, at most 63, "
                                          "starting with a letter or _)")
                               .arg(login));
}

bool userExists(Conexion &c, const QString &user)
{
    return !c.query(QStringLiteral("SELECT 1 FROM Usuario WHERE Us_Cve_Usuario = ?"), {user})->eof();
}

bool roleExists(Conexion &c, const QString &login)
{
    return !c.query(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), {login})->eof();
}

// A statement that names a role or holds a password literal cannot bind them: the
// server writes it with its own quoting (format's %I and %L), from bound values.
// format() takes any type, so each value is typed text for the server to accept it.
void runFormatted(Conexion &c, const QString &pattern, const QVariantList &values)
{
    auto rs = c.query(QStringLiteral("SELECT format('%1'%2) AS sql")
                          .arg(pattern, QString(QStringLiteral(", ?::text")).repeated(values.size())),
                      values);
    const QString sql = rs->field(QStringLiteral("sql")).toString();
    rs->close();
    c.run(sql);
}

void ensureSodium()
{
    if (sodium_init() < 0)
        throw RuntimeError(QStringLiteral("No se pudo iniciar la biblioteca de contraseñas"));
}

} // namespace

bool plainLoginName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]{0,62}$"));
    return plain.match(name).hasMatch();
}

bool isDemoDatabase(Conexion &c)
{
    return !c.query(QStringLiteral("SELECT 1 FROM Base_Demostracion"))->eof();
}

QString sessionLogin(Conexion &c)
{
    requirePostgres(c);
    return c.query(QStringLiteral("SELECT session_user AS login"))->field(QStringLiteral("login")).toString();
}

std::optional<QString> mappedUser(Conexion &c)
{
    auto rs = c.query(QStringLiteral("SELECT Us_Cve_Usuario FROM Usuario_Login WHERE Ul_Login = session_user"));
    if (rs->eof())
        return std::nullopt;
    return rs->field(QStringLiteral("Us_Cve_Usuario")).toString().trimmed();
}

QString hashPassword(const QString &password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw RuntimeError(QStringLiteral("No hay memoria para cifrar la contraseña"));
    return QString::fromLatin1(hash);
}

bool verifyPassword(const QString &hash, const QString &password)
{
    ensureSodium();
    const QByteArray stored = hash.toLatin1();
    const QByteArray utf8 = password.toUtf8();
    if (stored.isEmpty() || stored.size() >= qsizetype(crypto_pwhash_STRBYTES))
        return false;
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(), static_cast<unsigned long long>(utf8.size()))
        == 0;
}

std::vector<UserRow> databaseUsers(Conexion &c)
{
    std::vector<UserRow> users;
    auto rs = c.query(QStringLiteral("SELECT Us_Cve_Usuario, Us_Nombre FROM Usuario ORDER BY Us_Cve_Usuario"));
    for (; !rs->eof(); rs->moveNext())
        users.push_back({rs->field(QStringLiteral("Us_Cve_Usuario")).toString().trimmed(),
                         rs->field(QStringLiteral("Us_Nombre")).toString().trimmed()});
    return users;
}

void setPassword(Conexion &c, const QString &user, const QString &password)
{
    if (password.isEmpty())
        throw RuntimeError(QStringLiteral("An empty password is not a password"));
    if (!userExists(c, user))
        throw RuntimeError(QStringLiteral("The database has no user %1").arg(user));
    const QString hash = hashPassword(password);
    ScopedTransaction tx(c);
    c.run(QStringLiteral("DELETE FROM Usuario_Clave WHERE Us_Cve_Usuario = ?"), {user});
    c.run(QStringLiteral("INSERT INTO Usuario_Clave (Us_Cve_Usuario, Uc_Hash) VALUES (?, ?)"), {user, hash});
    tx.commit();
}

bool hasPassword(Conexion &c, const QString &user)
{
    return !c.query(QStringLiteral("SELECT 1 FROM Usuario_Clave WHERE Us_Cve_Usuario = ?"), {user})->eof();
}

bool checkPassword(Conexion &c, const QString &user, const QString &password)
{
    auto rs = c.query(QStringLiteral("SELECT Uc_Hash FROM Usuario_Clave WHERE Us_Cve_Usuario = ?"), {user});
    if (rs->eof())
        return false;
    const QString hash = rs->field(QStringLiteral("Uc_Hash")).toString();
    rs->close();
    return verifyPassword(hash, password);
}

void addClerk(Conexion &c, const QString &login, const QString &user, const std::optional<QString> &password)
{
    requirePostgres(c);
    requireLoginName(login);
    if (!userExists(c, user))
        throw RuntimeError(QStringLiteral("The database has no user %1").arg(user));
    ScopedTransaction tx(c);
    if (!roleExists(c, login)) {
        if (password)
            runFormatted(c, QStringLiteral("CREATE ROLE %I LOGIN PASSWORD %L"), {login, *password});
        else
            runFormatted(c, QStringLiteral("CREATE ROLE %I LOGIN"), {login});
    } else if (password) {
        runFormatted(c, QStringLiteral("ALTER ROLE %I PASSWORD %L"), {login, *password});
    }
    runFormatted(c, QStringLiteral("GRANT %I TO %I"), {QString::fromLatin1(kClerkRole), login});
    c.run(QStringLiteral("DELETE FROM Usuario_Login WHERE Ul_Login = ?"), {login});
    c.run(QStringLiteral("INSERT INTO Usuario_Login (Ul_Login, Us_Cve_Usuario) VALUES (?, ?)"), {login, user});
    tx.commit();
}

void setClerkEnabled(Conexion &c, const QString &login, bool enabled)
{
    requirePostgres(c);
    requireLoginName(login);
    if (!roleExists(c, login))
        throw RuntimeError(QStringLiteral("The server has no login %1").arg(login));
    runFormatted(c, enabled ? QStringLiteral("ALTER ROLE %I LOGIN") : QStringLiteral("ALTER ROLE %I NOLOGIN"), {login});
    if (!enabled) {
        // Sessions already open end now, not when the clerk next signs in.
        c.query(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = ?"), {login});
    }
}

void removeClerk(Conexion &c, const QString &login, bool dropLogin)
{
    requirePostgres(c);
    requireLoginName(login);
    ScopedTransaction tx(c);
    const int mapped = c.run(QStringLiteral("DELETE FROM Usuario_Login WHERE Ul_Login = ?"), {login});
    const bool role = roleExists(c, login);
    if (mapped == 0 && !role)
        throw RuntimeError(QStringLiteral("%1 is neither a login of the server nor mapped to a user").arg(login));
    if (role) {
        if (dropLogin)
            runFormatted(c, QStringLiteral("DROP ROLE %I"), {login});
        else
            runFormatted(c, QStringLiteral("REVOKE %I FROM %I"), {QString::fromLatin1(kClerkRole), login});
    }
    tx.commit();
}

std::vector<ClerkLogin> clerkLogins(Conexion &c)
{
    requirePostgres(c);
    std::vector<ClerkLogin> logins;
    auto rs = c.query(QStringLiteral("SELECT m.Ul_Login AS login, m.Us_Cve_Usuario AS usuario, "
                                     "COALESCE(r.rolcanlogin, false) AS puede FROM Usuario_Login m "
                                     "LEFT JOIN pg_roles r ON r.rolname = m.Ul_Login ORDER BY m.Ul_Login"));
    for (; !rs->eof(); rs->moveNext())
        logins.push_back({rs->field(QStringLiteral("login")).toString(),
                          rs->field(QStringLiteral("usuario")).toString(),
                          rs->field(QStringLiteral("puede")).toBool()});
    return logins;
}

void setLoginPassword(Conexion &c, const QString &login, const QString &password)
{
    requirePostgres(c);
    requireLoginName(login);
    if (password.isEmpty())
        throw RuntimeError(QStringLiteral("An empty password is not a password"));
    if (!roleExists(c, login))
        throw RuntimeError(QStringLiteral("The server has no login %1").arg(login));
    runFormatted(c, QStringLiteral("ALTER ROLE %I PASSWORD %L"), {login, password});
}

} // namespace qmx44::db
