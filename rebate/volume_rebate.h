#pragma once
// The volume rebate: one amount (or a percent of what was bought) granted over every
// eligible purchase line of a supplier in a period, saved as one credit note per
// purchase, all of them or none, and stored as a run that can be shown, printed and
// cancelled again as a whole.
//
// Saving goes through the credit-note document as the screen's save does: the same
// statements, folio counter, pending check, additional fields and application to the
// supplier's balance. The locks follow the document's order: every purchase of the run
// first (in folio order, so two rebates over the same purchases wait for each other
// instead of crossing), then the supplier, then the run's counter and the notes' counter.
#include "rebate/spread.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace qmx44::services {
class Session;
}

namespace qmx44::rebate {

// What the rebate is spread in proportion to.
enum class Basis { Amount, ControlQuantity };

// What the clerk asks for.
struct RebateParameters {
    QString supplier;     // Pv_Cve_Proveedor
    QDate from, to;       // purchase dates (Co_Fecha), both days included
    QString currency;     // only purchases in this currency; empty: the supplier's own
    QString cause;        // Cn_Cve_Causa_Nota_Credito_Proveedor of every note
    QString reference;    // Nc_Referencia of every note
    bool percent = false; // `value` is a percent of the included lines' amount
    double value = 0;     // the amount in the purchases' currency, or the percent
    Basis basis = Basis::Amount;
    // Made up by the caller once per run being entered and given again on every attempt
    // to save it: after a commit whose answer was lost, the next attempt finds the run
    // saved under it instead of granting it twice. Empty: each attempt is a new run.
    QString token;
};

// One purchase line, grouped as the screen's detail grid groups it, with what is still
// pending on it and its part of the rebate.
struct EligibleLine {
    QString purchase, branch, warehouse, buyer, currency;
    QDate purchaseDate;
    QString product, description, size, color, unit1, controlUnit1, controlUnit2;
    // As the grid shows them (and the note stores them): the control quantities are the
    // grid's, which sum the purchase's first quantity.
    double quantity1 = 0, controlQuantity1 = 0, controlQuantity2 = 0;
    double controlBasis = 0; // the purchase's own control quantity 1, summed: the basis by quantity
    double taxFactor = 0;
    double amount = 0;      // the bonus base before tax, as the grid's (discounts taken off)
    double pending = 0;     // what is still pending on it, tax included
    std::int64_t cap = 0;   // the most it may take before tax, in cents (pending shared
                            // between lines of one purchase line in proportion to amount)
    bool excluded = false;  // left out by the clerk
    std::int64_t cents = 0; // its part of the rebate before tax, in cents
};

// The outcome of spreading: the amount asked for and what no line could take.
struct SpreadOutcome {
    std::int64_t asked = 0;    // cents
    std::int64_t unplaced = 0; // cents
};

// One note of a stored run.
struct RunNote {
    QString folio, purchase;
    double subtotal = 0, tax = 0, total = 0;
    bool cancelled = false;
};

// A stored run.
struct RebateRun {
    QString folio; // Bv_Folio
    RebateParameters parameters;
    std::int64_t granted = 0, unplaced = 0; // cents
    QString user;
    QDateTime registered;
    bool cancelled = false;
    QString cancelledBy;
    QDateTime cancelledAt;
    std::vector<RunNote> notes;
};

// The outcome of a save or a cancellation: `ok`, or the clerk's message saying why not
// (nothing was written then).
struct Outcome {
    bool ok = false;
    QString folio; // the run's folio after a save
    QString error;
};

class VolumeRebate {
public:
    // Works on the session's connection, as its user, limited to the user's branch and
    // warehouse when the user is restricted to them.
    explicit VolumeRebate(std::shared_ptr<services::Session> session);
    ~VolumeRebate();

    // The currency of the supplier's account (Proveedor.Mn_Cve_Moneda), empty when the
    // supplier is unknown.
    QString supplierCurrency(const QString &supplier);

    // Every eligible line: of live purchases of the supplier dated in the period, in the
    // currency asked for (the supplier's when empty), of branches and warehouses the user
    // may use; in purchase folio order, then as the grid orders a purchase's lines.
    // Lines with nothing pending are listed too (their cap is 0). Database failures
    // throw RuntimeError.
    std::vector<EligibleLine> eligible(const RebateParameters &parameters);

    // Spreads the amount asked for over the lines not excluded (in proportion to their
    // basis, capped), writing each line's `cents`; an excluded line gets 0.
    static SpreadOutcome spreadOver(const RebateParameters &parameters, std::vector<EligibleLine> &lines);

    // Saves one note per purchase of the lines granted something, in one transaction
    // (or, when a run with the parameters' token is stored already, answers its folio):
    // the run stored with its parameters, each note linked to it, `additionalFields`
    // (name, value) stored under every note. Refused, with nothing written, when a line
    // would exceed what is pending by then (another clerk's note since the lines were
    // read), when the cause, supplier or an amount is missing, or on a database failure.
    Outcome save(const RebateParameters &parameters, const std::vector<EligibleLine> &lines,
                 const std::vector<std::pair<QString, QString>> &additionalFields = {});

    // The stored run `folio` (normalised as typed folios are); nullopt-like: an empty
    // folio in the answer when there is no such run.
    RebateRun run(const QString &folio);

    // Cancels every live note of run `folio` and marks the run cancelled, in one
    // transaction: all of them or none.
    Outcome cancel(const QString &folio);

    // The run's printed summary (company header, parameters, one line per note, totals)
    // as a PDF. Needs a QGuiApplication; throws RuntimeError when the file cannot be written.
    void writeSummaryPdf(const QString &folio, const QString &file);

private:
    std::shared_ptr<services::Session> m_session;
};

} // namespace qmx44::rebate
