-- Schema version 5: on a PostgreSQL server, the server vouches for who did what.
--
-- Clerks sign in with logins of their own, members of the group role qmx44_clerk
-- (db::kClerkRole), each mapped to a qmx44 user in Usuario_Login. The group holds only
-- the grants the screen needs, and triggers on the notes and their applications write
-- the audit columns from the mapped user, whatever the client sent, and refuse a note
-- of a branch or warehouse the mapped user is not allowed. docs/security.md says what
-- is enforced here and what is left to the screen.
--
-- A session that is not a clerk's (the database's owner, an administrator, a
-- superuser) keeps what it writes: maintenance and imports need that.
--
-- An SQLite file gets nothing from this step: it has no logins, and is guarded by its
-- file permissions and the sign-in password alone.

-- @postgresql

-- Roles belong to the whole cluster, and many databases share one: the group is made
-- by whichever database gets here first (two at once: one of them finds it made).
-- CONNECT on a database is kept with the database itself, not copied from a template;
-- a copy still lets PUBLIC connect, as every new database does.
DO $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'qmx44_clerk') THEN
        BEGIN
            CREATE ROLE qmx44_clerk NOLOGIN;
        EXCEPTION WHEN duplicate_object OR unique_violation THEN
            NULL;
        END;
    END IF;
    EXECUTE format('GRANT CONNECT ON DATABASE %I TO qmx44_clerk', current_database());
    EXECUTE format('GRANT USAGE ON SCHEMA %I TO qmx44_clerk', current_schema());
END
$$;

-- What the screen, its look-ups, the print and the record query read; the sign-in
-- reads the mapping, the user's rights and the demo mark, and opening a database reads
-- its schema version. Never Usuario_Clave.
GRANT SELECT ON Sucursal, Almacen, Producto, Moneda, Comprador, Causa_Nota_Credito_Proveedor,
    Direccion_Entrega, Periodo_Operativo, Tipo_Cambio, Formato_Impresion, Campo_Adicional,
    Parametro, Usuario, Usuario_Permiso, Usuario_Login, Version_Esquema, Base_Demostracion
    TO qmx44_clerk;

-- A save locks the purchase's lines with SELECT ... FOR UPDATE, which PostgreSQL allows
-- only to a role that may update some column of the table: one column, and the trigger
-- below refuses every update of a purchase by a clerk.
GRANT SELECT, UPDATE (Co_Folio) ON COMPRA TO qmx44_clerk;
-- The balance: lowered by an application, raised back by a cancellation.
GRANT SELECT, UPDATE (Pv_Saldo) ON Proveedor TO qmx44_clerk;
-- A save draws the next folio (and makes the counter when a company has none).
GRANT SELECT, INSERT, UPDATE (Fc_Ultimo) ON Folio_Contador TO qmx44_clerk;
-- Notes and applications are never deleted: a cancellation marks them.
GRANT SELECT, INSERT, UPDATE ON NOTA_CREDITO_PROVEEDOR, Nota_Credito_Aplicacion TO qmx44_clerk;
-- The additional fields and the delivery address of a note are written over.
GRANT SELECT, INSERT, DELETE ON Campo_Adicional_Valor, Documento_Direccion TO qmx44_clerk;

-- The mapped user of the session's login, with the branch and warehouse it is held to
-- ('' = any); no row values (NULLs) for a session that is not a clerk's. A superuser
-- counts as a member of every role, so it is told apart here. SECURITY DEFINER: the
-- guard reads the mapping and the user's limits with the owner's rights, so that it
-- holds whatever an administrator later narrows in what clerks may read. It reveals
-- nothing but the caller's own mapping.
CREATE OR REPLACE FUNCTION qmx44_clerk_user(OUT user_key TEXT, OUT branch TEXT, OUT warehouse TEXT)
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
BEGIN
    IF NOT pg_has_role(session_user, 'qmx44_clerk', 'MEMBER')
       OR (SELECT rolsuper FROM pg_roles WHERE rolname = session_user) THEN
        RETURN;
    END IF;
    SELECT btrim(u.Us_Cve_Usuario), COALESCE(btrim(u.Sc_Cve_Sucursal), ''), COALESCE(btrim(u.Al_Cve_Almacen), '')
      INTO user_key, branch, warehouse
      FROM Usuario_Login m JOIN Usuario u ON u.Us_Cve_Usuario = m.Us_Cve_Usuario
     WHERE m.Ul_Login = session_user;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'El inicio de sesión % no está asociado a ningún usuario: no puede registrar nada',
            session_user USING ERRCODE = 'insufficient_privilege';
    END IF;
