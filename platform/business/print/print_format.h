#pragma once
// Printing a stored document with a named print format of Formato_Impresion into a PDF.
#include "platform/core/progress.h"

#include <QString>

namespace qmx44::db {
class Conexion;
}

namespace qmx44::business::print {

// The HTML template of format `nombre`; throws RuntimeError naming the format when no
// format has that name (or the name is empty).
QString formatTemplate(db::Conexion &connection, const QString &name);

// The file a note prints to: NC_<folio>.pdf, characters a file name cannot carry
// replaced by '_'.
QString noteFileName(const QString &folio);

// A filled print format: the page a PDF, a printer or a preview draws (print::drawPages).
struct NotePage {
    QString html;
    QString title;
    QString watermark; // "CANCELADA" for a cancelled note, else empty
};

// Format `format` filled with the stored note `folio`. Throws RuntimeError for an unknown
// format or note.
NotePage notePage(db::Conexion &connection, const QString &format, const QString &folio);

// Fills format `format` with the stored note `folio` and writes the PDF into
// `carpeta` (the current folder when empty). Returns the file's absolute path. A
// cancelled note carries "CANCELADA" across every page. Throws RuntimeError for an
// unknown format or note, or a file that cannot be written. The page drawn goes to
// `page` when given, the pages drawn to `progress`.
QString printNote(db::Conexion &connection, const QString &format, const QString &folio, const QString &folder,
                  NotePage *page = nullptr, ProgressSink *progress = nullptr);

} // namespace qmx44::business::print
