#include "platform/db/connection_string.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace qmx44::db {

namespace {

QString decode(const QString &s)
{
    return QUrl::fromPercentEncoding(s.toUtf8());
}

// The values of password= options and of an ODBC string's PWD= shown as "***".
QString hideKeyedPasswords(QString s)
{
    static const QRegularExpression keyed(QStringLiteral("(\\b(?:password|pwd)\\s*=\\s*)(\\{[^}]*\\}?|[^&;]*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    return s.replace(keyed, QStringLiteral("\\1***"));
}

// The string as a message may quote it: a password in a URL's user part shown as "***"
// too. A refused string is quoted this way, since its message reaches the screen,
// standard error and the log.
QString withoutPassword(QString cs)
{
    if (const qsizetype sep = cs.indexOf(QLatin1String("://")); sep >= 0) {
        const qsizetype start = sep + 3;
        qsizetype end = cs.size();
        for (const QChar stop : {QLatin1Char('/'), QLatin1Char('?')})
            if (const qsizetype at = cs.indexOf(stop, start); at >= 0)
                end = std::min(end, at);
        const qsizetype at = end > start ? cs.lastIndexOf(QLatin1Char('@'), end - 1) : -1;
        const qsizetype colon = cs.indexOf(QLatin1Char(':'), start);
        if (at >= start && colon >= 0 && colon < at)
            cs.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
    }
    return hideKeyedPasswords(cs);
}

[[noreturn]] void refuse(const QString &cs, const QString &why)
{
    throw RuntimeError(QStringLiteral("Cadena de conexión no válida \"%1\": %2").arg(withoutPassword(cs), why));
}

int parsePort(const QString &cs, const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port <= 0 || port > 65535)
        refuse(cs, QStringLiteral("el puerto \"%1\" no es un número de puerto").arg(text));
    return port;
}

// postgresql://[user[:password]@][host][:port][/database][?key=value&...]
ConnectionSpec parsePostgres(const QString &cs, qsizetype schemeEnd)
{
    ConnectionSpec spec;
    spec.backend = Backend::Postgres;
    QString rest = cs.mid(schemeEnd);

    QString query;
    if (const qsizetype q = rest.indexOf(QLatin1Char('?')); q >= 0) {
        query = rest.mid(q + 1);
        rest.truncate(q);
    }
    QString authority = rest;
    if (const qsizetype slash = rest.indexOf(QLatin1Char('/')); slash >= 0) {
        authority = rest.left(slash);
        spec.database = decode(rest.mid(slash + 1));
    }
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        spec.user = decode(colon >= 0 ? userInfo.left(colon) : userInfo);
        if (colon >= 0)
            spec.password = decode(userInfo.mid(colon + 1));
    }
    QString hostPart = authority;
    QString portPart;
    if (hostPart.startsWith(QLatin1Char('['))) { // [IPv6]:port
        const qsizetype close = hostPart.indexOf(QLatin1Char(']'));
        if (close < 0)
            refuse(cs, QStringLiteral("falta el \"]\" de la dirección IPv6"));
        portPart = hostPart.mid(close + 1);
        hostPart = hostPart.mid(1, close - 1);
        if (!portPart.isEmpty()) {
            if (!portPart.startsWith(QLatin1Char(':')))
                refuse(cs, QStringLiteral("texto inesperado después de la dirección IPv6"));
            portPart = portPart.mid(1);
        }
    } else if (const qsizetype colon = hostPart.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        portPart = hostPart.mid(colon + 1);
        hostPart = hostPart.left(colon);
    }
    spec.host = decode(hostPart);
    if (!portPart.isEmpty())
        spec.port = parsePort(cs, portPart);

    if (!query.isEmpty()) {
        for (const QString &item : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
            const qsizetype eq = item.indexOf(QLatin1Char('='));
            if (eq <= 0)
                refuse(cs, QStringLiteral("la opción \"%1\" no tiene la forma clave=valor").arg(item));
            const QString key = decode(item.left(eq));
            const QString value = decode(item.mid(eq + 1));
            if (key == QLatin1String("host"))
                spec.host = value;
            else if (key == QLatin1String("port"))
                spec.port = parsePort(cs, value);
            else if (key == QLatin1String("user"))
                spec.user = value;
            else if (key == QLatin1String("password"))
                spec.password = value;
            else if (key == QLatin1String("dbname"))
                spec.database = value;
            else
                spec.options.append({key, value});
        }
    }
    if (spec.database.isEmpty())
        refuse(cs, QStringLiteral("falta el nombre de la base de datos (postgresql://usuario@servidor:puerto/base)"));
    return spec;
}

} // namespace

