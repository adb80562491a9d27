#pragma once
// The two mode groups of LimpiarControles / HabilitarControles: the service's own
// partition of the credit-note form's data fields.
//
// Group 1: what a purchase fills — branch, warehouse, supplier and its details, buyer,
// currency, exchange rate, their descriptions — and the three totals.
// Group 2: the note's own data — cause and its description, reference, comment.
// In neither: the two folio fields and the date, which the screen handles itself.
//
// "Made editable" means enabled, and unlocked for the fields a user types into. The
// header of group 1 always comes from the purchase (the supplier, branch, warehouse,
// buyer and currency of a note are its purchase's), so those keys are enabled but stay
// locked; only the exchange rate is typed there (the screen decides when its field is
// enabled). Descriptions and the totals are derived and stay locked. In group 2 the cause,
// reference and comment are typed; the cause's description stays locked.
#include <QString>
#include <vector>

namespace qmx44::controls {
class Form;
}

namespace qmx44::services {

struct CampoDeGrupo {
    QString nombre;
    bool editable;   // unlocked by HabilitarControles
};

// The fields of mode group 1 or 2; throws RuntimeError for any other mode.
const std::vector<CampoDeGrupo> &grupoDeModo(int modo);

// Empties the group's text fields (numeric ones to 0). Fields tagged "0" (preset from the
// user's context) and names the form does not have, or that are not text fields, are
// left alone.
void limpiarGrupo(controls::Form &form, int modo);
// Enables the group's fields and unlocks the editable ones; same exclusions.
void habilitarGrupo(controls::Form &form, int modo);

} // namespace qmx44::services
