// Every statement the screen builds, piece by piece as the screen builds it, run on
// each back-end against the demo company: it must parse, return its named columns and
// the right rows.
#include "platform/db/connection.h"
#include "platform/db/sql_text.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

using qmx44::db::Conexion;
using qmx44::db::quoted;

namespace {

// ---- The statements, as the screen writes them -----------------------------------------

QString causeLookup(const QString &devolucion, const QString &rechazo)
{
    return QStringLiteral("SELECT Cn_Descripcion ") + QStringLiteral("FROM Causa_Nota_Credito_Proveedor ")
        + QStringLiteral("WHERE Cn_Cve_Causa_Nota_Credito_Proveedor = '?' AND ")
        + QStringLiteral("      Cn_Cve_Causa_Nota_Credito_Proveedor NOT IN('") + quoted(devolucion)
        + QStringLiteral("', '") + quoted(rechazo) + QStringLiteral("') AND ") + QStringLiteral("      Es_Cve_Estado <> 'BA'");
}

const char *const kFieldLookups[][2] = {
    {"sucursal", "SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '?'"},
    {"proveedor", "SELECT Pv_Descripcion FROM Proveedor WHERE Pv_Cve_Proveedor = '?'"},
    {"comprador", "SELECT Cm_Descripcion FROM Comprador  WHERE Cm_Cve_Comprador  = '?'"},
    {"moneda", "SELECT Mn_Descripcion FROM Moneda WHERE Mn_Cve_Moneda = '?'"},
    {"causa", "SELECT Cn_Descripcion FROM Causa_Nota_Credito_Proveedor WHERE Cn_Cve_Causa_Nota_Credito_Proveedor =  '?' AND Es_Cve_Estado <> 'BA'"},
};

// A text field puts its text, quotes doubled, in place of the '?'.
QString withKey(const QString &statement, const QString &key)
{
    QString s = statement;
    return s.replace(QLatin1Char('?'), quoted(key));
}

QString supplierStatement(const QString &key)
{
    return QStringLiteral("SELECT * FROM Proveedor WHERE Pv_Cve_Proveedor = '") + quoted(key) + QStringLiteral("'");
}

QString consultaCompra(const QString &folio)
{
    const QStringList grouped = {
        QStringLiteral("       Co_Folio, "),
        QStringLiteral("       Sc_Cve_Sucursal, "),
        QStringLiteral("       Al_Cve_Almacen, "),
        QStringLiteral("       Compra.Pv_Cve_Proveedor, "),
        QStringLiteral("       Compra.Cm_Cve_COMPRAdor, "),
        QStringLiteral("       Mn_Cve_Moneda, "),
        QStringLiteral("       Co_Tipo_Cambio, "),
        QStringLiteral("       COMPRA.Es_Cve_Estado, "),
        QStringLiteral("       Producto.Pr_Cve_Producto, "),
        QStringLiteral("       Pr_Descripcion, "),
        QStringLiteral("       Pr_Tipo_Producto, "),
        QStringLiteral("       Pr_Unidad_Costo, "),
        QStringLiteral("       Tl_Cve_Talla, "),
        QStringLiteral("       Cl_Cve_Color, "),
        QStringLiteral("       Co_Unidad_1, "),
        QStringLiteral("       Co_Unidad_Control_1, "),
        QStringLiteral("       Co_Unidad_Control_2, "),
    };
    QString s = QStringLiteral("SELECT ") + grouped.join(QString());
    s += QStringLiteral("       Co_Impuesto_Factor, ");
    s += QStringLiteral("       SUM(Co_Cantidad_1) as Co_Cantidad_1, ");
    s += QStringLiteral("       SUM(Co_Cantidad_1) as Co_Cantidad_Control_1, ");
    s += QStringLiteral("       SUM(Co_Cantidad_1) as Co_Cantidad_Control_2, ");
    s += QStringLiteral("       SUM(Co_Descuento_Global_Importe) as Co_Descuento_Global_Importe, ");
    s += QStringLiteral("       SUM(Co_Precio_Lista_Importe) as Co_Precio_Lista_Importe, ");
    s += QStringLiteral("       SUM(Co_Precio_Descontado_Importe-Co_Descuento_Global_Importe) as Co_Precio_Descontado_Importe, ");
    s += QStringLiteral("       SUM(Co_Precio_Neto_Importe) as Co_Precio_Neto_Importe, ");
    s += QStringLiteral("       SUM(Co_Impuesto_Importe) as Co_Impuesto_Importe ");
    s += QStringLiteral("FROM ");
    s += QStringLiteral("   COMPRA INNER JOIN Producto ON COMPRA.Pr_Cve_Producto = Producto.Pr_Cve_Producto ");
    s += QStringLiteral("WHERE Co_Folio = '") + quoted(folio) + QStringLiteral("' ");
    s += QStringLiteral("GROUP BY ") + grouped.join(QString());
    s += QStringLiteral("       Co_Impuesto_Factor ");
    return s;
}

QString warehouseList(const QString &branch)
{
    return QStringLiteral("SELECT Al_Cve_Almacen As CLAVE, ") + QStringLiteral("       Al_Descripcion AS DESCRIPCION ")
        + QStringLiteral("FROM Almacen ") + QStringLiteral("WHERE Sc_Cve_Sucursal = '") + quoted(branch)
        + QStringLiteral("' AND ") + QStringLiteral("   Es_Cve_Estado <> 'BA'");
}

QString warehouseLookup(const QString &branch)
{
    return QStringLiteral("SELECT Al_Descripcion ") + QStringLiteral("FROM Almacen ")
        + QStringLiteral("WHERE Al_Cve_Almacen = '?' AND ") + QStringLiteral("      Sc_Cve_Sucursal = '")
        + quoted(branch) + QStringLiteral("'");
}

QString addressStatement(const QString &id, const QString &supplier)
{
    return QStringLiteral("SELECT ") + QStringLiteral("   CASE De_Direccion_1 WHEN '' THEN ")
        + QStringLiteral("       De_Calle + ' ' + De_Numero_Interior + ' ' + De_Numero_Exterior +' '+ De_Cruzamiento_1 +' ' + De_Cruzamiento_2 ")
        + QStringLiteral("   ELSE De_Direccion_1 END AS Domicilio ") + QStringLiteral("FROM Direccion_Entrega ")
        + QStringLiteral("WHERE De_Tabla = 'PROVEEDOR' AND ") + QStringLiteral("   De_Documento = '") + quoted(supplier)
        + QStringLiteral("' AND ") + QStringLiteral("   De_ID = '") + quoted(id) + QStringLiteral("' ");
}

struct LineKey {
    QString folio, product, size, colour, unit;
};

QString pendingNotes(const LineKey &k)
{
    return QStringLiteral("SELECT ISNULL(SUM(Nc_Precio_Lista_Importe),0) AS Precio_Lista_Importe, ")
        + QStringLiteral("       ISNULL(SUM(Nc_Precio_Neto_Importe), 0) as Precio_Neto_Importe, ")
        + QStringLiteral("       ISNULL(SUM(Nc_Precio_Descontado_Importe), 0) as Precio_Descontado_Importe ")
        + QStringLiteral("FROM NOTA_CREDITO_PROVEEDOR ")
        + QStringLiteral("WHERE Co_Folio = '") + quoted(k.folio) + QStringLiteral("' AND ")
        + QStringLiteral("      Pr_Cve_Producto = '") + quoted(k.product) + QStringLiteral("' AND ")
        + QStringLiteral("      Tl_Cve_Talla = '") + quoted(k.size) + QStringLiteral("' AND ")
        + QStringLiteral("      Cl_Cve_Color = '") + quoted(k.colour) + QStringLiteral("' AND ")
        + QStringLiteral("      Nc_Unidad_1 = '") + quoted(k.unit) + QStringLiteral("' AND ")
        + QStringLiteral("      Es_Cve_Estado <> 'CA'");
}

QString pendingPurchase(const LineKey &k)
{
    return QStringLiteral("SELECT ISNULL(SUM(Co_Precio_Lista_Importe),0) AS Precio_Lista_Importe, ")
        + QStringLiteral("       ISNULL(SUM(Co_Precio_Neto_Importe),0) AS Precio_Neto_Importe, ")
        + QStringLiteral("       ISNULL(SUM(Co_Precio_Descontado_Importe), 0) as Precio_Descontado_Importe ")
        + QStringLiteral("FROM COMPRA ")
        + QStringLiteral("WHERE Co_Folio = '") + quoted(k.folio) + QStringLiteral("' AND ")
        + QStringLiteral("      Pr_Cve_Producto = '") + quoted(k.product) + QStringLiteral("' AND ")
        + QStringLiteral("      Tl_Cve_Talla = '") + quoted(k.size) + QStringLiteral("' AND ")
        + QStringLiteral("      Cl_Cve_Color = '") + quoted(k.colour) + QStringLiteral("' AND ")
        + QStringLiteral("      Co_Unidad_1 = '") + quoted(k.unit) + QStringLiteral("' AND ")
        + QStringLiteral("      Es_Cve_Estado <> 'CA'");
}

QString noteLoad(const QString &folio)
{
    return QStringLiteral("SELECT Nota_Credito_Proveedor.*, ") + QStringLiteral("   Pr_Descripcion, ")
        + QStringLiteral("   Pr_Tipo_Producto, ") + QStringLiteral("   Pr_Unidad_Costo ")
        + QStringLiteral("FROM Nota_Credito_Proveedor ")
        + QStringLiteral("   INNER JOIN Producto ON Nota_Credito_Proveedor.Pr_Cve_Producto = Producto.Pr_Cve_Producto ")
        + QStringLiteral("WHERE Nc_Folio = '") + quoted(folio) + QStringLiteral("' AND ") + QStringLiteral("   Co_Folio <> '' ");
}

// ---- Helpers ------------------------------------------------------------------------------

// The first column of the first row as text; "<none>" without a row (what a lookup
// field shows as "not found").
QString firstValue(Conexion &db, const QString &statement)
{
    auto rs = db.execute(statement);
    if (rs->eof())
        return QStringLiteral("<none>");
    return rs->field(rs->columns().value(0)).toString();
}

QStringList columnsOf(Conexion &db, const QString &statement)
{
    return db.execute(statement)->columns();
}

void expectColumns(const QStringList &actual, const QStringList &wanted)
{
    for (const QString &w : wanted)
        EXPECT_TRUE(actual.contains(w, Qt::CaseInsensitive)) << "missing column " << w.toStdString();
}

// One grid row of the purchase query, keyed "product|size|colour|unit|control unit 1|
// control unit 2|factor".
struct Group {
    double quantity = 0, control1 = 0, control2 = 0, globalDiscount = 0, list = 0, discounted = 0, net = 0, tax = 0;
    QString state, buyer;
};

QMap<QString, Group> purchaseGroups(Conexion &db, const QString &folio)
{
    QMap<QString, Group> groups;
    for (auto rs = db.execute(consultaCompra(folio)); !rs->eof(); rs->moveNext()) {
        auto f = [&](const char *name) { return rs->field(QString::fromLatin1(name)); };
        const QString key = QStringList{f("Pr_Cve_Producto").toString(), f("Tl_Cve_Talla").toString(),
                                        f("Cl_Cve_Color").toString(), f("Co_Unidad_1").toString(),
                                        f("Co_Unidad_Control_1").toString(), f("Co_Unidad_Control_2").toString(),
                                        QString::number(f("Co_Impuesto_Factor").toDouble())}
                                .join(QLatin1Char('|'));
        Group g;
        g.quantity = f("Co_Cantidad_1").toDouble();
        g.control1 = f("Co_Cantidad_Control_1").toDouble();
        g.control2 = f("Co_Cantidad_Control_2").toDouble();
        g.globalDiscount = f("Co_Descuento_Global_Importe").toDouble();
        g.list = f("Co_Precio_Lista_Importe").toDouble();
        g.discounted = f("Co_Precio_Descontado_Importe").toDouble();
        g.net = f("Co_Precio_Neto_Importe").toDouble();
        g.tax = f("Co_Impuesto_Importe").toDouble();
        g.state = f("Es_Cve_Estado").toString();
        g.buyer = f("Cm_Cve_Comprador").toString();
        EXPECT_FALSE(groups.contains(key)) << "group listed twice: " << key.toStdString();
        groups.insert(key, g);
    }
    return groups;
}

double neto(Conexion &db, const QString &statement)
{
    auto rs = db.execute(statement);
    EXPECT_FALSE(rs->eof());
    return rs->eof() ? -1 : rs->field(QStringLiteral("Precio_Neto_Importe")).toDouble();
}

// ---- Tests --------------------------------------------------------------------------------

class StatementsTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { db = qmx44::test::freshDatabase(GetParam(), true); }
    std::unique_ptr<Conexion> db;
};

