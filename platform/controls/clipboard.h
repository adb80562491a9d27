#pragma once
// The clipboard that the fields and the grid copy to and paste from. Without a desktop the
// text is kept here, in the process (the scenario runner, tests); the desktop application
// connects the system clipboard, so that copying between the screen and a spreadsheet works.
// UI thread only.
#include <QString>
#include <functional>

namespace qmx44::controls {

class Clipboard {
public:
    static QString text();
    static void setText(const QString &text);

    // Where the text really lives; both empty (the default) keeps it in the process.
    struct Backend {
        std::function<QString()> read;
        std::function<void(const QString &)> write;
    };
    static void setBackend(Backend backend);
};

} // namespace qmx44::controls
