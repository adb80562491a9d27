#include "platform/business/print/pdf.h"

#include "platform/core/error.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace qmx44::business::print {

namespace {

// The HTML's sizes (pixels, points) are laid out at 96 units an inch, as on a screen,
// whatever screen the program runs on; the painter scales them to the PDF's resolution.
constexpr qreal kDpiDiseno = 96.0;
constexpr int kResolucionPdf = 300;

void dibujarMarca(QPainter &painter, const QRectF &pagina, const QString &marca)
{
    painter.save();
    QFont fuente(QStringLiteral("DejaVu Sans"));
    fuente.setBold(true);
    fuente.setPixelSize(int(pagina.width() / 7));
    painter.setFont(fuente);
    painter.setPen(QColor(200, 0, 0, 90));
    painter.translate(pagina.center());
    painter.rotate(-40);
    const QRectF caja(-pagina.width(), -pagina.height() / 4, 2 * pagina.width(), pagina.height() / 2);
    painter.drawText(caja, Qt::AlignCenter, marca);
    painter.restore();
}

} // namespace

void escribirPdf(const QString &html, const QString &archivo, const QString &titulo, const QString &marca)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw RuntimeError(QStringLiteral("No se puede escribir %1: el programa no inició la parte gráfica "
                                          "(QGuiApplication) que dibuja los documentos")
                               .arg(archivo));
    const QFileInfo info(archivo);
    if (!QDir().mkpath(info.absolutePath()))
        throw RuntimeError(QStringLiteral("No se pudo crear la carpeta %1").arg(info.absolutePath()));

    QSaveFile salida(archivo);
    if (!salida.open(QIODevice::WriteOnly))
        throw RuntimeError(QStringLiteral("No se pudo escribir %1: %2").arg(archivo, salida.errorString()));
    {
        QPdfWriter pdf(&salida);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setResolution(kResolucionPdf);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("qmx44"));

        QImage referencia(1, 1, QImage::Format_RGB32);
        referencia.setDotsPerMeterX(qRound(kDpiDiseno / 0.0254));
        referencia.setDotsPerMeterY(qRound(kDpiDiseno / 0.0254));
        QTextDocument documento;
        documento.documentLayout()->setPaintDevice(&referencia);
        documento.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        documento.setHtml(html);

        const qreal escala = pdf.resolution() / kDpiDiseno;
        const QSizeF pagina(pdf.width() / escala, pdf.height() / escala);
        documento.setPageSize(pagina);

        QPainter painter;
        if (!painter.begin(&pdf))
            throw RuntimeError(QStringLiteral("No se pudo escribir %1").arg(archivo));
        const int paginas = documento.pageCount();
        for (int i = 0; i < paginas; ++i) {
            if (i > 0)
                pdf.newPage();
            painter.save();
            painter.scale(escala, escala);
            painter.translate(0, -i * pagina.height());
            const QRectF visible(QPointF(0, i * pagina.height()), pagina);
            documento.drawContents(&painter, visible);
            painter.restore();
            if (!marca.isEmpty())
                dibujarMarca(painter, QRectF(0, 0, pdf.width(), pdf.height()), marca);
        }
        painter.end();
    }
    if (!salida.commit())
        throw RuntimeError(QStringLiteral("No se pudo escribir %1: %2").arg(archivo, salida.errorString()));
}

} // namespace qmx44::business::print
