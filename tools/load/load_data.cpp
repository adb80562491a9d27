#include "tools/load/load_data.h"

#include "platform/db/admin.h"
#include "platform/db/clerks.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "tools/load/invariants.h"

#include <QDate>

namespace qmx44::load {

namespace {

// Few purchases and lines of modest amounts: many clerks work on the same lines, and
// what is pending runs out, so that the save's pending refusal is part of the load.
constexpr int kPurchases = 6;
constexpr int kLines = 4;
const char *const kSuppliers[] = {"P0001", "P0002", "P0003"};
const char *const kProducts[kLines] = {"PL-001", "PN-001", "CH-001", "TN-001"};

} // namespace

SharedPurchases prepareDatabase(const QString &connection)
{
    db::initDatabase(connection, /*demo=*/true);
    auto c = db::open(connection, db::OpenMode::Existing);
    SharedPurchases shared;
    shared.rowsEach = kLines;
    db::ScopedTransaction tx(*c);
    const QDate date = QDate::currentDate().addDays(-1);
    for (int p = 0; p < kPurchases; ++p) {
        const QString folio = QStringLiteral("L%1").arg(p + 1, 9, 10, QLatin1Char('0'));
        const QString supplier = QLatin1String(kSuppliers[p % 3]);
        for (int l = 0; l < kLines; ++l) {
            const double quantity = 3, price = 40 + 10 * l, amount = quantity * price, tax = amount * 0.16;
            c->run(QStringLiteral(
                       "INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, "
                       "Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, "
                       "Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, "
                       "Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, "
                       "Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, "
                       "Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, "
                       "Co_Precio_Neto_Importe) VALUES (?, ?, ?, '001', 'A01', ?, 'CM01', 'MN', 1, ?, 'AC', ?, "
                       "'M', 'NEG', ?, 'PZA', ?, 'PZA', ?, 'KG', ?, 0, 0.16, ?, ?, 0, ?, ?)"),
                   {folio, l + 1, date, supplier, QStringLiteral("FAC-%1").arg(folio), QLatin1String(kProducts[l]),
                    quantity, quantity, quantity / 2, price, amount, amount, tax, amount + tax});
        }
        shared.folios << folio;
        if (!shared.suppliers.contains(supplier))
            shared.suppliers << supplier;
    }
    shared.date = date;
    // Every saved note lowers the supplier's balance; nobody has to type the additional
    // fields.
    c->run(QStringLiteral("UPDATE Parametro SET Pa_Valor = '1' WHERE Pa_Nombre = 'CXP_APLICAR_NOTA_CREDITO'"));
    c->run(QStringLiteral("UPDATE Campo_Adicional SET Ca_Requerido = 0"));
    c->run(QStringLiteral("UPDATE Proveedor SET Pv_Saldo = 500000 WHERE Pv_Cve_Proveedor IN ('P0001', 'P0002', "
                          "'P0003')"));
    recordOpeningBalances(*c);
    tx.commit();
    return shared;
}

QString clerkConnection(const QString &connection)
{
    db::ConnectionSpec spec = db::parseConnectionString(connection);
    if (spec.backend != db::Backend::Postgres)
        return connection;
    const QString login = QStringLiteral("qmx44_load_clerk"), password = QStringLiteral("load-clerk");
    db::addClerk(*db::open(connection, db::OpenMode::Existing), login, QLatin1String(kClerkUser), password);
    spec.user = login;
    spec.password = password;
    return spec.toString();
}

} // namespace qmx44::load
