-- The demo company: Distribuidora Textil del Bajío, a small clothing and footwear
-- wholesaler with two branches. Loaded by "qmx44 init-db --demo" into a new database,
-- in one transaction; the same rows every time.
--
-- Branches and warehouses
--   001 Matriz Guadalajara: A01 Almacén general, A03 Almacén de calzado,
--                           A02 Almacén de saldos (retired, state 'BA')
--   002 Sucursal Monterrey: M01 Almacén general
-- Currencies: MN (local, FIN_MONEDA_LOCAL) and USD with rates from 2024-01-02 on.
-- Causes: DV return cause (CXP_CAUSA_DEVOLUCION) and RC rejection cause
--   (CXC_CAUSA_RECHAZO), both refused by the screen; AN retired ('BA'); BC, PP, DP, MD usable.
-- Suppliers and delivery addresses (Direccion_Entrega, De_Tabla 'PROVEEDOR')
--   P0001 Hilados de Jalisco      default address 0001 (a ready line) and 0002
--   P0002 Calzado Industrial León default address 0001 (in parts); 0002 is recorded for
--                                 purchase C000000002 in Documento_Direccion
--   P0003 Textiles O'Farrill      no delivery address at all
--   P0004 Mercería La Estrella    default address 0001
--   P0005 Global Footwear Supply  (USD) one address 0001, not the default
--
-- Purchases (COMPRA, one row per line)
--   C000000001  001/A01 P0001  one line; the supplier's default address is used
--   C000000002  001/A03 P0002  seven lines forming four groups (BT-001 27 NEG twice:
--                              600 + 400 = 1,000; BT-002 27 CAF twice with a 10% line
--                              discount; CJ-001 twice); its own address 0002;
--                              note 0000000001 granted 150 + 24 tax on BT-001 27 NEG
--   C000000003  001/A01 P0003  global discount of 5% spread on its three lines;
--                              supplier without any address
--   C000000004  001/A01 P0004  two tax factors: 0.16 (BO-001, CR-001) and 0 (LB-001,
--                              RV-001); cancelled note 0000000002 on BO-001
--   C000000005  001/A01 P0001  cancelled purchase (Es_Cve_Estado 'CA')
--   C000000006  001/A03 P0005  foreign currency: USD at 16.9875
--   C000000007  002/M01 P0004  the other branch; live note 0000000003 on both lines
--   C000000008  001/A01 P0001  lines whose control units differ (Unidad_Control_1 PZA,
--                              PZA and MT; Unidad_Control_2 KG on all), for proration
--   C000000009  002/M01 P0004  the other branch and cancelled: a user restricted to
--                              branch 001 gets only the branch message
--
-- Credit notes (NOTA_CREDITO_PROVEEDOR), numbered by Folio_Contador up to 3
--   0000000001  C000000002, live, applied to P0002's balance
--   0000000002  C000000004, cancelled ('CA'), its application reversed
--   0000000003  C000000007 (branch 002), live, applied
--
-- Users (rights of module tag 'QMX44')
--   ADMIN  unrestricted; CHFECHA yes, CHTC01 no (may type the exchange rate)
--   CXP01  unrestricted; CHFECHA no, CHTC01 yes (exchange rate field stays disabled)
--   GDL01  restricted to branch 001
--   MTY01  restricted to branch 002
--   ALM01  restricted to branch 001 and warehouse A01
-- Operating periods of module COMPRAS: 2024-01-01..2024-03-31 and 2024-04-01..2024-06-30
-- closed; from 2024-07-01 on open. GEN_VALIDAR_PERIODO_OPERATIVO is on.
-- Additional fields of 'Nota_Credito_Proveedor': NC_FOLIO_PROVEEDOR (required) and
-- NC_OBSERVACIONES (optional).

-- Catalogues ------------------------------------------------------------------------

INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion, Sc_Direccion_1, Sc_Telefono, Es_Cve_Estado) VALUES
 ('001', 'Matriz Guadalajara', 'Av. Federalismo Sur 1234, Col. Moderna, Guadalajara, Jal., C.P. 44190', '33 3614 2200', 'AC'),
 ('002', 'Sucursal Monterrey', 'Av. Constitución 1850 Pte., Col. Obispado, Monterrey, N.L., C.P. 64060', '81 8343 1170', 'AC');

