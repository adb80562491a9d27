// Placeholder until the views land.
#include "ui/key_map.h"

#include <QKeyEvent>

namespace qmx44::ui {
int virtualKey(const QKeyEvent &)
{
    return 0;
}
int shiftState(Qt::KeyboardModifiers)
{
    return 0;
}
char16_t typedCharacter(const QKeyEvent &)
{
    return 0;
}
} // namespace qmx44::ui