// Guards against a design-time lookup that a back-end cannot parse or that finds the
// wrong description (the double blanks in two of them are part of the statements).
TEST_P(StatementsTest, FieldLookupsFindTheDescriptionOrNothing)
{
    const QMap<QString, QPair<QString, QString>> found = {
        {QStringLiteral("sucursal"), {QStringLiteral("002"), QStringLiteral("Sucursal Monterrey")}},
        {QStringLiteral("proveedor"), {QStringLiteral("P0003"), QStringLiteral("Textiles O'Farrill")}},
        {QStringLiteral("comprador"), {QStringLiteral("CM02"), QStringLiteral("Jorge Castañeda Pérez")}},
        {QStringLiteral("moneda"), {QStringLiteral("USD"), QStringLiteral("Dólar estadounidense")}},
        {QStringLiteral("causa"), {QStringLiteral("DV"), QStringLiteral("Devolución de mercancía")}},
    };
    for (const auto &lookup : kFieldLookups) {
        const QString name = QString::fromLatin1(lookup[0]);
        const QString statement = QString::fromUtf8(lookup[1]);
        const auto &[key, description] = found.value(name);
        EXPECT_EQ(description, firstValue(*db, withKey(statement, key))) << lookup[0];
        EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(statement, QStringLiteral("NOPE")))) << lookup[0];
        EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(statement, key.toLower() + QStringLiteral("'x")))) << lookup[0];
    }
    // The design-time cause lookup refuses retired causes.
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(QString::fromUtf8(kFieldLookups[4][1]), QStringLiteral("AN"))));
}

