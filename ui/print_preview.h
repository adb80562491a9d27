#pragma once
// The preview of a printed note, with printing and saving as PDF.
class QWidget;

namespace qmx44::business {
struct PrintedDocument;
}

namespace qmx44::ui {

void previewPrinted(const business::PrintedDocument &document, QWidget *parent);

} // namespace qmx44::ui
