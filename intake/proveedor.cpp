// The supplier intake under its error trap.
#include "intake/proveedor.h"

#include "intake/direccion_entrega.h"
#include "platform/business/direccion_entrega.h"
#include "platform/core/error.h"
#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"
#include "screen/messages.h"

#include <array>

namespace qmx44::intake {

namespace {

const QString Proveedor = screen::fields::txt_Pv_Cve_Proveedor;
const QString Domicilio = screen::fields::txt_Pv_Direccion_1;
const QString SinDireccion = QStringLiteral("0000");

// Header field <- column of Proveedor, in the order they are written.
const std::array<std::pair<const QString *, const char *>, 6> Campos = {{
    {&screen::fields::txt_Pv_Descripcion, "Pv_Descripcion"},
    {&screen::fields::txt_Pv_Razon_Social, "Pv_Razon_Social"},
    {&screen::fields::txt_Pv_Direccion_1, "Pv_Direccion_1"},
    {&screen::fields::txt_Pv_R_F_C, "Pv_R_F_C"},
    {&screen::fields::txt_Pv_Dias_Credito, "Pv_Dias_Credito"},
    {&screen::fields::txt_Credito_Disponible, "Pv_Saldo"},
}};

business::DireccionEntrega &direcciones(screen::FrmQMX44 &frm)
{
    if (!frm.DireccionEntrega)
        throw RuntimeError(QStringLiteral("Variable de objeto no establecida: DireccionEntrega"));
    return *frm.DireccionEntrega;
}

void tomarProveedor(screen::FrmQMX44 &frm)
{
    const QString clave = frm.campo(Proveedor).value().toString();
    auto rs = frm.Sistema().Conexion().execute(proveedorSql(clave));
    if (rs->eof())
        return; // a key that Proveedor does not hold leaves the screen as it was

    for (const auto &[campo, columna] : Campos)
        frm.campo(*campo).setText(rs->field(QString::fromLatin1(columna)).toString());

    const QString clavePv = frm.campo(Proveedor).text();
    business::DireccionEntrega &direccion = direcciones(frm);
    frm.IdDireccion = direccion.IdDocumento(QStringLiteral("Compra"), frm.txt_Co_Folio().text(),
                                            QStringLiteral("Proveedor"), clavePv);
    if (frm.IdDireccion == SinDireccion || frm.IdDireccion.isEmpty())
        frm.IdDireccion = direccion.IdOmision(QStringLiteral("Proveedor"), clavePv, frm.IdDireccion);
    if (!frm.IdDireccion.isEmpty())
        frm.campo(Domicilio).setText(Direccion_Entrega(frm, frm.IdDireccion, clavePv));
    rs->close();
}

} // namespace

QString proveedorSql(const QString &clave)
{
    return QStringLiteral("SELECT * FROM Proveedor WHERE Pv_Cve_Proveedor = '") + db::quoted(clave)
        + QStringLiteral("'");
}

void txt_Pv_Cve_Proveedor_Enter(screen::FrmQMX44 &frm)
{
    try {
        tomarProveedor(frm);
    } catch (const std::exception &e) {
        screen::showMessage(frm, describe(e), MessageStyle::Error, QStringLiteral("txt_Pv_Cve_Proveedor_Enter()"),
                            QStringLiteral("ERR-ID:7500015"));
    }
}

void installProveedor(screen::FrmQMX44 &frm)
{
    frm.campo(Proveedor).Enter.connect(QStringLiteral("txt_Pv_Cve_Proveedor_Enter()"),
                                       [&frm] { txt_Pv_Cve_Proveedor_Enter(frm); });
}

} // namespace qmx44::intake
