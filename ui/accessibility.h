#pragma once
// What assistive technology and the clerk's pointer learn of a form's widgets: each
// control's accessible name (its label's caption, else its own caption, else its hint),
// its accessible description and tool tip (the hint), and each label made the buddy of
// its field's widget with its mnemonic letter underlined. Alt+letter itself is the form's
// (Form::keyStroke): the labels grab no shortcut of their own.
#include <QString>
#include <functional>

class QWidget;

namespace qmx44::controls {
class Control;
class Form;
class Label;
} // namespace qmx44::controls

namespace qmx44::ui {

// The caption of `label` as rich text, its mnemonic letter underlined.
QString labelText(const controls::Label &label);

// Names and describes the widget of every control of `form`; `widgetOf` gives the widget
// that takes the keyboard focus for a control (null for none).
void describeControls(const controls::Form &form, const std::function<QWidget *(const controls::Control &)> &widgetOf);

} // namespace qmx44::ui
