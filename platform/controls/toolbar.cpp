// The toolbar's command availability, editing state and additional fields.
#include "platform/controls/toolbar.h"

#include "platform/controls/form.h"
#include "platform/core/error.h"

namespace qmx44::controls {

Toolbar::Toolbar(Form &form, const QString &name)
    : Control(form, name, ControlKind::Toolbar), Nuevo(this, QStringLiteral("Nuevo")),
      Modificar(this, QStringLiteral("Modificar")), Imprimir(this, QStringLiteral("Imprimir")),
      Consultar(this, QStringLiteral("Consultar")), Eliminar(this, QStringLiteral("Eliminar")),
      Aceptar(this, QStringLiteral("Aceptar")), Cancelar(this, QStringLiteral("Cancelar")),
      Salir(this, QStringLiteral("Salir")), Opcional(this, QStringLiteral("Opcional"))
{
}

bool Toolbar::available(Command c) const
{
    if (!effectivelyEnabled())
        return false;
    switch (c) {
    case Command::Nuevo:
        return !m_editing && m_new;
    case Command::Modificar:
        return !m_editing && m_modify;
    case Command::Eliminar:
        return !m_editing && m_delete;
    case Command::Imprimir:
        return !m_editing && m_print;
    case Command::Consultar:
        return !m_editing && m_query;
    case Command::Aceptar:
        return m_editing;
    case Command::Cancelar:
        return true;
    case Command::Salir:
        return m_exitButton.trimmed().toUpper() != u"NO";
    case Command::Opcional:
        return !m_optionalCaption.isEmpty();
    }
    return false;
}

bool Toolbar::click(Command c)
{
    if (!available(c))
        return false;
    switch (c) {
    case Command::Nuevo:
        m_editing = true;
        m_newDocument = true;
        notify(Aspect::Commands);
        m_fields.clearValues();
        Nuevo.raise();
        break;
    case Command::Modificar:
        m_editing = true;
        m_newDocument = false;
        notify(Aspect::Commands);
        Modificar.raise();
        break;
    case Command::Imprimir:
        Imprimir.raise();
        break;
    case Command::Consultar:
        Consultar.raise();
        break;
    case Command::Eliminar: {
        const QString question = m_folio.isEmpty() ? QStringLiteral("¿Desea cancelar el documento?")
                                                   : QStringLiteral("¿Desea cancelar el documento %1?").arg(m_folio);
        if (!confirm(QStringLiteral("Eliminar"), question))
            return false;
        Eliminar.raise();
        break;
    }
    case Command::Aceptar: {
        bool isNew = m_newDocument;
        Aceptar.raise(isNew);
        break;
    }
    case Command::Cancelar:
        leaveEditing();
        Cancelar.raise();
        break;
    case Command::Salir:
        Salir.raise();
        break;
    case Command::Opcional:
        Opcional.raise();
        break;
    }
    return true;
}

void Toolbar::leaveEditing()
{
    m_editing = false;
    m_newDocument = false;
    notify(Aspect::Commands);
    m_fields.clearValues();
}

void Toolbar::OperacionFallida()
{
    // The document stays in editing so that the user can correct it and accept again.
}

void Toolbar::OperacionTerminada()
{
    leaveEditing();
}

void Toolbar::NotificarGuardado(bool isNew, QString &supplier, double &total)
{
    m_lastSaved = SavedNotice{isNew, m_folio, supplier, total};
    ++m_savedCount;
}

AdditionalFields &Toolbar::additionalFields()
{
    if (!m_fields.definitionsLoaded() && !m_table.isEmpty()) {
        if (m_store)
            m_fields.loadDefinitions(*m_store, m_table);
    }
    return m_fields;
}

bool Toolbar::setAdditionalField(const QString &field, const QString &value)
{
    if (!additionalFields().setValue(field, value))
        return false;
    notify(Aspect::Text);
    return true;
}

bool Toolbar::GuardarCamposAdicionales(QString &folio)
{
    m_additionalError.clear();
    if (m_table.isEmpty())
        return true; // a toolbar without a table has no additional fields
    if (!m_store) {
        m_additionalError = QStringLiteral("No hay conexión a la base de datos");
        return false;
    }
    if (folio.trimmed().isEmpty()) {
        m_additionalError = QStringLiteral("El documento no tiene folio");
        return false;
    }
    try {
        AdditionalFields &fields = additionalFields();
        if (fields.definitions().empty())
            return true;
        const QString reason = fields.validate();
        if (!reason.isEmpty()) {
            m_additionalError = reason;
            return false;
        }
        fields.store(*m_store, m_table, folio);
    } catch (const std::exception &e) {
        m_additionalError = describe(e);
        return false;
    }
    return true;
}

void Toolbar::CargarCamposAdicionales(const QString &folio)
{
    if (m_table.isEmpty())
        return;
    if (!m_store)
        throw RuntimeError(QStringLiteral("No hay conexión a la base de datos"));
    additionalFields().load(*m_store, m_table, folio);
}

bool Toolbar::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    const QString v = value.toString();
    if (n == u"caption")
        setCaption(v);
    else if (n == u"tabwidth")
        m_tabWidth = v;
    else if (n == u"easyaccessenabled")
        m_easyAccess = v;
    else if (n == u"showmenupopup")
        m_menuPopup = v;
    else if (n == u"showwindowslist")
        m_windowsList = v;
    else if (n == u"showexitbutton") {
        // Whether Salir is offered: the views show it or not.
        if (v != m_exitButton) {
            m_exitButton = v;
            notify(Aspect::Commands);
        }
    } else if (n == u"opc_table")
        m_table = v;
    else if (n == u"opc_key")
        m_key = v;
    else
        return Control::applySetting(name, value);
    return true;
}

} // namespace qmx44::controls