namespace {

QString render(const ConnectionSpec &spec, bool withPassword)
{
    auto enc = [](const QString &v) { return QString::fromLatin1(QUrl::toPercentEncoding(v)); };
    switch (spec.backend) {
    case Backend::Sqlite: {
        // A path that starts with "//" keeps it behind the "//" that is dropped; one that
        // holds a '?' or ends in a blank is closed by a '?' (the query starts after the last).
        QString s = QStringLiteral("sqlite:");
        if (spec.path.startsWith(QLatin1String("//")))
            s += QLatin1String("//");
        s += spec.path;
        const bool close = spec.path.contains(QLatin1Char('?')) || (!spec.path.isEmpty() && spec.path.back().isSpace());
        for (qsizetype i = 0; i < spec.options.size(); ++i)
            s += QLatin1Char(i == 0 ? '?' : '&') + spec.options[i].first + QLatin1Char('=') + spec.options[i].second;
        if (close && spec.options.isEmpty())
            s += QLatin1Char('?');
        return s;
    }
    case Backend::Odbc:
        return QStringLiteral("odbc:") + (withPassword ? spec.odbc : hideKeyedPasswords(spec.odbc));
    case Backend::Postgres: {
        QString s = QStringLiteral("postgresql://");
        // A password without a user name (given as ?password=) is written as ":PASSWORD@".
        const bool password = withPassword && !spec.password.isEmpty();
        if (!spec.user.isEmpty() || password) {
            s += enc(spec.user);
            if (password)
                s += QLatin1Char(':') + enc(spec.password);
            s += QLatin1Char('@');
        }
        QStringList query;
        // A socket folder does not fit in the authority part of a URL.
        if (spec.host.contains(QLatin1Char('/'))) {
            query.append(QStringLiteral("host=") + QString::fromLatin1(QUrl::toPercentEncoding(spec.host, "/")));
            if (spec.port > 0)
                query.append(QStringLiteral("port=") + QString::number(spec.port));
        } else {
            // An IPv6 address between brackets, everything in it but its colons encoded.
            s += spec.host.contains(QLatin1Char(':'))
                ? QLatin1Char('[') + QString::fromLatin1(QUrl::toPercentEncoding(spec.host, ":")) + QLatin1Char(']')
                : enc(spec.host);
            if (spec.port > 0)
                s += QLatin1Char(':') + QString::number(spec.port);
        }
        s += QLatin1Char('/') + enc(spec.database);
        for (const auto &[key, value] : spec.options)
            query.append(enc(key) + QLatin1Char('=') + enc(value));
        if (!query.isEmpty())
            s += QLatin1Char('?') + query.join(QLatin1Char('&'));
        return s;
    }
    }
    return {};
}

} // namespace

QString ConnectionSpec::display() const
{
    return render(*this, false);
}

QString ConnectionSpec::toString() const
{
    return render(*this, true);
}

ConnectionSpec parseConnectionString(const QString &connectionString)
{
    const QString cs = connectionString.trimmed();
    if (cs.isEmpty())
        throw RuntimeError(QStringLiteral("Cadena de conexión vacía: indique un archivo SQLite, "
                                          "sqlite:ARCHIVO, postgresql://... u odbc:..."));

    for (const char *scheme : {"postgresql://", "postgres://"}) {
        const QLatin1String s(scheme);
        if (cs.startsWith(s, Qt::CaseInsensitive))
            return parsePostgres(cs, s.size());
    }
    if (cs.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
        ConnectionSpec spec;
        spec.backend = Backend::Odbc;
        spec.odbc = cs.mid(5);
        if (spec.odbc.isEmpty())
            refuse(cs, QStringLiteral("falta el origen de datos ODBC"));
        return spec;
    }
    ConnectionSpec spec;
    spec.backend = Backend::Sqlite;
    if (cs.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        spec.path = cs.mid(7);
        if (spec.path.startsWith(QLatin1String("//"))) // sqlite:///abs/path
            spec.path = spec.path.mid(2);
        // sqlite:PATH?busy_timeout=MS  (how long to wait for another writer); the query
        // starts after the last '?', so that a path may hold one.
        if (const qsizetype q = spec.path.lastIndexOf(QLatin1Char('?')); q >= 0) {
            const QString query = spec.path.mid(q + 1);
            spec.path.truncate(q);
            for (const QString &item : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
                const qsizetype eq = item.indexOf(QLatin1Char('='));
                const QString key = eq > 0 ? item.left(eq) : item;
                const QString value = eq > 0 ? item.mid(eq + 1) : QString();
                bool ok = false;
                const int ms = value.toInt(&ok);
                if (key != QLatin1String("busy_timeout") || !ok || ms < 0)
                    refuse(cs, QStringLiteral("opción desconocida \"%1\" (se admite busy_timeout=MS)").arg(item));
                spec.options.append({key, QString::number(ms)});
            }
        }
        if (spec.path.isEmpty())
            refuse(cs, QStringLiteral("falta el archivo de la base de datos"));
        return spec;
    }
    // Anything else that looks like a URL is a back-end we do not know, not a file name.
    if (const qsizetype sep = cs.indexOf(QLatin1String("://")); sep > 0) {
        const QString scheme = cs.left(sep);
        bool plain = true;
        for (QChar c : scheme)
            plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-'));
        if (plain)
            refuse(cs,
                   QStringLiteral("tipo de base de datos desconocido \"%1\" (se admiten sqlite, "
                                  "postgresql y odbc)")
                       .arg(scheme));
    }
    spec.path = cs;
    return spec;
}

} // namespace qmx44::db
