#pragma once
// frmQMX44, the credit-note screen's main form: its controls (declared as data in
// form_design), the members the screen's handlers share, its lifecycle, the toolbar
// commands of this layer and the layout on resize; to the host, the MainForm contract.
//
// The handlers of the other layers (intake, bonus, document) are connected by their own
// install functions, which the component calls right after creating the form and before
// its load.
#include "platform/controls/controls.h"
#include "platform/host/component_interfaces.h"
#include "platform/host/padre.h"
#include "platform/host/platform_context.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/field_names.h"

#include <QMetaObject>
#include <QObject>
#include <memory>

namespace qmx44::business {
class AjusteGrid;
class ConsultaRegistro;
class DireccionEntrega;
class Impresion;
} // namespace qmx44::business

namespace qmx44::screen {

class DraftJournal;

// What the form uses from outside: the host's context and the component-wide services
// (which outlive the form).
struct FormEnvironment {
    std::shared_ptr<host::PlatformContext> context;
    services::Sistema *sistema = nullptr;
    services::Utilerias *utilerias = nullptr;
};

class FrmQMX44 : public QObject, public host::MainForm {
    Q_OBJECT
    Q_INTERFACES(qmx44::host::MainForm)
    // Read late-bound by name (the scenario runner's dump, the host).
    Q_PROPERTY(QString MonedaLocal READ propMonedaLocal)
    Q_PROPERTY(QString CausaDevolucion READ propCausaDevolucion)
    Q_PROPERTY(QString CausaRechazo READ propCausaRechazo)
    Q_PROPERTY(bool AplicarNotaCredito READ propAplicarNotaCredito)
    Q_PROPERTY(bool PuedeCambiarFecha READ propPuedeCambiarFecha)
    Q_PROPERTY(bool DerechoTipoCambio READ propDerechoTipoCambio)
    Q_PROPERTY(bool PrimeraActivacion READ propPrimeraActivacion)
    Q_PROPERTY(double ImporteCompra READ propImporteCompra)
    Q_PROPERTY(QString IdDireccion READ propIdDireccion)
    Q_PROPERTY(double BaseSubTotal READ propBaseSubTotal)
    Q_PROPERTY(double BaseImpuestos READ propBaseImpuestos)
    Q_PROPERTY(double TotalNota READ propTotalNota)

public:
    explicit FrmQMX44(FormEnvironment environment, QObject *parent = nullptr);
    ~FrmQMX44() override;

    // ---- members shared by the screen's handlers ------------------------------------------
    // Set at load.
    QString MonedaLocal;             // FIN_MONEDA_LOCAL
    QString CausaDevolucion;         // CXP_CAUSA_DEVOLUCION
    QString CausaRechazo;            // CXC_CAUSA_RECHAZO
    bool AplicarNotaCredito = false; // CXP_APLICAR_NOTA_CREDITO
    bool PuedeCambiarFecha = false;  // right CHFECHA
    bool DerechoTipoCambio = false;  // right CHTC01: the exchange rate stays locked
    bool PrimeraActivacion = false;
    // Created at load, released at unload.
    std::unique_ptr<business::AjusteGrid> AjusteGrid;
    std::unique_ptr<business::DireccionEntrega> DireccionEntrega;
    // The note being entered.
    double ImporteCompra = 0; // the purchase amount, summed while the grid fills
    QString IdDireccion;      // delivery address; "" and "0000" mean none
    double BaseSubTotal = 0;
    double BaseImpuestos = 0;
    double TotalNota = 0;
    // The save token of the note being entered (empty until its first save attempt),
    // kept across refused or failed attempts so that every attempt stores the same one,
    // and dropped whenever the screen is cleared or another note is started.
    QString saveToken;
    // A save of this token lost its commit's answer: the next Aceptar looks the token up
    // before it saves anything.
    bool saveOutcomeUnknown = false;
    // Forgets both: the note on the screen is no longer the one they stand for.
    void forgetSaveToken()
    {
        saveToken.clear();
        saveOutcomeUnknown = false;
    }
    // The statement text the handlers build and run (one for the whole screen).
    QString Sql;

    // ---- controls ------------------------------------------------------------------------------
    // The text field `name`; RuntimeError when the form has none.
    controls::TextField &textField(const QString &name) const;
    controls::Toolbar &Controles() const { return *m_controles; }
    controls::TabControl &ssTabFichas() const { return *m_tab; }
    controls::DateField &dpFecha() const { return *m_date; }
    controls::Grid &ssDetalle() const { return *m_detalle; }
    controls::TextField &txtFolio() const { return *m_folio; }
    controls::TextField &txt_Co_Folio() const { return *m_purchase; }
    controls::Frame &fr0() const { return *m_fr0; }
    controls::Frame &fr1() const { return *m_fr1; }

