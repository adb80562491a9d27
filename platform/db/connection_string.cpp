#include "platform/db/connection_string.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <utility>

namespace qmx44::db {

namespace {

QString decode(const QString &s)
{
    return QUrl::fromPercentEncoding(s.toUtf8());
}

// The values of password= options (up to the next '&' of a URL's query) and of an ODBC
// string's PWD= (up to its ';', or a braced value whole: "}}" is a '}' inside it, and a
// '}' that is not followed by ';' or the end does not close it) shown as "***".
QString hideKeyedPasswords(QString s, bool odbc)
{
    static const QRegularExpression url(QStringLiteral("(\\b(?:password|pwd)\\s*=\\s*)([^&]*)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression braced(
        QStringLiteral("(\\b(?:password|pwd)\\s*=\\s*)(\\{(?:[^}]|\\}\\}|\\}(?!;|$))*\\}?|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return s.replace(odbc ? braced : url, QStringLiteral("\\1***"));
}

// The part of a URL that a message never shows: from the ':' after the user name to the
// last '@' of the whole string. Wider than the password when the string is odd (a '?' or
// an '@' where it does not belong), never narrower. Empty when there is none.
std::pair<qsizetype, qsizetype> hiddenSpan(const QString &cs)
{
    const qsizetype sep = cs.indexOf(QLatin1String("://"));
    if (sep < 0)
        return {0, 0};
    const qsizetype colon = cs.indexOf(QLatin1Char(':'), sep + 3);
    const qsizetype at = cs.lastIndexOf(QLatin1Char('@'));
    if (colon < 0 || at <= colon)
        return {0, 0};
    return {colon + 1, at};
}

// The string as a message may quote it. A refused string is quoted this way, since its
// message reaches the screen, standard error and the log.
QString withoutPassword(QString cs)
{
    const auto [from, to] = hiddenSpan(cs);
    if (to > from)
        cs.replace(from, to - from, QStringLiteral("***"));
    return hideKeyedPasswords(cs, cs.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive));
}

// cs[from, to) as a refusal may quote it: "***" when it reaches into the hidden span.
QString piece(const QString &cs, qsizetype from, qsizetype to)
{
    const auto [hiddenFrom, hiddenTo] = hiddenSpan(cs);
    if (hiddenTo > hiddenFrom && from < hiddenTo && hiddenFrom < to)
        return QStringLiteral("***");
    return hideKeyedPasswords(cs.mid(from, to - from), false);
}

[[noreturn]] void refuse(const QString &cs, const QString &why)
{
    throw RuntimeError(QStringLiteral("Cadena de conexión no válida \"%1\": %2").arg(withoutPassword(cs), why));
}

// The port cs[from, to) says (percent-encoded when it comes from the query).
int parsePort(const QString &cs, qsizetype from, qsizetype to)
{
    bool ok = false;
    const int port = decode(cs.mid(from, to - from)).toInt(&ok);
    if (!ok || port <= 0 || port > 65535)
        refuse(cs, QStringLiteral("el puerto \"%1\" no es un número de puerto").arg(piece(cs, from, to)));
    return port;
}

// A session limit: a whole number of ms (the unit when none is given), s or min.
// Checked here, so that what reaches the server's SET is only ever a number.
int parseDuration(const QString &cs, const QString &key, const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*(\\d{1,9})\\s*(ms|s|min)?\\s*$"));
    const QRegularExpressionMatch m = shape.match(text);
    const qint64 factor = !m.hasMatch()         ? 0
        : m.captured(2) == QLatin1String("min") ? 60000
        : m.captured(2) == QLatin1String("s")   ? 1000
                                                : 1;
    const qint64 ms = factor * m.captured(1).toLongLong();
    if (factor == 0 || ms > std::numeric_limits<int>::max())
        refuse(cs,
               QStringLiteral("el valor de %1 no es una duración (un número entero con ms, s o min, "
                              "p. ej. %1=15s)")
                   .arg(key));
    return int(ms);
}

// postgresql://[user[:password]@][host][:port][/database][?key=value&...]
ConnectionSpec parsePostgres(const QString &cs, qsizetype schemeEnd)
{
    ConnectionSpec spec;
    spec.backend = Backend::Postgres;

    // Positions in cs: [begin, end) is what is left to read of the part before the query.
    qsizetype begin = schemeEnd;
    const qsizetype queryStart = cs.indexOf(QLatin1Char('?'), schemeEnd);
    qsizetype end = queryStart >= 0 ? queryStart : cs.size();

    // The user part runs to the last '@' before the query, not to the first '/': a
    // password with a '/' would otherwise be read as a host, a port and a database,
    // and shown as such.
    if (const qsizetype at = cs.lastIndexOf(QLatin1Char('@'), end - 1); at >= begin) {
        const QString userInfo = cs.mid(begin, at - begin);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        spec.user = decode(colon >= 0 ? userInfo.left(colon) : userInfo);
        if (colon >= 0)
            spec.password = decode(userInfo.mid(colon + 1));
        begin = at + 1;
    }
    if (const qsizetype slash = cs.indexOf(QLatin1Char('/'), begin); slash >= 0 && slash < end) {
        spec.database = decode(cs.mid(slash + 1, end - slash - 1));
        end = slash;
    }
    // The host and port, cs[begin, end).
    qsizetype hostEnd = end;
    qsizetype portStart = end;
    if (begin < end && cs.at(begin) == QLatin1Char('[')) { // [IPv6]:port
        const qsizetype close = cs.indexOf(QLatin1Char(']'), begin);
        if (close < 0 || close >= end)
            refuse(cs, QStringLiteral("falta el \"]\" de la dirección IPv6"));
        spec.host = decode(cs.mid(begin + 1, close - begin - 1));
        if (close + 1 < end && cs.at(close + 1) != QLatin1Char(':'))
            refuse(cs, QStringLiteral("texto inesperado después de la dirección IPv6"));
        portStart = std::min(close + 2, end);
    } else {
        if (const qsizetype colon = cs.lastIndexOf(QLatin1Char(':'), end - 1); colon >= begin) {
            hostEnd = colon;
            portStart = colon + 1;
        }
        spec.host = decode(cs.mid(begin, hostEnd - begin));
    }
    if (portStart < end)
        spec.port = parsePort(cs, portStart, end);

    for (qsizetype from = queryStart + 1; queryStart >= 0 && from <= cs.size();) {
        qsizetype to = cs.indexOf(QLatin1Char('&'), from);
        if (to < 0)
            to = cs.size();
        const QString item = cs.mid(from, to - from);
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        if (!item.isEmpty() && eq <= 0)
            refuse(cs, QStringLiteral("la opción \"%1\" no tiene la forma clave=valor").arg(piece(cs, from, to)));
        if (!item.isEmpty()) {
            const QString key = decode(item.left(eq));
            const QString value = decode(item.mid(eq + 1));
            if (key == QLatin1String("host"))
                spec.host = value;
            else if (key == QLatin1String("port"))
                spec.port = parsePort(cs, from + eq + 1, to);
            else if (key == QLatin1String("user"))
                spec.user = value;
            else if (key == QLatin1String("password"))
                spec.password = value;
            else if (key == QLatin1String("dbname"))
                spec.database = value;
            else if (key == QLatin1String("lock_timeout"))
                spec.lockTimeoutMs = parseDuration(cs, key, value);
            else if (key == QLatin1String("idle_in_transaction_session_timeout"))
                spec.idleInTransactionTimeoutMs = parseDuration(cs, key, value);
            else if (key == QLatin1String("statement_timeout"))
                spec.statementTimeoutMs = parseDuration(cs, key, value);
            else
                spec.options.append({key, value});
        }
        from = to + 1;
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
        return QStringLiteral("odbc:") + (withPassword ? spec.odbc : hideKeyedPasswords(spec.odbc, true));
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
        // The session's limits only when they differ from the defaults.
        const struct {
            const char *key;
            int value, byDefault;
        } limits[] = {{"lock_timeout", spec.lockTimeoutMs, kDefaultLockTimeoutMs},
                      {"idle_in_transaction_session_timeout", spec.idleInTransactionTimeoutMs,
                       kDefaultIdleInTransactionTimeoutMs},
                      {"statement_timeout", spec.statementTimeoutMs, kDefaultStatementTimeoutMs}};
        for (const auto &limit : limits)
            if (limit.value != limit.byDefault)
                query.append(QStringLiteral("%1=%2ms").arg(QLatin1String(limit.key)).arg(limit.value));
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

QString ConnectionSpec::identity() const
{
    if (inMemory())
        return path;
    if (backend == Backend::Sqlite)
        return QStringLiteral("sqlite:") + QFileInfo(path).absoluteFilePath();
    return display();
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
                    refuse(cs,
                           QStringLiteral("opción desconocida \"%1\" (se admite busy_timeout=MS)")
                               .arg(hideKeyedPasswords(item, false)));
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
