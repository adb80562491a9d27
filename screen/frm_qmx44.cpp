#include "screen/frm_qmx44.h"

#include "platform/core/error.h"

namespace qmx44::screen {

FrmQMX44::FrmQMX44(Entorno entorno, QObject *parent)
    : QObject(parent), m_entorno(std::move(entorno))
{
    if (!m_entorno.contexto || !m_entorno.sistema || !m_entorno.utilerias)
        throw RuntimeError(QStringLiteral("frmQMX44: faltan los servicios del componente"));
    m_form.setCaption(QString::fromUtf16(kTitulo));
    m_form.Load.connect(QStringLiteral("Form_Load()"), [this] { Form_Load(); });
    m_form.Unload.connect(QStringLiteral("Form_Unload()"), [this] { Form_Unload(); });
}

FrmQMX44::~FrmQMX44() = default;

void FrmQMX44::setPadre(std::shared_ptr<host::Padre> padre)
{
    m_padre = std::move(padre);
}

std::shared_ptr<host::Padre> FrmQMX44::getPadre() const
{
    return m_padre;
}

QString FrmQMX44::Transaccion()
{
    if (!m_padre)
        throw RuntimeError(QStringLiteral("Variable de objeto no establecida: Padre"));
    QString texto = m_padre->member(QStringLiteral("Transaccion")).toString();
    QString aplicacion = QStringLiteral("Orvalis");
    return Utilerias().Transaccion(texto, aplicacion);
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
    m_form.unload();
    m_unloaded = true;
}

void FrmQMX44::Form_Load()
{
    ++m_loadCount;
    const auto &contexto = *m_entorno.contexto;
    services::Sesion &sesion = *contexto.sesion;
    m_form.setConnection(sesion.tieneConexion() ? &sesion.conexion() : nullptr);
    m_form.setMessageSink(sesion.mensajes());
    m_form.setPresenter(contexto.presenter.get());
}

void FrmQMX44::Form_Unload()
{
}

} // namespace qmx44::screen
