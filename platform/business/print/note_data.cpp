#include "platform/business/print/note_data.h"

#include "platform/db/connection.h"
#include "platform/services/parameters.h"

#include <QDateTime>
#include <QStringList>

namespace qmx44::business::print {

namespace {

QString date(const QVariant &v)
{
    const QDate d = v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime
        ? v.toDate()
        : QDate::fromString(v.toString().left(10), Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString moment(const QVariant &v)
{
    QDateTime dt;
    if (v.typeId() == QMetaType::QDateTime)
        dt = v.toDateTime();
    else
        dt = QDateTime::fromString(v.toString().left(19).replace(u' ', u'T'), Qt::ISODate);
    return dt.isValid() ? dt.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : date(v);
}

// The first row of a look-up by key, as texts; empty when there is none.
FieldValues rowValues(db::Conexion &c, const QString &sql, const QVariantList &values)
{
    FieldValues output;
    auto rs = c.query(sql, values);
    if (!rs->eof())
        for (const QString &column : rs->columns())
            output.insert(column.toLower(), rs->field(column).toString());
    rs->close();
    return output;
}

QString parameter(db::Conexion &c, const QString &name)
{
    const auto p = services::readParameter(c, name);
    return p && !p->value.isNull() ? p->value.toString() : QString();
}

} // namespace

QString addressText(const FieldValues &d)
{
    auto v = [&](const char *column) { return d.value(QString::fromLatin1(column).toLower()).trimmed(); };
    if (!v("De_Direccion_1").isEmpty())
        return v("De_Direccion_1");
    QStringList parts;
    auto joined = [](QStringList pieces) {
        pieces.removeAll(QString());
        return pieces.join(u' ');
    };
    parts << joined({v("De_Calle"), v("De_Numero_Exterior"), v("De_Numero_Interior")})
          << joined({v("De_Cruzamiento_1"), v("De_Cruzamiento_2")}) << v("De_Colonia") << v("De_Ciudad")
          << v("De_Estado");
    if (!v("De_Codigo_Postal").isEmpty())
        parts << QStringLiteral("C.P. ") + v("De_Codigo_Postal");
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

namespace {

// The note's header fields, its lines and their totals, from its rows.
void readNoteRows(db::Conexion &c, const QString &folio, PrintData &data)
{
    FieldValues &fields = data.fields;
    QList<FieldValues> &lines = data.lists[QStringLiteral("Lineas")];

    auto rs = c.query(QStringLiteral("SELECT n.*, p.Pr_Descripcion AS Pr_Descripcion FROM NOTA_CREDITO_PROVEEDOR n "
                                     "LEFT JOIN Producto p ON p.Pr_Cve_Producto = n.Pr_Cve_Producto "
                                     "WHERE n.Nc_Folio = ? ORDER BY n.Nc_Linea"),
                      {folio});
    if (rs->eof())
        throw RuntimeError(QStringLiteral("No existe la nota de crédito %1").arg(folio));

    double subtotal = 0, taxes = 0, total = 0;
    bool first = true;
    for (; !rs->eof(); rs->moveNext()) {
        auto f = [&](const char *column) { return rs->field(QString::fromLatin1(column)); };
        if (first) {
            first = false;
            for (const char *column : {"Nc_Folio", "Nc_Referencia", "Nc_Comentario", "Co_Folio", "Mn_Cve_Moneda",
                                       "Sc_Cve_Sucursal", "Al_Cve_Almacen", "Pv_Cve_Proveedor", "Cm_Cve_Comprador",
                                       "Nc_Folio_Sustituye", "Nc_Usuario", "Nc_Usuario_Cancela"})
                fields.insert(QString::fromLatin1(column), f(column).toString());
            fields.insert(QStringLiteral("Cn_Cve_Causa"), f("Cn_Cve_Causa_Nota_Credito_Proveedor").toString());
            fields.insert(QStringLiteral("Nc_Fecha"), date(f("Nc_Fecha")));
            fields.insert(QStringLiteral("Nc_Fecha_Registro"), moment(f("Nc_Fecha_Registro")));
            fields.insert(QStringLiteral("Nc_Fecha_Cancelacion"), moment(f("Nc_Fecha_Cancelacion")));
            fields.insert(QStringLiteral("Nc_Tipo_Cambio"), formatQuantity(f("Nc_Tipo_Cambio").toDouble()));
            fields.insert(QStringLiteral("Cancelada"),
                          f("Es_Cve_Estado").toString() == QLatin1String("CA") ? QStringLiteral("CANCELADA")
                                                                               : QString());
        }
        const double bonus = f("Nc_Precio_Descontado_Importe").toDouble();
        const double tax = f("Nc_Impuesto_Importe").toDouble();
        const double net = f("Nc_Precio_Neto_Importe").toDouble();
        subtotal += bonus;
        taxes += tax;
        total += net;
        FieldValues l;
        for (const char *column : {"Pr_Cve_Producto", "Pr_Descripcion", "Tl_Cve_Talla", "Cl_Cve_Color", "Nc_Unidad_1",
                                   "Nc_Unidad_Control_1", "Nc_Comentario_Linea"})
            l.insert(QString::fromLatin1(column), f(column).toString());
        l.insert(QStringLiteral("Nc_Linea"), QString::number(f("Nc_Linea").toLongLong()));
        l.insert(QStringLiteral("Nc_Cantidad_1"), formatQuantity(f("Nc_Cantidad_1").toDouble()));
        l.insert(QStringLiteral("Nc_Cantidad_Control_1"), formatQuantity(f("Nc_Cantidad_Control_1").toDouble()));
        l.insert(QStringLiteral("Nc_Precio_Descontado"), formatAmount(f("Nc_Precio_Descontado").toDouble()));
        l.insert(QStringLiteral("Impuesto_Factor"), formatQuantity(f("Nc_Impuesto_Factor").toDouble()));
        l.insert(QStringLiteral("Bonificacion"), formatAmount(bonus));
        l.insert(QStringLiteral("Impuesto"), formatAmount(tax));
        l.insert(QStringLiteral("Neto"), formatAmount(net));
        lines.append(l);
    }
    rs->close();
    fields.insert(QStringLiteral("SubTotal"), formatAmount(subtotal));
    fields.insert(QStringLiteral("Impuestos"), formatAmount(taxes));
    fields.insert(QStringLiteral("Total"), formatAmount(total));
    fields.insert(QStringLiteral("Partidas"), QString::number(lines.size()));
}

// What the header's keys name: supplier, descriptions, delivery address and company.
void addDescriptions(db::Conexion &c, const QString &folio, FieldValues &fields)
{
    const QString supplier = fields.value(QStringLiteral("Pv_Cve_Proveedor"));
    const FieldValues supplierRow =
        rowValues(c,
                  QStringLiteral("SELECT Pv_Descripcion, Pv_Razon_Social, Pv_R_F_C, Pv_Direccion_1 "
                                 "FROM Proveedor WHERE Pv_Cve_Proveedor = ?"),
                  {supplier});
    for (const char *column : {"Pv_Descripcion", "Pv_Razon_Social", "Pv_R_F_C", "Pv_Direccion_1"})
        fields.insert(QString::fromLatin1(column), supplierRow.value(QString::fromLatin1(column).toLower()));

    auto description = [&](const char *fieldName, const QString &sql, const QString &key) {
        const FieldValues v = rowValues(c, sql, {key});
        fields.insert(QString::fromLatin1(fieldName), v.isEmpty() ? QString() : v.constBegin().value());
    };
    description("Sc_Descripcion", QStringLiteral("SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = ?"),
                fields.value(QStringLiteral("Sc_Cve_Sucursal")));
    description("Al_Descripcion", QStringLiteral("SELECT Al_Descripcion FROM Almacen WHERE Al_Cve_Almacen = ?"),
                fields.value(QStringLiteral("Al_Cve_Almacen")));
    description("Cn_Descripcion",
                QStringLiteral("SELECT Cn_Descripcion FROM Causa_Nota_Credito_Proveedor "
                               "WHERE Cn_Cve_Causa_Nota_Credito_Proveedor = ?"),
                fields.value(QStringLiteral("Cn_Cve_Causa")));
    description("Mn_Descripcion", QStringLiteral("SELECT Mn_Descripcion FROM Moneda WHERE Mn_Cve_Moneda = ?"),
                fields.value(QStringLiteral("Mn_Cve_Moneda")));
    description("Cm_Descripcion", QStringLiteral("SELECT Cm_Descripcion FROM Comprador WHERE Cm_Cve_Comprador = ?"),
                fields.value(QStringLiteral("Cm_Cve_Comprador")));
    description("Us_Nombre", QStringLiteral("SELECT Us_Nombre FROM Usuario WHERE Us_Cve_Usuario = ?"),
                fields.value(QStringLiteral("Nc_Usuario")));

    const FieldValues assigned =
        rowValues(c,
                  QStringLiteral("SELECT De_ID FROM Documento_Direccion WHERE Dd_Tabla = ? "
                                 "AND Dd_Documento = ? AND Dd_Entidad = ?"),
                  {QStringLiteral("NOTA_CREDITO_PROVEEDOR"), folio, QStringLiteral("Proveedor")});
    QString address;
    if (!assigned.isEmpty())
        address =
            addressText(rowValues(c,
                                  QStringLiteral("SELECT * FROM Direccion_Entrega WHERE De_Tabla = ? "
                                                 "AND De_Documento = ? AND De_ID = ?"),
                                  {QStringLiteral("PROVEEDOR"), supplier, assigned.value(QStringLiteral("de_id"))}));
    fields.insert(QStringLiteral("Direccion_Entrega"), address);

    fields.insert(QStringLiteral("Empresa_Nombre"), parameter(c, QStringLiteral("GEN_EMPRESA_NOMBRE")));
    fields.insert(QStringLiteral("Empresa_RFC"), parameter(c, QStringLiteral("GEN_EMPRESA_RFC")));
    fields.insert(QStringLiteral("Empresa_Direccion"), parameter(c, QStringLiteral("GEN_EMPRESA_DIRECCION")));
}

} // namespace

PrintData noteData(db::Conexion &c, const QString &folio)
{
    PrintData data;
    readNoteRows(c, folio, data);
    addDescriptions(c, folio, data.fields);
    return data;
}

} // namespace qmx44::business::print
