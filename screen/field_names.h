#pragma once
// The names of the main form frmQMX44 and of its controls, spelt once. Each constant is
// named after the control it names, so `QStringLiteral("txt_Co_Folio")` reads
// `fields::txt_Co_Folio`. Labels are named from their field (see labelNameFor).
#include <QString>

namespace qmx44::screen {

// The module tag of the screen: its rights and its coded messages carry it.
inline const QString ModuleTag = QStringLiteral("QMX44");

} // namespace qmx44::screen

namespace qmx44::screen::fields {

inline const QString frmQMX44 = QStringLiteral("frmQMX44");

// Above the tab control.
inline const QString Controles = QStringLiteral("Controles");
inline const QString EsquemaColor = QStringLiteral("EsquemaColor");
inline const QString txtFolio = QStringLiteral("txtFolio");
inline const QString dpFecha = QStringLiteral("dpFecha");
inline const QString ssTabFichas = QStringLiteral("ssTabFichas");

// Page "Encabezado".
inline const QString fr0 = QStringLiteral("fr0");
inline const QString sh0 = QStringLiteral("sh0");
inline const QString txt_Co_Folio = QStringLiteral("txt_Co_Folio");
inline const QString txt_Sc_Cve_Sucursal = QStringLiteral("txt_Sc_Cve_Sucursal");
inline const QString txt_Sc_Descripcion = QStringLiteral("txt_Sc_Descripcion");
inline const QString txt_Al_Cve_Almacen = QStringLiteral("txt_Al_Cve_Almacen");
inline const QString txt_Al_Descripcion = QStringLiteral("txt_Al_Descripcion");
inline const QString txt_Pv_Cve_Proveedor = QStringLiteral("txt_Pv_Cve_Proveedor");
inline const QString txt_Pv_Descripcion = QStringLiteral("txt_Pv_Descripcion");
inline const QString txt_Pv_Razon_Social = QStringLiteral("txt_Pv_Razon_Social");
inline const QString txt_Pv_Direccion_1 = QStringLiteral("txt_Pv_Direccion_1");
inline const QString txt_Pv_R_F_C = QStringLiteral("txt_Pv_R_F_C");
inline const QString txt_Pv_Dias_Credito = QStringLiteral("txt_Pv_Dias_Credito");
inline const QString txt_Credito_Disponible = QStringLiteral("txt_Credito_Disponible");
inline const QString txt_Cm_Cve_Comprador = QStringLiteral("txt_Cm_Cve_Comprador");
inline const QString txt_Cm_Descripcion = QStringLiteral("txt_Cm_Descripcion");
inline const QString txt_Mn_Cve_Moneda = QStringLiteral("txt_Mn_Cve_Moneda");
inline const QString txt_Mn_Descripcion = QStringLiteral("txt_Mn_Descripcion");
inline const QString txt_Nc_Tipo_Cambio = QStringLiteral("txt_Nc_Tipo_Cambio");
inline const QString txt_Cn_Cve_Causa_Nota = QStringLiteral("txt_Cn_Cve_Causa_Nota");
inline const QString txt_Cn_Descripcion = QStringLiteral("txt_Cn_Descripcion");
inline const QString txt_Nc_Referencia = QStringLiteral("txt_Nc_Referencia");
inline const QString txt_Comentario = QStringLiteral("txt_Comentario");

// Page "Detalle".
inline const QString fr1 = QStringLiteral("fr1");
inline const QString sh1 = QStringLiteral("sh1");
inline const QString ssDetalle = QStringLiteral("ssDetalle");
inline const QString frTotal = QStringLiteral("frTotal");
inline const QString txt_SubTotal = QStringLiteral("txt_SubTotal");
inline const QString txt_Impuestos = QStringLiteral("txt_Impuestos");
inline const QString txt_Total = QStringLiteral("txt_Total");
// Beside the totals: what the note will do, before it is saved. A table of labels,
// effectLabel(row, column): row 0 the headings, then the supplier's balance, the grid's
// current line and the whole purchase; column 0 the row's caption, then before, this
// note and after.
inline const QString frEfecto = QStringLiteral("frEfecto");
inline constexpr int EffectRows = 4;
inline constexpr int EffectColumns = 4;
inline QString effectLabel(int row, int column)
{
    return QStringLiteral("lblEfecto%1%2").arg(row).arg(column);
}

} // namespace qmx44::screen::fields
