#include "apps/command.h"

#include <algorithm>

namespace qmx44::apps {

namespace {
std::vector<Command> &table()
{
    static std::vector<Command> t;
    return t;
}
} // namespace

CommandRegistration::CommandRegistration(Command command)
{
    auto &t = table();
    const auto at = std::lower_bound(t.begin(), t.end(), command.name,
                                     [](const Command &c, const QString &n) { return c.name < n; });
    t.insert(at, std::move(command));
}

const std::vector<Command> &commands()
{
    return table();
}

QString commandHelp(const Command &command)
{
    QString text = QStringLiteral("usage: qmx44 %1 %2\n\n%3\n").arg(command.name, command.synopsis, command.summary);
    const QStringList lines = command.options.split(u'\n', Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        text += QStringLiteral("\noptions and arguments:\n");
    for (const QString &line : lines) {
        const qsizetype tab = line.indexOf(u'\t');
        text += QStringLiteral("  %1\n      %2\n").arg(line.left(tab), line.mid(tab + 1));
    }
    text += QStringLiteral("\n  --help\n      prints this help and exits");
    return text;
}

const Command *findCommand(const QString &name)
{
    for (const Command &c : table()) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

} // namespace qmx44::apps
