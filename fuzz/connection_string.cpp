// The connection-string parser on any text: a refusal is a RuntimeError, and a string it
// reads is written back by toString() into one that reads as the same pieces. And a
// password placed in a URL's user part or an ODBC string's PWD= never shows, in whole or
// in part, in display() or in a refusal.
#include "platform/db/connection_string.h"

#include <cstdlib>
#include <cstring>

using namespace qmx44::db;

namespace {

bool samePieces(const ConnectionSpec &a, const ConnectionSpec &b)
{
    return a.backend == b.backend && a.path == b.path && a.host == b.host && a.port == b.port && a.user == b.user
        && a.password == b.password && a.database == b.database && a.options == b.options && a.odbc == b.odbc
        && a.lockTimeoutMs == b.lockTimeoutMs && a.idleInTransactionTimeoutMs == b.idleInTransactionTimeoutMs
        && a.statementTimeoutMs == b.statementTimeoutMs;
}

// Reads the fuzzer's bytes in turn; past the end, zeros.
struct Bytes {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    uint8_t next() { return at < size ? data[at++] : 0; }
    bool done() const { return at >= size; }
};

// The password's characters: Greek letters, which nothing else in the string nor any
// message holds, so that each one can be looked for on its own; and the characters that
// cut a URL or an ODBC string into pieces, which cannot. Never '?', which ends a URL's
// user part (a password holding one must be written %3F).
QChar passwordChar(uint8_t b)
{
    static const char structural[] = "/:@%&=;{}[]# 0123456789";
    if (b % 2 == 0)
        return QChar(char16_t(0x03B1 + (b / 2) % 24));
    return QLatin1Char(structural[(b / 2) % (sizeof structural - 1)]);
}

// The text shown must hold none of the password's Greek letters. (A password of cutting
// characters only is not looked for: the same characters come from the rest of the string
// and from the messages; the unit tests name such cases.)
void checkHidden(const QString &shown, const QString &password)
{
    for (const QChar c : password)
        if (c.unicode() >= 0x03B1 && c.unicode() <= 0x03C9 && shown.contains(c))
            std::abort();
}

// A URL with a fuzzed user (no ':', '@', '/' or '?', as a user part holds them only
// encoded), a fuzzed password and fuzzed host, port, database and query; or an ODBC
// string with a fuzzed prefix and the password braced or bare.
void passwordHidden(Bytes in, bool odbc, bool braced)
{
    QString user, password, rest;
    for (int n = in.next() % 16; n > 0; --n)
        if (const char c = char(32 + in.next() % 95); !std::strchr(":@/?", c))
            user += QLatin1Char(c);
    for (int n = in.next() % 24; n > 0; --n) {
        QChar c = passwordChar(in.next());
        if (odbc && !braced && (c == QLatin1Char(';') || c == QLatin1Char('{')))
            c = QChar(char16_t(0x03C9));
        password += c;
    }
    while (!in.done())
        rest += QLatin1Char(char(in.next() & 0x7F));

    QString text;
    if (odbc) {
        const QString value = braced
            ? QLatin1Char('{') + QString(password).replace(QStringLiteral("}"), QStringLiteral("}}")) + QLatin1Char('}')
            : password;
        text = QStringLiteral("odbc:") + rest + QStringLiteral(";PWD=") + value + QStringLiteral(";UID=u");
    } else {
        text = QStringLiteral("postgresql://") + user + QLatin1Char(':') + password + QLatin1Char('@') + rest;
    }
    try {
        checkHidden(parseConnectionString(text).display(), password);
    } catch (const qmx44::RuntimeError &refusal) {
        checkHidden(refusal.description(), password);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte picks: a password to hide (0xF0 to 0xF7 in a URL, 0xF8 to 0xFF in an
    // ODBC string, braced when odd) or, below 0xF0, the text as it is.
    if (size > 0 && data[0] >= 0xF0) {
        const bool odbc = data[0] >= 0xF8;
        passwordHidden(Bytes{data + 1, size - 1}, odbc, data[0] % 2 == 1);
        return 0;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    ConnectionSpec spec;
    try {
        spec = parseConnectionString(text);
    } catch (const qmx44::RuntimeError &) {
        return 0;
    }
    (void)spec.display();
    try {
        if (!samePieces(parseConnectionString(spec.toString()), spec))
            std::abort();
    } catch (const qmx44::RuntimeError &) {
        std::abort(); // what was read must read again
    }
    return 0;
}
