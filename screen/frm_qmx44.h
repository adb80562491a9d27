#pragma once
// frmQMX44, the credit-note screen's main form, as the host drives it: its parent
// object Padre, the transaction text, and a load that runs once.
//
// Kept deliberately small: the form's design (fields, grid, toolbar) is still to be
// declared as data and its lifecycle handlers (load, first activation, keys, pages,
// unload) to be connected to the events of form(). Add them in Form_Load / Form_Unload
// and in new handlers here; the host contract below does not change.
#include "platform/controls/form.h"
#include "platform/controls/text_field.h"
#include "platform/host/component_interfaces.h"
#include "platform/host/padre.h"
#include "platform/host/platform_context.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"

#include <QObject>
#include <memory>

namespace qmx44::screen {

// What the form uses from outside: the host's context and the component-wide services
// (which outlive the form).
struct Entorno {
    std::shared_ptr<host::PlatformContext> contexto;
    services::Sistema *sistema = nullptr;
    services::Utilerias *utilerias = nullptr;
};

class FrmQMX44 : public QObject, public host::MainForm {
    Q_OBJECT
    Q_INTERFACES(qmx44::host::MainForm)
public:
    static constexpr auto kTitulo = u"Nota de crédito de proveedor (bonificación)";

    explicit FrmQMX44(Entorno entorno, QObject *parent = nullptr);
    ~FrmQMX44() override;

    // host::MainForm
    void setPadre(std::shared_ptr<host::Padre> padre) override;
    std::shared_ptr<host::Padre> getPadre() const override;
    QString Transaccion() override;
    void load() override;
    bool isLoaded() const override { return m_loaded; }
    void show() override;
    void activate() override;
    void unload() override;
    controls::Form &form() override { return m_form; }

    // True once the form was closed; the component then builds a fresh one.
    bool isUnloaded() const { return m_unloaded; }
    // How many times the load ran (once for the life of the form).
    int loadCount() const { return m_loadCount; }

    // The form's text field `nombre`; RuntimeError when it has none.
    controls::TextField &campo(const QString &nombre) { return m_form.get<controls::TextField>(nombre); }

    const Entorno &entorno() const { return m_entorno; }
    services::Sistema &Sistema() { return *m_entorno.sistema; }
    services::Utilerias &Utilerias() { return *m_entorno.utilerias; }

private:
    void Form_Load();
    void Form_Unload();

    Entorno m_entorno;
    controls::Form m_form{QStringLiteral("frmQMX44")};
    std::shared_ptr<host::Padre> m_padre;
    bool m_loaded = false;
    bool m_unloaded = false;
    int m_loadCount = 0;
};

} // namespace qmx44::screen
