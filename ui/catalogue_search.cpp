// Placeholder until the views land.
#include "ui/catalogue_search.h"

namespace qmx44::ui {
bool searchCatalogue(controls::TextField &, QWidget *)
{
    return false;
}
} // namespace qmx44::ui
