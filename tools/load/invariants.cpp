#include "tools/load/invariants.h"

#include "intake/pending_amounts.h"

#include <cmath>

namespace qmx44::load {

namespace {

// Money is stored as double: sums of the same amounts may differ in the last bits.
constexpr double kMoneyTolerance = 0.005;

// The save compares a line's bonus with what is pending in whole units (truncated
// toward zero), line after line: a line below one unit always passes while what is
// pending is above -1, so a purchase line may end up to (not including) two units below
// zero, and never further.
constexpr double kWholeUnitSlack = 2.0;

QString text(db::RecordSet &rs, const char *column)
{
    return rs.field(QLatin1String(column)).toString();
}

double number(db::RecordSet &rs, const char *column)
{
    return rs.field(QLatin1String(column)).toDouble();
}

void add(std::vector<Violation> &out, ViolationKind kind, const QString &rows)
{
    out.push_back({kind, rows});
}

void duplicateFolios(db::Conexion &c, std::vector<Violation> &out)
{
    auto rs = c.query(QStringLiteral(
        "SELECT Nc_Folio, COUNT(DISTINCT Co_Folio) AS Compras, COUNT(DISTINCT Nc_Referencia) AS Referencias, "
        "COUNT(DISTINCT Pv_Cve_Proveedor) AS Proveedores, COUNT(DISTINCT Nc_Usuario) AS Usuarios, "
        "COUNT(DISTINCT Nc_Fecha_Registro) AS Momentos, COUNT(DISTINCT Nc_Folio_Sustituye) AS Sustituye "
        "FROM NOTA_CREDITO_PROVEEDOR GROUP BY Nc_Folio "
        "HAVING COUNT(DISTINCT Co_Folio) > 1 OR COUNT(DISTINCT Nc_Referencia) > 1 "
        "OR COUNT(DISTINCT Pv_Cve_Proveedor) > 1 OR COUNT(DISTINCT Nc_Usuario) > 1 "
        "OR COUNT(DISTINCT Nc_Fecha_Registro) > 1 OR COUNT(DISTINCT Nc_Folio_Sustituye) > 1 ORDER BY Nc_Folio"));
    for (; !rs->eof(); rs->moveNext())
        add(out, ViolationKind::DuplicateFolio,
            QStringLiteral("folio %1: rows of %2 purchases, %3 references, %4 suppliers, %5 users, %6 moments, "
                           "%7 replaced notes")
                .arg(text(*rs, "Nc_Folio"), text(*rs, "Compras"), text(*rs, "Referencias"), text(*rs, "Proveedores"),
                     text(*rs, "Usuarios"), text(*rs, "Momentos"), text(*rs, "Sustituye")));
    rs = c.query(QStringLiteral("SELECT Nc_Folio_Sustituye, COUNT(DISTINCT Nc_Folio) AS Notas "
                                "FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio_Sustituye <> '' "
                                "GROUP BY Nc_Folio_Sustituye HAVING COUNT(DISTINCT Nc_Folio) > 1 "
                                "ORDER BY Nc_Folio_Sustituye"));
    for (; !rs->eof(); rs->moveNext())
        add(out, ViolationKind::DuplicateFolio,
            QStringLiteral("note %1 replaced by %2 notes").arg(text(*rs, "Nc_Folio_Sustituye"), text(*rs, "Notas")));
}

// The save's own statement of what is pending, purchase by purchase.
void overGranted(db::Conexion &c, std::vector<Violation> &out)
{
    QStringList purchases;
    auto rs = c.query(QStringLiteral("SELECT DISTINCT Co_Folio FROM NOTA_CREDITO_PROVEEDOR ORDER BY Co_Folio"));
    for (; !rs->eof(); rs->moveNext())
        purchases << text(*rs, "Co_Folio");
    rs.reset();
    for (const QString &purchase : purchases) {
        rs = c.query(intake::pendingAmountsSql(false), {purchase, purchase});
        for (; !rs->eof(); rs->moveNext()) {
            const double pending = number(*rs, "Comprado") - number(*rs, "Bonificado");
            if (pending <= -kWholeUnitSlack + kMoneyTolerance)
                add(out, ViolationKind::OverGranted,
                    QStringLiteral("purchase %1 line %2/%3/%4/%5: bought %6, granted %7")
                        .arg(purchase, text(*rs, "Pr_Cve_Producto"), text(*rs, "Tl_Cve_Talla"),
                             text(*rs, "Cl_Cve_Color"), text(*rs, "Unidad_1"))
                        .arg(number(*rs, "Comprado"), 0, 'f', 4)
                        .arg(number(*rs, "Bonificado"), 0, 'f', 4));
        }
    }
}

void incompleteNotes(db::Conexion &c, std::vector<Violation> &out)
{
    auto rs = c.query(QStringLiteral("SELECT Nc_Folio, COUNT(*) AS Filas, MIN(Nc_Linea) AS Primera, "
                                     "MAX(Nc_Linea) AS Ultima FROM NOTA_CREDITO_PROVEEDOR GROUP BY Nc_Folio "
                                     "HAVING MIN(Nc_Linea) <> 1 OR MAX(Nc_Linea) <> COUNT(*) ORDER BY Nc_Folio"));
    for (; !rs->eof(); rs->moveNext())
        add(out, ViolationKind::IncompleteNote,
            QStringLiteral("note %1: %2 rows numbered %3 to %4")
                .arg(text(*rs, "Nc_Folio"), text(*rs, "Filas"), text(*rs, "Primera"), text(*rs, "Ultima")));
    // The application is the note's total with tax when the supplier is kept in the
    // note's currency (otherwise it was converted).
    rs = c.query(
        QStringLiteral("SELECT a.Nc_Folio, a.Ap_Importe, n.Total FROM Nota_Credito_Aplicacion a "
                       "JOIN (SELECT Nc_Folio, SUM(Nc_Precio_Neto_Importe) AS Total, MIN(Mn_Cve_Moneda) AS Moneda, "
                       "      MIN(Pv_Cve_Proveedor) AS Proveedor FROM NOTA_CREDITO_PROVEEDOR GROUP BY Nc_Folio) n "
                       "  ON n.Nc_Folio = a.Nc_Folio "
                       "JOIN Proveedor p ON p.Pv_Cve_Proveedor = n.Proveedor AND p.Mn_Cve_Moneda = n.Moneda "
                       "ORDER BY a.Nc_Folio"));
    for (; !rs->eof(); rs->moveNext()) {
        const double applied = number(*rs, "Ap_Importe"), total = number(*rs, "Total");
        if (std::abs(applied - total) > kMoneyTolerance)
            add(out, ViolationKind::IncompleteNote,
                QStringLiteral("note %1: lines add to %2, applied %3")
                    .arg(text(*rs, "Nc_Folio"))
                    .arg(total, 0, 'f', 4)
                    .arg(applied, 0, 'f', 4));
    }
}

// When notes are applied to the supplier's balance, a live note without its live
// application is as half-written as one with lines missing.
void unappliedNotes(db::Conexion &c, std::vector<Violation> &out)
{
    auto rs =
        c.query(QStringLiteral("SELECT DISTINCT n.Nc_Folio FROM NOTA_CREDITO_PROVEEDOR n "
                               "WHERE n.Es_Cve_Estado <> 'CA' AND EXISTS (SELECT 1 FROM Parametro p "
                               "  WHERE p.Pa_Nombre = 'CXP_APLICAR_NOTA_CREDITO' AND p.Pa_Valor = '1') "
                               "AND NOT EXISTS (SELECT 1 FROM Nota_Credito_Aplicacion a WHERE a.Nc_Folio = n.Nc_Folio "
                               "  AND a.Ap_Cancelada = 0) ORDER BY n.Nc_Folio"));
    for (; !rs->eof(); rs->moveNext())
        add(out, ViolationKind::IncompleteNote,
            QStringLiteral("note %1: live, not applied to the supplier's balance").arg(text(*rs, "Nc_Folio")));
}

// SQLite's own check of the file: pages, indexes and their rows agree.
void damagedFile(db::Conexion &c, std::vector<Violation> &out)
{
    if (c.backend() != db::Backend::Sqlite)
        return;
    QStringList problems;
    auto rs = c.query(QStringLiteral("PRAGMA integrity_check"));
    for (; !rs->eof(); rs->moveNext())
        problems << rs->field(QStringLiteral("integrity_check")).toString();
    if (problems != QStringList{QStringLiteral("ok")})
        add(out, ViolationKind::DamagedFile, QStringLiteral("integrity_check: ") + problems.join(QStringLiteral("; ")));
}

void partlyCancelled(db::Conexion &c, std::vector<Violation> &out)
{
    auto rs = c.query(
        QStringLiteral("SELECT Nc_Folio, SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) AS Canceladas, "
                       "SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 0 ELSE 1 END) AS Vigentes FROM NOTA_CREDITO_PROVEEDOR "
                       "GROUP BY Nc_Folio HAVING SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) > 0 "
                       "AND SUM(CASE WHEN Es_Cve_Estado = 'CA' THEN 0 ELSE 1 END) > 0 ORDER BY Nc_Folio"));
    for (; !rs->eof(); rs->moveNext())
        add(out, ViolationKind::PartlyCancelled,
            QStringLiteral("note %1: %2 rows cancelled, %3 live")
                .arg(text(*rs, "Nc_Folio"), text(*rs, "Canceladas"), text(*rs, "Vigentes")));
    rs = c.query(QStringLiteral("SELECT a.Nc_Folio FROM Nota_Credito_Aplicacion a WHERE a.Ap_Cancelada = 0 "
                                "AND NOT EXISTS (SELECT 1 FROM NOTA_CREDITO_PROVEEDOR n "
                                "WHERE n.Nc_Folio = a.Nc_Folio AND n.Es_Cve_Estado <> 'CA') ORDER BY a.Nc_Folio"));
    for (; !rs->eof(); rs->moveNext())
        add(out, ViolationKind::PartlyCancelled,
            QStringLiteral("note %1: cancelled, its application still stands").arg(text(*rs, "Nc_Folio")));
}

void balances(db::Conexion &c, std::vector<Violation> &out)
{
    auto rs = c.query(QStringLiteral(
        "SELECT s.Pv_Cve_Proveedor, s.Cs_Saldo, p.Pv_Saldo, "
        "COALESCE((SELECT SUM(a.Ap_Importe) FROM Nota_Credito_Aplicacion a "
        "          WHERE a.Pv_Cve_Proveedor = s.Pv_Cve_Proveedor AND a.Ap_Cancelada = 0), 0) AS Aplicado "
        "FROM Carga_Saldo_Inicial s JOIN Proveedor p ON p.Pv_Cve_Proveedor = s.Pv_Cve_Proveedor "
        "ORDER BY s.Pv_Cve_Proveedor"));
    for (; !rs->eof(); rs->moveNext()) {
        const double opening = number(*rs, "Cs_Saldo"), now = number(*rs, "Pv_Saldo"),
                     applied = number(*rs, "Aplicado");
        // Sums of many doubles: a cent is the tolerance here.
        if (std::abs(opening - applied - now) > 0.01)
            add(out, ViolationKind::BalanceMismatch,
                QStringLiteral("supplier %1: opening %2 less live applications %3 is %4, balance %5")
                    .arg(text(*rs, "Pv_Cve_Proveedor"))
                    .arg(opening, 0, 'f', 4)
                    .arg(applied, 0, 'f', 4)
                    .arg(opening - applied, 0, 'f', 4)
                    .arg(now, 0, 'f', 4));
    }
}

} // namespace

QString kindName(ViolationKind kind)
{
    switch (kind) {
    case ViolationKind::DuplicateFolio:
        return QStringLiteral("duplicate folio");
    case ViolationKind::OverGranted:
        return QStringLiteral("over-granted line");
    case ViolationKind::IncompleteNote:
        return QStringLiteral("incomplete note");
    case ViolationKind::PartlyCancelled:
        return QStringLiteral("partly cancelled note");
    case ViolationKind::BalanceMismatch:
        return QStringLiteral("balance mismatch");
    case ViolationKind::DamagedFile:
        return QStringLiteral("damaged database file");
    }
    return {};
}

void recordOpeningBalances(db::Conexion &c)
{
    c.run(QStringLiteral("CREATE TABLE IF NOT EXISTS Carga_Saldo_Inicial ("
                         "Pv_Cve_Proveedor TEXT PRIMARY KEY, Cs_Saldo DOUBLE PRECISION DEFAULT 0)"));
    c.run(QStringLiteral("DELETE FROM Carga_Saldo_Inicial"));
    c.run(QStringLiteral("INSERT INTO Carga_Saldo_Inicial (Pv_Cve_Proveedor, Cs_Saldo) "
                         "SELECT p.Pv_Cve_Proveedor, COALESCE(p.Pv_Saldo, 0) + "
                         "COALESCE((SELECT SUM(a.Ap_Importe) FROM Nota_Credito_Aplicacion a "
                         "WHERE a.Pv_Cve_Proveedor = p.Pv_Cve_Proveedor AND a.Ap_Cancelada = 0), 0) "
                         "FROM Proveedor p"));
}

std::vector<Violation> checkInvariants(db::Conexion &c)
{
    std::vector<Violation> out;
    damagedFile(c, out);
    duplicateFolios(c, out);
    overGranted(c, out);
    incompleteNotes(c, out);
    unappliedNotes(c, out);
    partlyCancelled(c, out);
    balances(c, out);
    return out;
}

} // namespace qmx44::load
