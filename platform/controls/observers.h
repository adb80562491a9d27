#pragma once
// The view channel: every control model (and the form) tells any number of observers
// what about it changed. Views redraw from it and never poll. It is apart from the
// controls' events, which belong to the screen (one handler each) and keep their own
// meaning and order; an observer must not change the model it is told about.
#include <QtGlobal>
#include <functional>
#include <vector>

namespace qmx44::controls {

// What changed.
enum class Aspect {
    Text,        // text or value (text and date fields, the selected option); a text
                 // field's selection when code or the focus selects all of it
    Enabled,     // enabled, own or through a container
    Visible,     // shown or hidden, own or through a container
    Locked,      // a text field's locked setting
    Focus,       // the control took or lost the focus (the form: which control has it)
    Caption,     // caption or label text (the toolbar: the optional command's caption)
    Geometry,    // position or size (the form: client size)
    Rows,        // the grid's rows were added or removed
    Cell,        // one grid cell (row, column) changed
    CurrentCell, // the grid's current row or column moved
    Columns,     // the grid's columns or their widths
    Commands,    // the toolbar's availability flags or editing state
    Page,        // the tab control's active page
    Shown,       // the form was shown or hidden
    Gone,        // the form is being destroyed: forget it and its controls
};

struct ModelChange {
    Aspect aspect;
    int row = -1;    // Cell, Rows (first row affected), CurrentCell (new row)
    int column = -1; // Cell, CurrentCell (new column)
};

// A list of observers. An observer may add or remove observers (itself included) while
// it is being told; those added are told from the next change on.
class Observers {
public:
    using Observer = std::function<void(const ModelChange &)>;

    // Returns a ticket for remove().
    int add(Observer observer);
    void remove(int ticket);
    void notify(const ModelChange &change) const;
    bool empty() const { return m_observers.empty(); }

private:
    struct Entry {
        int ticket;
        Observer observer;
    };
    std::vector<Entry> m_observers;
    int m_nextTicket = 1;
};

} // namespace qmx44::controls
