#include "platform/business/impresion.h"

#include "platform/business/print/print_format.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"
#include "platform/services/session.h"

namespace qmx44::business {

Impresion::Impresion(std::shared_ptr<services::Session> session, std::shared_ptr<ActivityLog> activityLog,
                     const QString &folder)
    : m_session(std::move(session)), m_activityLog(std::move(activityLog)), m_outputDir(folder)
{
    if (!m_session || !m_activityLog)
        throw RuntimeError(QStringLiteral("Impresion: falta la sesión"));
}

void Impresion::Imprimir(const QString &format, const QString &folio, const QString &output, bool preview,
                         bool choosePrinter, const QString &filter)
{
    Q_UNUSED(output);
    Q_UNUSED(preview);
    Q_UNUSED(choosePrinter);
    Q_UNUSED(filter);
    m_session->check(faults::ImpresionImprimir);
    print::NotePage page;
    const QString file =
        print::printNote(m_session->connection(), format, folio, m_outputDir, &page, m_session->progressSink());
    const PrintedDocument printed{format, folio, file, page.html, page.title, page.watermark};
    m_activityLog->recordPrint(printed);
    if (m_activityLog->onPrint)
        m_activityLog->onPrint(printed);
}

} // namespace qmx44::business