INSERT INTO Almacen (Al_Cve_Almacen, Al_Descripcion, Sc_Cve_Sucursal, Es_Cve_Estado) VALUES
 ('A01', 'Almacén general Guadalajara', '001', 'AC'),
 ('A02', 'Almacén de saldos Guadalajara', '001', 'BA'),
 ('A03', 'Almacén de calzado Guadalajara', '001', 'AC'),
 ('M01', 'Almacén general Monterrey', '002', 'AC');

INSERT INTO Moneda (Mn_Cve_Moneda, Mn_Descripcion, Mn_Simbolo, Es_Cve_Estado) VALUES
 ('MN', 'Pesos mexicanos', '$', 'AC'),
 ('USD', 'Dólar estadounidense', 'US$', 'AC');

INSERT INTO Tipo_Cambio (Mn_Cve_Moneda, Tc_Fecha, Tc_Valor) VALUES
 ('USD', '2024-01-02', 17.0512),
 ('USD', '2024-02-01', 17.148),
 ('USD', '2024-03-01', 16.9875),
 ('USD', '2024-04-01', 16.532),
 ('USD', '2024-07-01', 18.2545);

INSERT INTO Comprador (Cm_Cve_Comprador, Cm_Descripcion, Es_Cve_Estado) VALUES
 ('CM01', 'Laura Méndez Ruiz', 'AC'),
 ('CM02', 'Jorge Castañeda Pérez', 'AC'),
 ('CM03', 'Ana Sofía Treviño Garza', 'AC');

INSERT INTO Causa_Nota_Credito_Proveedor (Cn_Cve_Causa_Nota_Credito_Proveedor, Cn_Descripcion, Es_Cve_Estado) VALUES
 ('DV', 'Devolución de mercancía', 'AC'),
 ('RC', 'Rechazo de mercancía', 'AC'),
 ('BC', 'Bonificación comercial', 'AC'),
 ('PP', 'Descuento por pronto pago', 'AC'),
 ('DP', 'Diferencia en precio', 'AC'),
 ('MD', 'Mercancía dañada en tránsito', 'AC'),
 ('AN', 'Ajuste de temporada anterior', 'BA');

INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion, Pv_Razon_Social, Pv_Direccion_1, Pv_R_F_C, Pv_Telefono, Pv_Correo, Pv_Dias_Credito, Pv_Limite_Credito, Pv_Saldo, Mn_Cve_Moneda, Es_Cve_Estado) VALUES
 ('P0001', 'Hilados de Jalisco', 'Hilados y Tejidos de Jalisco, S.A. de C.V.', 'Av. Vallarta 2450, Col. Arcos Vallarta, Guadalajara, Jal.', 'HTJ980312AB4', '33 3630 1100', 'ventas@hiladosjalisco.com.mx', 30, 250000, 185400.5, 'MN', 'AC'),
 ('P0002', 'Calzado Industrial León', 'Calzado Industrial de León, S.A. de C.V.', 'Blvd. Adolfo López Mateos 1820 Ote., León, Gto.', 'CIL050607QX2', '477 716 4400', 'credito@calzadoleon.com.mx', 45, 150000, 92136, 'MN', 'AC'),
 ('P0003', 'Textiles O''Farrill', 'Textiles O''Farrill Hermanos, S. de R.L. de C.V.', 'Calz. Independencia Nte. 455, Col. Centro, Guadalajara, Jal.', 'TOH110921JK7', '33 3617 0990', 'cobranza@ofarrill.mx', 15, 80000, 17852.4, 'MN', 'AC'),
 ('P0004', 'Mercería La Estrella', 'Mercería y Avíos La Estrella, S.A. de C.V.', 'Calle Morelos 88 Ote., Col. Centro, Monterrey, N.L.', 'MAE990101ZZ1', '81 8340 2211', 'pedidos@laestrella.mx', 30, 60000, 33505.92, 'MN', 'AC'),
 ('P0005', 'Global Footwear Supply', 'Global Footwear Supply Inc.', '1200 Commerce St., Laredo, TX 78040, USA', 'XEXX010101000', '+1 956 555 0142', 'ar@globalfootwear.example', 60, 20000, 3051.96, 'USD', 'AC');

