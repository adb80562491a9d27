#pragma once
// Connects the models' clipboard to the desktop's, so that what a clerk copies from a
// field or the grid can be pasted in a spreadsheet and back. Needs a QGuiApplication.
namespace qmx44::ui {

void useSystemClipboard();

} // namespace qmx44::ui
