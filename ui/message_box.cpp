// Placeholder until the views land.
#include "ui/message_box.h"

namespace qmx44::ui {
int MessageBoxSink::show(const Message &)
{
    return 1;
}
} // namespace qmx44::ui
