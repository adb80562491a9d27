#pragma once
// Folio normalisation: the form in which documents are keyed, from what a user typed.
#include <QString>

namespace qmx44::services {

// The width folios are stored with when the document's counter does not say otherwise.
inline constexpr int kFolioWidth = 10;

// Trims and upper-cases `tecleado`, then:
//  - digits only: left-padded with zeros to `ancho` ("123" -> "0000000123");
//  - letters followed by digits: the letters stay in front and the digits are padded so
//    the whole is `ancho` wide ("C1" -> "C000000001");
//  - anything else (empty, digits then letters, spaces or signs inside) stays as trimmed
//    and upper-cased.
// A folio already `ancho` or longer is never cut. An `ancho` below 1 means kFolioWidth.
QString normaliseFolio(const QString &typed, int width = kFolioWidth);

} // namespace qmx44::services