// Guards against the return or rejection cause, or a retired one, being accepted as
// the cause of a bonus note, and against parameter values that break the statement.
TEST_P(StatementsTest, CauseLookupRefusesReturnRejectionAndRetiredCauses)
{
    const QString statement = causeLookup(QStringLiteral("DV"), QStringLiteral("RC"));
    EXPECT_EQ(QStringLiteral("Bonificación comercial"), firstValue(*db, withKey(statement, QStringLiteral("BC"))));
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(statement, QStringLiteral("DV"))));
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(statement, QStringLiteral("RC"))));
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(statement, QStringLiteral("AN"))));
    // Empty parameters and parameters with a quote still give a statement that runs.
    EXPECT_EQ(QStringLiteral("Devolución de mercancía"), firstValue(*db, withKey(causeLookup(QString(), QString()), QStringLiteral("DV"))));
    EXPECT_EQ(QStringLiteral("Rechazo de mercancía"), firstValue(*db, withKey(causeLookup(QStringLiteral("D'V"), QStringLiteral("X")), QStringLiteral("RC"))));
}

// Guards against the supplier intake missing a column it shows, or reading the wrong
// supplier.
TEST_P(StatementsTest, SupplierStatementGivesTheShownColumns)
{
    auto rs = db->execute(supplierStatement(QStringLiteral("P0002")));
    ASSERT_FALSE(rs->eof());
    expectColumns(rs->columns(), {QStringLiteral("Pv_Descripcion"), QStringLiteral("Pv_Razon_Social"), QStringLiteral("Pv_Direccion_1"),
                                  QStringLiteral("Pv_R_F_C"), QStringLiteral("Pv_Dias_Credito"), QStringLiteral("Pv_Saldo")});
    EXPECT_EQ(QStringLiteral("Calzado Industrial de León, S.A. de C.V."), rs->field(QStringLiteral("Pv_Razon_Social")).toString());
    EXPECT_EQ(QStringLiteral("CIL050607QX2"), rs->field(QStringLiteral("Pv_R_F_C")).toString());
    EXPECT_EQ(QStringLiteral("45"), rs->field(QStringLiteral("Pv_Dias_Credito")).toString());
    EXPECT_DOUBLE_EQ(92136.0, rs->field(QStringLiteral("Pv_Saldo")).toDouble());
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_TRUE(db->execute(supplierStatement(QStringLiteral("P9999")))->eof());
}

