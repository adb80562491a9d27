-- Schema version 1: the company's catalogues, purchases, supplier credit notes and the
-- host's own tables.
--
-- Written once for SQLite and PostgreSQL alike: keys TEXT, amounts DOUBLE PRECISION
-- (REAL affinity on SQLite), dates DATE (ISO text 'YYYY-MM-DD' on SQLite), moments
-- TIMESTAMP, flags INTEGER 0/1. Identifiers are unquoted, so PostgreSQL keeps them in
-- lower case and the record set finds columns without regard to case.
-- Every column outside the primary key has a DEFAULT, so that writers name only the
-- columns they know. State keys (Es_Cve_Estado): 'AC' live, 'CA' cancelled document,
-- 'BA' retired catalogue entry.
-- The statements the screen builds join COMPRA and NOTA_CREDITO_PROVEEDOR with Producto
-- on unqualified column names, so Producto shares no column name with either table
-- apart from Pr_Cve_Producto and Es_Cve_Estado (always qualified there).

-- Catalogues -------------------------------------------------------------------------

CREATE TABLE Sucursal (
    Sc_Cve_Sucursal     TEXT PRIMARY KEY,
    Sc_Descripcion      TEXT DEFAULT '',
    Sc_Direccion_1      TEXT DEFAULT '',
    Sc_Telefono         TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);

