#pragma once
// The additional fields of the document being edited: one input per definition of the
// toolbar's table, with its label, required mark and length; OK hands the values to the
// toolbar model, which checks them when the document is saved.
class QWidget;

namespace qmx44::controls {
class AdditionalFields;
class Toolbar;
} // namespace qmx44::controls

namespace qmx44::ui {

// True when the clerk confirmed the values.
bool editAdditionalFields(controls::Toolbar &toolbar, QWidget *parent);
// The same dialog over `fields` (definitions loaded), whose values change only when the
// clerk confirms them (the volume rebate's notes take theirs so).
bool editAdditionalFields(controls::AdditionalFields &fields, QWidget *parent);

} // namespace qmx44::ui