// Guards against wrong grouping of purchase lines: duplicates not summed, the global
// discount not subtracted, control quantities not equal to quantity 1, tax factors
// merged, or a result column missing.
TEST_P(StatementsTest, PurchaseQueryGroupsAndSumsLines)
{
    expectColumns(columnsOf(*db, consultaCompra(QStringLiteral("C000000002"))),
                  {QStringLiteral("Co_Folio"), QStringLiteral("Sc_Cve_Sucursal"), QStringLiteral("Al_Cve_Almacen"), QStringLiteral("Pv_Cve_Proveedor"),
                   QStringLiteral("Cm_Cve_Comprador"), QStringLiteral("Mn_Cve_Moneda"), QStringLiteral("Co_Tipo_Cambio"), QStringLiteral("Es_Cve_Estado"),
                   QStringLiteral("Pr_Cve_Producto"), QStringLiteral("Pr_Descripcion"), QStringLiteral("Pr_Tipo_Producto"), QStringLiteral("Pr_Unidad_Costo"),
                   QStringLiteral("Tl_Cve_Talla"), QStringLiteral("Cl_Cve_Color"), QStringLiteral("Co_Unidad_1"), QStringLiteral("Co_Unidad_Control_1"),
                   QStringLiteral("Co_Unidad_Control_2"), QStringLiteral("Co_Impuesto_Factor"), QStringLiteral("Co_Cantidad_1"),
                   QStringLiteral("Co_Cantidad_Control_1"), QStringLiteral("Co_Cantidad_Control_2"), QStringLiteral("Co_Descuento_Global_Importe"),
                   QStringLiteral("Co_Precio_Lista_Importe"), QStringLiteral("Co_Precio_Descontado_Importe"), QStringLiteral("Co_Precio_Neto_Importe"),
                   QStringLiteral("Co_Impuesto_Importe")});

    const auto dup = purchaseGroups(*db, QStringLiteral("C000000002"));
    EXPECT_EQ(4, dup.size());
    const Group boots = dup.value(QStringLiteral("BT-001|27|NEG|PAR|PAR|KG|0.16"));
    EXPECT_DOUBLE_EQ(3, boots.quantity);
    EXPECT_DOUBLE_EQ(3, boots.control1);
    EXPECT_DOUBLE_EQ(3, boots.control2);
    EXPECT_DOUBLE_EQ(1000, boots.discounted);
    EXPECT_DOUBLE_EQ(160, boots.tax);
    EXPECT_DOUBLE_EQ(1160, boots.net);
    EXPECT_EQ(QStringLiteral("CM02"), boots.buyer);
    EXPECT_DOUBLE_EQ(2025, dup.value(QStringLiteral("BT-002|27|CAF|PAR|PAR|KG|0.16")).discounted);
    EXPECT_DOUBLE_EQ(2250, dup.value(QStringLiteral("BT-002|27|CAF|PAR|PAR|KG|0.16")).list);
    EXPECT_DOUBLE_EQ(150, dup.value(QStringLiteral("CJ-001|||PZA|PZA|KG|0.16")).quantity);

    const auto global = purchaseGroups(*db, QStringLiteral("C000000003"));
    const Group cloth = global.value(QStringLiteral("TL-001||AZU|MT|MT|KG|0.16"));
    EXPECT_DOUBLE_EQ(9000, cloth.list);
    EXPECT_DOUBLE_EQ(450, cloth.globalDiscount);
    EXPECT_DOUBLE_EQ(8550, cloth.discounted);

    const auto taxes = purchaseGroups(*db, QStringLiteral("C000000004"));
    EXPECT_EQ(4, taxes.size());
    EXPECT_DOUBLE_EQ(0, taxes.value(QStringLiteral("LB-001|||PZA|PZA|KG|0")).tax);
    EXPECT_DOUBLE_EQ(1750, taxes.value(QStringLiteral("LB-001|||PZA|PZA|KG|0")).net);

    const auto cancelled = purchaseGroups(*db, QStringLiteral("C000000005"));
    ASSERT_EQ(2, cancelled.size());
    EXPECT_EQ(QStringLiteral("CA"), cancelled.first().state);

    EXPECT_TRUE(purchaseGroups(*db, QStringLiteral("C999999999")).isEmpty());
}