END
$$;

-- Refuses a note (its branch, warehouse and purchase) that the clerk's user may not
-- touch; `action` completes the message ("registrar", "cancelar", ...).
CREATE OR REPLACE FUNCTION qmx44_require_scope(user_key TEXT, branch TEXT, warehouse TEXT, action TEXT,
                                    note_branch TEXT, note_warehouse TEXT, purchase TEXT)
RETURNS void LANGUAGE plpgsql STABLE AS $$
DECLARE
    outside RECORD;
BEGIN
    IF branch <> '' AND COALESCE(btrim(note_branch), '') <> branch THEN
        RAISE EXCEPTION 'El usuario % no puede % notas de la sucursal %', user_key, action,
            COALESCE(NULLIF(btrim(note_branch), ''), '(ninguna)') USING ERRCODE = 'insufficient_privilege';
    END IF;
    IF warehouse <> '' AND COALESCE(btrim(note_warehouse), '') <> warehouse THEN
        RAISE EXCEPTION 'El usuario % no puede % notas del almacén %', user_key, action,
            COALESCE(NULLIF(btrim(note_warehouse), ''), '(ninguno)') USING ERRCODE = 'insufficient_privilege';
    END IF;
    IF branch = '' AND warehouse = '' THEN
        RETURN;
    END IF;
    SELECT COALESCE(btrim(c.Sc_Cve_Sucursal), '') AS sucursal, COALESCE(btrim(c.Al_Cve_Almacen), '') AS almacen
      INTO outside
      FROM COMPRA c
     WHERE c.Co_Folio = purchase
       AND ((branch <> '' AND COALESCE(btrim(c.Sc_Cve_Sucursal), '') <> branch)
            OR (warehouse <> '' AND COALESCE(btrim(c.Al_Cve_Almacen), '') <> warehouse))
     LIMIT 1;
    IF FOUND THEN
        RAISE EXCEPTION 'El usuario % no puede % notas de la compra %, que es de la sucursal % y el almacén %',
            user_key, action, purchase, outside.sucursal, outside.almacen USING ERRCODE = 'insufficient_privilege';
    END IF;
END
$$;

CREATE OR REPLACE FUNCTION qmx44_guard_note() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    clerk RECORD;
    action TEXT;
BEGIN
    SELECT * INTO clerk FROM qmx44_clerk_user();
    IF clerk.user_key IS NULL THEN
        RETURN NEW;
    END IF;
    IF TG_OP = 'INSERT' THEN
        PERFORM qmx44_require_scope(clerk.user_key, clerk.branch, clerk.warehouse, 'registrar',
                                    NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Co_Folio);
        NEW.Nc_Usuario := clerk.user_key;
        IF NEW.Es_Cve_Estado = 'CA' THEN
            NEW.Nc_Usuario_Cancela := clerk.user_key;
        ELSE
            NEW.Nc_Usuario_Cancela := '';
            NEW.Nc_Fecha_Cancelacion := NULL;
        END IF;
        RETURN NEW;
    END IF;

    IF OLD.Es_Cve_Estado = 'CA' AND NEW.Es_Cve_Estado IS DISTINCT FROM 'CA' THEN
        RAISE EXCEPTION 'La nota de crédito % está cancelada: el usuario % no puede volver a activarla',
            OLD.Nc_Folio, clerk.user_key USING ERRCODE = 'insufficient_privilege';
    END IF;
    action := CASE WHEN NEW.Es_Cve_Estado = 'CA' AND OLD.Es_Cve_Estado IS DISTINCT FROM 'CA'
                   THEN 'cancelar' ELSE 'modificar' END;
    PERFORM qmx44_require_scope(clerk.user_key, clerk.branch, clerk.warehouse, action,
                                OLD.Sc_Cve_Sucursal, OLD.Al_Cve_Almacen, OLD.Co_Folio);
    IF (NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Co_Folio)
       IS DISTINCT FROM (OLD.Sc_Cve_Sucursal, OLD.Al_Cve_Almacen, OLD.Co_Folio) THEN
        PERFORM qmx44_require_scope(clerk.user_key, clerk.branch, clerk.warehouse, action,
                                    NEW.Sc_Cve_Sucursal, NEW.Al_Cve_Almacen, NEW.Co_Folio);
    END IF;
    NEW.Nc_Usuario := OLD.Nc_Usuario;
    NEW.Nc_Fecha_Registro := OLD.Nc_Fecha_Registro;
    IF action = 'cancelar' THEN
        NEW.Nc_Usuario_Cancela := clerk.user_key;
    ELSE
        NEW.Nc_Usuario_Cancela := OLD.Nc_Usuario_Cancela;
        NEW.Nc_Fecha_Cancelacion := OLD.Nc_Fecha_Cancelacion;
    END IF;
    RETURN NEW;
