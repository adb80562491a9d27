-- Schema version 3: every key column is NOT NULL, on every back-end alike.
--
-- PostgreSQL (and the ODBC servers) already refuse a NULL in a PRIMARY KEY column, so
-- this step has nothing to run there. SQLite takes a NULL in a key column that is not
-- declared NOT NULL (two purchase rows without a line number, a note row without a
-- folio), and an INTEGER PRIMARY KEY given NULL gets the next row number instead.
--
-- SQLite cannot change a column, so each table is rebuilt: a new table with the same
-- columns in the same order (Fc_Prefijo last, where step 2 added it: the rows are
-- copied by position), the same types, defaults and key, its key columns NOT NULL; the
-- rows copied; the old table dropped and the new one renamed; the old table's indexes
-- created again. The schema has no foreign keys, triggers or views to carry over.
-- Version_Esquema becomes WITHOUT ROWID, so that its INTEGER key is an ordinary key
-- rather than SQLite's row number.
--
-- A database that already holds a NULL key is refused before this step runs (the
-- refusal names each table and how many of its rows): such rows are mended by hand,
-- never guessed. See schema.cpp.
--
-- Back-end sections: the statements after a line "-- @sqlite" run on SQLite only
-- (likewise "-- @postgresql" and "-- @odbc"); statements before the first such line
-- run on every back-end.

-- @sqlite

