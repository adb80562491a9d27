#include "apps/script/script_line.h"

namespace qmx44::apps::script {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

std::optional<ScriptLine> parseLine(const QString &raw, int number)
{
    QString text = raw;
    // Scripts written on other systems end their lines with CR LF.
    while (text.endsWith(u'\r') || text.endsWith(u'\n'))
        text.chop(1);
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    if (i == n || text[i] == u'#')
        return std::nullopt;

    ScriptLine line;
    line.number = number;
    bool first = true;
    while (i < n) {
        QString word;
        if (text[i] == u'"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text[i];
                if (c == u'\\' && i + 1 < n && (text[i + 1] == u'"' || text[i + 1] == u'\\')) {
                    word += text[i + 1];
                    i += 2;
                } else if (c == u'"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word += c;
                    ++i;
                }
            }
            if (!closed)
                throw ScriptError{QStringLiteral("unterminated quoted argument")};
            if (i < n && !isBlank(text[i]))
                throw ScriptError{QStringLiteral("a blank must follow a quoted argument")};
        } else {
            while (i < n && !isBlank(text[i]))
                word += text[i++];
        }
        if (first) {
            line.command = word;
            first = false;
            qsizetype r = i;
            while (r < n && isBlank(text[r]))
                ++r;
            line.rest = text.mid(r).trimmed();
            // SQL is not split into arguments: quotes there belong to the statement.
            const QString lower = word.toLower();
            if (lower == u"exec" || lower == u"query")
                return line;
        } else {
            line.args << word;
        }
        while (i < n && isBlank(text[i]))
            ++i;
    }
    return line;
}

} // namespace qmx44::apps::script
