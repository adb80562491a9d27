#pragma once
// Writes an HTML page (a filled print format) as a PDF file.
#include "platform/core/progress.h"

#include <QString>

class QPagedPaintDevice;

namespace qmx44::db {
class Conexion;
}

namespace qmx44::business::print {

// Lays `html` out on letter-size pages (15 mm margins) and writes them to `archivo`,
// creating its folder; a non-empty `marca` is drawn large and diagonally across every
// page (e.g. "CANCELADA"). The file appears complete or not at all.
// Needs a QGuiApplication (fonts); headless programs create one with the "offscreen"
// platform (QT_QPA_PLATFORM=offscreen). Throws RuntimeError without one, or when the
// file cannot be written. The pages drawn go to `progress` when given.
void writePdf(const QString &html, const QString &file, const QString &title = {}, const QString &watermark = {},
              ProgressSink *progress = nullptr);

// Lays `html` out on the pages of `device` (its page layout as set) and draws them, with
// the watermark across each: what writePdf writes, drawn on a printer or a preview.
// Needs a QGuiApplication. The pages drawn go to `progress` when given ("Imprimiendo…").
void drawPages(const QString &html, QPagedPaintDevice &device, const QString &watermark = {},
               ProgressSink *progress = nullptr);

// The company's header that printed lists begin with, as HTML: its name in bold, its RFC
// and its address (parameters GEN_EMPRESA_NOMBRE, GEN_EMPRESA_RFC, GEN_EMPRESA_DIRECCION,
// read on `connection`), escaped.
QString companyHeaderHtml(db::Conexion &connection);

} // namespace qmx44::business::print
