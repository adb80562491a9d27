// The script parser on any line: a malformed line is a ScriptError and nothing else, and
// a line it reads, written again with every word quoted, reads as the same words.
#include "apps/script/script_line.h"

#include <cstdlib>

using namespace qmx44::apps::script;

namespace {

QString quote(QString word)
{
    word.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + word + u'"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    std::optional<ScriptLine> line;
    try {
        line = parseLine(text, 7);
    } catch (const ScriptError &) {
        return 0;
    }
    if (!line)
        return 0;
    const QString lower = line->command.toLower();
    if (line->number != 7 || ((lower == u"exec" || lower == u"query") && !line->args.isEmpty()))
        std::abort();
    QStringList words{quote(line->command)};
    for (const QString &arg : line->args)
        words << quote(arg);
    std::optional<ScriptLine> again;
    try {
        again = parseLine(words.join(u' '), 7);
    } catch (const ScriptError &) {
        std::abort();
    }
    if (!again || again->command != line->command
        || (lower != u"exec" && lower != u"query" && again->args != line->args))
        std::abort();
    return 0;
}
