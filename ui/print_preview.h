#pragma once
// The preview of a printed note, with printing and saving as PDF.
class QDialog;
class QWidget;

namespace qmx44::business {
struct PrintedDocument;
}

namespace qmx44::ui {

// Opens the preview (modeless, deleted when closed) and returns at once; the window that
// was active keeps the keyboard.
void previewPrinted(const business::PrintedDocument &document, QWidget *parent);
// The preview window, not yet shown: the pages drawn again from the document's page
// (the same drawing that wrote its PDF), "Imprimir…" through the print dialog and
// "Guardar como PDF…" copying the written file.
QDialog *createPrintPreview(const business::PrintedDocument &document, QWidget *parent);

} // namespace qmx44::ui
