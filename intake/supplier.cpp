// The supplier intake under its error trap.
#include "intake/supplier.h"

#include "intake/direccion_entrega.h"
#include "platform/business/direccion_entrega.h"
#include "platform/controls/number_format.h"
#include "platform/core/error.h"
#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

#include <array>

namespace qmx44::intake {

namespace {

const QString SupplierField = screen::fields::txt_Pv_Cve_Proveedor;
const QString AddressField = screen::fields::txt_Pv_Direccion_1;
const QString NoAddress = QStringLiteral("0000");

// Header field <- column of Proveedor, in the order they are written.
const std::array<std::pair<const QString *, const char *>, 6> SupplierColumns = {{
    {&screen::fields::txt_Pv_Descripcion, "Pv_Descripcion"},
    {&screen::fields::txt_Pv_Razon_Social, "Pv_Razon_Social"},
    {&screen::fields::txt_Pv_Direccion_1, "Pv_Direccion_1"},
    {&screen::fields::txt_Pv_R_F_C, "Pv_R_F_C"},
    {&screen::fields::txt_Pv_Dias_Credito, "Pv_Dias_Credito"},
    {&screen::fields::txt_Credito_Disponible, "Pv_Saldo"},
}};

business::DireccionEntrega &deliveryAddresses(screen::FrmQMX44 &frm)
{
    if (!frm.DireccionEntrega)
        throw RuntimeError(QStringLiteral("Variable de objeto no establecida: DireccionEntrega"));
    return *frm.DireccionEntrega;
}

void takeSupplier(screen::FrmQMX44 &frm)
{
    const QString key = frm.textField(SupplierField).value().toString();
    auto rs = frm.Sistema().Conexion().execute(supplierSql(key));
    if (rs->eof())
        return; // a key that Proveedor does not hold leaves the screen as it was

    // A balance shows as the number it is, without the double's noise.
    for (const auto &[textField, column] : SupplierColumns)
        frm.textField(*textField).setText(controls::textOf(rs->field(QString::fromLatin1(column))));

    const QString supplierKey = frm.textField(SupplierField).text();
    business::DireccionEntrega &address = deliveryAddresses(frm);
    frm.IdDireccion = address.IdDocumento(QStringLiteral("Compra"), frm.txt_Co_Folio().text(),
                                          QStringLiteral("Proveedor"), supplierKey);
    if (frm.IdDireccion == NoAddress || frm.IdDireccion.isEmpty())
        frm.IdDireccion = address.IdOmision(QStringLiteral("Proveedor"), supplierKey, frm.IdDireccion);
    if (!frm.IdDireccion.isEmpty())
        frm.textField(AddressField).setText(Direccion_Entrega(frm, frm.IdDireccion, supplierKey));
    rs->close();
}

} // namespace

QString supplierSql(const QString &key)
{
    return QStringLiteral("SELECT * FROM Proveedor WHERE Pv_Cve_Proveedor = '") + db::quoted(key) + QStringLiteral("'");
}

void txt_Pv_Cve_Proveedor_Enter(screen::FrmQMX44 &frm)
{
    try {
        takeSupplier(frm);
    } catch (const std::exception &e) {
        screen::showMessage(frm, describe(e), MessageStyle::Error, QStringLiteral("txt_Pv_Cve_Proveedor_Enter()"),
                            QStringLiteral("ERR-ID:7500015"));
    }
}

void installSupplier(screen::FrmQMX44 &frm)
{
    frm.textField(SupplierField).Enter.connect(QStringLiteral("txt_Pv_Cve_Proveedor_Enter()"), [&frm] {
        txt_Pv_Cve_Proveedor_Enter(frm);
    });
}

} // namespace qmx44::intake
