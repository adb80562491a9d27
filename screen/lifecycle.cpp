// The main form's lifecycle: load, first activation, the page shortcuts, the tab-page
// change and the tab strip's Enter, and unload. None of these handlers traps errors: a
// failure ends the handler where it happened and reaches whoever raised the event.
#include "platform/business/additional_field_store.h"
#include "platform/business/ajuste_grid.h"
#include "platform/business/direccion_entrega.h"
#include "platform/controls/keys.h"
#include "platform/core/flag.h"
#include "screen/cause_lookup.h"
#include "screen/draft_journal.h"
#include "screen/draft_store.h"
#include "screen/form_design.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

namespace qmx44::screen {

namespace {

const QString NotAvailable = QStringLiteral("No disponible");

} // namespace

void FrmQMX44::Form_Load()
{
    ++m_loadCount;
    // The host's wiring comes first: the lookups and messages of everything below use it.
    services::Session &session = *context().session;
    m_form.setConnection(session.hasConnection() ? &session.connection() : nullptr);
    Controles().setAdditionalFieldStore(
        session.hasConnection() ? std::make_shared<business::DbAdditionalFieldStore>(session.connection()) : nullptr);
    m_form.setMessageSink(session.messageSink());
    m_form.setPresenter(context().presenter.get());

    // 1. Colours.
    m_form.get<controls::ColorScheme>(fields::EsquemaColor).apply();

    // 2. The two long-lived business objects.
    AjusteGrid = std::make_unique<business::AjusteGrid>();
    DireccionEntrega = std::make_unique<business::DireccionEntrega>(context().session);

    // 3. Key formats, unconverted.
    textField(fields::txt_Sc_Cve_Sucursal).setFormat(Sistema().Parametro(QStringLiteral("FTO_SUCURSAL")));
    textField(fields::txt_Al_Cve_Almacen).setFormat(Sistema().Parametro(QStringLiteral("FTO_ALMACEN")));
    textField(fields::txt_Pv_Cve_Proveedor).setFormat(Sistema().Parametro(QStringLiteral("FTO_PROVEEDOR")));
    textField(fields::txt_Cm_Cve_Comprador).setFormat(Sistema().Parametro(QStringLiteral("FTO_COMPRADOR")));
    textField(fields::txt_Cn_Cve_Causa_Nota).setFormat(Sistema().Parametro(QStringLiteral("FTO_CAUSA_NCP")));

    // 4. Causes, local currency, whether a saved note is applied.
    CausaDevolucion = Sistema().Parametro(QStringLiteral("CXP_CAUSA_DEVOLUCION")).toString();
    CausaRechazo = Sistema().Parametro(QStringLiteral("CXC_CAUSA_RECHAZO")).toString();
    MonedaLocal = Sistema().Parametro(QStringLiteral("FIN_MONEDA_LOCAL")).toString();
    AplicarNotaCredito = flagFromValue(
        Sistema().Parametro(QStringLiteral("CXP_APLICAR_NOTA_CREDITO"), 0, QStringLiteral("B"), QStringLiteral("0")));

    // 5. The return and rejection causes, and retired ones, are no cause of a bonus.
    controls::TextField &cause = textField(fields::txt_Cn_Cve_Causa_Nota);
    cause.setSql(causeLookupStatement(CausaDevolucion, CausaRechazo));
    cause.setSqlControlResultado(fields::txt_Cn_Descripcion);

    // 6.-9.
    dpFecha().setValue(Utilerias().FechaActual());
    Controles().setNewEnabled(true);
    PrimeraActivacion = true;
    ssTabFichas().setActivePage(0);

    // 10. Rights.
    PuedeCambiarFecha = Sistema().Permiso(ModuleTag, QStringLiteral("CHFECHA"), NotAvailable);
    DerechoTipoCambio = Sistema().Permiso(ModuleTag, QStringLiteral("CHTC01"), NotAvailable);

    // The drafts of notes being entered, where the host keeps them.
    if (!context().draftDatabase.isEmpty())
        m_journal = std::make_unique<DraftJournal>(
            *this, std::make_unique<DraftStore>(session.user(), context().draftDatabase, &context().memoryDrafts));
}

void FrmQMX44::Form_Activate()
{
    // Only the first activation presets the user's context; later ones leave the screen
    // (and its focus) as the user left it.
    if (!PrimeraActivacion)
        return;
    PrimeraActivacion = false;
    textField(fields::txt_Sc_Cve_Sucursal).setText(Sistema().Sucursal());
    textField(fields::txt_Al_Cve_Almacen).setText(Sistema().Almacen());
    // Tag "0": the clearing and enabling services leave a preset key alone.
    if (!Sistema().Sucursal().isEmpty())
        textField(fields::txt_Sc_Cve_Sucursal).setTag(QStringLiteral("0"));
    if (!Sistema().Almacen().isEmpty())
        textField(fields::txt_Al_Cve_Almacen).setTag(QStringLiteral("0"));
    // The searches offer only the notes and purchases the folio fields would take in.
    registerCatalogues(form(), Sistema().Sucursal(), Sistema().Almacen());
    if (txtFolio().enabled())
        txtFolio().setFocus();
    // A note left unsaved is offered once the host has shown the screen.
    if (m_journal)
        m_journal->offerLater();
}

void FrmQMX44::Form_KeyUp(int &keyCode, int &shift)
{
    // Alt alone with 1 or 2: the page shortcuts, from whichever field has the focus.
    if (shift != controls::keys::AltMask)
        return;
    if (keyCode == controls::keys::Digit0 + 1)
        ssTabFichas().setActivePage(0);
    else if (keyCode == controls::keys::Digit0 + 2)
        ssTabFichas().setActivePage(1);
}

void FrmQMX44::ssTabFichas_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    // Only the visible page's fields may take the focus.
    fr0().setEnabled(false);
    fr1().setEnabled(false);
    const int page = ssTabFichas().activePage();
    if (page == 0)
        fr0().setEnabled(true);
    else if (page == 1)
        fr1().setEnabled(true);
}

void FrmQMX44::ssTabFichas_KeyDown(int &keyCode, int &shift)
{
    Q_UNUSED(shift);
    if (keyCode == controls::keys::Enter)
        Utilerias().EnviarTeclas(QStringLiteral("\t"), false);
}

void FrmQMX44::Form_Unload()
{
    // The draft stays for the next opening; the journal (and its lock) goes with the form.
    if (m_journal)
        m_journal->close();
    m_journal.reset();
    AjusteGrid.reset();
    DireccionEntrega.reset();
}

} // namespace qmx44::screen
