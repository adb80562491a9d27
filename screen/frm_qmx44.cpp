// frmQMX44: building the form from its design, connecting this layer's handlers, and
// the host's side of the form (Padre, Transaccion, load, show, activate, unload).
#include "screen/frm_qmx44.h"

#include "platform/business/ajuste_grid.h"
#include "platform/business/consulta_registro.h"
#include "platform/business/direccion_entrega.h"
#include "platform/business/impresion.h"
#include "platform/core/error.h"
#include "screen/draft_journal.h"
#include "screen/form_design.h"

#include <QCoreApplication>
#include <algorithm>

namespace qmx44::screen {

FrmQMX44::FrmQMX44(FormEnvironment environment, QObject *parent)
    : QObject(parent), m_environment(std::move(environment))
{
    if (!m_environment.context || !m_environment.sistema || !m_environment.utilerias)
        throw RuntimeError(QStringLiteral("frmQMX44: faltan los servicios del componente"));
    buildForm(m_form, mainFormDesign());
    m_form.setModule(ModuleTag);

    m_controles = &m_form.get<controls::Toolbar>(fields::Controles);
    m_tab = &m_form.get<controls::TabControl>(fields::ssTabFichas);
    m_date = &m_form.get<controls::DateField>(fields::dpFecha);
    m_detalle = &m_form.get<controls::Grid>(fields::ssDetalle);
    m_folio = &textField(fields::txtFolio);
    m_purchase = &textField(fields::txt_Co_Folio);
    m_fr0 = &m_form.get<controls::Frame>(fields::fr0);
    m_fr1 = &m_form.get<controls::Frame>(fields::fr1);

    m_form.Load.connect(QStringLiteral("Form_Load()"), [this] { Form_Load(); });
    m_form.Activate.connect(QStringLiteral("Form_Activate()"), [this] { Form_Activate(); });
    m_form.KeyUp.connect(QStringLiteral("Form_KeyUp()"), [this](int &k, int &s) { Form_KeyUp(k, s); });
    m_form.Resize.connect(QStringLiteral("Form_Resize()"), [this] { Form_Resize(); });
    m_form.Unload.connect(QStringLiteral("Form_Unload()"), [this] { Form_Unload(); });
    m_tab->Click.connect(QStringLiteral("ssTabFichas_Click()"), [this](int p) { ssTabFichas_Click(p); });
    m_tab->KeyDown.connect(QStringLiteral("ssTabFichas_KeyDown()"),
                           [this](int &k, int &s) { ssTabFichas_KeyDown(k, s); });
    m_controles->Nuevo.connect([this] { Controles_Nuevo(); });
    m_controles->Modificar.connect([this] { Controles_Modificar(); });
    m_controles->Imprimir.connect([this] { Controles_Imprimir(); });
    m_controles->Consultar.connect([this] { Controles_Consultar(); });
    m_controles->Cancelar.connect([this] { Controles_Cancelar(); });
    m_controles->Salir.connect([this] { Controles_Salir(); });
}

FrmQMX44::~FrmQMX44()
{
    QObject::disconnect(m_padreClosed);
}

controls::TextField &FrmQMX44::textField(const QString &name) const
{
    return m_form.get<controls::TextField>(name);
}

std::unique_ptr<business::Impresion> FrmQMX44::newImpresion()
{
    return std::make_unique<business::Impresion>(context().session, context().activityLog, context().outputFolder);
}

std::unique_ptr<business::ConsultaRegistro> FrmQMX44::newConsultaRegistro()
{
    return std::make_unique<business::ConsultaRegistro>(context().session, context().activityLog);
}

bool FrmQMX44::focusNextField(const controls::Control &field)
{
    std::vector<controls::Control *> order;
    for (const auto &c : m_form.controls())
        if (c->kind() == controls::ControlKind::TextField || c->kind() == controls::ControlKind::DateField)
            order.push_back(c.get());
    std::stable_sort(order.begin(), order.end(), [](const controls::Control *a, const controls::Control *b) {
        return a->tabIndex() < b->tabIndex();
    });
    auto it = std::find(order.begin(), order.end(), &field);
    if (it == order.end())
        return false;
    for (++it; it != order.end(); ++it)
        if ((*it)->tabStop() && (*it)->setFocus())
            return true;
    return false;
}

void FrmQMX44::processPendingEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// ---- host::MainForm ---------------------------------------------------------------------------------

void FrmQMX44::setPadre(std::shared_ptr<host::Padre> padre)
{
    QObject::disconnect(m_padreClosed);
    m_padre = std::move(padre);
    // The screen closes with its parent window.
    if (m_padre)
        m_padreClosed = connect(m_padre.get(), &host::Padre::closed, this, [this] { unload(); });
}

std::shared_ptr<host::Padre> FrmQMX44::getPadre() const
{
    return m_padre;
}

QString FrmQMX44::Transaccion()
{
    if (!m_padre)
        throw RuntimeError(QStringLiteral("Variable de objeto no establecida: Padre"));
    QString text = m_padre->member(QStringLiteral("Transaccion")).toString();
    QString application = QStringLiteral("Orvalis");
    return Utilerias().Transaccion(text, application);
}

void FrmQMX44::load()
{
    if (m_loaded)
        return;
    // A failing load leaves the form not loaded and reaches the caller.
    m_form.load();
    m_loaded = true;
}

void FrmQMX44::show()
{
    load();
    // A form is laid out for its size before it first appears, then activated.
    if (!m_shown) {
        m_shown = true;
        m_form.Resize.raise();
    }
    m_form.show();
}

void FrmQMX44::activate()
{
    m_form.activate();
}

void FrmQMX44::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_form.unload();
    emit closed();
}

} // namespace qmx44::screen