CREATE TABLE Sucursal_nueva (
    Sc_Cve_Sucursal     TEXT NOT NULL PRIMARY KEY,
    Sc_Descripcion      TEXT DEFAULT '',
    Sc_Direccion_1      TEXT DEFAULT '',
    Sc_Telefono         TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Sucursal_nueva SELECT * FROM Sucursal;
DROP TABLE Sucursal;
ALTER TABLE Sucursal_nueva RENAME TO Sucursal;

CREATE TABLE Almacen_nueva (
    Al_Cve_Almacen      TEXT NOT NULL PRIMARY KEY,
    Al_Descripcion      TEXT DEFAULT '',
    Sc_Cve_Sucursal     TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Almacen_nueva SELECT * FROM Almacen;
DROP TABLE Almacen;
ALTER TABLE Almacen_nueva RENAME TO Almacen;
CREATE INDEX IX_Almacen_Sucursal ON Almacen (Sc_Cve_Sucursal);

CREATE TABLE Proveedor_nueva (
    Pv_Cve_Proveedor    TEXT NOT NULL PRIMARY KEY,
    Pv_Descripcion      TEXT DEFAULT '',
    Pv_Razon_Social     TEXT DEFAULT '',
    Pv_Direccion_1      TEXT DEFAULT '',
    Pv_R_F_C            TEXT DEFAULT '',
    Pv_Telefono         TEXT DEFAULT '',
    Pv_Correo           TEXT DEFAULT '',
    Pv_Dias_Credito     INTEGER DEFAULT 0,
    Pv_Limite_Credito   DOUBLE PRECISION DEFAULT 0,
    Pv_Saldo            DOUBLE PRECISION DEFAULT 0,
    Mn_Cve_Moneda       TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Proveedor_nueva SELECT * FROM Proveedor;
DROP TABLE Proveedor;
ALTER TABLE Proveedor_nueva RENAME TO Proveedor;

CREATE TABLE Producto_nueva (
    Pr_Cve_Producto     TEXT NOT NULL PRIMARY KEY,
    Pr_Descripcion      TEXT DEFAULT '',
    Pr_Tipo_Producto    TEXT DEFAULT '',
    Pr_Unidad_Costo     TEXT DEFAULT '',
    Pr_Impuesto_Factor  DOUBLE PRECISION DEFAULT 0.16,
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Producto_nueva SELECT * FROM Producto;
DROP TABLE Producto;
ALTER TABLE Producto_nueva RENAME TO Producto;

CREATE TABLE Moneda_nueva (
    Mn_Cve_Moneda       TEXT NOT NULL PRIMARY KEY,
    Mn_Descripcion      TEXT DEFAULT '',
    Mn_Simbolo          TEXT DEFAULT '$',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Moneda_nueva SELECT * FROM Moneda;
DROP TABLE Moneda;
ALTER TABLE Moneda_nueva RENAME TO Moneda;

CREATE TABLE Comprador_nueva (
    Cm_Cve_Comprador    TEXT NOT NULL PRIMARY KEY,
    Cm_Descripcion      TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Comprador_nueva SELECT * FROM Comprador;
DROP TABLE Comprador;
ALTER TABLE Comprador_nueva RENAME TO Comprador;

CREATE TABLE Causa_Nota_Credito_Proveedor_nueva (
    Cn_Cve_Causa_Nota_Credito_Proveedor TEXT NOT NULL PRIMARY KEY,
    Cn_Descripcion      TEXT DEFAULT '',
    Es_Cve_Estado       TEXT DEFAULT 'AC'
);
INSERT INTO Causa_Nota_Credito_Proveedor_nueva SELECT * FROM Causa_Nota_Credito_Proveedor;
DROP TABLE Causa_Nota_Credito_Proveedor;
ALTER TABLE Causa_Nota_Credito_Proveedor_nueva RENAME TO Causa_Nota_Credito_Proveedor;

CREATE TABLE Direccion_Entrega_nueva (
    De_Tabla            TEXT NOT NULL,
    De_Documento        TEXT NOT NULL,
    De_ID               TEXT NOT NULL,
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
INSERT INTO Direccion_Entrega_nueva SELECT * FROM Direccion_Entrega;
DROP TABLE Direccion_Entrega;
ALTER TABLE Direccion_Entrega_nueva RENAME TO Direccion_Entrega;
CREATE INDEX IX_Direccion_Entrega_Omision ON Direccion_Entrega (De_Tabla, De_Documento, De_Omision);

CREATE TABLE COMPRA_nueva (
    Co_Folio                     TEXT NOT NULL,
    Co_Linea                     INTEGER NOT NULL,
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
INSERT INTO COMPRA_nueva SELECT * FROM COMPRA;
DROP TABLE COMPRA;
ALTER TABLE COMPRA_nueva RENAME TO COMPRA;
CREATE INDEX IX_COMPRA_Linea ON COMPRA (Co_Folio, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Unidad_1);

CREATE TABLE NOTA_CREDITO_PROVEEDOR_nueva (
    Nc_Folio                     TEXT NOT NULL,
    Nc_Linea                     INTEGER NOT NULL,
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
INSERT INTO NOTA_CREDITO_PROVEEDOR_nueva SELECT * FROM NOTA_CREDITO_PROVEEDOR;
DROP TABLE NOTA_CREDITO_PROVEEDOR;
ALTER TABLE NOTA_CREDITO_PROVEEDOR_nueva RENAME TO NOTA_CREDITO_PROVEEDOR;
CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Linea ON NOTA_CREDITO_PROVEEDOR (Co_Folio, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Nc_Unidad_1);
CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Proveedor ON NOTA_CREDITO_PROVEEDOR (Pv_Cve_Proveedor);

CREATE TABLE Nota_Credito_Aplicacion_nueva (
    Nc_Folio             TEXT NOT NULL PRIMARY KEY,
    Pv_Cve_Proveedor     TEXT DEFAULT '',
    Ap_Importe           DOUBLE PRECISION DEFAULT 0,
    Ap_Fecha             TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
    Ap_Usuario           TEXT DEFAULT '',
    Ap_Cancelada         INTEGER DEFAULT 0,
    Ap_Fecha_Cancelacion TIMESTAMP DEFAULT NULL,
    Ap_Usuario_Cancela   TEXT DEFAULT ''
);
INSERT INTO Nota_Credito_Aplicacion_nueva SELECT * FROM Nota_Credito_Aplicacion;
DROP TABLE Nota_Credito_Aplicacion;
ALTER TABLE Nota_Credito_Aplicacion_nueva RENAME TO Nota_Credito_Aplicacion;
CREATE INDEX IX_Nota_Credito_Aplicacion_Proveedor ON Nota_Credito_Aplicacion (Pv_Cve_Proveedor);

CREATE TABLE Parametro_nueva (
    Pa_Nombre   TEXT NOT NULL PRIMARY KEY,
    Pa_Valor    TEXT DEFAULT NULL,
    Pa_Tipo     TEXT DEFAULT ''
);
INSERT INTO Parametro_nueva SELECT * FROM Parametro;
DROP TABLE Parametro;
ALTER TABLE Parametro_nueva RENAME TO Parametro;

CREATE TABLE Usuario_nueva (
    Us_Cve_Usuario   TEXT NOT NULL PRIMARY KEY,
    Us_Nombre        TEXT DEFAULT '',
    Sc_Cve_Sucursal  TEXT DEFAULT '',
    Al_Cve_Almacen   TEXT DEFAULT ''
);
INSERT INTO Usuario_nueva SELECT * FROM Usuario;
DROP TABLE Usuario;
ALTER TABLE Usuario_nueva RENAME TO Usuario;

CREATE TABLE Usuario_Permiso_nueva (
    Us_Cve_Usuario   TEXT NOT NULL,
    Pe_Modulo        TEXT NOT NULL,
    Pe_Clave         TEXT NOT NULL,
    Pe_Valor         INTEGER DEFAULT 0,
    PRIMARY KEY (Us_Cve_Usuario, Pe_Modulo, Pe_Clave)
);
INSERT INTO Usuario_Permiso_nueva SELECT * FROM Usuario_Permiso;
DROP TABLE Usuario_Permiso;
ALTER TABLE Usuario_Permiso_nueva RENAME TO Usuario_Permiso;

CREATE TABLE Periodo_Operativo_nueva (
    Po_Modulo        TEXT NOT NULL,
    Po_Fecha_Inicio  DATE NOT NULL,
    Po_Fecha_Fin     DATE DEFAULT '2099-12-31',
    Po_Abierto       INTEGER DEFAULT 1,
    PRIMARY KEY (Po_Modulo, Po_Fecha_Inicio)
);
INSERT INTO Periodo_Operativo_nueva SELECT * FROM Periodo_Operativo;
DROP TABLE Periodo_Operativo;
ALTER TABLE Periodo_Operativo_nueva RENAME TO Periodo_Operativo;

CREATE TABLE Tipo_Cambio_nueva (
    Mn_Cve_Moneda    TEXT NOT NULL,
    Tc_Fecha         DATE NOT NULL,
    Tc_Valor         DOUBLE PRECISION DEFAULT 0,
    PRIMARY KEY (Mn_Cve_Moneda, Tc_Fecha)
);
INSERT INTO Tipo_Cambio_nueva SELECT * FROM Tipo_Cambio;
DROP TABLE Tipo_Cambio;
ALTER TABLE Tipo_Cambio_nueva RENAME TO Tipo_Cambio;

CREATE TABLE Folio_Contador_nueva (
    Fc_Documento     TEXT NOT NULL PRIMARY KEY,
    Fc_Ultimo        INTEGER DEFAULT 0,
    Fc_Ancho         INTEGER DEFAULT 10,
    Fc_Prefijo       TEXT DEFAULT ''
);
INSERT INTO Folio_Contador_nueva SELECT * FROM Folio_Contador;
DROP TABLE Folio_Contador;
ALTER TABLE Folio_Contador_nueva RENAME TO Folio_Contador;

CREATE TABLE Documento_Direccion_nueva (
    Dd_Tabla         TEXT NOT NULL,
    Dd_Documento     TEXT NOT NULL,
    Dd_Entidad       TEXT NOT NULL,
    Dd_Cve_Entidad   TEXT DEFAULT '',
    De_ID            TEXT DEFAULT '',
    PRIMARY KEY (Dd_Tabla, Dd_Documento, Dd_Entidad)
);
INSERT INTO Documento_Direccion_nueva SELECT * FROM Documento_Direccion;
DROP TABLE Documento_Direccion;
ALTER TABLE Documento_Direccion_nueva RENAME TO Documento_Direccion;

CREATE TABLE Campo_Adicional_nueva (
    Ca_Tabla         TEXT NOT NULL,
    Ca_Campo         TEXT NOT NULL,
    Ca_Etiqueta      TEXT DEFAULT '',
    Ca_Tipo          TEXT DEFAULT 'T',
    Ca_Longitud      INTEGER DEFAULT 50,
    Ca_Requerido     INTEGER DEFAULT 0,
    Ca_Orden         INTEGER DEFAULT 0,
    PRIMARY KEY (Ca_Tabla, Ca_Campo)
);
INSERT INTO Campo_Adicional_nueva SELECT * FROM Campo_Adicional;
DROP TABLE Campo_Adicional;
ALTER TABLE Campo_Adicional_nueva RENAME TO Campo_Adicional;

CREATE TABLE Campo_Adicional_Valor_nueva (
    Ca_Tabla         TEXT NOT NULL,
    Ca_Campo         TEXT NOT NULL,
    Cv_Clave         TEXT NOT NULL,
    Cv_Valor         TEXT DEFAULT '',
    PRIMARY KEY (Ca_Tabla, Ca_Campo, Cv_Clave)
);
INSERT INTO Campo_Adicional_Valor_nueva SELECT * FROM Campo_Adicional_Valor;
DROP TABLE Campo_Adicional_Valor;
ALTER TABLE Campo_Adicional_Valor_nueva RENAME TO Campo_Adicional_Valor;

CREATE TABLE Formato_Impresion_nueva (
    Fi_Nombre        TEXT NOT NULL PRIMARY KEY,
    Fi_Descripcion   TEXT DEFAULT '',
    Fi_Plantilla     TEXT DEFAULT ''
);
INSERT INTO Formato_Impresion_nueva SELECT * FROM Formato_Impresion;
DROP TABLE Formato_Impresion;
ALTER TABLE Formato_Impresion_nueva RENAME TO Formato_Impresion;

CREATE TABLE Version_Esquema_nueva (
    Ve_Version       INTEGER NOT NULL PRIMARY KEY,
    Ve_Fecha         TEXT DEFAULT ''
) WITHOUT ROWID;
INSERT INTO Version_Esquema_nueva SELECT * FROM Version_Esquema;
DROP TABLE Version_Esquema;
ALTER TABLE Version_Esquema_nueva RENAME TO Version_Esquema;
