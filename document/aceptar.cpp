#include "document/aceptar.h"

#include "document/excede_pendiente.h"
#include "document/mensaje.h"
#include "document/registros.h"
#include "platform/business/direccion_entrega.h"
#include "platform/business/impresion.h"
#include "platform/business/nota_credito.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"
#include "screen/frm_qmx44.h"

#include <memory>

namespace qmx44::document {

namespace {

const QString Orvalis = QStringLiteral("Orvalis");
const QString OperacionCancelada = QStringLiteral("Operación cancelada");
const QString Titulo = QStringLiteral("Controles_Aceptar()");
const QString IdError = QStringLiteral("ERR-ID:7500012");

controls::TextField &campo(screen::FrmQMX44 &frm, const char *nombre)
{
    return frm.campo(QString::fromLatin1(nombre));
}

// The validation, in its order; false (after the message and the focus) when a check
// failed.
bool validar(screen::FrmQMX44 &frm)
{
    controls::Toolbar &controles = frm.Controles();

    if (campo(frm, "txt_Cn_Descripcion").text().isEmpty()) {
        controles.OperacionFallida();
        mensaje(frm, QStringLiteral("No se especificó la causa de la nota de credito"), EstiloAviso, Orvalis,
                QStringLiteral("ERR-ID:7500001"));
        controls::TextField &causa = campo(frm, "txt_Cn_Cve_Causa_Nota");
        causa.setFocus();
        causa.selectAll();
        return false;
    }
    if (frm.txt_Co_Folio().text().isEmpty()) {
        controles.OperacionFallida();
        mensaje(frm, QStringLiteral("Debe especificar una compra"), EstiloAviso, Orvalis,
                QStringLiteral("ERR-ID:7500002"));
        frm.txt_Co_Folio().setFocus();
        frm.txt_Co_Folio().selectAll();
        return false;
    }
    controls::TextField &tipoCambio = campo(frm, "txt_Nc_Tipo_Cambio");
    const double tc = tipoCambio.value().toDouble();
    if (tc == 0) {
        controles.OperacionFallida();
        mensaje(frm, QStringLiteral("El tipo de cambio es incorrecto"), EstiloAviso, Orvalis,
                QStringLiteral("ERR-ID:7500003"));
        if (tipoCambio.enabled())
            tipoCambio.setFocus();
        return false;
    }
    if (tc <= 0) {
        mensaje(frm, QStringLiteral("Tipo de cambio erróneo"), EstiloAviso, Orvalis, QStringLiteral("ERR-ID:7500004"));
        controles.OperacionFallida();
        if (tipoCambio.enabled())
            tipoCambio.setFocus();
        return false;
    }
    if (campo(frm, "txt_SubTotal").value().toDouble() <= 0) {
        mensaje(frm, QStringLiteral("Imposible guardar la nota de crédito con importe cero"), EstiloAviso, Orvalis,
                QStringLiteral("ERR-ID:7500005"));
        controles.OperacionFallida();
        return false;
    }
    return true;
}

// The toolbar's additional fields, stored under `folio` inside the open transaction.
// A failure planned for automation is reported like a refusal of the toolbar.
bool guardarCamposAdicionales(screen::FrmQMX44 &frm, QString &folio, QString &error)
{
    if (auto planeada = frm.contexto().sesion->faults().take(faults::ControlesGuardarCamposAdicionales)) {
        error = *planeada;
        return false;
    }
    if (frm.Controles().GuardarCamposAdicionales(folio))
        return true;
    error = frm.Controles().ErrorCamposAdicionales();
    return false;
}

// The transaction of the save, with its open flag: a failure path rolls back once.
class Transaccion {
public:
    // The flag is set before the connection is asked for: whatever fails from here on
    // rolls back what is open.
    void abrir(screen::FrmQMX44 &frm)
    {
        m_abierta = true;
        m_conexion = &frm.Sistema().Conexion();
        m_conexion->begin();
    }
    void confirmar()
    {
        m_conexion->commit();
        m_abierta = false;
    }
    void revertir()
    {
        if (!m_abierta)
            return;
        m_abierta = false;
        if (m_conexion && m_conexion->inTransaction())
            m_conexion->rollback();
    }

private:
    db::Conexion *m_conexion = nullptr;
    bool m_abierta = false;
};

enum class Resultado { Guardada, Abandonada };

// Steps 9 to 24: false when the save was abandoned (reported, rolled back). `folio` is
// the new note's folio.
Resultado guardar(screen::FrmQMX44 &frm, bool nuevo, Transaccion &tx, QString &folio)
{
    controls::Toolbar &controles = frm.Controles();
    controls::Grid &grid = frm.ssDetalle();

    // One record buffer for every row, zeroed once.
    business::DetalleNota linea{};

    tx.abrir(frm);
    auto nota = std::make_unique<business::NotaCredito>(frm.contexto().sesion, frm.Sistema().Conexion());

    const auto abandonar = [&] {
        nota.reset();
        controles.OperacionFallida();
        return Resultado::Abandonada;
    };

    if (!nuevo) {
        bool ok = false;
        nota->Cancelar(frm.txtFolio().text(), ok);
        if (!ok) {
            tx.revertir();
            QString texto = QStringLiteral("Error al cancelar la nota de credito");
            if (!nota->MensajeError().isEmpty())
                texto += QStringLiteral("\r\n") + nota->MensajeError();
            mensaje(frm, texto, EstiloAviso, Orvalis, QStringLiteral("ERR-ID:7500006"));
            return abandonar();
        }
    }

    nota->Nuevo();
    const business::EncabezadoNota encabezado = encabezadoDelFormulario(frm);
    nota->Encabezado(encabezado);

    // The rows are counted in full: a purchase may well have more line groups than a
    // 16-bit counter holds, and such a note must save like any other.
    const ColumnasLinea columnas(grid);
    grid.moveFirst();
    const int filas = grid.rowCount();
    for (int n = 1; n <= filas; ++n) {
        const int row = grid.currentRow();
        if (bonificacionDe(grid, columnas, row) > 0) {
            llenarLinea(linea, grid, columnas, row, encabezado.compra);
            nota->Detalle(linea);
            if (ExcedePendiente(frm, *nota)) {
                tx.revertir();
                mensaje(frm,
                        QStringLiteral("El importe a bonificar del producto: ") + linea.producto
                            + QStringLiteral(" excede el importe pendiente de la compra"),
                        EstiloAviso, OperacionCancelada, QStringLiteral("ERR-ID:7500007"));
                return abandonar();
            }
            bool ok = false;
            nota->AgregarDetalle(ok);
            if (!ok) {
                tx.revertir();
                if (!nota->MensajeError().isEmpty())
                    mensaje(frm, nota->MensajeError(), EstiloError, OperacionCancelada,
                            QStringLiteral("ERR-ID:7500008"));
                return abandonar();
            }
        }
        grid.moveNext();
    }

    folio = nota->Encabezado().folio;

    QString errorCampos;
    if (!guardarCamposAdicionales(frm, folio, errorCampos)) {
        // Shown while the transaction is still open; the rollback follows.
        mensaje(frm, QStringLiteral("Imposible actualizar campos adicionales") + QStringLiteral("\r\n") + errorCampos,
                EstiloError, Titulo, QStringLiteral("ERR-ID:7500034"), QStringLiteral("CA001"));
        tx.revertir();
        return abandonar();
    }

    bool ok = false;
    nota->Guardar(folio, ok);
    if (!ok) {
        tx.revertir();
        mensaje(frm, nota->MensajeError(), EstiloError, OperacionCancelada, QStringLiteral("ERR-ID:7500009"));
        return abandonar();
    }

    if (frm.AplicarNotaCredito) {
        nota->Aplicar(folio, true, ok);
        if (!ok) {
            tx.revertir();
            mensaje(frm, nota->MensajeError(), EstiloError, OperacionCancelada, QStringLiteral("ERR-ID:7500010"));
            return abandonar();
        }
    }

    QString proveedor = campo(frm, "txt_Pv_Cve_Proveedor").text();
    frm.DireccionEntrega->Asignar(QStringLiteral("NOTA_CREDITO_PROVEEDOR"), folio, QStringLiteral("Proveedor"),
                                  proveedor, frm.IdDireccion, ok);
    if (!ok) {
        tx.revertir();
        mensaje(frm, frm.DireccionEntrega->MensajeError(), EstiloError, OperacionCancelada,
                QStringLiteral("ERR-ID:7500011"));
        return abandonar();
    }

    tx.confirmar();
    nota.reset();
    return Resultado::Guardada;
}

} // namespace

void Controles_Aceptar(screen::FrmQMX44 &frm, bool &nuevo)
{
    frm.ssTabFichas().setActivePage(0);
    if (!validar(frm))
        return;

    // The page of the lines is shown before the work starts.
    frm.ssTabFichas().setActivePage(1);
    frm.procesarEventosPendientes();
    // What was pending may have been the user's Cancelar: then there is nothing left to
    // save (the screen is already cleared).
    if (!frm.Controles().EnEdicion())
        return;

    Transaccion tx;
    QString folio;
    QString proveedor;
    try {
        if (guardar(frm, nuevo, tx, folio) == Resultado::Abandonada)
            return;
        frm.TotalNota = campo(frm, "txt_Total").value().toDouble();
        proveedor = campo(frm, "txt_Pv_Cve_Proveedor").text();
        frm.Controles().OperacionTerminada();
        frm.Controles_Cancelar();
    } catch (const std::exception &e) {
        // Until the screen is cleared the save counts as abandoned.
        try {
            tx.revertir();
        } catch (...) {
        }
        frm.Controles().OperacionFallida();
        mensaje(frm, describe(e), EstiloError, Titulo, IdError);
        return;
    }

    // The note is committed: from here on a failure is only reported.
    try {
        controls::Toolbar &controles = frm.Controles();
        controles.setFolio(folio);
        controles.NotificarGuardado(true, proveedor, frm.TotalNota);
        controles.setFolio(QString());

        auto impresion = frm.nuevaImpresion();
        const QString formato = frm.Sistema()
                                    .Parametro(QStringLiteral("FTO_IMP_NOTA_CREDITO_PROVEEDOR"), 0, QString(), QString())
                                    .toString();
        impresion->Imprimir(formato, folio, QString(), false, false, QString());
        impresion.reset();

        frm.txtFolio().setEnabled(true);
        frm.txtFolio().setFocus();
        frm.ssTabFichas().setActivePage(0);
    } catch (const std::exception &e) {
        mensaje(frm, describe(e), EstiloError, Titulo, IdError);
    }
}

} // namespace qmx44::document
