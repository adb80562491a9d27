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

const Command *findCommand(const QString &name)
{
    for (const Command &c : table()) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

} // namespace qmx44::apps
