#pragma once
// NotaCredito: the supplier credit-note document. It numbers a note, stores one row of
// NOTA_CREDITO_PROVEEDOR per line, applies a note to the supplier's balance and cancels
// notes — always through the caller's connection and inside the caller's transaction.
#include "platform/business/nota_credito_records.h"

#include <QHash>
#include <QString>
#include <QVariantList>
#include <memory>

namespace qmx44::db {
class Conexion;
enum class Backend;
} // namespace qmx44::db

namespace qmx44::services {
class Session;
}

namespace qmx44::business {

// How a caller saves a note (the caller owns the transaction and rolls it back on any
// failure; every operation refuses to write when no transaction is open):
//
//   Nuevo(); Encabezado(header);            // the header locks the purchase's lines
//   for each line: Detalle(line); <pending check>; AgregarDetalle(ok);
//   sendLines(ok);                          // the lines still queued reach the database
//   folio = Encabezado().folio; Guardar(folio, ok); [Aplicar(folio, true, ok)]
//
// Folios come from the counter 'NOTA_CREDITO_PROVEEDOR' of Folio_Contador: its prefix
// (none in a new company) and the number padded with zeros to the counter's width, 10
// ("0000000004"), the form that folio normalisation gives to what a user types. The
// folio is drawn when the first line is added.
//
// Lines travel in batches: the first line of a note is inserted at once (a refusal of
// the server that concerns the whole note comes at the first line, as it always did),
// the others are queued and inserted linesPerStatement rows to a statement, when the
// queue holds that many, when the header is written again, and at the latest
// by sendLines, Guardar, Aplicar, Cancelar or Nuevo. A failing batch fails the operation
// that sent it, and the caller rolls back. The pending check of a later line counts the
// queued lines through queuedNetAmount, so it sees every earlier line of the note.
//
// Saves on one purchase are serialised: writing a header (or a line of a purchase not
// locked yet) inside a transaction locks the purchase's lines until that transaction
// ends (Conexion::lockRows on its COMPRA rows, in the form of each back-end). A pending
// check run after that sees every note committed before and none can be added until
// this transaction ends, so two clerks can never together grant more than is pending.
//
// Lock order. Every write path takes its locks in this one order, so that two clerks
// never wait for each other in a circle (a deadlock on PostgreSQL):
//
//   1. the purchase's lines (COMPRA rows of Co_Folio)
//   2. the note's rows (NOTA_CREDITO_PROVEEDOR rows of Nc_Folio, and its application)
//   3. the supplier's balance (the Proveedor row)
//   4. the folio counter (Folio_Contador)
//
// A save locks the purchase with its header, the supplier (the header's) before it draws
// the folio, and applies the note last; a cancellation (alone or replacing a note)
// locks the purchase, changes the note's rows and then gives the balance back. A later
// step never takes a lock of an earlier rank; taking one early with lockRows is allowed.
//
// Replacing a note: Cancelar(old folio) and then Nuevo ... Guardar on the same object in
// the same transaction; the new note records the old folio in Nc_Folio_Sustituye.
//
// Every operation first asks the session's fault plan under its own name
// ("NotaCredito.AgregarDetalle", "NotaCredito.Guardar", "NotaCredito.Aplicar",
// "NotaCredito.Cancelar"): a planned failure reports ok = false with the planned text.
// The statement that stores `rows` lines of a note (values bound in its column order,
// line after line), and the number of values each line binds.
QString insertNoteLinesSql(int rows = 1);
inline constexpr int kNoteLineValues = 38;
// PostgreSQL's form of the same insert: one array a column (`?::text[]`, ...), unnested
// into rows; and the arrays, as text, of the lines' `values` (bound in the other form's
// order). The server parses 38 arrays rather than a literal for every value of every
// line, and a batch may be as long as a note: a 5,000-line note takes 10 statements.
QString insertNoteLineColumnsSql();
QVariantList noteLineColumns(const QVariantList &values);
// The lines one statement inserts at most on `backend`: 500 on PostgreSQL (in the column
// form above); on ODBC sources about a thousand values. On SQLite one: Qt's SQLite driver
// binds every value by name and SQLite finds a name by walking those before it, so a
// statement's cost grows with the square of its values and a batch costs more than its
// lines one by one, which cost no round trip there.
int linesPerStatement(db::Backend backend);

class NotaCredito {
public:
    static constexpr const char *kDocumentName = "NOTA_CREDITO_PROVEEDOR";
    static constexpr const char *kStatusActive = "AC";
    static constexpr const char *kStatusCancelled = "CA";

