#pragma once
// The additional fields every note of a volume rebate carries: the definitions of the
// notes' table, as the screen's toolbar reads them, for the window to ask their values
// once for all the notes (VolumeRebate::save checks and stores them).
#include "platform/controls/additional_fields.h"

namespace qmx44::services {
class Session;
}

namespace qmx44::rebate {

// The definitions, no values. Database failures throw RuntimeError.
controls::AdditionalFields noteAdditionalFields(services::Session &session);

} // namespace qmx44::rebate