INSERT INTO Direccion_Entrega (De_Tabla, De_Documento, De_ID, De_Direccion_1, De_Calle, De_Numero_Interior, De_Numero_Exterior, De_Cruzamiento_1, De_Cruzamiento_2, De_Colonia, De_Ciudad, De_Estado, De_Codigo_Postal, De_Omision) VALUES
 ('PROVEEDOR', 'P0001', '0001', 'Bodega Periférico Sur 7980, Santa María Tequepexpan, Tlaquepaque, Jal.', '', '', '', '', '', 'Santa María Tequepexpan', 'Tlaquepaque', 'Jalisco', '45601', 1),
 ('PROVEEDOR', 'P0001', '0002', 'Av. Vallarta 2450, Col. Arcos Vallarta, Guadalajara, Jal.', '', '', '', '', '', 'Arcos Vallarta', 'Guadalajara', 'Jalisco', '44130', 0),
 ('PROVEEDOR', 'P0002', '0001', '', 'Blvd. Hilario Medina', 'Int. 4', '3305', 'entre Av. Insurgentes', 'y Calle Pradera', 'Industrial Julián de Obregón', 'León', 'Guanajuato', '37290', 1),
 ('PROVEEDOR', 'P0002', '0002', '', 'Calle Nardo', '', '112', 'entre Jazmín', 'y Azucena', 'Parque Industrial Santa Crocce', 'León', 'Guanajuato', '37545', 0),
 ('PROVEEDOR', 'P0004', '0001', 'Calle Morelos 88 Ote., rampa de carga por Calle Galeana, Monterrey, N.L.', '', '', '', '', '', 'Centro', 'Monterrey', 'Nuevo León', '64000', 1),
 ('PROVEEDOR', 'P0005', '0001', '1200 Commerce St., Dock 3, Laredo, TX 78040, USA', '', '', '', '', '', '', 'Laredo', 'Texas', '78040', 0);

INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Tipo_Producto, Pr_Unidad_Costo, Pr_Impuesto_Factor, Es_Cve_Estado) VALUES
 ('PL-001', 'Playera cuello redondo 100% algodón', 'PT', 'PZA', 0.16, 'AC'),
 ('PL-002', 'Playera tipo polo piqué', 'PT', 'PZA', 0.16, 'AC'),
 ('PN-001', 'Pantalón de mezclilla caballero', 'PT', 'PZA', 0.16, 'AC'),
 ('PN-002', 'Pantalón de vestir dama', 'PT', 'PZA', 0.16, 'AC'),
 ('CH-001', 'Chamarra impermeable con capucha', 'PT', 'PZA', 0.16, 'AC'),
 ('BT-001', 'Bota industrial con casquillo', 'PT', 'PAR', 0.16, 'AC'),
 ('BT-002', 'Bota de trabajo dieléctrica', 'PT', 'PAR', 0.16, 'AC'),
 ('ZP-001', 'Zapato escolar de piel', 'PT', 'PAR', 0.16, 'AC'),
 ('TN-001', 'Tenis deportivo de lona', 'PT', 'PAR', 0.16, 'AC'),
 ('CL-001', 'Calcetín deportivo, paquete de 3 pares', 'PT', 'PAQ', 0.16, 'AC'),
 ('TL-001', 'Tela mezclilla 14 oz', 'MP', 'MT', 0.16, 'AC'),
 ('TL-002', 'Tela gabardina', 'MP', 'MT', 0.16, 'AC'),
 ('HL-001', 'Hilo poliéster, cono de 5,000 m', 'MP', 'CNO', 0.16, 'AC'),
 ('BO-001', 'Botón metálico 17 mm', 'MP', 'GRS', 0.16, 'AC'),
 ('CR-001', 'Cierre metálico 18 cm', 'MP', 'PZA', 0.16, 'AC'),
 ('ET-001', 'Etiqueta bordada con marca', 'MP', 'MIL', 0.16, 'AC'),
 ('CJ-001', 'Caja de cartón para calzado', 'EM', 'PZA', 0.16, 'AC'),
 ('BL-001', 'Bolsa de polietileno transparente', 'EM', 'KG', 0.16, 'AC'),
 ('LB-001', 'Manual técnico de patronaje (libro)', 'OT', 'PZA', 0, 'AC'),
 ('RV-001', 'Revista de tendencias textiles', 'OT', 'PZA', 0, 'AC');

