#pragma once
// Impresion: prints a stored document with a print format of Formato_Impresion (an HTML
// template by name) into a PDF in the host's output folder, records each print in the
// host's ActivityLog and hands it to the host's hook (the GUI's preview and printing).
// A planned failure of "Impresion.Imprimir" raises a run-time error.
#include "platform/business/activity_log.h"

#include <QString>
#include <memory>

namespace qmx44::services {
class Session;
}

namespace qmx44::business {

class Impresion {
public:
    // `carpeta`: where the PDFs go (the host's output folder); the current folder when empty.
    Impresion(std::shared_ptr<services::Session> session, std::shared_ptr<ActivityLog> activityLog,
              const QString &folder = {});

    // Prints the credit note `folio` with the format `format` into <folder>/NC_<folio>.pdf
    // and records {format, folio, file}. A cancelled note carries "CANCELADA" across
    // every page. The other arguments (an output name, the preview and printer-choice
    // flags, a filter) are accepted as callers pass them; the host's hook decides about
    // preview and printer. Throws RuntimeError, recording nothing, for an unknown format
    // or note or a file that cannot be written.
    // Drawing the PDF needs a QGuiApplication: hosts without a window system create one on
    // the "offscreen" platform (QT_QPA_PLATFORM=offscreen); without any, Imprimir throws.
    void Imprimir(const QString &format, const QString &folio, const QString &output = {}, bool preview = false,
                  bool choosePrinter = false, const QString &filter = {});

private:
    std::shared_ptr<services::Session> m_session;
    std::shared_ptr<ActivityLog> m_activityLog;
    QString m_outputDir;
};

} // namespace qmx44::business
