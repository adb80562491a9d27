#include "apps/script/key_names.h"

#include "platform/controls/keys.h"

#include <QStringList>

namespace qmx44::apps::script {

namespace keys = controls::keys;

namespace {

std::optional<int> namedKey(const QString &lower)
{
    static const struct {
        const char *name;
        int code;
    } table[] = {
        {"enter", keys::Enter}, {"return", keys::Enter},        {"escape", keys::Escape}, {"esc", keys::Escape},
        {"tab", keys::Tab},     {"backspace", keys::Backspace}, {"delete", keys::Delete}, {"del", keys::Delete},
        {"insert", 45},         {"home", keys::Home},           {"end", keys::End},       {"pageup", 33},
        {"pagedown", 34},       {"left", keys::Left},           {"up", keys::Up},         {"right", keys::Right},
        {"down", keys::Down},   {"space", keys::Space},
    };
    for (const auto &k : table) {
        if (lower == QLatin1String(k.name))
            return k.code;
    }
    // F1 is 112 ... F12 is 123.
    if (lower.size() >= 2 && lower[0] == u'f') {
        bool ok = false;
        const int n = lower.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12 && QString::number(n) == lower.mid(1))
            return 111 + n;
    }
    return std::nullopt;
}

} // namespace

std::optional<KeyChord> parseKeyChord(const QString &name)
{
    QStringList parts = name.split(u'+');
    // "Ctrl++" is not a key any user would name; "+" alone neither.
    if (parts.isEmpty() || parts.contains(QString()))
        return std::nullopt;
    const QString key = parts.takeLast();
    KeyChord chord;
    for (const QString &p : parts) {
        const QString m = p.toLower();
        int bit = 0;
        if (m == u"shift")
            bit = keys::ShiftMask;
        else if (m == u"ctrl" || m == u"control")
            bit = keys::CtrlMask;
        else if (m == u"alt")
            bit = keys::AltMask;
        else
            return std::nullopt;
        if (chord.shift & bit)
            return std::nullopt; // the same modifier twice
        chord.shift |= bit;
    }
    const bool ctrlOrAlt = chord.shift & (keys::CtrlMask | keys::AltMask);
    if (key.size() == 1 && key[0].isLetterOrNumber() && key[0].unicode() < 128) {
        const QChar c = key[0];
        chord.code = keys::virtualKeyFor(c.toUpper().unicode());
        if (!ctrlOrAlt) {
            const bool upper = chord.shift & keys::ShiftMask;
            chord.typed = c.isDigit() ? c.unicode() : (upper ? c.toUpper() : c.toLower()).unicode();
        }
        return chord;
    }
    const auto code = namedKey(key.toLower());
    if (!code)
        return std::nullopt;
    chord.code = *code;
    if (*code == keys::Space && !ctrlOrAlt)
        chord.typed = u' ';
    return chord;
}

} // namespace qmx44::apps::script