// Guards against lines that differ only in tax factor or in a unit being merged.
TEST_P(StatementsTest, PurchaseQuerySeparatesTaxFactorsAndUnits)
{
    const QString insert = QStringLiteral(
        "INSERT INTO COMPRA (Co_Folio, Co_Linea, Pr_Cve_Producto, Co_Unidad_1, Co_Unidad_Control_1, Co_Impuesto_Factor, "
        "Co_Cantidad_1, Co_Precio_Descontado_Importe) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    const QString folio = QStringLiteral("T'1");
    db->run(insert, {folio, 1, QStringLiteral("PL-001"), QStringLiteral("PZA"), QStringLiteral("PZA"), 0.16, 1, 10});
    db->run(insert, {folio, 2, QStringLiteral("PL-001"), QStringLiteral("PZA"), QStringLiteral("PZA"), 0.0, 1, 10});
    db->run(insert, {folio, 3, QStringLiteral("PL-001"), QStringLiteral("CJA"), QStringLiteral("PZA"), 0.16, 1, 10});
    db->run(insert, {folio, 4, QStringLiteral("PL-001"), QStringLiteral("PZA"), QStringLiteral("KG"), 0.16, 1, 10});
    db->run(insert, {folio, 5, QStringLiteral("PL-001"), QStringLiteral("PZA"), QStringLiteral("PZA"), 0.16, 2, 5});
    const auto groups = purchaseGroups(*db, folio);
    EXPECT_EQ(4, groups.size());
    EXPECT_DOUBLE_EQ(3, groups.value(QStringLiteral("PL-001|||PZA|PZA||0.16")).quantity);
}

// Guards against the warehouse list offering retired warehouses or those of another
// branch, and against the typed-key lookup refusing a retired one of the branch.
TEST_P(StatementsTest, WarehouseListAndLookupStayWithinTheBranch)
{
    QStringList keys;
    for (auto rs = db->execute(warehouseList(QStringLiteral("001"))); !rs->eof(); rs->moveNext()) {
        keys.append(rs->field(QStringLiteral("CLAVE")).toString());
        EXPECT_FALSE(rs->field(QStringLiteral("DESCRIPCION")).toString().isEmpty());
    }
    keys.sort();
    EXPECT_EQ(QStringList({QStringLiteral("A01"), QStringLiteral("A03")}), keys);

    const QString lookup = warehouseLookup(QStringLiteral("001"));
    EXPECT_EQ(QStringLiteral("Almacén general Guadalajara"), firstValue(*db, withKey(lookup, QStringLiteral("A01"))));
    EXPECT_EQ(QStringLiteral("Almacén de saldos Guadalajara"), firstValue(*db, withKey(lookup, QStringLiteral("A02"))));
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, withKey(lookup, QStringLiteral("M01"))));
    EXPECT_TRUE(db->execute(warehouseList(QStringLiteral("0'1")))->eof());
}

