#pragma once
// Utilerias: the utility services the screen calls — working date, operating periods,
// folio normalisation, exchange rates, clearing and enabling a form's field groups,
// synthesised keystrokes and the transaction text.
#include "platform/services/session.h"

#include <QDate>
#include <QString>
#include <memory>

namespace qmx44::controls {
class Form;
}

namespace qmx44::services {

// The rate Utilerias::TipoCambio gives, read through `connection` (a writer's own, inside
// its transaction) and without the session's fault plan.
double exchangeRate(db::Conexion &connection, const QString &currency, const QDate &date);

class Utilerias {
public:
    explicit Utilerias(std::shared_ptr<Session> session);

    // Today, or the date the host fixed for the session.
    QDate FechaActual();

    // Whether `fecha` lies in an open operating period of `modulo` (a Periodo_Operativo
    // row of the module covering it, both ends included, with Po_Abierto = 1). `ambito`
    // is accepted for compatibility and does not change the answer.
    bool ValidarPeriodo(const QDate &date, const QString &module, int scope = 0);

    // The folio in the form documents are keyed by (see normaliseFolio in folio_format.h). The
    // width is the Fc_Ancho of `documento` in Folio_Contador when a document is named and
    // counted there, else 10.
    QString FormatearFolio(const QString &folio, const QString &document = {});

    // The exchange rate of `moneda` on `fecha`: exactly 1 for the local currency
    // (parameter FIN_MONEDA_LOCAL); otherwise the latest Tipo_Cambio rate dated on or
    // before `fecha`; 0 when none is known (also for an empty key or an invalid date).
    double TipoCambio(const QString &currency, const QDate &date);

    // Empties the data fields of mode group `modo` (1 or 2; see mode_groups.h): text fields lose
    // their text, numeric fields become 0. Fields tagged "0" and fields the form does not
    // have are left alone. Any other mode is refused.
    void LimpiarControles(controls::Form &form, int mode);
    // Makes the data fields of mode group `modo` editable: enabled, and unlocked where the
    // group says the user types into them. Same exclusions as LimpiarControles.
    void HabilitarControles(controls::Form &form, int mode);

    // The screen's transaction text: `aplicacion` + ":" + `texto` ("Orvalis:CO003").
    QString Transaccion(const QString &text, const QString &application);

    // Delivers keystrokes to the active form (the open modal dialog, else the main form):
    // a tab character or "{TAB}" moves the focus to the next field, "+{TAB}" to the
    // previous one, "\r" or "{ENTER}" is Enter, any other character is typed. Returns
    // false when no form is active. `esperar` is accepted for compatibility: delivery is
    // always immediate.
    bool EnviarTeclas(const QString &keys, bool wait = false);

    Session &session() { return *m_session; }

private:
    std::shared_ptr<Session> m_session;
};

} // namespace qmx44::services
