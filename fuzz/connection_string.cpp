// The connection-string parser on any text: a refusal is a RuntimeError, and a string it
// reads is written back by toString() into one that reads as the same pieces.
#include "platform/db/connection_string.h"

#include <cstdlib>

using namespace qmx44::db;

namespace {

bool samePieces(const ConnectionSpec &a, const ConnectionSpec &b)
{
    return a.backend == b.backend && a.path == b.path && a.host == b.host && a.port == b.port && a.user == b.user
        && a.password == b.password && a.database == b.database && a.options == b.options && a.odbc == b.odbc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
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
