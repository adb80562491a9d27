-- Schema version 9: which note replaced a note.
--
-- The notes register shows beside each note the note that replaced it (the one whose
-- Nc_Folio_Sustituye names it); the index makes that a look-up per listed note rather
-- than a scan of every note line.

CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Sustituye ON NOTA_CREDITO_PROVEEDOR (Nc_Folio_Sustituye);