// Guards against the address parts joined wrongly (or added as numbers), a ready line
// ignored, and addresses of other owners returned.
TEST_P(StatementsTest, AddressStatementJoinsPartsOrGivesTheReadyLine)
{
    EXPECT_EQ(QStringLiteral("Blvd. Hilario Medina Int. 4 3305 entre Av. Insurgentes y Calle Pradera"),
              firstValue(*db, addressStatement(QStringLiteral("0001"), QStringLiteral("P0002"))));
    EXPECT_EQ(QStringLiteral("Calle Nardo  112 entre Jazmín y Azucena"),
              firstValue(*db, addressStatement(QStringLiteral("0002"), QStringLiteral("P0002"))));
    EXPECT_EQ(QStringLiteral("Bodega Periférico Sur 7980, Santa María Tequepexpan, Tlaquepaque, Jal."),
              firstValue(*db, addressStatement(QStringLiteral("0001"), QStringLiteral("P0001"))));
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, addressStatement(QStringLiteral("0009"), QStringLiteral("P0001"))));

    db->run(QStringLiteral("INSERT INTO Direccion_Entrega (De_Tabla, De_Documento, De_ID, De_Direccion_1) VALUES (?, ?, ?, ?)"),
            {QStringLiteral("CLIENTE"), QStringLiteral("P0003"), QStringLiteral("0001"), QStringLiteral("de un cliente")});
    db->run(QStringLiteral("INSERT INTO Direccion_Entrega (De_Tabla, De_Documento, De_ID, De_Direccion_1) VALUES (?, ?, ?, ?)"),
            {QStringLiteral("PROVEEDOR"), QStringLiteral("P'Q"), QStringLiteral("0'1"), QStringLiteral("con comillas")});
    EXPECT_EQ(QStringLiteral("<none>"), firstValue(*db, addressStatement(QStringLiteral("0001"), QStringLiteral("P0003"))));
    EXPECT_EQ(QStringLiteral("con comillas"), firstValue(*db, addressStatement(QStringLiteral("0'1"), QStringLiteral("P'Q"))));
}

