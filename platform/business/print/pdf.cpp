#include "platform/business/print/pdf.h"

#include "platform/core/error.h"
#include "platform/db/connection.h"
#include "platform/services/parameters.h"

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
constexpr qreal kDesignDpi = 96.0;
constexpr int kPdfResolution = 300;

void drawWatermark(QPainter &painter, const QRectF &page, const QString &watermark)
{
    painter.save();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(page.width() / 7));
    painter.setFont(font);
    painter.setPen(QColor(200, 0, 0, 90));
    painter.translate(page.center());
    painter.rotate(-40);
    const QRectF box(-page.width(), -page.height() / 4, 2 * page.width(), page.height() / 2);
    painter.drawText(box, Qt::AlignCenter, watermark);
    painter.restore();
}

} // namespace

void drawPages(const QString &html, QPagedPaintDevice &device, const QString &watermark, ProgressSink *progress)
{
    QImage reference(1, 1, QImage::Format_RGB32);
    reference.setDotsPerMeterX(qRound(kDesignDpi / 0.0254));
    reference.setDotsPerMeterY(qRound(kDesignDpi / 0.0254));
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&reference);
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    document.setHtml(html);

    const qreal scaleFactor = device.logicalDpiX() / kDesignDpi;
    const QSizeF page(device.width() / scaleFactor, device.height() / scaleFactor);
    document.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError(QStringLiteral("No se pudo dibujar el documento"));
    const int pages = document.pageCount(); // lays the document out
    ProgressReport report(progress, QStringLiteral("Imprimiendo…"), pages);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.scale(scaleFactor, scaleFactor);
        painter.translate(0, -i * page.height());
        const QRectF visible(QPointF(0, i * page.height()), page);
        document.drawContents(&painter, visible);
        painter.restore();
        if (!watermark.isEmpty())
            drawWatermark(painter, QRectF(0, 0, device.width(), device.height()), watermark);
        report.advance(i + 1);
    }
    painter.end();
}

void writePdf(const QString &html, const QString &file, const QString &title, const QString &watermark,
              ProgressSink *progress)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw RuntimeError(QStringLiteral("No se puede escribir %1: el programa no inició la parte gráfica "
                                          "(QGuiApplication) que dibuja los documentos")
                               .arg(file));
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        throw RuntimeError(QStringLiteral("No se pudo crear la carpeta %1").arg(info.absolutePath()));

    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        throw RuntimeError(QStringLiteral("No se pudo escribir %1: %2").arg(file, output.errorString()));
    {
        QPdfWriter pdf(&output);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setResolution(kPdfResolution);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("qmx44"));

        drawPages(html, pdf, watermark, progress);
    }
    if (!output.commit())
        throw RuntimeError(QStringLiteral("No se pudo escribir %1: %2").arg(file, output.errorString()));
}

QString companyHeaderHtml(db::Conexion &connection)
{
    const auto text = [&](const char *name) {
        const auto p = services::readParameter(connection, QString::fromLatin1(name));
        return (p && !p->value.isNull() ? p->value.toString() : QString()).toHtmlEscaped();
    };
    return QStringLiteral("<p style=\"font-size: 12pt\"><b>%1</b><br/>RFC %2<br/>%3</p>")
        .arg(text("GEN_EMPRESA_NOMBRE"), text("GEN_EMPRESA_RFC"), text("GEN_EMPRESA_DIRECCION"));
}

} // namespace qmx44::business::print
