// The printed note's preview: its pages drawn on a printer device by the same code that
// wrote the PDF, printed through the print dialog or saved by copying the PDF.
#include "ui/print_preview.h"

#include "platform/business/activity_log.h"
#include "platform/business/print/pdf.h"
#include "platform/core/error.h"
#include "ui/progress_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace qmx44::ui {

namespace {

class PrintPreview : public QDialog {
public:
    PrintPreview(const business::PrintedDocument &document, QWidget *parent)
        : QDialog(parent), m_document(document), m_printer(QPrinter::HighResolution)
    {
        setObjectName(QStringLiteral("VistaPrevia"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(document.title.isEmpty() ? QFileInfo(document.file).fileName() : document.title);
        // The note's page: letter with 15 mm margins, as its PDF.
        m_printer.setPageSize(QPageSize(QPageSize::Letter));
        m_printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        m_printer.setDocName(windowTitle());

        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *bar = new QToolBar(this);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        layout->addWidget(bar);
        m_preview = new QPrintPreviewWidget(&m_printer, this);
        layout->addWidget(m_preview);
        connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &PrintPreview::draw);

        QAction *print = bar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), tr("Imprimir…"));
        print->setShortcut(QKeySequence::Print);
        print->setEnabled(!document.html.isEmpty());
        connect(print, &QAction::triggered, this, &PrintPreview::print);
        QAction *save = bar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), tr("Guardar como PDF…"));
        save->setShortcut(QKeySequence::Save);
        save->setEnabled(QFileInfo::exists(document.file));
        connect(save, &QAction::triggered, this, &PrintPreview::saveAs);
        bar->addSeparator();
        bar->addAction(tr("Ajustar al ancho"), m_preview, &QPrintPreviewWidget::fitToWidth);
        bar->addAction(tr("Página completa"), m_preview, &QPrintPreviewWidget::fitInView);
        bar->addAction(tr("Acercar"), m_preview, [this] { m_preview->zoomIn(); });
        bar->addAction(tr("Alejar"), m_preview, [this] { m_preview->zoomOut(); });
        bar->addSeparator();
        QAction *close = bar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), tr("Cerrar"));
        connect(close, &QAction::triggered, this, &QDialog::close);
        resize(820, 900);
    }

private:
    void draw(QPrinter *printer)
    {
        try {
            business::print::drawPages(m_document.html, *printer, m_document.watermark, m_progress);
        } catch (const RuntimeError &e) {
            m_failure = QString::fromUtf8(e.what());
        }
    }

    void print()
    {
        QPrintDialog dialog(&m_printer, this);
        dialog.setWindowTitle(tr("Imprimir %1").arg(windowTitle()));
        if (dialog.exec() != QDialog::Accepted)
            return;
        m_failure.clear();
        // The pages sent to the printer show their progress; the preview's own drawing
        // does not.
        ProgressDialogSink progress(this);
        m_progress = &progress;
        m_preview->print();
        m_progress = nullptr;
        if (!m_failure.isEmpty())
            QMessageBox::warning(this, tr("Imprimir"), m_failure);
    }

    void saveAs()
    {
        const QString target = QFileDialog::getSaveFileName(this, tr("Guardar como PDF"),
                                                            QFileInfo(m_document.file).fileName(), tr("PDF (*.pdf)"));
        if (target.isEmpty() || QFileInfo(target).absoluteFilePath() == QFileInfo(m_document.file).absoluteFilePath())
            return;
        // QFile::copy does not overwrite: the file dialog already asked about replacing it.
        if (QFile::exists(target) && !QFile::remove(target)) {
            QMessageBox::warning(this, tr("Guardar como PDF"), tr("No se pudo reemplazar %1").arg(target));
            return;
        }
        if (!QFile::copy(m_document.file, target))
            QMessageBox::warning(this, tr("Guardar como PDF"), tr("No se pudo guardar %1").arg(target));
    }

    business::PrintedDocument m_document;
    QPrinter m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QString m_failure;
    ProgressSink *m_progress = nullptr; // while printing
};

// Where the platform activates a window shown without activation all the same, hands the
// activation straight back to the window that had it; the clerk's own click into the
// preview, later, is not undone.
class ActivationReturner : public QObject {
public:
    ActivationReturner(QWidget *preview, QWidget *previous) : QObject(preview), m_previous(previous)
    {
        preview->installEventFilter(this);
        QTimer::singleShot(ShowingMs, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            if (m_previous && m_previous->isVisible())
                m_previous->activateWindow();
            deleteLater();
        }
        return false;
    }

private:
    static constexpr int ShowingMs = 500; // how long showing the window may take
    QPointer<QWidget> m_previous;
};

} // namespace

QDialog *createPrintPreview(const business::PrintedDocument &document, QWidget *parent)
{
    return new PrintPreview(document, parent);
}

void previewPrinted(const business::PrintedDocument &document, QWidget *parent)
{
    // The preview comes up beside the screen without taking the keyboard from it: after a
    // save the clerk goes on typing in the field the screen focused (the folio); the
    // preview is there to look at, click into or close.
    QDialog *preview = createPrintPreview(document, parent);
    preview->setAttribute(Qt::WA_ShowWithoutActivating);
    new ActivationReturner(preview, QApplication::activeWindow());
    preview->show();
    preview->raise();
}

} // namespace qmx44::ui
