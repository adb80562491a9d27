#pragma once
// What the note on the screen will do once saved, shown beside the totals as the clerk
// types: the supplier's balance now, the change this note makes to it and the balance
// after (in the supplier's currency, converted as applying a note converts it), and the
// pending amount before, this note's share and after, for the grid's current line and
// for the whole purchase.
//
// It reads the database only when the pending column is read (the supplier's balance
// and currency, what an earlier application of the note being modified took, and the
// exchange rates when the currencies differ) and when the date changes under a
// conversion. Typing a bonus reads nothing: each key recomputes the figures from the
// grid's current row and the totals, in constant time. It never draws a folio and writes
// nothing but its own labels; a failed read leaves the panel blank.
#include <QDate>
#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::preview {

// What converting the note's total into the supplier's currency needs.
struct Conversion {
    QString noteCurrency, supplierCurrency, localCurrency;
    double typedRate = 0;    // the note's exchange rate as typed (txt_Nc_Tipo_Cambio)
    double noteRate = 0;     // the rate of the note's currency on the note's date
    double supplierRate = 0; // the rate of the supplier's currency on the note's date
    // Both currencies known and different.
    bool needed() const
    {
        return !noteCurrency.isEmpty() && !supplierCurrency.isEmpty() && noteCurrency != supplierCurrency;
    }
};

// `total` in the supplier's currency, as NotaCredito::Aplicar converts it: into the local
// currency at the typed rate (at the rate of the date for a note in the local currency
// or without a positive typed rate), then into the supplier's at the rate of the date.
// Nothing when a rate it needs is not positive (the application would refuse).
std::optional<double> inSupplierCurrency(double total, const Conversion &c);

class NoteEffect {
public:
    explicit NoteEffect(screen::FrmQMX44 &frm);

    // Connects the panel to the form's changes. `self` stays alive as long as the form's
    // controls hold the observers.
    static void attach(const std::shared_ptr<NoteEffect> &self);

    // The pending column was read: the account is read again and the panel shown.
    void pendingRead();
    // The date changed: the rates are read again when a conversion needs them.
    void dateChanged();
    // Recomputes and shows every figure (no statement).
    void show();
    // Shows the current line's row only.
    void showLine();
    // Blanks the panel and forgets the account (the grid was emptied).
    void clear();

private:
    struct Account {
        QString supplier;
        double balance = 0;
        double credited = 0;   // what the earlier application of the shown note took
        double pendingSum = 0; // the purchase's pending amounts, one per purchase line
        Conversion conversion;
    };
    void readRates();
    void setRow(int row, const std::array<QString, 4> &texts);

    screen::FrmQMX44 &m_frm;
    std::optional<Account> m_account;
    QDate m_ratesDate;
};

} // namespace qmx44::preview