-- Purchases ---------------------------------------------------------------------------

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000001', 1, '2024-03-05', '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'FAC-A-10231', 'AC', 'PL-001', 'M', 'BCO', 100, 'PZA', 100, 'PZA', 18, 'KG', 85.00, 0, 0.16, 8500.00, 8500.00, 0, 1360.00, 9860.00);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000002', 1, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'BT-001', '27', 'NEG', 2, 'PAR', 2, 'PAR', 3.6, 'KG', 300.00, 0, 0.16, 600.00, 600.00, 0, 96.00, 696.00),
 ('C000000002', 2, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'BT-001', '27', 'NEG', 1, 'PAR', 1, 'PAR', 1.8, 'KG', 400.00, 0, 0.16, 400.00, 400.00, 0, 64.00, 464.00),
 ('C000000002', 3, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'BT-001', '28', 'NEG', 4, 'PAR', 4, 'PAR', 7.4, 'KG', 310.00, 0, 0.16, 1240.00, 1240.00, 0, 198.40, 1438.40),
 ('C000000002', 4, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'BT-002', '27', 'CAF', 3, 'PAR', 3, 'PAR', 5.1, 'KG', 450.00, 10, 0.16, 1350.00, 1215.00, 0, 194.40, 1409.40),
 ('C000000002', 5, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'BT-002', '27', 'CAF', 2, 'PAR', 2, 'PAR', 3.4, 'KG', 450.00, 10, 0.16, 900.00, 810.00, 0, 129.60, 939.60),
 ('C000000002', 6, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'CJ-001', '', '', 100, 'PZA', 100, 'PZA', 15, 'KG', 4.50, 0, 0.16, 450.00, 450.00, 0, 72.00, 522.00),
 ('C000000002', 7, '2024-02-06', '001', 'A03', 'P0002', 'CM02', 'MN', 1, 'FAC-CIL-5512', 'AC', 'CJ-001', '', '', 50, 'PZA', 50, 'PZA', 7.5, 'KG', 4.50, 0, 0.16, 225.00, 225.00, 0, 36.00, 261.00);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000003', 1, '2024-03-12', '001', 'A01', 'P0003', 'CM01', 'MN', 1, 'FAC-TOH-0877', 'AC', 'TL-001', '', 'AZU', 200, 'MT', 200, 'MT', 96, 'KG', 45.00, 0, 0.16, 9000.00, 9000.00, 450.00, 1368.00, 9918.00),
 ('C000000003', 2, '2024-03-12', '001', 'A01', 'P0003', 'CM01', 'MN', 1, 'FAC-TOH-0877', 'AC', 'TL-002', '', 'KAQ', 150, 'MT', 150, 'MT', 63, 'KG', 38.00, 0, 0.16, 5700.00, 5700.00, 285.00, 866.40, 6281.40),
 ('C000000003', 3, '2024-03-12', '001', 'A01', 'P0003', 'CM01', 'MN', 1, 'FAC-TOH-0877', 'AC', 'HL-001', '', 'BCO', 24, 'CNO', 24, 'CNO', 12, 'KG', 62.50, 0, 0.16, 1500.00, 1500.00, 75.00, 228.00, 1653.00);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000004', 1, '2024-03-18', '001', 'A01', 'P0004', 'CM02', 'MN', 1, 'FAC-MAE-3320', 'AC', 'BO-001', '', 'PLA', 10, 'GRS', 1440, 'PZA', 2.5, 'KG', 120.00, 0, 0.16, 1200.00, 1200.00, 0, 192.00, 1392.00),
 ('C000000004', 2, '2024-03-18', '001', 'A01', 'P0004', 'CM02', 'MN', 1, 'FAC-MAE-3320', 'AC', 'CR-001', '', 'NEG', 500, 'PZA', 500, 'PZA', 6, 'KG', 3.20, 0, 0.16, 1600.00, 1600.00, 0, 256.00, 1856.00),
 ('C000000004', 3, '2024-03-18', '001', 'A01', 'P0004', 'CM02', 'MN', 1, 'FAC-MAE-3320', 'AC', 'LB-001', '', '', 5, 'PZA', 5, 'PZA', 4.5, 'KG', 350.00, 0, 0, 1750.00, 1750.00, 0, 0.00, 1750.00),
 ('C000000004', 4, '2024-03-18', '001', 'A01', 'P0004', 'CM02', 'MN', 1, 'FAC-MAE-3320', 'AC', 'RV-001', '', '', 12, 'PZA', 12, 'PZA', 3.6, 'KG', 95.00, 0, 0, 1140.00, 1140.00, 0, 0.00, 1140.00);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000005', 1, '2024-03-20', '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'FAC-A-10388', 'CA', 'PL-002', 'G', 'AZU', 50, 'PZA', 50, 'PZA', 12.5, 'KG', 140.00, 0, 0.16, 7000.00, 7000.00, 0, 1120.00, 8120.00),
 ('C000000005', 2, '2024-03-20', '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'FAC-A-10388', 'CA', 'PL-002', 'M', 'AZU', 30, 'PZA', 30, 'PZA', 7.2, 'KG', 140.00, 0, 0.16, 4200.00, 4200.00, 0, 672.00, 4872.00);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000006', 1, '2024-03-22', '001', 'A03', 'P0005', 'CM02', 'USD', 16.9875, 'INV-GFS-24-0319', 'AC', 'TN-001', '26', 'BCO', 24, 'PAR', 24, 'PAR', 19.2, 'KG', 38.50, 0, 0.16, 924.00, 924.00, 0, 147.84, 1071.84),
 ('C000000006', 2, '2024-03-22', '001', 'A03', 'P0005', 'CM02', 'USD', 16.9875, 'INV-GFS-24-0319', 'AC', 'TN-001', '27', 'BCO', 24, 'PAR', 24, 'PAR', 20.4, 'KG', 38.50, 0, 0.16, 924.00, 924.00, 0, 147.84, 1071.84),
 ('C000000006', 3, '2024-03-22', '001', 'A03', 'P0005', 'CM02', 'USD', 16.9875, 'INV-GFS-24-0319', 'AC', 'ZP-001', '22', 'NEG', 36, 'PAR', 36, 'PAR', 21.6, 'KG', 21.75, 0, 0.16, 783.00, 783.00, 0, 125.28, 908.28);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000007', 1, '2024-03-08', '002', 'M01', 'P0004', 'CM03', 'MN', 1, 'FAC-MAE-3301', 'AC', 'CH-001', 'G', 'NEG', 40, 'PZA', 40, 'PZA', 38, 'KG', 520.00, 5, 0.16, 20800.00, 19760.00, 0, 3161.60, 22921.60),
 ('C000000007', 2, '2024-03-08', '002', 'M01', 'P0004', 'CM03', 'MN', 1, 'FAC-MAE-3301', 'AC', 'CL-001', '', 'BCO', 120, 'PAQ', 360, 'PAR', 18, 'KG', 48.00, 0, 0.16, 5760.00, 5760.00, 0, 921.60, 6681.60);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000008', 1, '2024-04-03', '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'FAC-A-10412', 'AC', 'PN-001', '32', 'AZU', 60, 'PZA', 60, 'PZA', 42, 'KG', 210.00, 0, 0.16, 12600.00, 12600.00, 0, 2016.00, 14616.00),
 ('C000000008', 2, '2024-04-03', '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'FAC-A-10412', 'AC', 'PN-002', '30', 'NEG', 40, 'PZA', 40, 'PZA', 22, 'KG', 245.00, 0, 0.16, 9800.00, 9800.00, 0, 1568.00, 11368.00),
 ('C000000008', 3, '2024-04-03', '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'FAC-A-10412', 'AC', 'TL-001', '', 'AZU', 120, 'MT', 120, 'MT', 57.6, 'KG', 45.00, 0, 0.16, 5400.00, 5400.00, 0, 864.00, 6264.00);

INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) VALUES
 ('C000000009', 1, '2024-04-10', '002', 'M01', 'P0004', 'CM03', 'MN', 1, 'FAC-MAE-3350', 'CA', 'CL-001', '', 'NEG', 60, 'PAQ', 180, 'PAR', 9, 'KG', 48.00, 0, 0.16, 2880.00, 2880.00, 0, 460.80, 3340.80);

-- The purchase delivered to an address of its own.
INSERT INTO Documento_Direccion (Dd_Tabla, Dd_Documento, Dd_Entidad, Dd_Cve_Entidad, De_ID) VALUES
 ('Compra', 'C000000002', 'Proveedor', 'P0002', '0002');

-- Credit notes ------------------------------------------------------------------------

INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Nc_Fecha, Nc_Referencia, Nc_Comentario, Mn_Cve_Moneda, Cn_Cve_Causa_Nota_Credito_Proveedor, Nc_Tipo_Cambio, Co_Folio, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Nc_Comentario_Linea, Nc_Cantidad_1, Nc_Unidad_1, Nc_Cantidad_Control_1, Nc_Unidad_Control_1, Nc_Cantidad_Control_2, Nc_Unidad_Control_2, Nc_Precio_Lista, Nc_Precio_Descontado, Nc_Descuento_1, Nc_Descuento_2, Nc_Impuesto_Factor, Nc_Impuesto_Importe, Nc_Precio_Neto, Nc_Precio_Lista_Importe, Nc_Precio_Descontado_Importe, Nc_Precio_Neto_Importe, Nc_Folio_Sustituye, Nc_Usuario, Nc_Fecha_Registro, Nc_Usuario_Cancela, Nc_Fecha_Cancelacion) VALUES
 ('0000000001', 1, '2024-02-10', 'NCP-4471', 'Diferencia de precio en la segunda entrega', 'MN', 'DP', 1, 'C000000002', '001', 'A03', 'P0002', 'CM02', 'AC',
  'BT-001', '27', 'NEG', 'Nota de crédito por bonificacion compra: C000000002', 3, 'PAR', 3, 'PAR', 5.4, 'KG',
  50, 50, 0, 0, 0.16, 24, 58, 150, 150, 174, '', 'CXP01', '2024-02-10 10:15:00', '', NULL),
 ('0000000002', 1, '2024-03-19', 'NCP-0093', 'Botón con defecto de acabado', 'MN', 'BC', 1, 'C000000004', '001', 'A01', 'P0004', 'CM02', 'CA',
  'BO-001', '', 'PLA', 'Nota de crédito por bonificacion compra: C000000004', 10, 'GRS', 10, 'PZA', 2.5, 'KG',
  10, 10, 0, 0, 0.16, 16, 11.6, 100, 100, 116, '', 'CXP01', '2024-03-19 16:42:00', 'ADMIN', '2024-03-25 09:40:00'),
 ('0000000003', 1, '2024-03-15', 'NCP-0088', 'Pronto pago a 10 días', 'MN', 'PP', 1, 'C000000007', '002', 'M01', 'P0004', 'CM03', 'AC',
  'CH-001', 'G', 'NEG', 'Nota de crédito por bonificacion compra: C000000007', 40, 'PZA', 40, 'PZA', 40, 'KG',
  25, 25, 0, 0, 0.16, 160, 29, 1000, 1000, 1160, '', 'MTY01', '2024-03-15 12:05:00', '', NULL),
 ('0000000003', 2, '2024-03-15', 'NCP-0088', 'Pronto pago a 10 días', 'MN', 'PP', 1, 'C000000007', '002', 'M01', 'P0004', 'CM03', 'AC',
  'CL-001', '', 'BCO', 'Nota de crédito por bonificacion compra: C000000007', 120, 'PAQ', 120, 'PAR', 120, 'KG',
  2.4, 2.4, 0, 0, 0.16, 46.08, 2.784, 288, 288, 334.08, '', 'MTY01', '2024-03-15 12:05:00', '', NULL);

