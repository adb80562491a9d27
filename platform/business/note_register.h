#pragma once
// The notes register: the stored credit notes, one row per note, filtered, sorted and
// read a page at a time, with the totals of everything that matches and its export to
// CSV and PDF. A user restricted to a branch or warehouse sees only its notes.
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace qmx44::services {
class Session;
}

namespace qmx44::business {

enum class NoteState { Any, Live, Cancelled };

// What the clerk narrows the list to; an empty text or an invalid date does not narrow.
struct NoteRegisterFilter {
    QString supplier; // Pv_Cve_Proveedor
    QString purchase; // Co_Folio
    QDate from, to;   // Nc_Fecha, both days included
    NoteState state = NoteState::Any;
    QString cause; // Cn_Cve_Causa_Nota_Credito_Proveedor
    QString user;  // Nc_Usuario, who registered it
};

// The register's columns, in the order shown.
enum class NoteColumn { Folio, Date, Supplier, Purchase, Subtotal, Tax, Total, Currency, State, ReplacedBy, Replaces };
inline constexpr int NoteColumnCount = 11;

struct NoteRow {
    QString folio;
    QDate date;
    QString supplier, supplierName, purchase;
    double subtotal = 0, tax = 0, total = 0;
    QString currency;
    bool cancelled = false;
    QString replacedBy; // the note that replaced this one
    QString replaces;   // the note this one replaced
};

// The sums of every note that matches, in their currency when they share one, else
// converted at each note's exchange rate into the local currency (`converted`).
struct NoteTotals {
    int notes = 0;
    double subtotal = 0, tax = 0, total = 0;
    QString currency;
    bool converted = false;
};

class NoteRegister {
public:
    // The notes the session's user may see: all of them, or those of the user's branch
    // and warehouse when the user is restricted to them.
    explicit NoteRegister(std::shared_ptr<services::Session> session);

    const NoteRegisterFilter &filter() const { return m_filter; }
    void setFilter(const NoteRegisterFilter &filter) { m_filter = filter; }
    NoteColumn sortColumn() const { return m_sortColumn; }
    bool descending() const { return m_descending; }
    // Ties are broken by folio, in the same direction.
    void setSort(NoteColumn column, bool descending);

    NoteTotals totals() const;
    // The matching notes from `offset` on, at most `limit` (all when negative).
    std::vector<NoteRow> rows(int offset, int limit) const;

    static QStringList headers();
    // A cell as shown and exported: dates dd/MM/yyyy, amounts #,##0.00, the state
    // "Vigente" or "Cancelada".
    static QString cellText(const NoteRow &row, NoteColumn column);
    // The totals under the same columns ("Total: N notas" under the folio).
    static QString totalsText(const NoteTotals &totals, NoteColumn column);

    // Every matching note as CSV: a header line, one line a note and the totals; fields
    // separated by `separator` and quoted when they hold it, a quote or a line break;
    // amounts with `decimalPoint` and no grouping. UTF-8 with its byte order mark, so a
    // spreadsheet reads the accents.
    QByteArray toCsv(QChar separator, QChar decimalPoint) const;
    // Every matching note as a PDF under the company's header (name, RFC, address) and
    // the filter in words. Needs a QGuiApplication; throws RuntimeError when the file
    // cannot be written.
    void writePdf(const QString &file) const;
    // The filter in words, for the printed list ("Proveedor P0002 · Vigentes").
    QString filterText() const;

private:
    QString whereClause(QVariantList &values) const;

    std::shared_ptr<services::Session> m_session;
    QString m_branch, m_warehouse;
    NoteRegisterFilter m_filter;
    NoteColumn m_sortColumn = NoteColumn::Folio;
    bool m_descending = false;
};

// The list separator of a locale whose decimal point is `decimalPoint`: a semicolon
// where the comma is the decimal point, else a comma (as spreadsheets read CSV files).
QChar csvSeparator(QChar decimalPoint);

} // namespace qmx44::business
