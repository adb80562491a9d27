-- Schema version 8: the live lines of the notes, indexed apart.
--
-- What is still pending on a purchase line is its net amount less the live notes' lines
-- on it (Es_Cve_Estado <> 'CA'). Every modification of a note cancels the old one and
-- stores a new one, so a busy purchase gathers many cancelled lines, and the index on the
-- line's keys made every pending check read them all only to leave them out. This index
-- holds the live lines only, with the net amount, so the check reads nothing else; both
-- back-ends use it for the statements that say Es_Cve_Estado <> 'CA' as it does.

CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Vigente
    ON NOTA_CREDITO_PROVEEDOR (Co_Folio, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Nc_Unidad_1,
                               Nc_Precio_Neto_Importe)
    WHERE Es_Cve_Estado <> 'CA';
