-- Schema version 7: one row per purchase for the purchase search.
--
-- COMPRA holds a purchase's header on every one of its lines, so a search over the
-- purchases read every line of every purchase: with 100,000 purchases, a filter that few
-- of them match took a fifth of a second. Compra_Encabezado keeps the header once per
-- purchase (folio, date, branch, warehouse, supplier, state), kept by triggers on
-- COMPRA whoever writes it: a purchase's first line written makes its row, a changed
-- line writes its header over the row (every line carries the same one), and the last
-- line deleted removes it. The search reads this table only; the total of a purchase is
-- summed from its lines for the rows it shows.

CREATE TABLE Compra_Encabezado (
    Co_Folio         TEXT NOT NULL PRIMARY KEY,
    Co_Fecha         DATE,
    Sc_Cve_Sucursal  TEXT DEFAULT '',
    Al_Cve_Almacen   TEXT DEFAULT '',
    Pv_Cve_Proveedor TEXT DEFAULT '',
    Es_Cve_Estado    TEXT DEFAULT 'AC'
);

INSERT INTO Compra_Encabezado (Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado)
SELECT c.Co_Folio, c.Co_Fecha, c.Sc_Cve_Sucursal, c.Al_Cve_Almacen, c.Pv_Cve_Proveedor, c.Es_Cve_Estado
  FROM COMPRA c
 WHERE NOT EXISTS (SELECT 1 FROM COMPRA f WHERE f.Co_Folio = c.Co_Folio AND f.Co_Linea < c.Co_Linea);

-- @sqlite

CREATE TRIGGER TR_COMPRA_Encabezado_Alta AFTER INSERT ON COMPRA
BEGIN
    INSERT OR IGNORE INTO Compra_Encabezado
        (Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado)
    VALUES (NEW.Co_Folio, NEW.Co_Fecha, NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Pv_Cve_Proveedor,
            NEW.Es_Cve_Estado);
END;

CREATE TRIGGER TR_COMPRA_Encabezado_Cambio
AFTER UPDATE OF Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado ON COMPRA
BEGIN
    DELETE FROM Compra_Encabezado
     WHERE Co_Folio = OLD.Co_Folio AND OLD.Co_Folio <> NEW.Co_Folio
       AND NOT EXISTS (SELECT 1 FROM COMPRA WHERE Co_Folio = OLD.Co_Folio);
    INSERT OR REPLACE INTO Compra_Encabezado
        (Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado)
    VALUES (NEW.Co_Folio, NEW.Co_Fecha, NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Pv_Cve_Proveedor,
            NEW.Es_Cve_Estado);
END;

CREATE TRIGGER TR_COMPRA_Encabezado_Baja AFTER DELETE ON COMPRA
BEGIN
    DELETE FROM Compra_Encabezado
     WHERE Co_Folio = OLD.Co_Folio AND NOT EXISTS (SELECT 1 FROM COMPRA WHERE Co_Folio = OLD.Co_Folio);
END;

-- @postgresql

CREATE OR REPLACE FUNCTION qmx44_purchase_header() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP IN ('UPDATE', 'DELETE') AND (TG_OP = 'DELETE' OR OLD.Co_Folio <> NEW.Co_Folio) THEN
        DELETE FROM Compra_Encabezado
         WHERE Co_Folio = OLD.Co_Folio AND NOT EXISTS (SELECT 1 FROM COMPRA WHERE Co_Folio = OLD.Co_Folio);
    END IF;
    IF TG_OP = 'INSERT' THEN
        INSERT INTO Compra_Encabezado
            (Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado)
        VALUES (NEW.Co_Folio, NEW.Co_Fecha, NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Pv_Cve_Proveedor,
                NEW.Es_Cve_Estado)
        ON CONFLICT (Co_Folio) DO NOTHING;
    ELSIF TG_OP = 'UPDATE' THEN
        INSERT INTO Compra_Encabezado
            (Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado)
        VALUES (NEW.Co_Folio, NEW.Co_Fecha, NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Pv_Cve_Proveedor,
                NEW.Es_Cve_Estado)
        ON CONFLICT (Co_Folio) DO UPDATE
           SET Co_Fecha = EXCLUDED.Co_Fecha, Sc_Cve_Sucursal = EXCLUDED.Sc_Cve_Sucursal,
               Al_Cve_Almacen = EXCLUDED.Al_Cve_Almacen, Pv_Cve_Proveedor = EXCLUDED.Pv_Cve_Proveedor,
               Es_Cve_Estado = EXCLUDED.Es_Cve_Estado;
    END IF;
    RETURN NULL;
END
$$;

DO $$
BEGIN
    EXECUTE format('ALTER FUNCTION qmx44_purchase_header() SET search_path = %I, pg_temp', current_schema());
END
$$;

CREATE TRIGGER qmx44_purchase_header AFTER INSERT OR DELETE ON COMPRA
    FOR EACH ROW EXECUTE FUNCTION qmx44_purchase_header();
CREATE TRIGGER qmx44_purchase_header_update
    AFTER UPDATE OF Co_Folio, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado ON COMPRA
    FOR EACH ROW EXECUTE FUNCTION qmx44_purchase_header();

GRANT SELECT ON Compra_Encabezado TO qmx44_clerk;
