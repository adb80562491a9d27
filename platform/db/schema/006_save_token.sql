-- Schema version 6: the save token.
--
-- NOTA_CREDITO_PROVEEDOR.Nc_Token: a text the screen makes up once for the note being
-- entered and stores on every line of it. When the connection is lost while the commit
-- is under way the screen cannot know whether the note was kept; the next Aceptar looks
-- the token up and, when the note is there, shows it instead of saving it a second time.
-- Notes saved before this step have none (''); the index serves that look-up.

ALTER TABLE NOTA_CREDITO_PROVEEDOR ADD COLUMN Nc_Token TEXT DEFAULT '';
CREATE INDEX IX_NOTA_CREDITO_PROVEEDOR_Token ON NOTA_CREDITO_PROVEEDOR (Nc_Token);
