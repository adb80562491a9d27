#pragma once
// The catalogue search of a text field (F2 or its small button): the field's catalogue
// listed and filtered as the clerk types; Enter or a double click picks the row.
class QWidget;

namespace qmx44::controls {
class TextField;
}

namespace qmx44::ui {

// Opens the search over `parent`; a pick goes to the field (TextField::pick). True when a
// row was picked.
bool searchCatalogue(controls::TextField &field, QWidget *parent);

} // namespace qmx44::ui