    // ---- services and business objects -----------------------------------------------------------
    services::Sistema &Sistema() { return *m_environment.sistema; }
    services::Utilerias &Utilerias() { return *m_environment.utilerias; }
    host::PlatformContext &context() { return *m_environment.context; }
    // Business objects made for one handler (released when it ends).
    std::unique_ptr<business::Impresion> newImpresion();
    std::unique_ptr<business::ConsultaRegistro> newConsultaRegistro();
    // Gives the focus to the next field after `field` in tab order that can take it
    // (text and date fields only); false when none can.
    bool focusNextField(const controls::Control &field);
    // Lets the window system process what is pending (the one yield of the save, before
    // its transaction); nothing without an application object.
    void processPendingEvents();

    // ---- commands other layers run as well ------------------------------------------------------
    // Clears the screen (toolbar Cancelar); also run after a save and after a cancellation.
    void Controles_Cancelar();

    // ---- host::MainForm ---------------------------------------------------------------------------
    void setPadre(std::shared_ptr<host::Padre> padre) override;
    std::shared_ptr<host::Padre> getPadre() const override;
    QString Transaccion() override;
    void load() override;
    bool isLoaded() const override { return m_loaded; }
    void show() override;
    void activate() override;
    void unload() override;
    controls::Form &form() override { return m_form; }

    // The draft of the note being entered; null when the host keeps no drafts, before the
    // load and after the unload.
    DraftJournal *draftJournal() const { return m_journal.get(); }

    // True once the form was closed; the component then builds a fresh one.
    bool isUnloaded() const { return m_unloaded; }
    // How many times the load ran (once for the life of the form).
    int loadCount() const { return m_loadCount; }

signals:
    // The form closed (its unload ran): whoever owns it may let it go.
    void closed();
    // The grid's pending column was read again for the purchase on the form (taken in,
    // a note shown, a save that did not go through); the header is filled by then.
    void pendingRead();

private:
    // Lifecycle (lifecycle.cpp).
    void Form_Load();
    void Form_Activate();
    void Form_KeyUp(int &keyCode, int &shift);
    void Form_Unload();
    void ssTabFichas_Click(int previousTab);
    void ssTabFichas_KeyDown(int &keyCode, int &shift);
    // Toolbar commands (toolbar_commands.cpp).
    void Controles_Nuevo();
    void Controles_Modificar();
    void Controles_Imprimir();
    void Controles_Consultar();
    void Controles_Salir();
    // Layout (layout.cpp).
    void Form_Resize();
    // Puts the date field in its editing state and the focus on it, or past it.
    void enableDate();

    QString propMonedaLocal() const { return MonedaLocal; }
    QString propCausaDevolucion() const { return CausaDevolucion; }
    QString propCausaRechazo() const { return CausaRechazo; }
    bool propAplicarNotaCredito() const { return AplicarNotaCredito; }
    bool propPuedeCambiarFecha() const { return PuedeCambiarFecha; }
    bool propDerechoTipoCambio() const { return DerechoTipoCambio; }
    bool propPrimeraActivacion() const { return PrimeraActivacion; }
    double propImporteCompra() const { return ImporteCompra; }
    QString propIdDireccion() const { return IdDireccion; }
    double propBaseSubTotal() const { return BaseSubTotal; }
    double propBaseImpuestos() const { return BaseImpuestos; }
    double propTotalNota() const { return TotalNota; }

    FormEnvironment m_environment;
    controls::Form m_form{fields::frmQMX44};
    std::shared_ptr<host::Padre> m_padre;
    QMetaObject::Connection m_padreClosed;
    bool m_loaded = false;
    bool m_shown = false;
    bool m_unloaded = false;
    int m_loadCount = 0;

    controls::Toolbar *m_controles = nullptr;
    controls::TabControl *m_tab = nullptr;
    controls::DateField *m_date = nullptr;
    controls::Grid *m_detalle = nullptr;
    controls::TextField *m_folio = nullptr;
    controls::TextField *m_purchase = nullptr;
    controls::Frame *m_fr0 = nullptr;
    controls::Frame *m_fr1 = nullptr;
    std::unique_ptr<DraftJournal> m_journal;
};

} // namespace qmx44::screen
