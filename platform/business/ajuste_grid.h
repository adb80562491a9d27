#pragma once
// AjusteGrid: fits a data grid's shown columns to the grid's width, keeping the
// proportions of their design widths. The main form calls it after every resize.
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace qmx44::controls {
class Grid;
}

namespace qmx44::business {

class AjusteGrid {
public:
    // Room kept free beside the columns for the grid's borders and vertical scroll bar.
    static constexpr int kMargin = 300; // twips (20 pixels)

    // Mode "1": the shown columns share the grid's width less kMargin in proportion to
    // their design widths (the widths they had the first time this grid was fitted), so
    // repeated resizes never drift. Other modes, a grid without shown columns or one too
    // narrow to hold anything leave the widths as they are. Hidden columns are untouched,
    // and so are the columns the user sized (ColumnDef::userSized): the others share the
    // width those leave.
    void Ajustar(controls::Grid &grid, const QString &mode);

    // `disenos` scaled to add up to exactly `disponible` (largest remainders get the
    // leftover twips, leftmost first on ties). Empty when nothing can be fitted.
    static std::vector<int> proportionalWidths(const std::vector<int> &designWidths, int available);

private:
    struct DesignedWidths {
        QStringList columns;     // the grid's column names when the widths were taken
        std::vector<int> widths; // design width of every column
    };
    QHash<const controls::Grid *, DesignedWidths> m_designed;
};

} // namespace qmx44::business
