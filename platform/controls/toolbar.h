#pragma once
// The document toolbar: the document commands (events 10-19), their availability,
// the editing state, the current document's context and its additional fields.
//
// State machine (see also docs/toolbar.md):
// - Two states: idle and editing; editing is either a new document or a modification.
// - Availability of each command:
//     Nuevo       idle and the fifth flag (newEnabled)
//     Modificar   idle and modifyEnabled   } the edit pair
//     Eliminar    idle and deleteEnabled    }
//     Imprimir    idle and printEnabled    } the document pair
//     Consultar   idle and queryEnabled   }
//     Aceptar     editing
//     Cancelar    always
//     Salir       when `showexitbutton` is "SI" (default)
//     Opcional    when its caption is not empty
// - click(Nuevo) enters editing (new), click(Modificar) editing (modification), both
//   before their handlers run (handlers see EnEdicion() true), and the additional-field
//   values start empty (Nuevo) or as loaded (Modificar).
// - click(Aceptar) raises the event with true for a new document, false after Modificar.
//   The handler ends the operation: OperacionTerminada() leaves editing and forgets the
//   additional-field values; OperacionFallida() keeps editing so the user can correct.
// - click(Cancelar) leaves editing (before its handler runs) and forgets the values.
// - click(Eliminar) first asks the host-supplied confirmation; no confirmation set = yes;
//   a "no" runs nothing.
// - click(c) returns true when the command was offered and its event raised (the
//   handler itself may have failed and been reported).
#include "platform/controls/additional_fields.h"
#include "platform/controls/control.h"
#include "platform/controls/event.h"

#include <QString>
#include <functional>
#include <memory>

namespace qmx44::controls {

enum class Command {
    Nuevo = 10,
    Modificar = 11,
    Imprimir = 12,
    Consultar = 13,
    Eliminar = 15,
    Aceptar = 16,
    Cancelar = 17,
    Salir = 18,
    Opcional = 19
};

// What NotificarGuardado told.
struct SavedNotice {
    bool isNew = false;
    QString folio;
    QString supplier;
    double total = 0;
};

class Toolbar : public Control {
public:
    Toolbar(Form &form, const QString &name);

    // ---- command events ------------------------------------------------------------------------
    Event<> Nuevo;         // 10
    Event<> Modificar;     // 11
    Event<> Imprimir;      // 12
    Event<> Consultar;     // 13
    Event<> Eliminar;      // 15
    Event<bool &> Aceptar; // 16: true when the document is new
    Event<> Cancelar;      // 17
    Event<> Salir;         // 18
    Event<> Opcional;      // 19

    // ---- commands ------------------------------------------------------------------------------------
    bool available(Command c) const;
    // The user chose the command: runs it when available (see the state machine).
    bool click(Command c);
    // The host's yes/no question (asked before Eliminar, and by the screen); answers true
    // to go on. Unset = yes.
    using Confirm = std::function<bool(const QString &title, const QString &question)>;
    void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }
    bool confirm(const QString &title, const QString &question) const
    {
        return !m_confirm || m_confirm(title, question);
    }

    // ---- availability flags written by the screen --------------------------------------------------------
    bool printEnabled() const { return m_print; } // document pair
    void setPrintEnabled(bool on) { setFlag(m_print, on); }
    bool queryEnabled() const { return m_query; }
    void setQueryEnabled(bool on) { setFlag(m_query, on); }
    bool modifyEnabled() const { return m_modify; } // edit pair
    void setModifyEnabled(bool on) { setFlag(m_modify, on); }
    bool deleteEnabled() const { return m_delete; }
    void setDeleteEnabled(bool on) { setFlag(m_delete, on); }
    bool newEnabled() const { return m_new; } // the fifth flag
    void setNewEnabled(bool on) { setFlag(m_new, on); }
    // Caption of the optional command ("Prorratear"); empty hides the command.
    QString optionalCaption() const { return m_optionalCaption; }
    void setOptionalCaption(const QString &c)
    {
        m_optionalCaption = c;
        notify(Aspect::Caption);
    }

    // ---- document context -------------------------------------------------------------------------------
    QString Folio() const { return m_folio; }
    void setFolio(const QString &f) { m_folio = f; }
    double Importe() const { return m_importe; }
    void setImporte(double v) { m_importe = v; }
    QString Proveedor() const { return m_proveedor; }
    void setProveedor(const QString &p) { m_proveedor = p; }

    // ---- editing state and operations -------------------------------------------------------------------
    bool EnEdicion() const { return m_editing; }
    bool editingNew() const { return m_editing && m_newDocument; }
    void OperacionFallida();
    void OperacionTerminada();
    void NotificarGuardado(bool isNew, QString &supplier, double &total);
    const SavedNotice &lastSavedAt() const { return m_lastSaved; }
    int savedNotified() const { return m_savedCount; }

    // ---- additional fields ---------------------------------------------------------------------------------
    // Where they are kept (set by the screen with the connection; none = no database).
    void setAdditionalFieldStore(std::shared_ptr<AdditionalFieldStore> store) { m_store = std::move(store); }
    // Stores the values under `folio` (inside the caller's transaction). False, with the
    // reason in ErrorCamposAdicionales(), when a value is refused, there is no store, or
    // the database fails.
    bool GuardarCamposAdicionales(QString &folio);
    QString ErrorCamposAdicionales() const { return m_additionalError; }
    // Reads the stored values of `folio` (a database failure throws RuntimeError).
    void CargarCamposAdicionales(const QString &folio);
    // Definitions of opc_table, read once from the store.
    AdditionalFields &additionalFields();
    // Sets one value (told as Aspect::Text); false for a field the document does not define.
    bool setAdditionalField(const QString &field, const QString &value);
    QString additionalField(const QString &field) const { return m_fields.value(field); }

    // ---- design-time settings ------------------------------------------------------------------------------
    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    QString opcTable() const { return m_table; } // opc_table
    void setOpcTable(const QString &t) { m_table = t; }
    QString opcKey() const { return m_key; } // opc_key
    void setOpcKey(const QString &k) { m_key = k; }
    QString tabwidth() const { return m_tabWidth; }
    QString easyaccessenabled() const { return m_easyAccess; }
    QString showmenupopup() const { return m_menuPopup; }
    QString showwindowslist() const { return m_windowsList; }
    QString showexitbutton() const { return m_exitButton; }
    // caption, tabwidth, easyaccessenabled, showmenupopup, showwindowslist,
    // showexitbutton, opc_table, opc_key ("SI"/"NO" texts kept as given).
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    void leaveEditing();
    void setFlag(bool &flag, bool on)
    {
        if (flag == on)
            return;
        flag = on;
        notify(Aspect::Commands);
    }

    bool m_print = false, m_query = false, m_modify = false, m_delete = false, m_new = false;
    QString m_optionalCaption;
    QString m_folio, m_proveedor;
    double m_importe = 0;
    bool m_editing = false, m_newDocument = false;
    Confirm m_confirm;
    SavedNotice m_lastSaved;
    int m_savedCount = 0;
    AdditionalFields m_fields;
    std::shared_ptr<AdditionalFieldStore> m_store;
    QString m_additionalError;
    QString m_caption, m_table, m_key;
    QString m_tabWidth = QStringLiteral("0"), m_easyAccess = QStringLiteral("NO"), m_menuPopup = QStringLiteral("NO"),
            m_windowsList = QStringLiteral("SI"), m_exitButton = QStringLiteral("SI");
};

} // namespace qmx44::controls
