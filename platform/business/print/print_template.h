#pragma once
// The print formats' template language: an HTML text with {{Name}} placeholders and
// {{#Name}}...{{/Name}} / {{^Name}}...{{/Name}} sections, filled from a document's values.
#include <QHash>
#include <QList>
#include <QString>

namespace qmx44::business::print {

using FieldValues = QHash<QString, QString>;

// What a document gives its print format: single values and repeated groups (the lines).
struct PrintData {
    FieldValues fields;
    QHash<QString, QList<FieldValues>> lists;
};

// Fills `plantilla`:
//  - {{Name}}: the value, HTML-escaped (line breaks become <br/>); inside a repeated
//    section the item's own values come first. An unknown name gives the empty text.
//  - {{#Name}}...{{/Name}}: a list is repeated once per item; any other name shows its
//    content once when the value is not empty.
//  - {{^Name}}...{{/Name}}: its content when the value is empty (or the list has no items).
// A section without its end tag runs to the end of the template; stray end tags vanish.
QString fillTemplate(const QString &templateText, const PrintData &data);

// Amounts as printed: thousands separated by commas, `decimales` decimals, half away
// from zero ("1,234.50", "-0.25").
QString formatAmount(double value, int decimals = 2);

// Quantities and rates: up to `decimales` decimals, trailing zeros dropped ("3", "2.5",
// "16.9875").
QString formatQuantity(double value, int decimals = 4);

} // namespace qmx44::business::print
