#pragma once
// frmProrrateo, the proration dialog opened by the toolbar's optional command. For now
// a dialog model that only closes: its title bar, the Cancelar button and Escape hide it.
#include "platform/controls/controls.h"

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::bonus {

class FrmProrrateo {
public:
    // Creates (loads) the dialog over the main form `opener`.
    explicit FrmProrrateo(screen::FrmQMX44 &opener);
    FrmProrrateo(const FrmProrrateo &) = delete;
    FrmProrrateo &operator=(const FrmProrrateo &) = delete;

    // The amount that may be prorated at most: the opener's purchase amount.
    double ImporteFactura = 0;

    controls::Form &form() { return m_form; }
    // Shows the dialog modally over its opener; returns when it has hidden itself.
    void mostrarModal();
    // What cmdCancelar and Escape do: hide, changing nothing.
    void cancelar();

private:
    screen::FrmQMX44 &m_opener;
    controls::Form m_form{QStringLiteral("frmProrrateo")};
};

} // namespace qmx44::bonus
