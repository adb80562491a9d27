// The note's effect panel: its reads when the pending column is read, its figures on
// every change of a bonus, the current row or the totals.
#include "preview/note_effect.h"

#include "platform/controls/controls.h"
#include "platform/controls/number_format.h"
#include "platform/db/connection.h"
#include "platform/services/utilerias.h"
#include "screen/detail_columns.h"
#include "screen/frm_qmx44.h"

#include <QSet>
#include <cmath>

namespace qmx44::preview {

namespace fields = screen::fields;
namespace columns = screen::columns;

namespace {

const QString Figure = QStringLiteral("#,##0.00");

enum Row { Headings = 0, Balance = 1, Line = 2, Purchase = 3 };

bool positive(double value)
{
    return std::isfinite(value) && value > 0;
}

double number(const QVariant &value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

QString figure(double value)
{
    return controls::formatNumber(value, Figure);
}

// Before, change and after as the panel shows them.
std::array<QString, 4> figures(const QString &caption, double before, double change)
{
    return {caption, figure(before), figure(change), figure(before + change)};
}

} // namespace

std::optional<double> inSupplierCurrency(double total, const Conversion &c)
{
    if (!c.needed())
        return total;
    const bool localNote = c.noteCurrency == c.localCurrency;
    const double noteRate = !localNote && positive(c.typedRate) ? c.typedRate : c.noteRate;
    if (!positive(noteRate) || !positive(c.supplierRate))
        return std::nullopt;
    return total * noteRate / c.supplierRate;
}

NoteEffect::NoteEffect(screen::FrmQMX44 &frm) : m_frm(frm) {}

void NoteEffect::attach(const std::shared_ptr<NoteEffect> &self)
{
    screen::FrmQMX44 &frm = self->m_frm;
    QObject::connect(&frm, &screen::FrmQMX44::pendingRead, &frm, [self] { self->pendingRead(); });
    controls::Grid &grid = frm.ssDetalle();
    grid.observers().add([self, &grid](const controls::ModelChange &change) {
        using controls::Aspect;
        if (change.aspect == Aspect::Rows && grid.rowCount() == 0)
            self->clear();
        else if (change.aspect == Aspect::CurrentCell)
            self->showLine();
        // A bonus of the current row; the rows the proration rewrites show through the totals.
        else if (change.aspect == Aspect::Cell && change.row == grid.currentRow()
                 && change.column == grid.columnIndex(columns::BON_IMPORTE))
            self->showLine();
    });
    for (const QString *name : {&fields::txt_Total, &fields::txt_Nc_Tipo_Cambio})
        frm.textField(*name).observers().add([self](const controls::ModelChange &change) {
            if (change.aspect == controls::Aspect::Text)
                self->show();
        });
    frm.dpFecha().observers().add([self](const controls::ModelChange &change) {
        if (change.aspect == controls::Aspect::Text)
            self->dateChanged();
    });
}

void NoteEffect::pendingRead()
{
    m_account.reset();
    const controls::Grid &grid = m_frm.ssDetalle();
    const QString supplier = m_frm.textField(fields::txt_Pv_Cve_Proveedor).text();
    if (grid.rowCount() == 0 || supplier.isEmpty()) {
        clear();
        return;
    }
    try {
        // The session's connection itself: a planned failure of the screen's services is
        // the screen's to meet, not the panel's.
        db::Conexion &connection = m_frm.Sistema().session().connection();
        Account account;
        account.supplier = supplier;
        auto rs = connection.query(
            QStringLiteral("SELECT Pv_Saldo, Mn_Cve_Moneda FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {supplier});
        if (rs->eof()) {
            clear();
            return;
        }
        account.balance = number(rs->field(QStringLiteral("Pv_Saldo")));
        account.conversion.supplierCurrency = rs->field(QStringLiteral("Mn_Cve_Moneda")).toString();
        rs->close();
        // A shown or modified note gives back what its application took when it is
        // replaced.
        const QString folio = m_frm.txtFolio().text();
        if (!folio.isEmpty()) {
            auto applied = connection.query(QStringLiteral("SELECT Ap_Importe FROM Nota_Credito_Aplicacion "
                                                           "WHERE Nc_Folio = ? AND Ap_Cancelada = 0"),
                                            {folio});
            if (!applied->eof())
                account.credited = number(applied->field(QStringLiteral("Ap_Importe")));
            applied->close();
        }
        account.conversion.noteCurrency = m_frm.textField(fields::txt_Mn_Cve_Moneda).text();
        account.conversion.localCurrency = m_frm.MonedaLocal;

        // What is pending on the purchase: once per purchase line (rows of one line share
        // its pending amount).
        const int keys[] = {grid.columnIndex(columns::Pr_Cve_Producto), grid.columnIndex(columns::Tl_Cve_Talla),
                            grid.columnIndex(columns::Cl_Cve_Color), grid.columnIndex(columns::Unidad_1)};
        const int pending = grid.columnIndex(columns::Pending);
        QSet<QString> seen;
        for (int r = 0; r < grid.rowCount(); ++r) {
            QString key;
            for (int k : keys)
                key += grid.cellValue(r, k).toString() + QChar(0x1F);
            if (!seen.contains(key)) {
                seen.insert(key);
                account.pendingSum += number(grid.cellValue(r, pending));
            }
        }
        m_account = std::move(account);
        m_ratesDate = QDate();
        readRates();
    } catch (const std::exception &) {
        // The panel is an aid: without its figures the screen goes on as it is.
        m_account.reset();
    }
    show();
}

void NoteEffect::readRates()
{
    if (!m_account || !m_account->conversion.needed())
        return;
    const QDate date = m_frm.dpFecha().value();
    if (date == m_ratesDate)
        return;
    db::Conexion &connection = m_frm.Sistema().session().connection();
    Conversion &c = m_account->conversion;
    c.noteRate = services::exchangeRate(connection, c.noteCurrency, date);
    c.supplierRate = services::exchangeRate(connection, c.supplierCurrency, date);
    m_ratesDate = date;
}

void NoteEffect::dateChanged()
{
    try {
        readRates();
    } catch (const std::exception &) {
        m_account.reset();
    }
    show();
}

void NoteEffect::setRow(int row, const std::array<QString, 4> &texts)
{
    for (int column = 0; column < fields::EffectColumns; ++column) {
        auto &label = m_frm.form().get<controls::Label>(fields::effectLabel(row, column));
        if (label.caption() != texts[column])
            label.setCaption(texts[column]);
    }
}

void NoteEffect::clear()
{
    m_account.reset();
    for (int row = 0; row < fields::EffectRows; ++row)
        setRow(row, {});
}

void NoteEffect::showLine()
{
    if (!m_account)
        return;
    const controls::Grid &grid = m_frm.ssDetalle();
    const int row = grid.currentRow();
    if (row < 0 || row >= grid.rowCount()) {
        setRow(Line, {});
        return;
    }
    const double pending = number(grid.cellValue(row, grid.columnIndex(columns::Pending)));
    const double bonus = number(grid.cellValue(row, grid.columnIndex(columns::BON_IMPORTE)));
    const double factor = number(grid.cellValue(row, grid.columnIndex(columns::Impuesto_Factor)));
    // The line's share with its tax, as the save stores it and checks it.
    setRow(Line, figures(QStringLiteral("Pendiente partida %1").arg(row + 1), pending, -(bonus + bonus * factor)));
}

void NoteEffect::show()
{
    if (!m_account) {
        clear();
        return;
    }
    const Account &a = *m_account;
    const double total = number(m_frm.textField(fields::txt_Total).value());
    Conversion c = a.conversion;
    c.typedRate = number(m_frm.textField(fields::txt_Nc_Tipo_Cambio).value());

    setRow(Headings,
           {QStringLiteral("Efecto de la nota"), QStringLiteral("Antes"), QStringLiteral("Esta nota"),
            QStringLiteral("Después")});
    // Each amount's currency in its caption.
    const auto inCurrency = [](const QString &caption, const QString &currency) {
        return currency.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, currency);
    };
    const QString balanceCaption = inCurrency(QStringLiteral("Saldo del proveedor"), c.supplierCurrency);
    const std::optional<double> applied = inSupplierCurrency(total, c);
    if (!m_frm.AplicarNotaCredito && a.credited == 0)
        setRow(Balance, {balanceCaption, figure(a.balance), QStringLiteral("no se aplica"), figure(a.balance)});
    else if (m_frm.AplicarNotaCredito && !applied)
        setRow(Balance, {balanceCaption, figure(a.balance), QStringLiteral("sin T.C."), QString()});
    else
        setRow(Balance, figures(balanceCaption, a.balance, a.credited - (m_frm.AplicarNotaCredito ? *applied : 0.0)));
    showLine();
    setRow(Purchase,
           figures(inCurrency(QStringLiteral("Pendiente de la compra"), c.noteCurrency), a.pendingSum, -total));
}

} // namespace qmx44::preview
