-- Schema version 4: who may sign in, and how.
--
-- Usuario_Login maps a PostgreSQL login (a role that can log in) to the qmx44 user it
-- signs in as. On a server the signed-in user is always the one mapped to the
-- session's login, never chosen by the client. `qmx44 user add` writes it.
--
-- Usuario_Clave holds the password of a user of an SQLite file that is not a demo:
-- an Argon2id hash in libsodium's string form (algorithm, parameters, salt and hash in
-- one), never the password. `qmx44 user passwd` writes it. A server's clerks have no
-- row here: the server checks their passwords.
--
-- Base_Demostracion has a row in a database made with the demo company: there anyone
-- may sign in as any of its users, picked from a list, as in a sample.

CREATE TABLE Usuario_Login (
    Ul_Login         TEXT NOT NULL PRIMARY KEY,
    Us_Cve_Usuario   TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IX_Usuario_Login_Usuario ON Usuario_Login (Us_Cve_Usuario);

CREATE TABLE Usuario_Clave (
    Us_Cve_Usuario   TEXT NOT NULL PRIMARY KEY,
    Uc_Hash          TEXT DEFAULT ''
);

CREATE TABLE Base_Demostracion (
    Bd_Origen        TEXT NOT NULL PRIMARY KEY
);
