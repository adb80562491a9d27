#include "platform/business/print/datos_nota.h"

#include "platform/services/parametros.h"

#include <QDateTime>
#include <QStringList>

namespace qmx44::business::print {

namespace {

QString fecha(const QVariant &v)
{
    const QDate d = v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime
                        ? v.toDate()
                        : QDate::fromString(v.toString().left(10), Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString momento(const QVariant &v)
{
    QDateTime dt;
    if (v.typeId() == QMetaType::QDateTime)
        dt = v.toDateTime();
    else
        dt = QDateTime::fromString(v.toString().left(19).replace(u' ', u'T'), Qt::ISODate);
    return dt.isValid() ? dt.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : fecha(v);
}

// The first row of a look-up by key, as texts; empty when there is none.
Valores fila(db::Conexion &c, const QString &sql, const QVariantList &valores)
{
    Valores salida;
    auto rs = c.query(sql, valores);
    if (!rs->eof())
        for (const QString &columna : rs->columns())
            salida.insert(columna.toLower(), rs->field(columna).toString());
    rs->close();
    return salida;
}

QString parametro(db::Conexion &c, const QString &nombre)
{
    const auto p = services::leerParametro(c, nombre);
    return p && !p->valor.isNull() ? p->valor.toString() : QString();
}

} // namespace

QString textoDireccion(const Valores &d)
{
    auto v = [&](const char *columna) { return d.value(QString::fromLatin1(columna).toLower()).trimmed(); };
    if (!v("De_Direccion_1").isEmpty())
        return v("De_Direccion_1");
    QStringList partes;
    auto junta = [](QStringList trozos) {
        trozos.removeAll(QString());
        return trozos.join(u' ');
    };
    partes << junta({v("De_Calle"), v("De_Numero_Exterior"), v("De_Numero_Interior")})
           << junta({v("De_Cruzamiento_1"), v("De_Cruzamiento_2")}) << v("De_Colonia") << v("De_Ciudad")
           << v("De_Estado");
    if (!v("De_Codigo_Postal").isEmpty())
        partes << QStringLiteral("C.P. ") + v("De_Codigo_Postal");
    partes.removeAll(QString());
    return partes.join(QStringLiteral(", "));
}

namespace {

// The note's header fields, its lines and their totals, from its rows.
void readNoteRows(db::Conexion &c, const QString &folio, DatosImpresion &datos)
{
    Valores &campos = datos.campos;
    QList<Valores> &lineas = datos.listas[QStringLiteral("Lineas")];

    auto rs = c.query(QStringLiteral("SELECT n.*, p.Pr_Descripcion AS Pr_Descripcion FROM NOTA_CREDITO_PROVEEDOR n "
                                     "LEFT JOIN Producto p ON p.Pr_Cve_Producto = n.Pr_Cve_Producto "
                                     "WHERE n.Nc_Folio = ? ORDER BY n.Nc_Linea"),
                      {folio});
    if (rs->eof())
        throw RuntimeError(QStringLiteral("No existe la nota de crédito %1").arg(folio));

    double subtotal = 0, impuestos = 0, total = 0;
    bool primera = true;
    for (; !rs->eof(); rs->moveNext()) {
        auto f = [&](const char *columna) { return rs->field(QString::fromLatin1(columna)); };
        if (primera) {
            primera = false;
            for (const char *columna : {"Nc_Folio", "Nc_Referencia", "Nc_Comentario", "Co_Folio", "Mn_Cve_Moneda",
                                        "Sc_Cve_Sucursal", "Al_Cve_Almacen", "Pv_Cve_Proveedor", "Cm_Cve_Comprador",
                                        "Nc_Folio_Sustituye", "Nc_Usuario", "Nc_Usuario_Cancela"})
                campos.insert(QString::fromLatin1(columna), f(columna).toString());
            campos.insert(QStringLiteral("Cn_Cve_Causa"), f("Cn_Cve_Causa_Nota_Credito_Proveedor").toString());
            campos.insert(QStringLiteral("Nc_Fecha"), fecha(f("Nc_Fecha")));
            campos.insert(QStringLiteral("Nc_Fecha_Registro"), momento(f("Nc_Fecha_Registro")));
            campos.insert(QStringLiteral("Nc_Fecha_Cancelacion"), momento(f("Nc_Fecha_Cancelacion")));
            campos.insert(QStringLiteral("Nc_Tipo_Cambio"), formatoCantidad(f("Nc_Tipo_Cambio").toDouble()));
            campos.insert(QStringLiteral("Cancelada"),
                          f("Es_Cve_Estado").toString() == QLatin1String("CA") ? QStringLiteral("CANCELADA")
                                                                               : QString());
        }
        const double bonificacion = f("Nc_Precio_Descontado_Importe").toDouble();
        const double impuesto = f("Nc_Impuesto_Importe").toDouble();
        const double neto = f("Nc_Precio_Neto_Importe").toDouble();
        subtotal += bonificacion;
        impuestos += impuesto;
        total += neto;
        Valores l;
        for (const char *columna : {"Pr_Cve_Producto", "Pr_Descripcion", "Tl_Cve_Talla", "Cl_Cve_Color", "Nc_Unidad_1",
                                    "Nc_Unidad_Control_1", "Nc_Comentario_Linea"})
            l.insert(QString::fromLatin1(columna), f(columna).toString());
        l.insert(QStringLiteral("Nc_Linea"), QString::number(f("Nc_Linea").toLongLong()));
        l.insert(QStringLiteral("Nc_Cantidad_1"), formatoCantidad(f("Nc_Cantidad_1").toDouble()));
        l.insert(QStringLiteral("Nc_Cantidad_Control_1"), formatoCantidad(f("Nc_Cantidad_Control_1").toDouble()));
        l.insert(QStringLiteral("Nc_Precio_Descontado"), formatoImporte(f("Nc_Precio_Descontado").toDouble()));
        l.insert(QStringLiteral("Impuesto_Factor"), formatoCantidad(f("Nc_Impuesto_Factor").toDouble()));
        l.insert(QStringLiteral("Bonificacion"), formatoImporte(bonificacion));
        l.insert(QStringLiteral("Impuesto"), formatoImporte(impuesto));
        l.insert(QStringLiteral("Neto"), formatoImporte(neto));
        lineas.append(l);
    }
    rs->close();
    campos.insert(QStringLiteral("SubTotal"), formatoImporte(subtotal));
    campos.insert(QStringLiteral("Impuestos"), formatoImporte(impuestos));
    campos.insert(QStringLiteral("Total"), formatoImporte(total));
    campos.insert(QStringLiteral("Partidas"), QString::number(lineas.size()));
}

// What the header's keys name: supplier, descriptions, delivery address and company.
void addDescriptions(db::Conexion &c, const QString &folio, Valores &campos)
{
    const QString proveedor = campos.value(QStringLiteral("Pv_Cve_Proveedor"));
    const Valores prov = fila(c, QStringLiteral("SELECT Pv_Descripcion, Pv_Razon_Social, Pv_R_F_C, Pv_Direccion_1 "
                                                "FROM Proveedor WHERE Pv_Cve_Proveedor = ?"),
                              {proveedor});
    for (const char *columna : {"Pv_Descripcion", "Pv_Razon_Social", "Pv_R_F_C", "Pv_Direccion_1"})
        campos.insert(QString::fromLatin1(columna), prov.value(QString::fromLatin1(columna).toLower()));

    auto descripcion = [&](const char *campo, const QString &sql, const QString &clave) {
        const Valores v = fila(c, sql, {clave});
        campos.insert(QString::fromLatin1(campo), v.isEmpty() ? QString() : v.constBegin().value());
    };
    descripcion("Sc_Descripcion", QStringLiteral("SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = ?"),
                campos.value(QStringLiteral("Sc_Cve_Sucursal")));
    descripcion("Al_Descripcion", QStringLiteral("SELECT Al_Descripcion FROM Almacen WHERE Al_Cve_Almacen = ?"),
                campos.value(QStringLiteral("Al_Cve_Almacen")));
    descripcion("Cn_Descripcion",
                QStringLiteral("SELECT Cn_Descripcion FROM Causa_Nota_Credito_Proveedor "
                               "WHERE Cn_Cve_Causa_Nota_Credito_Proveedor = ?"),
                campos.value(QStringLiteral("Cn_Cve_Causa")));
    descripcion("Mn_Descripcion", QStringLiteral("SELECT Mn_Descripcion FROM Moneda WHERE Mn_Cve_Moneda = ?"),
                campos.value(QStringLiteral("Mn_Cve_Moneda")));
    descripcion("Cm_Descripcion", QStringLiteral("SELECT Cm_Descripcion FROM Comprador WHERE Cm_Cve_Comprador = ?"),
                campos.value(QStringLiteral("Cm_Cve_Comprador")));
    descripcion("Us_Nombre", QStringLiteral("SELECT Us_Nombre FROM Usuario WHERE Us_Cve_Usuario = ?"),
                campos.value(QStringLiteral("Nc_Usuario")));

    const Valores asignada = fila(c, QStringLiteral("SELECT De_ID FROM Documento_Direccion WHERE Dd_Tabla = ? "
                                                    "AND Dd_Documento = ? AND Dd_Entidad = ?"),
                                  {QStringLiteral("NOTA_CREDITO_PROVEEDOR"), folio, QStringLiteral("Proveedor")});
    QString direccion;
    if (!asignada.isEmpty())
        direccion = textoDireccion(fila(c, QStringLiteral("SELECT * FROM Direccion_Entrega WHERE De_Tabla = ? "
                                                          "AND De_Documento = ? AND De_ID = ?"),
                                        {QStringLiteral("PROVEEDOR"), proveedor, asignada.value(QStringLiteral("de_id"))}));
    campos.insert(QStringLiteral("Direccion_Entrega"), direccion);

    campos.insert(QStringLiteral("Empresa_Nombre"), parametro(c, QStringLiteral("GEN_EMPRESA_NOMBRE")));
    campos.insert(QStringLiteral("Empresa_RFC"), parametro(c, QStringLiteral("GEN_EMPRESA_RFC")));
    campos.insert(QStringLiteral("Empresa_Direccion"), parametro(c, QStringLiteral("GEN_EMPRESA_DIRECCION")));
}

} // namespace

DatosImpresion datosNota(db::Conexion &c, const QString &folio)
{
    DatosImpresion datos;
    readNoteRows(c, folio, datos);
    addDescriptions(c, folio, datos.campos);
    return datos;
}

} // namespace qmx44::business::print
