#include "platform/business/print/formato.h"

#include "platform/business/print/datos_nota.h"
#include "platform/business/print/pdf.h"
#include "platform/business/print/plantilla.h"

#include <QDir>

namespace qmx44::business::print {

QString plantillaFormato(db::Conexion &conexion, const QString &nombre)
{
    if (nombre.trimmed().isEmpty())
        throw RuntimeError(QStringLiteral("No se indicó el formato de impresión (revise el parámetro "
                                          "FTO_IMP_NOTA_CREDITO_PROVEEDOR)"));
    auto rs = conexion.query(QStringLiteral("SELECT Fi_Plantilla FROM Formato_Impresion WHERE Fi_Nombre = ?"),
                             {nombre});
    if (rs->eof())
        throw RuntimeError(QStringLiteral("No existe el formato de impresión \"%1\"").arg(nombre));
    const QString plantilla = rs->field(QStringLiteral("Fi_Plantilla")).toString();
    rs->close();
    return plantilla;
}

QString nombreArchivoNota(const QString &folio)
{
    QString limpio;
    for (const QChar c : folio)
        limpio += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' || c == u'_' ? c : QChar(u'_');
    return QStringLiteral("NC_%1.pdf").arg(limpio);
}

QString imprimirNota(db::Conexion &conexion, const QString &formato, const QString &folio, const QString &carpeta)
{
    const QString plantilla = plantillaFormato(conexion, formato);
    const DatosImpresion datos = datosNota(conexion, folio);
    const QString html = llenarPlantilla(plantilla, datos);
    const QString archivo =
        QDir(carpeta.isEmpty() ? QDir::currentPath() : carpeta).absoluteFilePath(nombreArchivoNota(folio));
    escribirPdf(html, archivo, QStringLiteral("Nota de crédito %1").arg(folio),
                datos.campos.value(QStringLiteral("Cancelada")));
    return archivo;
}

} // namespace qmx44::business::print