END
$$;

CREATE OR REPLACE FUNCTION qmx44_guard_application() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    clerk RECORD;
    note RECORD;
    cancelling BOOLEAN;
    previous TEXT;
BEGIN
    SELECT * INTO clerk FROM qmx44_clerk_user();
    IF clerk.user_key IS NULL THEN
        RETURN NEW;
    END IF;
    cancelling := TG_OP = 'UPDATE' AND NEW.Ap_Cancelada = 1 AND OLD.Ap_Cancelada IS DISTINCT FROM 1;
    previous := CASE WHEN TG_OP = 'UPDATE' THEN OLD.Nc_Folio ELSE NEW.Nc_Folio END;
    FOR note IN SELECT DISTINCT Sc_Cve_Sucursal, Al_Cve_Almacen, Co_Folio FROM NOTA_CREDITO_PROVEEDOR
                 WHERE Nc_Folio IN (NEW.Nc_Folio, previous) LOOP
        PERFORM qmx44_require_scope(clerk.user_key, clerk.branch, clerk.warehouse,
                                    CASE WHEN cancelling THEN 'cancelar la aplicación de' ELSE 'aplicar' END,
                                    note.Sc_Cve_Sucursal, note.Al_Cve_Almacen, note.Co_Folio);
    END LOOP;

    IF TG_OP = 'INSERT' THEN
        NEW.Ap_Usuario := clerk.user_key;
        NEW.Ap_Usuario_Cancela := CASE WHEN NEW.Ap_Cancelada = 1 THEN clerk.user_key ELSE '' END;
    ELSIF cancelling THEN
        NEW.Ap_Usuario := OLD.Ap_Usuario;
        NEW.Ap_Usuario_Cancela := clerk.user_key;
    ELSIF OLD.Ap_Cancelada = 1 AND NEW.Ap_Cancelada IS DISTINCT FROM 1 THEN
        -- recorded again over the cancelled application
        NEW.Ap_Usuario := clerk.user_key;
        NEW.Ap_Usuario_Cancela := '';
    ELSE
        NEW.Ap_Usuario := OLD.Ap_Usuario;
        NEW.Ap_Usuario_Cancela := OLD.Ap_Usuario_Cancela;
    END IF;
    RETURN NEW;
END
$$;

-- Clerks may lock a purchase's lines (the grant above) but never change them.
CREATE OR REPLACE FUNCTION qmx44_guard_purchase() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    clerk RECORD;
BEGIN
    SELECT * INTO clerk FROM qmx44_clerk_user();
    IF clerk.user_key IS NOT NULL THEN
        RAISE EXCEPTION 'El usuario % no puede modificar compras', clerk.user_key
            USING ERRCODE = 'insufficient_privilege';
    END IF;
    RETURN NULL;
END
$$;

-- Every function looks names up in this schema only (pg_catalog first, as always, and
-- the session's temporary tables last): a clerk who sets search_path to a temporary
-- table named Usuario_Login or COMPRA fools none of them.
DO $$
DECLARE
    fn TEXT;
BEGIN
    FOREACH fn IN ARRAY ARRAY['qmx44_clerk_user()', 'qmx44_require_scope(text, text, text, text, text, text, text)',
                              'qmx44_guard_note()', 'qmx44_guard_application()', 'qmx44_guard_purchase()'] LOOP
        EXECUTE format('ALTER FUNCTION %s SET search_path = %I, pg_temp', fn, current_schema());
    END LOOP;
END
$$;

CREATE TRIGGER qmx44_guard BEFORE INSERT OR UPDATE ON NOTA_CREDITO_PROVEEDOR
    FOR EACH ROW EXECUTE FUNCTION qmx44_guard_note();
CREATE TRIGGER qmx44_guard BEFORE INSERT OR UPDATE ON Nota_Credito_Aplicacion
    FOR EACH ROW EXECUTE FUNCTION qmx44_guard_application();
CREATE TRIGGER qmx44_guard BEFORE UPDATE ON COMPRA
    FOR EACH STATEMENT EXECUTE FUNCTION qmx44_guard_purchase();
