#include "ui/system_clipboard.h"

#include "platform/controls/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace qmx44::ui {

void useSystemClipboard()
{
    controls::Clipboard::setBackend({[] { return QGuiApplication::clipboard()->text(); },
                                     [](const QString &text) { QGuiApplication::clipboard()->setText(text); }});
}

} // namespace qmx44::ui
