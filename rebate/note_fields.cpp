#include "rebate/note_fields.h"

#include "platform/business/additional_field_store.h"
#include "platform/services/session.h"

namespace qmx44::rebate {

controls::AdditionalFields noteAdditionalFields(services::Session &session)
{
    business::DbAdditionalFieldStore store(session.connection());
    controls::AdditionalFields fields;
    // The table the screen's toolbar keeps the notes' additional fields under.
    fields.loadDefinitions(store, QStringLiteral("Nota_Credito_Proveedor"));
    return fields;
}

} // namespace qmx44::rebate
