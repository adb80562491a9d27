#include "document/save.h"

#include "document/excede_pendiente.h"
#include "document/note_records.h"
#include "intake/pending_amounts.h"
#include "platform/business/direccion_entrega.h"
#include "platform/business/impresion.h"
#include "platform/business/nota_credito.h"
#include "platform/controls/keys.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"
#include "platform/db/connection.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

#include <QUuid>
#include <memory>
#include <optional>

namespace qmx44::document {

namespace {

const QString TitleCompany = QStringLiteral("Orvalis");
const QString TitleOperationCancelled = QStringLiteral("Operación cancelada");
const QString Titulo = QStringLiteral("Controles_Aceptar()");
const QString SaveErrorId = QStringLiteral("ERR-ID:7500012");
const QString SavedBeforeId = QStringLiteral("ERR-ID:7500035");

// ---- validation ---------------------------------------------------------------------------------

// One check of the validation: what it refuses, its warning, and where the focus goes.
struct Check {
    bool (*refuses)(screen::FrmQMX44 &frm);
    const char16_t *text;
    const char16_t *id;
    bool failedBeforeMessage; // the toolbar hears of the failure before the message
    void (*focus)(screen::FrmQMX44 &frm);
};

double exchangeRate(screen::FrmQMX44 &frm)
{
    return frm.textField(screen::fields::txt_Nc_Tipo_Cambio).value().toDouble();
}

void focusExchangeRate(screen::FrmQMX44 &frm)
{
    controls::TextField &tipoCambio = frm.textField(screen::fields::txt_Nc_Tipo_Cambio);
    if (tipoCambio.enabled())
        tipoCambio.setFocus();
}

// The checks, in their order; the first that refuses ends the validation.
const Check Checks[] = {
    {[](screen::FrmQMX44 &frm) { return frm.textField(screen::fields::txt_Cn_Descripcion).text().isEmpty(); },
     u"No se especificó la causa de la nota de credito", u"ERR-ID:7500001", true,
     [](screen::FrmQMX44 &frm) {
         controls::TextField &cause = frm.textField(screen::fields::txt_Cn_Cve_Causa_Nota);
         cause.setFocus();
         cause.selectAll();
     }},
    {[](screen::FrmQMX44 &frm) { return frm.txt_Co_Folio().text().isEmpty(); }, u"Debe especificar una compra",
     u"ERR-ID:7500002", true,
     [](screen::FrmQMX44 &frm) {
         frm.txt_Co_Folio().setFocus();
         frm.txt_Co_Folio().selectAll();
     }},
    {[](screen::FrmQMX44 &frm) { return exchangeRate(frm) == 0; }, u"El tipo de cambio es incorrecto",
     u"ERR-ID:7500003", true, focusExchangeRate},
    {[](screen::FrmQMX44 &frm) { return exchangeRate(frm) <= 0; }, u"Tipo de cambio erróneo", u"ERR-ID:7500004", false,
     focusExchangeRate},
    {[](screen::FrmQMX44 &frm) { return frm.textField(screen::fields::txt_SubTotal).value().toDouble() <= 0; },
     u"Imposible guardar la nota de crédito con importe cero", u"ERR-ID:7500005", false, nullptr},
};

// False (after the message and the focus) when a check refused.
bool validate(screen::FrmQMX44 &frm)
{
    for (const Check &check : Checks) {
        if (!check.refuses(frm))
            continue;
        if (check.failedBeforeMessage)
            frm.Controles().OperacionFallida();
        screen::showMessage(frm, QString::fromUtf16(check.text), MessageStyle::Warning, TitleCompany,
                            QString::fromUtf16(check.id));
        if (!check.failedBeforeMessage)
            frm.Controles().OperacionFallida();
        if (check.focus)
            check.focus(frm);
        return false;
    }
    return true;
}

// ---- the steps inside the transaction -----------------------------------------------------------

// Why a step abandoned the save: the coded message, shown after the rollback.
struct Refusal {
    QString text;
    MessageStyle style = MessageStyle::Error;
    QString title = TitleOperationCancelled;
    QString id;
    QString module = screen::ModuleTag;
    bool evenWithoutText = true; // shown even when there is no text
};

// What the steps of one save share. `folio` is the new note's, once its lines are added.
struct SaveState {
    screen::FrmQMX44 &frm;
    business::NotaCredito &note;
    bool nuevo;
    QString folio;
};

using Step = std::optional<Refusal> (*)(SaveState &state);

// The note being replaced is cancelled first.
std::optional<Refusal> cancelReplacedNote(SaveState &s)
{
    if (s.nuevo)
        return std::nullopt;
    bool ok = false;
    s.note.Cancelar(s.frm.txtFolio().text(), ok);
    if (ok)
        return std::nullopt;
    QString text = QStringLiteral("Error al cancelar la nota de credito");
    if (!s.note.MensajeError().isEmpty())
        text += QStringLiteral("\r\n") + s.note.MensajeError();
    return Refusal{text, MessageStyle::Warning, TitleCompany, QStringLiteral("ERR-ID:7500006")};
}

// A line the document did not store: its message, when it gave one.
Refusal lineRefused(business::NotaCredito &note)
{
    Refusal refusal{note.MensajeError(), MessageStyle::Error, TitleOperationCancelled,
                    QStringLiteral("ERR-ID:7500008")};
    refusal.evenWithoutText = false;
    return refusal;
}

// The header, then every bonused row checked against what is pending and added.
std::optional<Refusal> addLines(SaveState &s)
{
    controls::Grid &grid = s.frm.ssDetalle();
    // One record buffer for every row, zeroed once.
    business::DetalleNota line{};

    s.note.Nuevo();
    const business::EncabezadoNota header = headerFromForm(s.frm);
    s.note.Encabezado(header);

    // The rows are counted in full: a purchase may well have more line groups than a
    // 16-bit counter holds, and such a note must save like any other.
    const LineColumns bonusColumns(grid);
    int bonused = 0;
    for (int row = 0; row < grid.rowCount(); ++row)
        bonused += bonusOf(grid, bonusColumns, row) > 0 ? 1 : 0;
    std::optional<PurchasePending> pending;
    if (!header.compra.isEmpty() && checksLinesTogether(s.frm.Sistema().Conexion().backend(), bonused))
        pending.emplace(s.frm.Sistema().Conexion(), s.frm.Sql, header.compra);
    grid.moveFirst();
    const int rowCount = grid.rowCount();
    for (int n = 1; n <= rowCount; ++n) {
        const int row = grid.currentRow();
        if (bonusOf(grid, bonusColumns, row) > 0) {
            fillLine(line, grid, bonusColumns, row, header.compra);
            s.note.Detalle(line);
            if (pending ? pending->exceeds(s.note) : ExcedePendiente(s.frm, s.note))
                return Refusal{QStringLiteral("El importe a bonificar del producto: ") + line.producto
                                   + QStringLiteral(" excede el importe pendiente de la compra"),
                               MessageStyle::Warning, TitleOperationCancelled, QStringLiteral("ERR-ID:7500007")};
            bool ok = false;
            s.note.AgregarDetalle(ok);
            if (!ok)
                return lineRefused(s.note);
        }
        grid.moveNext();
    }
    // The lines the document still holds reach the database before anything else is
    // written under the note's folio; a refusal there is a line's refusal.
    bool ok = false;
    s.note.sendLines(ok);
    if (!ok)
        return lineRefused(s.note);
    s.folio = s.note.Encabezado().folio;
    return std::nullopt;
}

// The toolbar's additional fields, stored under the folio. A failure planned for
// automation is reported like a refusal of the toolbar.
std::optional<Refusal> storeAdditionalFields(SaveState &s)
{
    QString error;
    if (auto planned = s.frm.context().session->faults().take(faults::ControlesGuardarCamposAdicionales))
        error = *planned;
    else if (s.frm.Controles().GuardarCamposAdicionales(s.folio))
        return std::nullopt;
    else
        error = s.frm.Controles().ErrorCamposAdicionales();
    return Refusal{QStringLiteral("Imposible actualizar campos adicionales") + QStringLiteral("\r\n") + error,
                   MessageStyle::Error, Titulo, QStringLiteral("ERR-ID:7500034"), QStringLiteral("CA001")};
}

std::optional<Refusal> storeNote(SaveState &s)
{
    bool ok = false;
    s.note.Guardar(s.folio, ok);
    if (ok)
        return std::nullopt;
    return Refusal{s.note.MensajeError(), MessageStyle::Error, TitleOperationCancelled,
                   QStringLiteral("ERR-ID:7500009")};
}

std::optional<Refusal> applyNote(SaveState &s)
{
    if (!s.frm.AplicarNotaCredito)
        return std::nullopt;
    bool ok = false;
    s.note.Aplicar(s.folio, true, ok);
    if (ok)
        return std::nullopt;
    return Refusal{s.note.MensajeError(), MessageStyle::Error, TitleOperationCancelled,
                   QStringLiteral("ERR-ID:7500010")};
}

std::optional<Refusal> assignAddress(SaveState &s)
{
    bool ok = false;
    QString supplier = s.frm.textField(screen::fields::txt_Pv_Cve_Proveedor).text();
    s.frm.DireccionEntrega->Asignar(QStringLiteral("NOTA_CREDITO_PROVEEDOR"), s.folio, QStringLiteral("Proveedor"),
                                    supplier, s.frm.IdDireccion, ok);
    if (ok)
        return std::nullopt;
    return Refusal{s.frm.DireccionEntrega->MensajeError(), MessageStyle::Error, TitleOperationCancelled,
                   QStringLiteral("ERR-ID:7500011")};
}

// The steps of the save, in their order; the first refusal abandons it.
const Step Steps[] = {cancelReplacedNote, addLines, storeAdditionalFields, storeNote, applyNote, assignAddress};

// The transaction rolled back, then the refusal shown: never a message while the
// transaction holds its locks, or every other clerk's save waits on this clerk's answer.
void abandon(screen::FrmQMX44 &frm, db::ScopedTransaction &tx, const Refusal &refusal)
{
    tx.rollback();
    if (refusal.evenWithoutText || !refusal.text.isEmpty())
        screen::showMessage(frm, refusal.text, refusal.style, refusal.title, refusal.id, refusal.module);
}

enum class Outcome { Saved, Abandoned };

// Steps 9 to 24 in one transaction, its locks taken in the order of docs/saving.md
// (purchase, the note's rows, supplier, folio counter; see business/nota_credito.h): Abandoned when a step refused
// (reported, rolled back). A run-time error rolls back on its way out. `folio` is the new note's.
Outcome save(screen::FrmQMX44 &frm, bool nuevo, QString &folio)
{
    db::ScopedTransaction tx(frm.Sistema().Conexion());
    auto note = std::make_unique<business::NotaCredito>(frm.context().session, frm.Sistema().Conexion());
    SaveState s{frm, *note, nuevo, QString()};
    for (const Step step : Steps) {
        if (const std::optional<Refusal> refusal = step(s)) {
            abandon(frm, tx, *refusal);
            note.reset();
            frm.Controles().OperacionFallida();
            return Outcome::Abandoned;
        }
    }
    tx.commit();
    note.reset();
    folio = s.folio;
    return Outcome::Saved;
}

// After the commit: the toolbar told, the note printed, the focus back on txtFolio. A
// failure here is only reported.
void reportAndPrint(screen::FrmQMX44 &frm, const QString &folio, QString supplier)
{
    try {
        controls::Toolbar &toolbar = frm.Controles();
        toolbar.setFolio(folio);
        toolbar.NotificarGuardado(true, supplier, frm.TotalNota);
        toolbar.setFolio(QString());

        auto printJob = frm.newImpresion();
        const QString format = frm.Sistema()
                                   .Parametro(QStringLiteral("FTO_IMP_NOTA_CREDITO_PROVEEDOR"), 0, QString(), QString())
                                   .toString();
        printJob->Imprimir(format, folio, QString(), false, false, QString());
        printJob.reset();

        frm.txtFolio().setEnabled(true);
        frm.txtFolio().setFocus();
        frm.ssTabFichas().setActivePage(0);
    } catch (const std::exception &e) {
        screen::showMessage(frm, describe(e), MessageStyle::Error, Titulo, SaveErrorId);
    }
}

// ---- a save whose commit lost its answer -----------------------------------------------------------

// The saved note shown as the clerk shows one: its folio typed into txtFolio and Enter.
void showSavedNote(screen::FrmQMX44 &frm, const QString &folio)
{
    controls::TextField &folioField = frm.txtFolio();
    folioField.setText(folio);
    folioField.pressKey(controls::keys::Enter);
}

enum class Settled { Saved, NotSaved, Unknown };

// Looks the note's token up, with no transaction open so that a session lost with the
// commit is replaced by itself. Saved: the clerk was told the folio and the note is
// shown, as after a save. NotSaved: the same Aceptar goes on to save it, with the same
// token. Unknown: the look-up failed and was reported; nothing changed, so the next
// Aceptar looks again.
Settled settleLostCommit(screen::FrmQMX44 &frm)
{
    QString folio, supplier;
    double total = 0;
    try {
        auto rs = frm.Sistema().Conexion().query(
            QStringLiteral("SELECT MIN(Nc_Folio) AS Nc_Folio, MIN(Pv_Cve_Proveedor) AS Pv_Cve_Proveedor, "
                           "SUM(Nc_Precio_Neto_Importe) AS Total FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Token = ?"),
            {frm.saveToken});
        if (!rs->eof()) {
            folio = rs->field(QStringLiteral("Nc_Folio")).toString();
            supplier = rs->field(QStringLiteral("Pv_Cve_Proveedor")).toString();
            total = rs->field(QStringLiteral("Total")).toDouble();
        }
        rs->close();
    } catch (const std::exception &e) {
        frm.Controles().OperacionFallida();
        screen::showMessage(frm, describe(e), MessageStyle::Error, Titulo, SaveErrorId);
        return Settled::Unknown;
    }
    if (folio.isEmpty()) {
        frm.saveOutcomeUnknown = false;
        return Settled::NotSaved;
    }

    screen::showMessage(frm, QStringLiteral("La nota de crédito se guardó con el folio %1").arg(folio),
                        MessageStyle::Information, TitleCompany, SavedBeforeId);
    // Clearing the screen forgets the token; should it fail, the next Aceptar finds the
    // note again rather than saving it.
    try {
        frm.TotalNota = total;
        frm.Controles().OperacionTerminada();
        frm.Controles_Cancelar();
    } catch (const std::exception &e) {
        frm.Controles().OperacionFallida();
        screen::showMessage(frm, describe(e), MessageStyle::Error, Titulo, SaveErrorId);
        return Settled::Saved;
    }
    reportAndPrint(frm, folio, supplier);
    showSavedNote(frm, folio);
    return Settled::Saved;
}

} // namespace

void Controles_Aceptar(screen::FrmQMX44 &frm, bool &nuevo)
{
    frm.ssTabFichas().setActivePage(0);
    // The last save may have been kept by the server though its answer never came: it
    // is settled before anything is checked or saved again, so a note is never saved twice.
    if (frm.saveOutcomeUnknown && settleLostCommit(frm) != Settled::NotSaved)
        return;
    if (!validate(frm))
        return;

    // The page of the lines is shown before the work starts.
    frm.ssTabFichas().setActivePage(1);
    frm.processPendingEvents();
    // What was pending may have been the closing of the window: the form has released
    // the objects the save uses and the clerk has left it, so nothing is saved and
    // nothing is said. (The component frees a closed form only once its running handlers return.)
    if (frm.isUnloaded())
        return;
    // Or the user's Cancelar: then there is nothing left to save (the screen is already
    // cleared).
    if (!frm.Controles().EnEdicion())
        return;

    // Every attempt at this note stores the same token, so that any of them can be found.
    if (frm.saveToken.isEmpty())
        frm.saveToken = QUuid::createUuid().toString(QUuid::WithoutBraces);

    QString folio;
    QString supplier;
    try {
        if (save(frm, nuevo, folio) == Outcome::Abandoned) {
            // The note stays on the screen for the clerk to correct, with what is pending
            // read again: another clerk's note may have changed it since the purchase
            // was taken in.
            intake::fillPending(frm);
            return;
        }
        frm.TotalNota = frm.textField(screen::fields::txt_Total).value().toDouble();
        supplier = frm.textField(screen::fields::txt_Pv_Cve_Proveedor).text();
        frm.Controles().OperacionTerminada();
        frm.Controles_Cancelar();
    } catch (const std::exception &e) {
        // The server may have kept the note: the next Aceptar finds out before saving.
        if (dynamic_cast<const db::CommitOutcomeUnknown *>(&e))
            frm.saveOutcomeUnknown = true;
        // Until the screen is cleared the save counts as abandoned (the transaction is
        // already rolled back, or its outcome is unknown).
        frm.Controles().OperacionFallida();
        screen::showMessage(frm, describe(e), MessageStyle::Error, Titulo, SaveErrorId);
        return;
    }
    reportAndPrint(frm, folio, supplier);
}

} // namespace qmx44::document