    // Writes through `conexion`, the caller's; the session gives the user, the working
    // date and the fault plan. Without a connection the session's is used.
    explicit NotaCredito(std::shared_ptr<services::Session> session);
    NotaCredito(std::shared_ptr<services::Session> session, db::Conexion &connection);
    ~NotaCredito();
    NotaCredito(const NotaCredito &) = delete;
    NotaCredito &operator=(const NotaCredito &) = delete;

    // After a failed operation, why (Spanish, for the user); empty after a success.
    QString MensajeError() const { return m_errorMessage; }

    // The header: a copy of the document's, its folio filled once a line has been added
    // (and Nc_Folio_Sustituye when this object cancelled a note first).
    EncabezadoNota Encabezado() const;
    // Takes the caller's header (the folio field is the document's and is ignored).
    // Inside a transaction, locks the lines of the header's purchase; a database failure
    // of that lock throws RuntimeError.
    void Encabezado(const EncabezadoNota &header);

    // The current line, as last written (with the folio, line number and derived values
    // filled in once AgregarDetalle has stored it).
    DetalleNota Detalle() const { return m_detalle; }
    void Detalle(const DetalleNota &detail);

    // Starts an empty document, after sending the lines still queued (a database
    // failure throws RuntimeError). A folio this object cancelled stays remembered as the
    // note the next one replaces.
    void Nuevo();

    // Adds the current line under the note's folio (drawing the folio on the first
    // line), queued or sent as the batches go. Refuses a line without product or without a positive bonus, a line that
    // the header's purchase does not have, and a header without purchase.
    void AgregarDetalle(bool &ok);

    // Inserts the lines AgregarDetalle queued; ok = false with the database's message
    // when the server refuses them.
    void sendLines(bool &ok);

    // The net amount (Nc_Precio_Neto_Importe) of the lines added to purchase `compra` on
    // the given purchase line that are still queued: what the pending statements cannot
    // see yet.
    double queuedNetAmount(const QString &compra, const QString &producto, const QString &talla, const QString &color,
                           const QString &unidad1) const;

    // Completes the note `folio` (the one drawn for this document): refuses a document
    // without lines or another folio.
    void Guardar(const QString &folio, bool &ok);

    // With `aplicar` true: lowers the supplier's balance (Proveedor.Pv_Saldo) by the
    // note's total with tax and records the application in Nota_Credito_Aplicacion. When
    // the supplier is kept in another currency than the note's, the total is converted:
    // into the local currency at the note's exchange rate (the rate of the note's date
    // when the note carries none), then into the supplier's at the rate of the note's
    // date (services::exchangeRate, as Utilerias.TipoCambio gives it). Refuses a missing,
    // cancelled or already applied note, an unknown supplier, and a conversion for which
    // no rate is known on the note's date. With `aplicar` false nothing is done.
    void Aplicar(const QString &folio, bool aplicar, bool &ok);

    // Marks every row of note `folio` cancelled ("CA") with who and when, and reverses
    // its application (the balance goes back up, the application is marked cancelled).
    // Refuses a folio that does not exist or is already cancelled.
    void Cancelar(const QString &folio, bool &ok);

    // The note's total with tax of the lines added so far.
    double Total() const { return m_total; }

private:
    struct PurchaseLine {
        QString unidadControl1;
        double cantidad1 = 0;
        double cantidadControl1 = 0;
    };

    bool guardEntry(QLatin1String operation, bool &ok);
    bool fail(const QString &message, bool &ok);
    bool requireTransaction(bool &ok);
    void lockPurchase(const QString &purchase);
    void lockSupplier(const QString &supplier);
    void loadPurchase();
    bool folioExists(const QString &folio);
    void queueLine(const DetalleNota &line);
    void sendQueuedLines();
    void updateHeader();
    void storeApplication(const QString &folio, const QString &supplier, double amount, bool hasPrevious);
    QVariant moment() const;
    double amountBeforeTax(const DetalleNota &line) const;
    QString localCurrency();

    std::shared_ptr<services::Session> m_session;
    db::Conexion &m_connection;
    QString m_errorMessage;

    EncabezadoNota m_encabezado;
    EncabezadoNota m_savedHeader; // the header the stored rows carry
    DetalleNota m_detalle;
    QString m_folio;    // drawn at the first line
    QVariant m_savedAt; // when the note was saved (Nc_Fecha_Registro)
    int m_lineCount = 0;
    double m_total = 0;
    QString m_cancelledFolio; // the note this object cancelled
    QString m_lockedPurchase;
    QString m_lockedSupplier;
    QString m_loadedPurchase;
    QHash<QString, PurchaseLine> m_purchaseLines; // purchase line key -> what a note line takes
    QVariantList m_queuedValues;                  // the queued lines' values, line after line
    QHash<QString, double> m_queuedNet;           // purchase + line key -> queued net amount
};

} // namespace qmx44::business