INSERT INTO Nota_Credito_Aplicacion (Nc_Folio, Pv_Cve_Proveedor, Ap_Importe, Ap_Fecha, Ap_Usuario, Ap_Cancelada, Ap_Fecha_Cancelacion, Ap_Usuario_Cancela) VALUES
 ('0000000001', 'P0002', 174, '2024-02-10 10:15:00', 'CXP01', 0, NULL, ''),
 ('0000000002', 'P0004', 116, '2024-03-19 16:42:00', 'CXP01', 1, '2024-03-25 09:40:00', 'ADMIN'),
 ('0000000003', 'P0004', 1494.08, '2024-03-15 12:05:00', 'MTY01', 0, NULL, '');

INSERT INTO Documento_Direccion (Dd_Tabla, Dd_Documento, Dd_Entidad, Dd_Cve_Entidad, De_ID) VALUES
 ('NOTA_CREDITO_PROVEEDOR', '0000000001', 'Proveedor', 'P0002', '0002'),
 ('NOTA_CREDITO_PROVEEDOR', '0000000002', 'Proveedor', 'P0004', '0001'),
 ('NOTA_CREDITO_PROVEEDOR', '0000000003', 'Proveedor', 'P0004', '0001');

UPDATE Folio_Contador SET Fc_Ultimo = 3 WHERE Fc_Documento = 'NOTA_CREDITO_PROVEEDOR';
INSERT INTO Folio_Contador (Fc_Documento, Fc_Ultimo, Fc_Ancho) VALUES ('COMPRA', 9, 10);

