#include "platform/db/sql_script.h"

#include <QRegularExpression>

namespace qmx44::db {

namespace {

bool identifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// The length of the opening "$tag$" (or "$$") of a dollar-quoted string at `i`; 0 when
// there is none there. A '$' inside a word ("a$b") or before a digit ("$1", a
// parameter) opens nothing.
qsizetype dollarTagLength(const QString &script, qsizetype i, const QString &before)
{
    if (!before.isEmpty() && identifierChar(before.back()))
        return 0;
    qsizetype j = i + 1;
    if (j < script.size() && script[j].isDigit())
        return 0;
    while (j < script.size() && (script[j].isLetterOrNumber() || script[j] == QLatin1Char('_')))
        ++j;
    return j < script.size() && script[j] == QLatin1Char('$') ? j + 1 - i : 0;
}

// Whether `current` is an SQLite trigger whose body (BEGIN ... END) is still open: its
// statements end with ';' too, and only the one after END ends the trigger.
bool inTriggerBody(const QString &current)
{
    static const QRegularExpression trigger(QStringLiteral("^\\s*CREATE\\s+(TEMP\\s+|TEMPORARY\\s+)?TRIGGER\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression begin(QStringLiteral("\\bBEGIN\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression end(QStringLiteral("\\bEND\\s*$"), QRegularExpression::CaseInsensitiveOption);
    return trigger.match(current).hasMatch() && begin.match(current).hasMatch() && !end.match(current).hasMatch();
}

} // namespace

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString current;
    const qsizetype n = script.size();
    auto flush = [&] {
        const QString s = current.trimmed();
        if (!s.isEmpty())
            statements.append(s);
        current.clear();
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = script[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            while (j < n) {
                if (script[j] == c) {
                    if (j + 1 < n && script[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            current += QStringView(script).mid(i, j - i);
            i = j;
        } else if (const qsizetype tag = c == QLatin1Char('$') ? dollarTagLength(script, i, current) : 0) {
            // A function body: kept whole, semicolons, quotes and "--" included.
            const qsizetype close = script.indexOf(QStringView(script).mid(i, tag), i + tag);
            const qsizetype end = close < 0 ? n : close + tag;
            current += QStringView(script).mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('-') && i + 1 < n && script[i + 1] == QLatin1Char('-')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && script[i + 1] == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char(';') && inTriggerBody(current)) {
            current += c;
            ++i;
        } else if (c == QLatin1Char(';')) {
            flush();
            ++i;
        } else {
            current += c;
            ++i;
        }
    }
    flush();
    return statements;
}

} // namespace qmx44::db
