#pragma once
// The column names of the detail grid ssDetalle, spelt once, in the grid's order. Each
// constant is named after its column, so `QStringLiteral("BON_IMPORTE")` reads
// `columns::BON_IMPORTE`. The row format (captions, types, widths) is the intake
// layer's (intake/detail_format).
#include <QString>

namespace qmx44::screen::columns {

inline const QString Pr_Cve_Producto = QStringLiteral("Pr_Cve_Producto");
inline const QString Pr_Descripcion = QStringLiteral("Pr_Descripcion");
inline const QString Tl_Cve_Talla = QStringLiteral("Tl_Cve_Talla");
inline const QString Cl_Cve_Color = QStringLiteral("Cl_Cve_Color");
inline const QString Cantidad_1 = QStringLiteral("Cantidad_1");
inline const QString Unidad_1 = QStringLiteral("Unidad_1");
inline const QString Cantidad_Control_1 = QStringLiteral("Cantidad_Control_1");
inline const QString Unidad_Control_1 = QStringLiteral("Unidad_Control_1");
inline const QString Cantidad_Control_2 = QStringLiteral("Cantidad_Control_2");
inline const QString Unidad_Control_2 = QStringLiteral("Unidad_Control_2");
inline const QString Cantidad_Costo = QStringLiteral("Cantidad_Costo");
inline const QString Unidad_Costo = QStringLiteral("Unidad_Costo");
inline const QString Costo = QStringLiteral("Costo");
inline const QString Costo_Importe = QStringLiteral("Costo_Importe");
inline const QString Pr_Folio = QStringLiteral("Pr_Folio");
inline const QString Precio_Lista = QStringLiteral("Precio_Lista");
inline const QString Precio_Lista_Importe = QStringLiteral("Precio_Lista_Importe");
inline const QString Descuento_Factor = QStringLiteral("Descuento_Factor");
inline const QString Descuento_Importe = QStringLiteral("Descuento_Importe");
inline const QString Precio_Descontado = QStringLiteral("Precio_Descontado");
inline const QString Precio_Descontado_Importe = QStringLiteral("Precio_Descontado_Importe");
inline const QString Impuesto_Factor = QStringLiteral("Impuesto_Factor");
inline const QString Impuesto_Importe = QStringLiteral("Impuesto_Importe");
inline const QString Precio_Neto = QStringLiteral("Precio_Neto");
inline const QString Precio_Neto_Importe = QStringLiteral("Precio_Neto_Importe");
inline const QString Lt_Cve_Lote = QStringLiteral("Lt_Cve_Lote");
inline const QString Lt_Fecha_Caducidad = QStringLiteral("Lt_Fecha_Caducidad");
inline const QString Lt_Pedimento = QStringLiteral("Lt_Pedimento");
inline const QString Lt_Fecha_Pedimento = QStringLiteral("Lt_Fecha_Pedimento");
inline const QString Sr_Cve_Serie = QStringLiteral("Sr_Cve_Serie");
inline const QString Sr_Pedimento = QStringLiteral("Sr_Pedimento");
inline const QString Lt_UserDef_1 = QStringLiteral("Lt_UserDef_1");
inline const QString Lt_UserDef_2 = QStringLiteral("Lt_UserDef_2");
inline const QString Sr_Fecha_Pedimento = QStringLiteral("Sr_Fecha_Pedimento");
inline const QString Lt_UserDef_3 = QStringLiteral("Lt_UserDef_3");
inline const QString Lt_UserDef_4 = QStringLiteral("Lt_UserDef_4");
inline const QString Sr_UserDef_1 = QStringLiteral("Sr_UserDef_1");
inline const QString Lt_UserDef_6 = QStringLiteral("Lt_UserDef_6");
inline const QString Lt_UserDef_5 = QStringLiteral("Lt_UserDef_5");
inline const QString Sr_UserDef_2 = QStringLiteral("Sr_UserDef_2");
inline const QString Sr_UserDef_3 = QStringLiteral("Sr_UserDef_3");
inline const QString Sr_UserDef_4 = QStringLiteral("Sr_UserDef_4");
inline const QString Sr_UserDef_5 = QStringLiteral("Sr_UserDef_5");
inline const QString Sr_UserDef_6 = QStringLiteral("Sr_UserDef_6");
inline const QString Documento_Id = QStringLiteral("Documento_Id");
inline const QString BON_PORCENTAJE = QStringLiteral("BON_PORCENTAJE");
inline const QString BON_IMPORTE = QStringLiteral("BON_IMPORTE");
// Our own column after the row format's 47: what is still pending on the row's purchase
// line, tax included (intake/pending_amounts).
inline const QString Pending = QStringLiteral("Pending");

} // namespace qmx44::screen::columns
