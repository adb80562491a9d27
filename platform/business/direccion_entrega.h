#pragma once
// DireccionEntrega: the delivery address under which a document is recorded. Reads the
// address recorded for a document (Documento_Direccion) and an owner's default address
// (Direccion_Entrega.De_Omision), and records a document's address. Every value is
// bound, never spliced. Asignar reports failure through its flag and MensajeError().
#include <QString>
#include <memory>

namespace qmx44::services {
class Session;
}

namespace qmx44::business {

class DireccionEntrega {
public:
    explicit DireccionEntrega(std::shared_ptr<services::Session> session);

    // The address identifier recorded for document `documento` of table `tabla` ("Compra")
    // for the entity `entidad` ("Proveedor") whose key is `cveEntidad`; empty when none
    // is recorded for that entity key.
    QString IdDocumento(const QString &table, const QString &document, const QString &entity, const QString &entityKey);

    // The default delivery address of the owner `cveEntidad` of kind `entidad`
    // ("Proveedor" -> De_Tabla "PROVEEDOR"): the lowest De_ID marked De_Omision = 1; empty
    // when the owner has none. `current` (the caller's current choice) does not change the
    // answer.
    QString IdOmision(const QString &entity, const QString &entityKey, const QString &current = {});

    // Records `id` as the delivery address of the document, replacing what was recorded.
    // An empty id or "0000" means none: what was recorded is removed. Runs inside the
    // caller's transaction. `exito` is false, with the reason in MensajeError(), when the
    // document is not named, the entity has no address `id`, or the database refuses.
    void Asignar(const QString &table, const QString &document, const QString &entity, const QString &entityKey,
                 const QString &id, bool &success);

    QString MensajeError() const { return m_error; }

private:
    std::shared_ptr<services::Session> m_session;
    QString m_error;
};

} // namespace qmx44::business