-- Additional fields of the credit note ------------------------------------------------

INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Etiqueta, Ca_Tipo, Ca_Longitud, Ca_Requerido, Ca_Orden) VALUES
 ('Nota_Credito_Proveedor', 'NC_FOLIO_PROVEEDOR', 'Folio de la nota del proveedor', 'T', 20, 1, 1),
 ('Nota_Credito_Proveedor', 'NC_OBSERVACIONES', 'Observaciones', 'T', 100, 0, 2);

INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Campo, Cv_Clave, Cv_Valor) VALUES
 ('Nota_Credito_Proveedor', 'NC_FOLIO_PROVEEDOR', '0000000001', 'NCP-4471'),
 ('Nota_Credito_Proveedor', 'NC_FOLIO_PROVEEDOR', '0000000002', 'NCP-0093'),
 ('Nota_Credito_Proveedor', 'NC_OBSERVACIONES', '0000000002', 'Cancelada: el proveedor repuso la mercancía'),
 ('Nota_Credito_Proveedor', 'NC_FOLIO_PROVEEDOR', '0000000003', 'NCP-0088');

-- System parameters, users, rights and periods -------------------------------------------

INSERT INTO Parametro (Pa_Nombre, Pa_Valor, Pa_Tipo) VALUES
 ('FTO_SUCURSAL', '000', 'T'),
 ('FTO_ALMACEN', '', 'T'),
 ('FTO_PROVEEDOR', '', 'T'),
 ('FTO_COMPRADOR', '', 'T'),
 ('FTO_CAUSA_NCP', '', 'T'),
 ('CXP_CAUSA_DEVOLUCION', 'DV', 'T'),
 ('CXC_CAUSA_RECHAZO', 'RC', 'T'),
 ('FIN_MONEDA_LOCAL', 'MN', 'T'),
 ('CXP_APLICAR_NOTA_CREDITO', '1', 'B'),
 ('FTO_IMP_NOTA_CREDITO_PROVEEDOR', 'NCP_BONIFICACION', 'T'),
 ('GEN_VALIDAR_PERIODO_OPERATIVO', '1', 'B'),
 ('GEN_EMPRESA_NOMBRE', 'Distribuidora Textil del Bajío, S.A. de C.V.', 'T'),
 ('GEN_EMPRESA_RFC', 'DTB950315MX3', 'T'),
 ('GEN_EMPRESA_DIRECCION', 'Av. Federalismo Sur 1234, Col. Moderna, Guadalajara, Jal., C.P. 44190', 'T');

