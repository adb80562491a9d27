#include "platform/business/print/print_format.h"

#include "platform/business/print/note_data.h"
#include "platform/business/print/pdf.h"
#include "platform/business/print/print_template.h"
#include "platform/db/connection.h"

#include <QDir>

namespace qmx44::business::print {

QString formatTemplate(db::Conexion &connection, const QString &name)
{
    if (name.trimmed().isEmpty())
        throw RuntimeError(QStringLiteral("No se indicó el formato de impresión (revise el parámetro "
                                          "FTO_IMP_NOTA_CREDITO_PROVEEDOR)"));
    auto rs =
        connection.query(QStringLiteral("SELECT Fi_Plantilla FROM Formato_Impresion WHERE Fi_Nombre = ?"), {name});
    if (rs->eof())
        throw RuntimeError(QStringLiteral("No existe el formato de impresión \"%1\"").arg(name));
    const QString templateText = rs->field(QStringLiteral("Fi_Plantilla")).toString();
    rs->close();
    return templateText;
}

QString noteFileName(const QString &folio)
{
    QString cleaned;
    for (const QChar c : folio)
        cleaned += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' || c == u'_' ? c : QChar(u'_');
    return QStringLiteral("NC_%1.pdf").arg(cleaned);
}

NotePage notePage(db::Conexion &connection, const QString &format, const QString &folio)
{
    const QString templateText = formatTemplate(connection, format);
    const PrintData data = noteData(connection, folio);
    return NotePage{fillTemplate(templateText, data), QStringLiteral("Nota de crédito %1").arg(folio),
                    data.fields.value(QStringLiteral("Cancelada"))};
}

QString printNote(db::Conexion &connection, const QString &format, const QString &folio, const QString &folder,
                  NotePage *page, ProgressSink *progress)
{
    NotePage filled = notePage(connection, format, folio);
    const QString file = QDir(folder.isEmpty() ? QDir::currentPath() : folder).absoluteFilePath(noteFileName(folio));
    writePdf(filled.html, file, filled.title, filled.watermark, progress);
    if (page)
        *page = std::move(filled);
    return file;
}

} // namespace qmx44::business::print