CREATE TABLE Almacen (
    Al_Cve_Almacen      TEXT PRIMARY KEY,
    Al_Descripcion      TEXT DEFAULT '',
    Sc_Cve_Sucursal     TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
CREATE INDEX IX_Almacen_Sucursal ON Almacen (Sc_Cve_Sucursal);

CREATE TABLE Proveedor (
    Pv_Cve_Proveedor    TEXT PRIMARY KEY,
    Pv_Descripcion      TEXT DEFAULT '',
    Pv_Razon_Social     TEXT DEFAULT '',
    Pv_Direccion_1      TEXT DEFAULT '',
    Pv_R_F_C            TEXT DEFAULT '',
    Pv_Telefono         TEXT DEFAULT '',
    Pv_Correo           TEXT DEFAULT '',
    Pv_Dias_Credito     INTEGER DEFAULT 0,
    Pv_Limite_Credito   DOUBLE PRECISION DEFAULT 0,
    -- What the company owes the supplier; applying a credit note lowers it.
    Pv_Saldo            DOUBLE PRECISION DEFAULT 0,
    Mn_Cve_Moneda       TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);

CREATE TABLE Producto (
    Pr_Cve_Producto     TEXT PRIMARY KEY,
    Pr_Descripcion      TEXT DEFAULT '',
    Pr_Tipo_Producto    TEXT DEFAULT '',
    Pr_Unidad_Costo     TEXT DEFAULT '',
    Pr_Impuesto_Factor  DOUBLE PRECISION DEFAULT 0.16,
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);

CREATE TABLE Moneda (
    Mn_Cve_Moneda       TEXT PRIMARY KEY,
    Mn_Descripcion      TEXT DEFAULT '',
    Mn_Simbolo          TEXT DEFAULT '$',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);

CREATE TABLE Comprador (
    Cm_Cve_Comprador    TEXT PRIMARY KEY,
    Cm_Descripcion      TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);

CREATE TABLE Causa_Nota_Credito_Proveedor (
    Cn_Cve_Causa_Nota_Credito_Proveedor TEXT PRIMARY KEY,
    Cn_Descripcion      TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);

-- Delivery addresses of an owner (De_Tabla 'PROVEEDOR', De_Documento the supplier key).
-- Either a ready line (De_Direccion_1) or the parts; De_Omision = 1 marks the owner's
-- default address. The primary key serves the look-up by (table, document, id).
CREATE TABLE Direccion_Entrega (
    De_Tabla            TEXT,
    De_Documento        TEXT,
    De_ID               TEXT,
    De_Direccion_1      TEXT DEFAULT '',
    De_Calle            TEXT DEFAULT '',
    De_Numero_Interior  TEXT DEFAULT '',
    De_Numero_Exterior  TEXT DEFAULT '',
    De_Cruzamiento_1    TEXT DEFAULT '',
    De_Cruzamiento_2    TEXT DEFAULT '',
    De_Colonia          TEXT DEFAULT '',
    De_Ciudad           TEXT DEFAULT '',
    De_Estado           TEXT DEFAULT '',
    De_Codigo_Postal    TEXT DEFAULT '',
    De_Omision          INTEGER DEFAULT 0,
    PRIMARY KEY (De_Tabla, De_Documento, De_ID)
);
CREATE INDEX IX_Direccion_Entrega_Omision ON Direccion_Entrega (De_Tabla, De_Documento, De_Omision);

-- Purchases: one row per purchase line, the header repeated on every line. Amounts of
-- a line: list price, after the line's discount (Descontado), the share of the
-- purchase's global discount, tax and net (after both discounts, tax included).
-- The primary key serves the look-up by folio.
CREATE TABLE COMPRA (
    Co_Folio                     TEXT,
    Co_Linea                     INTEGER,
    Co_Fecha                     DATE DEFAULT CURRENT_DATE,
    Sc_Cve_Sucursal              TEXT DEFAULT '',
    Al_Cve_Almacen               TEXT DEFAULT '',
    Pv_Cve_Proveedor             TEXT DEFAULT '',
    Cm_Cve_Comprador             TEXT DEFAULT '',
    Mn_Cve_Moneda                TEXT DEFAULT '',
    Co_Tipo_Cambio               DOUBLE PRECISION DEFAULT 1,
    Co_Referencia                TEXT DEFAULT '',
    Co_Comentario                TEXT DEFAULT '',
    Es_Cve_Estado                TEXT DEFAULT 'AC',
    Pr_Cve_Producto              TEXT DEFAULT '',
    Tl_Cve_Talla                 TEXT DEFAULT '',
    Cl_Cve_Color                 TEXT DEFAULT '',
    Co_Cantidad_1                DOUBLE PRECISION DEFAULT 0,
    Co_Unidad_1                  TEXT DEFAULT '',
    Co_Cantidad_Control_1        DOUBLE PRECISION DEFAULT 0,
    Co_Unidad_Control_1          TEXT DEFAULT '',
    Co_Cantidad_Control_2        DOUBLE PRECISION DEFAULT 0,
    Co_Unidad_Control_2          TEXT DEFAULT '',
    Co_Precio_Lista              DOUBLE PRECISION DEFAULT 0,
    Co_Descuento_1               DOUBLE PRECISION DEFAULT 0,
    Co_Impuesto_Factor           DOUBLE PRECISION DEFAULT 0,
    Co_Precio_Lista_Importe      DOUBLE PRECISION DEFAULT 0,
    Co_Precio_Descontado_Importe DOUBLE PRECISION DEFAULT 0,
    Co_Descuento_Global_Importe  DOUBLE PRECISION DEFAULT 0,
    Co_Impuesto_Importe          DOUBLE PRECISION DEFAULT 0,
    Co_Precio_Neto_Importe       DOUBLE PRECISION DEFAULT 0,
    PRIMARY KEY (Co_Folio, Co_Linea)
);
-- The pending-amount check sums a purchase line by these keys.
CREATE INDEX IX_COMPRA_Linea ON COMPRA (Co_Folio, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Unidad_1);

-- Supplier credit notes: one row per saved line, the note's header repeated on every
-- line. Es_Cve_Estado 'CA' once cancelled (with who and when). Amounts of a line: the
-- bonus without tax (Nc_Precio_Descontado_Importe), its tax and the bonus with tax
-- (Nc_Precio_Neto_Importe); unit values are per Nc_Cantidad_1.
-- The primary key serves the look-up by folio.
CREATE TABLE NOTA_CREDITO_PROVEEDOR (
    Nc_Folio                     TEXT,
    Nc_Linea                     INTEGER,
    Nc_Fecha                     DATE DEFAULT CURRENT_DATE,
    Nc_Referencia                TEXT DEFAULT '',
    Nc_Comentario                TEXT DEFAULT '',
    Mn_Cve_Moneda                TEXT DEFAULT '',
    Cn_Cve_Causa_Nota_Credito_Proveedor TEXT DEFAULT '',
    Nc_Tipo_Cambio               DOUBLE PRECISION DEFAULT 1,
    Co_Folio                     TEXT DEFAULT '',
    Sc_Cve_Sucursal              TEXT DEFAULT '',
    Al_Cve_Almacen               TEXT DEFAULT '',
    Pv_Cve_Proveedor             TEXT DEFAULT '',
    Cm_Cve_Comprador             TEXT DEFAULT '',
    Es_Cve_Estado                TEXT DEFAULT 'AC',
    Pr_Cve_Producto              TEXT DEFAULT '',
    Tl_Cve_Talla                 TEXT DEFAULT '',
    Cl_Cve_Color                 TEXT DEFAULT '',
    Nc_Comentario_Linea          TEXT DEFAULT '',
    Nc_Cantidad_1                DOUBLE PRECISION DEFAULT 0,
    Nc_Unidad_1                  TEXT DEFAULT '',
    Nc_Cantidad_Control_1        DOUBLE PRECISION DEFAULT 0,
    Nc_Unidad_Control_1          TEXT DEFAULT '',
    Nc_Cantidad_Control_2        DOUBLE PRECISION DEFAULT 0,
    Nc_Unidad_Control_2          TEXT DEFAULT '',
    Nc_Precio_Lista              DOUBLE PRECISION DEFAULT 0,
    Nc_Precio_Descontado         DOUBLE PRECISION DEFAULT 0,
    Nc_Descuento_1               DOUBLE PRECISION DEFAULT 0,
    Nc_Descuento_2               DOUBLE PRECISION DEFAULT 0,
    Nc_Impuesto_Factor           DOUBLE PRECISION DEFAULT 0,
    Nc_Impuesto_Importe          DOUBLE PRECISION DEFAULT 0,
    Nc_Precio_Neto               DOUBLE PRECISION DEFAULT 0,
    Nc_Precio_Lista_Importe      DOUBLE PRECISION DEFAULT 0,
    Nc_Precio_Descontado_Importe DOUBLE PRECISION DEFAULT 0,
    Nc_Precio_Neto_Importe       DOUBLE PRECISION DEFAULT 0,
    Nc_Folio_Sustituye           TEXT DEFAULT '',
    Nc_Usuario                   TEXT DEFAULT '',
    Nc_Fecha_Registro            TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
    Nc_Usuario_Cancela           TEXT DEFAULT '',
    Nc_Fecha_Cancelacion         TIMESTAMP DEFAULT NULL,
    PRIMARY KEY (Nc_Folio, Nc_Linea)
);
-- The pending-amount check sums the notes of a purchase line by these keys.
CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Linea
    ON NOTA_CREDITO_PROVEEDOR (Co_Folio, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Nc_Unidad_1);
CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Proveedor ON NOTA_CREDITO_PROVEEDOR (Pv_Cve_Proveedor);

-- A note applied to the supplier's payable balance (Pv_Saldo), and its reversal.
CREATE TABLE Nota_Credito_Aplicacion (
    Nc_Folio             TEXT PRIMARY KEY,
    Pv_Cve_Proveedor     TEXT DEFAULT '',
    Ap_Importe           DOUBLE PRECISION DEFAULT 0,
    Ap_Fecha             TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
    Ap_Usuario           TEXT DEFAULT '',
    Ap_Cancelada         INTEGER DEFAULT 0,
    Ap_Fecha_Cancelacion TIMESTAMP DEFAULT NULL,
    Ap_Usuario_Cancela   TEXT DEFAULT ''
);
CREATE INDEX IX_Nota_Credito_Aplicacion_Proveedor ON Nota_Credito_Aplicacion (Pv_Cve_Proveedor);

-- The host's tables ----------------------------------------------------------------------

-- System parameters; Pa_Valor NULL = defined without a value.
CREATE TABLE Parametro (
    Pa_Nombre   TEXT PRIMARY KEY,
    Pa_Valor    TEXT DEFAULT NULL,
    Pa_Tipo     TEXT DEFAULT ''
);

-- Users; an empty branch or warehouse means not restricted.
CREATE TABLE Usuario (
    Us_Cve_Usuario   TEXT PRIMARY KEY,
    Us_Nombre        TEXT DEFAULT '',
    Sc_Cve_Sucursal  TEXT DEFAULT '',
    Al_Cve_Almacen   TEXT DEFAULT ''
);

-- Rights per user, module tag and key; a right without a row is false.
CREATE TABLE Usuario_Permiso (
    Us_Cve_Usuario   TEXT,
    Pe_Modulo        TEXT,
    Pe_Clave         TEXT,
    Pe_Valor         INTEGER DEFAULT 0,
    PRIMARY KEY (Us_Cve_Usuario, Pe_Modulo, Pe_Clave)
);

-- A date lies in an open period when a row of the module covers it (both ends
-- included) with Po_Abierto = 1.
CREATE TABLE Periodo_Operativo (
    Po_Modulo        TEXT,
    Po_Fecha_Inicio  DATE,
    Po_Fecha_Fin     DATE DEFAULT '2099-12-31',
    Po_Abierto       INTEGER DEFAULT 1,
    PRIMARY KEY (Po_Modulo, Po_Fecha_Inicio)
);

-- Exchange rates: the rate valid from Tc_Fecha on.
CREATE TABLE Tipo_Cambio (
    Mn_Cve_Moneda    TEXT,
    Tc_Fecha         DATE,
    Tc_Valor         DOUBLE PRECISION DEFAULT 0,
    PRIMARY KEY (Mn_Cve_Moneda, Tc_Fecha)
);

-- Counters for numbering documents; Fc_Ancho is the stored width of that document's
-- folios (digit-only folios are padded with zeros to it).
CREATE TABLE Folio_Contador (
    Fc_Documento     TEXT PRIMARY KEY,
    Fc_Ultimo        INTEGER DEFAULT 0,
    Fc_Ancho         INTEGER DEFAULT 10
);

-- The delivery address recorded for a document (e.g. 'Compra', its folio, 'Proveedor',
-- the supplier key -> De_ID of Direccion_Entrega).
CREATE TABLE Documento_Direccion (
    Dd_Tabla         TEXT,
    Dd_Documento     TEXT,
    Dd_Entidad       TEXT,
    Dd_Cve_Entidad   TEXT DEFAULT '',
    De_ID            TEXT DEFAULT '',
    PRIMARY KEY (Dd_Tabla, Dd_Documento, Dd_Entidad)
);

-- Additional fields of a document table (the toolbar's table name; compare with UPPER()).
-- Ca_Tipo: 'T' text, 'N' number, 'F' date.
CREATE TABLE Campo_Adicional (
    Ca_Tabla         TEXT,
    Ca_Campo         TEXT,
    Ca_Etiqueta      TEXT DEFAULT '',
    Ca_Tipo          TEXT DEFAULT 'T',
    Ca_Longitud      INTEGER DEFAULT 50,
    Ca_Requerido     INTEGER DEFAULT 0,
    Ca_Orden         INTEGER DEFAULT 0,
    PRIMARY KEY (Ca_Tabla, Ca_Campo)
);

CREATE TABLE Campo_Adicional_Valor (
    Ca_Tabla         TEXT,
    Ca_Campo         TEXT,
    Cv_Clave         TEXT,
    Cv_Valor         TEXT DEFAULT '',
    PRIMARY KEY (Ca_Tabla, Ca_Campo, Cv_Clave)
);

-- Print formats: HTML templates by name.
CREATE TABLE Formato_Impresion (
    Fi_Nombre        TEXT PRIMARY KEY,
    Fi_Descripcion   TEXT DEFAULT '',
    Fi_Plantilla     TEXT DEFAULT ''
);

-- Applied schema versions.
CREATE TABLE Version_Esquema (
    Ve_Version       INTEGER PRIMARY KEY,
    Ve_Fecha         TEXT DEFAULT ''
);

-- What every company needs before its first note: the credit-note counter and a
-- print format for the note (a plain layout; a later version may replace the template).
INSERT INTO Folio_Contador (Fc_Documento, Fc_Ultimo, Fc_Ancho) VALUES ('NOTA_CREDITO_PROVEEDOR', 0, 10);

INSERT INTO Formato_Impresion (Fi_Nombre, Fi_Descripcion, Fi_Plantilla) VALUES (
 'NCP_BONIFICACION',
 'Nota de crédito de proveedor (bonificación)',
 '<html><body><h1>Nota de crédito de proveedor</h1><p>Folio: {{Nc_Folio}}</p></body></html>'
);
