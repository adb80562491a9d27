-- Schema version 10: volume rebates.
--
-- A volume rebate grants one amount over a supplier's purchases of a period as one credit
-- note per purchase. Bonificacion_Volumen keeps the run (who, when and what was asked) and
-- Bonificacion_Volumen_Nota the notes it saved, so that the run can be shown, printed and
-- cancelled as a whole. The runs are numbered by the counter 'BONIFICACION_VOLUMEN' of
-- Folio_Contador. The eligible purchases are found by supplier and date.

CREATE TABLE Bonificacion_Volumen (
    Bv_Folio                            TEXT NOT NULL PRIMARY KEY,
    Pv_Cve_Proveedor                    TEXT NOT NULL DEFAULT '',
    Bv_Desde                            DATE,
    Bv_Hasta                            DATE,
    Mn_Cve_Moneda                       TEXT NOT NULL DEFAULT '',
    Cn_Cve_Causa_Nota_Credito_Proveedor TEXT NOT NULL DEFAULT '',
    Bv_Referencia                       TEXT NOT NULL DEFAULT '',
    Bv_Porcentaje                       INTEGER NOT NULL DEFAULT 0,
    Bv_Valor                            DOUBLE PRECISION NOT NULL DEFAULT 0,
    Bv_Base                             TEXT NOT NULL DEFAULT 'I',
    Bv_Importe                          DOUBLE PRECISION NOT NULL DEFAULT 0,
    Bv_No_Colocado                      DOUBLE PRECISION NOT NULL DEFAULT 0,
    Es_Cve_Estado                       TEXT NOT NULL DEFAULT 'AC',
    Bv_Usuario                          TEXT NOT NULL DEFAULT '',
    Bv_Fecha_Registro                   TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
    Bv_Usuario_Cancela                  TEXT NOT NULL DEFAULT '',
    Bv_Fecha_Cancelacion                TIMESTAMP DEFAULT NULL,
    -- The caller's token of the run, looked up after a commit whose answer was lost.
    Bv_Token                            TEXT NOT NULL DEFAULT ''
);

CREATE TABLE Bonificacion_Volumen_Nota (
    Bv_Folio TEXT NOT NULL,
    Nc_Folio TEXT NOT NULL,
    PRIMARY KEY (Bv_Folio, Nc_Folio)
);

CREATE INDEX IX_Bonificacion_Volumen_Token ON Bonificacion_Volumen (Bv_Token);
CREATE INDEX IX_Compra_Encabezado_Proveedor ON Compra_Encabezado (Pv_Cve_Proveedor, Co_Fecha);

-- The runs' counter, there from the start: two first runs saved at once would otherwise
-- both create it, and one of them would fail on the duplicate key.
INSERT INTO Folio_Contador (Fc_Documento, Fc_Ultimo, Fc_Ancho, Fc_Prefijo) VALUES ('BONIFICACION_VOLUMEN', 0, 10, '');

-- @postgresql

GRANT SELECT, INSERT, UPDATE ON Bonificacion_Volumen, Bonificacion_Volumen_Nota TO qmx44_clerk;
