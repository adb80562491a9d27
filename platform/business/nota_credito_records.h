#pragma once
// The two records a screen hands to the credit-note document object by value: the
// note's header and one note line. Each field says which column of
// NOTA_CREDITO_PROVEEDOR it is stored in.
#include <QDate>
#include <QString>

namespace qmx44::business {

struct EncabezadoNota {
    QString folio;         // Nc_Folio: filled by the document once lines have been added
    QDate fecha;           // Nc_Fecha; an invalid date means the session's working date
    QString texto;         // free text the screen leaves empty; not stored
    QString referencia;    // Nc_Referencia
    QString comentario;    // Nc_Comentario
    QString moneda;        // Mn_Cve_Moneda
    QString causa;         // Cn_Cve_Causa_Nota_Credito_Proveedor
    double tipoCambio = 0; // Nc_Tipo_Cambio
    QString compra;        // Co_Folio, the purchase the note grants a bonus on (required)
    QString sucursal;      // Sc_Cve_Sucursal
    QString almacen;       // Al_Cve_Almacen
    QString proveedor;     // Pv_Cve_Proveedor
    QString comprador;     // Cm_Cve_Comprador
    // Nc_Token, on every line: made up by the screen once per note being entered, so that
    // after a commit whose answer was lost the note can be found instead of saved again.
    QString token;
    // Filled by the document when the screen leaves them empty:
    QString folioSustituye; // Nc_Folio_Sustituye: the note this one replaces (the folio
                            // the same document object cancelled before Nuevo)

    bool operator==(const EncabezadoNota &) const = default;
};

// One line. Amounts are of the whole line unless "unit" is said; a unit value is per
// `cantidad1`.
struct DetalleNota {
    QString folio;        // Nc_Folio, filled by the document when the line is added
    QString producto;     // Pr_Cve_Producto
    QString comentario;   // Nc_Comentario_Linea
    QString talla;        // Tl_Cve_Talla
    QString color;        // Cl_Cve_Color
    double cantidad1 = 0; // Nc_Cantidad_1
    QString unidad1;      // Nc_Unidad_1
    // Control unit 1 and its quantity: the grid row's own values. The unit is stored as
    // given, an empty one included (showing the note matches rows on it); a quantity left
    // 0 in the purchase line's control unit (same folio, product, size, colour and unit 1)
    // is taken in proportion to that line.
    double cantidadControl1 = 0;  // Nc_Cantidad_Control_1
    QString unidadControl1;       // Nc_Unidad_Control_1
    double cantidadControl2 = 0;  // Nc_Cantidad_Control_2
    QString unidadControl2;       // Nc_Unidad_Control_2
    double precioLista = 0;       // Nc_Precio_Lista: unit bonus
    double precioDescontado = 0;  // Nc_Precio_Descontado: unit bonus again
    double descuento1 = 0;        // Nc_Descuento_1
    double descuento2 = 0;        // Nc_Descuento_2
    double impuestoFactor = 0;    // Nc_Impuesto_Factor
    double impuestoImporte = 0;   // Nc_Impuesto_Importe: bonus x tax factor
    double precioNeto = 0;        // Nc_Precio_Neto: unit bonus with tax
    double precioNetoImporte = 0; // Nc_Precio_Neto_Importe: bonus with tax (the amount the
                                  // pending check adds up)
    // The line's bonus without tax, exactly as the screen shows it (the grid's
    // Bon_Importe). Stored in Nc_Precio_Descontado_Importe and Nc_Precio_Lista_Importe
    // and shown again when the note is loaded. Fill it: when it is left 0 the document
    // works it back from the tax amount and factor (or the net amount without tax),
    // which may differ from the typed amount in the last binary digit.
    double importe = 0;
    int linea = 0; // Nc_Linea, numbered by the document from 1

    bool operator==(const DetalleNota &) const = default;
};

} // namespace qmx44::business