// Guards against pending amounts that count cancelled notes or cancelled purchase
// rows, miss saved notes, or give no row (instead of 0) when nothing matches.
TEST_P(StatementsTest, PendingStatementsSumNotesAndPurchaseLines)
{
    const LineKey boots{QStringLiteral("C000000002"), QStringLiteral("BT-001"), QStringLiteral("27"), QStringLiteral("NEG"), QStringLiteral("PAR")};
    expectColumns(columnsOf(*db, pendingNotes(boots)),
                  {QStringLiteral("Precio_Lista_Importe"), QStringLiteral("Precio_Neto_Importe"), QStringLiteral("Precio_Descontado_Importe")});
    expectColumns(columnsOf(*db, pendingPurchase(boots)),
                  {QStringLiteral("Precio_Lista_Importe"), QStringLiteral("Precio_Neto_Importe"), QStringLiteral("Precio_Descontado_Importe")});
    EXPECT_DOUBLE_EQ(174, neto(*db, pendingNotes(boots)));
    EXPECT_DOUBLE_EQ(1160, neto(*db, pendingPurchase(boots)));

    const LineKey otherUnit{boots.folio, boots.product, boots.size, boots.colour, QStringLiteral("CJA")};
    EXPECT_DOUBLE_EQ(0, neto(*db, pendingNotes(otherUnit)));
    EXPECT_DOUBLE_EQ(0, neto(*db, pendingPurchase(otherUnit)));

    const LineKey cancelledNote{QStringLiteral("C000000004"), QStringLiteral("BO-001"), QString(), QStringLiteral("PLA"), QStringLiteral("GRS")};
    EXPECT_DOUBLE_EQ(0, neto(*db, pendingNotes(cancelledNote)));
    EXPECT_DOUBLE_EQ(1392, neto(*db, pendingPurchase(cancelledNote)));

    const LineKey cancelledPurchase{QStringLiteral("C000000005"), QStringLiteral("PL-002"), QStringLiteral("G"), QStringLiteral("AZU"), QStringLiteral("PZA")};
    EXPECT_DOUBLE_EQ(0, neto(*db, pendingPurchase(cancelledPurchase)));

    const LineKey quote{QStringLiteral("C'1"), QStringLiteral("P'"), QStringLiteral("'"), QString(), QStringLiteral("''")};
    EXPECT_DOUBLE_EQ(0, neto(*db, pendingNotes(quote)));
}

