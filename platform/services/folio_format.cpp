#include "platform/services/folio_format.h"

namespace qmx44::services {

namespace {
bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
} // namespace

QString normaliseFolio(const QString &typed, int width)
{
    if (width < 1)
        width = kFolioWidth;
    const QString folio = typed.trimmed().toUpper();
    if (folio.isEmpty() || folio.size() >= width)
        return folio;

    qsizetype letters = 0;
    while (letters < folio.size() && folio.at(letters).isLetter())
        ++letters;
    qsizetype digits = 0;
    while (letters + digits < folio.size() && isAsciiDigit(folio.at(letters + digits)))
        ++digits;
    if (digits == 0 || letters + digits != folio.size())
        return folio;
    return folio.left(letters) + folio.mid(letters).rightJustified(width - letters, u'0');
}

} // namespace qmx44::services
