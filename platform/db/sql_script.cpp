#include "platform/db/sql_script.h"

namespace qmx44::db {

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
        } else if (c == QLatin1Char('-') && i + 1 < n && script[i + 1] == QLatin1Char('-')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && script[i + 1] == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            current += QLatin1Char(' ');
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
