// The view channel's observer list.
#include "platform/controls/observers.h"

#include <algorithm>

namespace qmx44::controls {

int Observers::add(Observer observer)
{
    const int ticket = m_nextTicket++;
    m_observers.push_back({ticket, std::move(observer)});
    return ticket;
}

void Observers::remove(int ticket)
{
    std::erase_if(m_observers, [ticket](const Entry &e) { return e.ticket == ticket; });
}

void Observers::notify(const ModelChange &change) const
{
    if (m_observers.empty())
        return;
    // Tell a snapshot of the tickets, and look each one up again before telling it, so
    // that an observer removed by an earlier one is not told.
    std::vector<int> tickets;
    tickets.reserve(m_observers.size());
    for (const Entry &e : m_observers)
        tickets.push_back(e.ticket);
    for (int ticket : tickets) {
        auto it = std::find_if(m_observers.begin(), m_observers.end(),
                               [ticket](const Entry &e) { return e.ticket == ticket; });
        if (it == m_observers.end())
            continue;
        Observer copy = it->observer; // the observer may remove itself while it runs
        copy(change);
    }
}

} // namespace qmx44::controls
