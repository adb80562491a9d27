// The proration dialog: its model made from its design, the key preview (Escape
// cancels, F4 accepts, from any control), Down on an option moving on, the two checks
// on the amount and the proration with its messages.
#include "bonus/frm_prorrateo.h"

#include "bonus/bonus_editing.h"
#include "bonus/proration_design.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

namespace qmx44::bonus {

namespace {

const QString TitleAttention = QStringLiteral("Atención");

// The amount fields show four decimals: a typed amount that exceeds the purchase amount
// by less than half of the last one shown only differs from it by the binary noise of
// the purchase's sum (100.10 + 200.20 is 300.29999999999995), and is not above it.
constexpr double AmountMargin = 0.00005;

ProrationTarget targetOf(screen::FrmQMX44 &opener)
{
    return ProrationTarget{opener.form(),        opener.ssDetalle(), Totals::from(opener.form()), opener.BaseSubTotal,
                           opener.BaseImpuestos, opener.Sistema(),   opener.Utilerias()};
}

} // namespace

FrmProrrateo::FrmProrrateo(screen::FrmQMX44 &opener) : FrmProrrateo(targetOf(opener)) {}

FrmProrrateo::FrmProrrateo(const ProrationTarget &target) : m_target(target)
{
    screen::buildForm(m_form, prorationDesign());
    m_amount = &m_form.get<controls::TextField>(QStringLiteral("txtImporte"));
    const char *options[] = {"Option1", "Option2", "Option3"};
    for (int i = 0; i < 3; ++i) {
        const QString name = QString::fromLatin1(options[i]);
        m_options[i] = &m_form.get<controls::OptionButton>(name);
        m_options[i]->KeyDown.connect(name + QStringLiteral("_KeyDown()"),
                                      [this](int &key, int &shift) { Option_KeyDown(key, shift); });
    }
    m_form.get<controls::Button>(QStringLiteral("cmdAceptar"))
        .Click.connect(QStringLiteral("cmdAceptar_Click()"), [this] { cmdAceptar_Click(); });
    m_form.get<controls::Button>(QStringLiteral("cmdCancelar"))
        .Click.connect(QStringLiteral("cmdCancelar_Click()"), [this] { cmdCancelar_Click(); });
    m_form.Load.connect([this] { Form_Load(); });
    m_form.Activate.connect([this] { Form_Activate(); });
    m_form.KeyUp.connect([this](int &key, int &shift) { Form_KeyUp(key, shift); });
    m_form.load();
}

void FrmProrrateo::showDialog()
{
    m_target.owner.showModal(m_form);
}

void FrmProrrateo::unload()
{
    m_form.unload();
}

// ---- events ---------------------------------------------------------------------------------

void FrmProrrateo::Form_Load()
{
    m_form.get<controls::ColorScheme>(QStringLiteral("EsquemaColor")).apply();
}

void FrmProrrateo::Form_Activate()
{
    focusAmount();
}

void FrmProrrateo::Form_KeyUp(int &keyCode, int &)
{
    // The form sees every key release before its controls: Escape and F4 work from any
    // control of the dialog.
    if (keyCode == controls::keys::Escape) {
        keyCode = 0;
        cmdCancelar_Click();
    } else if (keyCode == controls::keys::F4) {
        keyCode = 0;
        cmdAceptar_Click();
    }
}

void FrmProrrateo::Option_KeyDown(int &keyCode, int &)
{
    // Down on an option moves on as Tab does; the key itself is left as it is.
    if (keyCode == controls::keys::Down)
        m_target.utilerias.EnviarTeclas(QStringLiteral("\t"), false);
}

void FrmProrrateo::cmdCancelar_Click()
{
    m_form.hide();
}

void FrmProrrateo::cmdAceptar_Click()
{
    const double amount = amountOf(m_amount->value());
    // A negative amount would take bonuses away from every row: it is as incorrect as 0.
    if (amount <= 0) {
        screen::showMessage(m_target.sistema, m_form, QStringLiteral("El importe especificad es incorrecto"),
                            MessageStyle::Warning, TitleAttention, QStringLiteral("ERR-ID:7500024"));
        focusAmount();
        return;
    }
    if (amount - ImporteFactura > AmountMargin) {
        screen::showMessage(m_target.sistema, m_form,
                            QStringLiteral("El importe especificado es mayor al importe de la factura"),
                            MessageStyle::Warning, TitleAttention, QStringLiteral("ERR-ID:7500025"));
        focusAmount();
        return;
    }
    if (Prorratear() == ProrationResult::BasisWithoutTotal) {
        // Another basis may carry the amount: the dialog stays open on the chosen one.
        for (controls::OptionButton *o : m_options)
            if (o->selected())
                o->setFocus();
        return;
    }
    // Done, or stopped at the unit check: either way the dialog closes.
    m_form.hide();
}

// ---- proration ----------------------------------------------------------------------------------

ProrationBasis FrmProrrateo::chosenBasis() const
{
    if (m_options[0]->selected())
        return ProrationBasis::ControlQuantity1;
    if (m_options[1]->selected())
        return ProrationBasis::ControlQuantity2;
    if (m_options[2]->selected())
        return ProrationBasis::Importe;
    return ProrationBasis::ControlQuantity1; // one option is always selected; the first by default
}

ProrationResult FrmProrrateo::Prorratear()
{
    const ProrationResult r = prorate(m_target.grid, m_target.totals, chosenBasis(), amountOf(m_amount->value()));
    // The walk moved the grid without the user entering a cell, and may have replaced the
    // totals: the next key typed there must add to that row's bases.
    retakeBase(m_target.grid, m_target.totals, m_target.baseSubTotal, m_target.baseImpuestos);
    if (r == ProrationResult::UnitMismatch)
        screen::showMessage(m_target.sistema, m_form, QStringLiteral("La unidad debe ser igual en todos los registros"),
                            MessageStyle::Error, QStringLiteral("Unidad incorrecta"), QStringLiteral("ERR-ID:7500026"));
    else if (r == ProrationResult::BasisWithoutTotal)
        screen::showMessage(m_target.sistema, m_form,
                            QStringLiteral("No se puede prorratear el importe con la base elegida: su suma en los "
                                           "registros no es mayor a cero"),
                            MessageStyle::Warning, TitleAttention, QString::fromUtf16(BasisWithoutTotalId));
    return r;
}

// ---- helpers ------------------------------------------------------------------------------------

void FrmProrrateo::focusAmount()
{
    if (m_amount->enabled())
        m_amount->setFocus();
}

} // namespace qmx44::bonus