INSERT INTO Usuario (Us_Cve_Usuario, Us_Nombre, Sc_Cve_Sucursal, Al_Cve_Almacen) VALUES
 ('ADMIN', 'Administrador del sistema', '', ''),
 ('CXP01', 'María Fernanda López Ibarra', '', ''),
 ('GDL01', 'Roberto Sánchez Gil', '001', ''),
 ('MTY01', 'Patricia Garza Villarreal', '002', ''),
 ('ALM01', 'Luis Hernández Ortega', '001', 'A01');

INSERT INTO Usuario_Permiso (Us_Cve_Usuario, Pe_Modulo, Pe_Clave, Pe_Valor) VALUES
 ('ADMIN', 'QMX44', 'CHFECHA', 1),
 ('ADMIN', 'QMX44', 'CHTC01', 0),
 ('CXP01', 'QMX44', 'CHFECHA', 0),
 ('CXP01', 'QMX44', 'CHTC01', 1),
 ('GDL01', 'QMX44', 'CHFECHA', 1);

INSERT INTO Periodo_Operativo (Po_Modulo, Po_Fecha_Inicio, Po_Fecha_Fin, Po_Abierto) VALUES
 ('COMPRAS', '2024-01-01', '2024-03-31', 0),
 ('COMPRAS', '2024-04-01', '2024-06-30', 0),
 ('COMPRAS', '2024-07-01', '2099-12-31', 1);