// Guards against the note load missing a column it reads back, returning notes
// without a purchase, or mixing in other notes' rows.
TEST_P(StatementsTest, NoteLoadReturnsEveryStoredLineWithItsProduct)
{
    auto rs = db->execute(noteLoad(QStringLiteral("0000000003")));
    ASSERT_FALSE(rs->eof());
    expectColumns(rs->columns(),
                  {QStringLiteral("Nc_Folio"), QStringLiteral("Sc_Cve_Sucursal"), QStringLiteral("Al_Cve_Almacen"), QStringLiteral("Es_Cve_Estado"),
                   QStringLiteral("Nc_Fecha"), QStringLiteral("Co_Folio"), QStringLiteral("Cn_Cve_Causa_Nota_Credito_Proveedor"),
                   QStringLiteral("Nc_Referencia"), QStringLiteral("Pv_Cve_Proveedor"), QStringLiteral("Cm_Cve_Comprador"), QStringLiteral("Nc_Comentario"),
                   QStringLiteral("Mn_Cve_Moneda"), QStringLiteral("Nc_Tipo_Cambio"), QStringLiteral("Pr_Cve_Producto"), QStringLiteral("Tl_Cve_Talla"),
                   QStringLiteral("Cl_Cve_Color"), QStringLiteral("Nc_Unidad_1"), QStringLiteral("Nc_Unidad_Control_1"), QStringLiteral("Nc_Unidad_Control_2"),
                   QStringLiteral("Nc_Precio_Descontado_Importe"), QStringLiteral("Pr_Descripcion"), QStringLiteral("Pr_Tipo_Producto"),
                   QStringLiteral("Pr_Unidad_Costo")});
    EXPECT_EQ(QDate(2024, 3, 15), rs->field(QStringLiteral("Nc_Fecha")).toDate());
    EXPECT_EQ(QStringLiteral("002"), rs->field(QStringLiteral("Sc_Cve_Sucursal")).toString());
    QMap<QString, double> bonus;
    for (; !rs->eof(); rs->moveNext())
        bonus.insert(rs->field(QStringLiteral("Pr_Cve_Producto")).toString(), rs->field(QStringLiteral("Nc_Precio_Descontado_Importe")).toDouble());
    EXPECT_EQ(2, bonus.size());
    EXPECT_DOUBLE_EQ(1000, bonus.value(QStringLiteral("CH-001")));
    EXPECT_DOUBLE_EQ(288, bonus.value(QStringLiteral("CL-001")));

    auto cancelled = db->execute(noteLoad(QStringLiteral("0000000002")));
    ASSERT_FALSE(cancelled->eof());
    EXPECT_EQ(QStringLiteral("CA"), cancelled->field(QStringLiteral("Es_Cve_Estado")).toString());

    db->run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Pr_Cve_Producto) VALUES (?, ?, ?)"),
            {QStringLiteral("SINCOMPRA"), 1, QStringLiteral("PL-001")});
    EXPECT_TRUE(db->execute(noteLoad(QStringLiteral("SINCOMPRA")))->eof());
    EXPECT_TRUE(db->execute(noteLoad(QString()))->eof());
    EXPECT_TRUE(db->execute(noteLoad(QStringLiteral("0000000003' OR '1'='1")))->eof());
}

INSTANTIATE_TEST_SUITE_P(db, StatementsTest, ::testing::ValuesIn(qmx44::test::backends()), qmx44::test::backendName);

} // namespace
