-- Schema version 2: numbering prefixes and the printed credit note.
--
-- Folio_Contador.Fc_Prefijo: letters put in front of a counter's numbers; the number is
-- padded with zeros so that prefix and number together are Fc_Ancho wide. Empty for
-- the credit notes, whose folios stay all digits ("0000000004").
--
-- The credit-note print format NCP_BONIFICACION (the format the company parameter
-- FTO_IMP_NOTA_CREDITO_PROVEEDOR names) becomes a complete note. A company that already
-- changed its template keeps its own.
--
-- Template placeholders (values are HTML-escaped when they are filled in):
--   {{Name}}                a value of the note (below); an unknown name gives nothing
--   {{#Name}} ... {{/Name}} Lineas: repeated once per line; any other name: shown only
--                           when the value is not empty
--   {{^Name}} ... {{/Name}} shown only when the value is empty
-- Note values: Nc_Folio, Nc_Fecha, Nc_Referencia, Nc_Comentario, Co_Folio, Mn_Cve_Moneda,
--   Mn_Descripcion, Nc_Tipo_Cambio, Sc_Cve_Sucursal, Sc_Descripcion, Al_Cve_Almacen,
--   Al_Descripcion, Pv_Cve_Proveedor, Pv_Descripcion, Pv_Razon_Social, Pv_R_F_C,
--   Pv_Direccion_1, Direccion_Entrega, Cm_Cve_Comprador, Cm_Descripcion, Cn_Cve_Causa,
--   Cn_Descripcion, Nc_Folio_Sustituye, Nc_Usuario, Us_Nombre, Nc_Fecha_Registro,
--   Cancelada ("CANCELADA" or empty), Nc_Usuario_Cancela, Nc_Fecha_Cancelacion,
--   SubTotal, Impuestos, Total, Partidas, Empresa_Nombre, Empresa_RFC, Empresa_Direccion.
-- Line values (inside {{#Lineas}}): Nc_Linea, Pr_Cve_Producto, Pr_Descripcion,
--   Tl_Cve_Talla, Cl_Cve_Color, Nc_Cantidad_1, Nc_Unidad_1, Nc_Cantidad_Control_1,
--   Nc_Unidad_Control_1, Nc_Precio_Descontado (unit bonus), Bonificacion, Impuesto_Factor,
--   Impuesto, Neto, Nc_Comentario_Linea.

ALTER TABLE Folio_Contador ADD COLUMN Fc_Prefijo TEXT DEFAULT '';

DELETE FROM Formato_Impresion
 WHERE Fi_Nombre = 'NCP_BONIFICACION'
   AND Fi_Plantilla = '<html><body><h1>Nota de crédito de proveedor</h1><p>Folio: {{Nc_Folio}}</p></body></html>';

INSERT INTO Formato_Impresion (Fi_Nombre, Fi_Descripcion, Fi_Plantilla)
SELECT 'NCP_BONIFICACION', 'Nota de crédito de proveedor (bonificación)',
'<html><head><style>
body { font-size: 9pt; }
th { background-color: #e6e6e6; font-weight: bold; white-space: nowrap; }
table.lineas td, table.lineas th { font-size: 7.5pt; }
</style></head><body>
<table width="100%" cellspacing="0" cellpadding="2"><tr>
<td width="58%"><span style="font-size: 13pt; font-weight: bold;">{{Empresa_Nombre}}</span><br/>
RFC: {{Empresa_RFC}}<br/>{{Empresa_Direccion}}</td>
<td width="42%" align="right"><span style="font-size: 13pt; font-weight: bold;">NOTA DE CRÉDITO</span><br/>
Bonificación sobre compra<br/>
Folio: <b>{{Nc_Folio}}</b><br/>Fecha: {{Nc_Fecha}}</td>
</tr></table>
{{#Cancelada}}<p align="center" style="font-size: 22pt; font-weight: bold; color: #c00000;">CANCELADA</p>
<p align="center">Cancelada por {{Nc_Usuario_Cancela}} el {{Nc_Fecha_Cancelacion}}</p>{{/Cancelada}}
<hr/>
<table width="100%" cellspacing="0" cellpadding="2"><tr>
<td width="50%"><b>Proveedor:</b> {{Pv_Cve_Proveedor}} {{Pv_Descripcion}}<br/>{{Pv_Razon_Social}}<br/>RFC: {{Pv_R_F_C}}</td>
<td width="50%"><b>Dirección de entrega:</b><br/>{{#Direccion_Entrega}}{{Direccion_Entrega}}{{/Direccion_Entrega}}{{^Direccion_Entrega}}{{Pv_Direccion_1}}{{/Direccion_Entrega}}</td>
</tr></table>
<table width="100%" cellspacing="0" cellpadding="2">
<tr><td width="34%"><b>Compra:</b> {{Co_Folio}}</td>
<td width="33%"><b>Sucursal:</b> {{Sc_Cve_Sucursal}} {{Sc_Descripcion}}</td>
<td width="33%"><b>Almacén:</b> {{Al_Cve_Almacen}} {{Al_Descripcion}}</td></tr>
<tr><td><b>Causa:</b> {{Cn_Cve_Causa}} {{Cn_Descripcion}}</td>
<td><b>Referencia:</b> {{Nc_Referencia}}</td>
<td><b>Comprador:</b> {{Cm_Cve_Comprador}} {{Cm_Descripcion}}</td></tr>
<tr><td><b>Moneda:</b> {{Mn_Cve_Moneda}} {{Mn_Descripcion}}</td>
<td><b>Tipo de cambio:</b> {{Nc_Tipo_Cambio}}</td>
<td>{{#Nc_Folio_Sustituye}}<b>Sustituye a la nota:</b> {{Nc_Folio_Sustituye}}{{/Nc_Folio_Sustituye}}</td></tr>
</table>
{{#Nc_Comentario}}<p><b>Comentario:</b> {{Nc_Comentario}}</p>{{/Nc_Comentario}}
<br/>
<table class="lineas" width="100%" border="1" cellspacing="0" cellpadding="3">
<thead><tr><th width="4%">#</th><th width="10%">Producto</th><th width="18%">Descripción</th>
<th width="6%">Talla</th><th width="6%">Color</th><th width="8%">Cantidad</th>
<th width="7%">Unidad</th><th width="10%">Bonif. unit.</th><th width="11%">Bonificación</th>
<th width="10%">Impuesto</th><th width="10%">Neto</th></tr></thead>
{{#Lineas}}<tr><td align="right">{{Nc_Linea}}</td><td nowrap>{{Pr_Cve_Producto}}</td><td>{{Pr_Descripcion}}</td>
<td>{{Tl_Cve_Talla}}</td><td>{{Cl_Cve_Color}}</td><td align="right" nowrap>{{Nc_Cantidad_1}}</td><td>{{Nc_Unidad_1}}</td>
<td align="right" nowrap>{{Nc_Precio_Descontado}}</td><td align="right" nowrap>{{Bonificacion}}</td>
<td align="right" nowrap>{{Impuesto}}</td><td align="right" nowrap>{{Neto}}</td></tr>{{/Lineas}}
</table>
<br/>
<table width="100%" cellspacing="0" cellpadding="2"><tr><td width="62%">Partidas: {{Partidas}}</td>
<td width="38%"><table width="100%" cellspacing="0" cellpadding="2">
<tr><td>Subtotal</td><td align="right">{{SubTotal}}</td></tr>
<tr><td>Impuestos</td><td align="right">{{Impuestos}}</td></tr>
<tr><td><b>Total</b></td><td align="right"><b>{{Total}} {{Mn_Cve_Moneda}}</b></td></tr>
</table></td></tr></table>
<br/><p>Elaboró: {{Nc_Usuario}} {{Us_Nombre}} — {{Nc_Fecha_Registro}}</p>
</body></html>'
WHERE NOT EXISTS (SELECT 1 FROM Formato_Impresion WHERE Fi_Nombre = 'NCP_BONIFICACION');
