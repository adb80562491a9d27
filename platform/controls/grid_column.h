#pragma once
// The design of one data-grid column: the row format that forms declare as data.
#include "platform/controls/text_field.h" // Alignment

#include <QString>

namespace qmx44::controls {

enum class ColumnType { Text, Number, Date };

struct ColumnDef {
    QString name;    // the key the code uses (looked up ignoring case)
    QString caption; // header text
    ColumnType type = ColumnType::Text;
    QString format;   // picture for numbers; empty = unformatted
    int length = 256; // maximum characters typed into a cell
    Alignment alignment = Alignment::Left;
    bool shown = true;
    bool editable = false;  // locked columns refuse typing
    int width = 3200;       // twips
    bool tabStop = true;    // false: Tab and Enter pass over the column (it can still be clicked)
    bool userSized = false; // the user set its width: fitting the columns keeps it
};

} // namespace qmx44::controls
