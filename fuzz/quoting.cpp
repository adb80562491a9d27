// The quoting helper on any value: between quotes it is one string literal to the end of
// the text (the dialect translation leaves it whole and still turns the '+' and ISNULL
// around it), and undoubling its quotes gives the value back.
#include "platform/db/dialect.h"
#include "platform/db/sql_text.h"

#include <cstdlib>

using namespace qmx44::db;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString q = quoted(value);
    QString back = q;
    if (back.replace(QStringLiteral("''"), QStringLiteral("'")) != value)
        std::abort();
    // Every quote in the quoted text belongs to a doubled pair.
    for (qsizetype i = 0; i < q.size(); ++i)
        if (q[i] == u'\'' && (i + 1 == q.size() || q[++i] != u'\''))
            std::abort();
    const QString literal = QLatin1Char('\'') + q + QLatin1Char('\'');
    for (Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QString sql = QStringLiteral("SELECT ISNULL(x, ") + literal + QStringLiteral(" + y) FROM t");
        const QString expected = QStringLiteral("SELECT COALESCE(x, ") + literal + QStringLiteral(" || y) FROM t");
        if (translate(sql, backend) != expected)
            std::abort();
    }
    return 0;
}
