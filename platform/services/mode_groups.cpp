#include "platform/services/mode_groups.h"

#include "platform/controls/form.h"
#include "platform/core/error.h"

namespace qmx44::services {

std::vector<controls::TextField *> groupFields(controls::Form &form, int mode)
{
    if (mode != 1 && mode != 2)
        throw RuntimeError(QStringLiteral("Modo de controles no válido: %1").arg(mode));
    std::vector<controls::TextField *> fields;
    for (const auto &control : form.controls()) {
        auto *field = dynamic_cast<controls::TextField *>(control.get());
        if (field && field->modeGroup() == mode)
            fields.push_back(field);
    }
    return fields;
}

namespace {

// A field preset from the user's context (tag "0") is left alone. Asked as each field's
// turn comes, after the events of the fields before it.
bool preset(const controls::TextField &field)
{
    return field.tag() == QLatin1String("0");
}

} // namespace

void clearGroup(controls::Form &form, int mode)
{
    for (controls::TextField *field : groupFields(form, mode))
        if (!preset(*field))
            field->clear();
}

void enableGroup(controls::Form &form, int mode)
{
    for (controls::TextField *field : groupFields(form, mode)) {
        if (preset(*field))
            continue;
        field->setEnabled(true);
        if (field->unlockedByMode())
            field->setLocked(false);
    }
}

} // namespace qmx44::services
