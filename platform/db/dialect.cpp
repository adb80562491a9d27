#include "platform/db/dialect.h"

namespace qmx44::db {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#')
        || c == QLatin1Char('$');
}

// End (one past) of the quoted run that starts at 'from' with the quote character q;
// a doubled quote inside stays part of it. An unterminated run ends with the text.
qsizetype quotedEnd(const QString &s, qsizetype from, QChar q)
{
    qsizetype i = from + 1;
    while (i < s.size()) {
        if (s[i] == q) {
            if (i + 1 < s.size() && s[i + 1] == q) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

} // namespace

QString translate(const QString &tsql, Backend backend)
{
    if (backend == Backend::Odbc)
        return tsql;

    // Pass 1: where the string literals are, so that '+' can look at its neighbours.
    const qsizetype n = tsql.size();
    std::vector<char> inLiteral(size_t(n), 0); // 1 = part of a '...' literal
    bool anyWork = false;
    for (qsizetype i = 0; i < n;) {
        const QChar c = tsql[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype end = quotedEnd(tsql, i, c);
            std::fill(inLiteral.begin() + i, inLiteral.begin() + end, 1);
            i = end;
        } else if (c == QLatin1Char('"')) {
            const qsizetype end = quotedEnd(tsql, i, c);
            std::fill(inLiteral.begin() + i, inLiteral.begin() + end, 2);
            i = end;
        } else {
            if (c == QLatin1Char('+') || c == QLatin1Char('i') || c == QLatin1Char('I'))
                anyWork = true;
            ++i;
        }
    }
    if (!anyWork)
        return tsql;

    static const QString isnull = QStringLiteral("ISNULL");
    QString out;
    out.reserve(n + 16);
    for (qsizetype i = 0; i < n;) {
        if (inLiteral[size_t(i)]) {
            out += tsql[i];
            ++i;
            continue;
        }
        const QChar c = tsql[i];
        if ((c == QLatin1Char('i') || c == QLatin1Char('I')) && (i == 0 || !isWordChar(tsql[i - 1]))
            && QStringView(tsql).mid(i, 6).compare(isnull, Qt::CaseInsensitive) == 0) {
            qsizetype j = i + 6;
            while (j < n && isBlank(tsql[j]) && !inLiteral[size_t(j)])
                ++j;
            if (j < n && tsql[j] == QLatin1Char('(') && !inLiteral[size_t(j)]
                && (i + 6 >= n || !isWordChar(tsql[i + 6]))) {
                out += QLatin1String("COALESCE");
                i += 6;
                continue;
            }
        }
        if (c == QLatin1Char('+')) {
            qsizetype before = i - 1;
            while (before >= 0 && isBlank(tsql[before]) && !inLiteral[size_t(before)])
                --before;
            qsizetype after = i + 1;
            while (after < n && isBlank(tsql[after]) && !inLiteral[size_t(after)])
                ++after;
            const bool literalBefore = before >= 0 && inLiteral[size_t(before)] == 1;
            const bool literalAfter = after < n && inLiteral[size_t(after)] == 1;
            if (literalBefore || literalAfter) {
                out += QLatin1String("||");
                ++i;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

namespace {

// Where a MATCHES( or MATCHES_UPPER( marker of a catalogue statement stands: the marker
// from its name to its closing parenthesis, and the expression inside.
struct Marker {
    qsizetype begin = -1, end = -1;
    bool upper = false;
    QString expression;
};

// The next marker at or after `from`, outside string literals and quoted identifiers.
Marker nextMarker(const QString &sql, qsizetype from)
{
    const auto word = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    for (qsizetype i = from; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = sql.indexOf(c, i + 1);
            if (close < 0)
                break;
            i = close;
            continue;
        }
        if (!word(c) || (i > 0 && word(sql[i - 1])))
            continue;
        qsizetype j = i;
        while (j < sql.size() && word(sql[j]))
            ++j;
        const QStringView name = QStringView(sql).mid(i, j - i);
        const bool upper = name.compare(u"MATCHES_UPPER", Qt::CaseInsensitive) == 0;
        if (!upper && name.compare(u"MATCHES", Qt::CaseInsensitive) != 0) {
            i = j - 1;
            continue;
        }
        while (j < sql.size() && sql[j].isSpace())
            ++j;
        if (j >= sql.size() || sql[j] != u'(')
            continue;
        int depth = 0;
        for (qsizetype k = j; k < sql.size(); ++k) {
            if (sql[k] == u'\'') {
                const qsizetype close = sql.indexOf(u'\'', k + 1);
                if (close < 0)
                    break;
                k = close;
            } else if (sql[k] == u'(') {
                ++depth;
            } else if (sql[k] == u')' && --depth == 0) {
                return {i, k + 1, upper, sql.mid(j + 1, k - j - 1).trimmed()};
            }
        }
        throw RuntimeError(QStringLiteral("Falta el cierre de %1( en el catálogo").arg(name));
    }
    return {};
}

// The test that `expression` holds the bound value: a pattern of containsPattern, or
// the text itself when the letter case is already the filter's.
QString containsTest(const QString &expression, Backend backend, bool exactCase)
{
    if (exactCase) {
        return backend == Backend::Sqlite  ? QStringLiteral("instr(%1, ?) > 0").arg(expression)
            : backend == Backend::Postgres ? QStringLiteral("strpos(CAST(%1 AS TEXT), ?) > 0").arg(expression)
                                           : QStringLiteral("CHARINDEX(?, %1) > 0").arg(expression);
    }
    return backend == Backend::Sqlite  ? QStringLiteral("%1 GLOB ?").arg(expression)
        : backend == Backend::Postgres ? QStringLiteral("CAST(%1 AS TEXT) ~ ?").arg(expression)
                                       : QStringLiteral("%1 LIKE ?").arg(expression);
}

} // namespace

CatalogueQuery catalogueSearch(const QString &statement, Backend backend, int limit, const QString &filter)
{
    CatalogueQuery query;
    const bool filtered = !filter.isEmpty();
    QString inner = translate(statement, backend);
    QString condition;
    Marker marker = nextMarker(inner, 0);
    if (marker.begin < 0) {
        if (filtered) {
            condition = QStringLiteral(" WHERE ") + containsTest(QStringLiteral("CLAVE"), backend, false)
                + QStringLiteral(" OR ") + containsTest(QStringLiteral("DESCRIPCION"), backend, false);
            const QString pattern = containsPattern(filter, backend);
            query.parameters = {pattern, pattern};
        }
    } else {
        QString rewritten;
        qsizetype copied = 0;
        for (; marker.begin >= 0; marker = nextMarker(inner, marker.end)) {
            rewritten += QStringView(inner).mid(copied, marker.begin - copied);
            copied = marker.end;
            if (!filtered) {
                rewritten += QStringLiteral("(1 = 1)");
                continue;
            }
            rewritten += u'(' + containsTest(marker.expression, backend, marker.upper) + u')';
            query.parameters.append(marker.upper ? filter.toUpper() : containsPattern(filter, backend));
        }
        inner = rewritten + inner.mid(copied);
    }
    if (backend == Backend::Odbc)
        query.sql =
            QStringLiteral("SELECT TOP %1 * FROM (%2) AS catalogue%3 ORDER BY CLAVE").arg(limit).arg(inner, condition);
    else
        query.sql = QStringLiteral("SELECT * FROM (%1) AS catalogue%2 ORDER BY CLAVE LIMIT %3")
                        .arg(inner, condition)
                        .arg(limit);
    return query;
}

QString containsPattern(const QString &text, Backend backend)
{
    const bool glob = backend == Backend::Sqlite, like = backend == Backend::Odbc;
    QString out = glob ? QStringLiteral("*") : like ? QStringLiteral("%") : QString();
    for (const QChar c : text) {
        const QChar lower = c.toLower(), upper = c.toUpper();
        if (lower != upper) {
            out += u'[';
            out += lower;
            out += upper;
            out += u']';
        } else if (c.isLetterOrNumber() || c.isSpace() || c.isSurrogate()) {
            out += c;
        } else if (glob || like) {
            // A class of one holds any character literally (GLOB: * ? [; LIKE: % _ [).
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += u'\\'; // a backslash before a character that is not a letter or digit: that character
            out += c;
        }
    }
    if (glob)
        out += u'*';
    else if (like)
        out += u'%';
    return out;
}

} // namespace qmx44::db
