#include "platform/services/grupos.h"

#include "platform/controls/form.h"
#include "platform/core/error.h"

namespace qmx44::services {

std::vector<controls::TextField *> camposDeGrupo(controls::Form &form, int modo)
{
    if (modo != 1 && modo != 2)
        throw RuntimeError(QStringLiteral("Modo de controles no válido: %1").arg(modo));
    std::vector<controls::TextField *> campos;
    for (const auto &control : form.controls()) {
        auto *campo = dynamic_cast<controls::TextField *>(control.get());
        if (campo && campo->modeGroup() == modo)
            campos.push_back(campo);
    }
    return campos;
}

namespace {

// A field preset from the user's context (tag "0") is left alone. Asked as each field's
// turn comes, after the events of the fields before it.
bool preset(const controls::TextField &campo)
{
    return campo.tag() == QLatin1String("0");
}

} // namespace

void limpiarGrupo(controls::Form &form, int modo)
{
    for (controls::TextField *campo : camposDeGrupo(form, modo))
        if (!preset(*campo))
            campo->clear();
}

void habilitarGrupo(controls::Form &form, int modo)
{
    for (controls::TextField *campo : camposDeGrupo(form, modo)) {
        if (preset(*campo))
            continue;
        campo->setEnabled(true);
        if (campo->unlockedByMode())
            campo->setLocked(false);
    }
}

} // namespace qmx44::services
