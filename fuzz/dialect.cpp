// The dialect translation on any text, for each back-end: string literals and quoted
// identifiers come out unchanged and in the same order, ODBC text is untouched, and a
// translated text translates to itself.
#include "platform/db/dialect.h"

#include <QStringList>
#include <cstdlib>

using qmx44::db::Backend;

namespace {

// The '...' and "..." runs of `sql` (a doubled quote stays inside; unterminated: to the end).
QStringList quotedRuns(const QString &sql)
{
    QStringList runs;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar q = sql[i];
        if (q != u'\'' && q != u'"')
            continue;
        qsizetype j = i + 1;
        while (j < sql.size() && (sql[j] != q || (j + 1 < sql.size() && sql[j + 1] == q)))
            j += sql[j] == q ? 2 : 1;
        runs << sql.mid(i, j + 1 - i);
        i = j;
    }
    return runs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const Backend backend = data[0] % 3 == 0 ? Backend::Sqlite : data[0] % 3 == 1 ? Backend::Postgres : Backend::Odbc;
    const QString in = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString out = qmx44::db::translate(in, backend);
    if (backend == Backend::Odbc && out != in)
        std::abort();
    if (quotedRuns(out) != quotedRuns(in))
        std::abort();
    if (qmx44::db::translate(out, backend) != out)
        std::abort();
    return 0;
}
