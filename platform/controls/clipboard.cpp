#include "platform/controls/clipboard.h"

namespace qmx44::controls {

namespace {
struct State {
    QString text;
    Clipboard::Backend backend;
};

State &state()
{
    static State s;
    return s;
}
} // namespace

QString Clipboard::text()
{
    const State &s = state();
    return s.backend.read ? s.backend.read() : s.text;
}

void Clipboard::setText(const QString &text)
{
    State &s = state();
    if (s.backend.write)
        s.backend.write(text);
    else
        s.text = text;
}

void Clipboard::setBackend(Backend backend)
{
    state().backend = std::move(backend);
}

} // namespace qmx44::controls
