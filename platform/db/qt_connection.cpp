#include "platform/db/qt_connection.h"

#include "platform/core/log.h"
#include "platform/db/dialect.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <libpq-fe.h>

namespace qmx44::db {

namespace {

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("qmx44_db_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

QSqlDatabase configure(const ConnectionSpec &spec, const QString &name)
{
    switch (spec.backend) {
    case Backend::Sqlite: {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(spec.path);
        int timeout = 5000;
        for (const auto &[key, value] : spec.options)
            if (key == QLatin1String("busy_timeout"))
                timeout = value.toInt();
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(timeout));
        return db;
    }
    case Backend::Postgres: {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(spec.host);
        if (spec.port > 0)
            db.setPort(spec.port);
        db.setUserName(spec.user);
        db.setPassword(spec.password);
        db.setDatabaseName(spec.database);
        QStringList options;
        QStringList given;
        for (const auto &[key, value] : spec.options) {
            options.append(key + QLatin1Char('=') + value);
            given.append(key);
        }
        // A laptop that sleeps or leaves the network takes its session with it without a
        // word; keepalives let both ends notice within minutes instead of hours.
        for (const char *fallback : {"connect_timeout=10", "keepalives=1", "keepalives_idle=60",
                                     "keepalives_interval=10", "keepalives_count=6"})
            if (const QString option = QLatin1String(fallback); !given.contains(option.section(u'=', 0, 0)))
                options.append(option);
        db.setConnectOptions(options.join(QLatin1Char(';')));
        return db;
    }
    case Backend::Odbc: {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(spec.odbc);
        return db;
    }
    }
    return {};
}

// Flags are stored as 0/1 integers; every back-end takes those.
QVariant bindable(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return QVariant(v.toBool() ? 1 : 0);
    return v;
}

bool isSelect(const QString &sql)
{
    return sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
}

} // namespace

QtConnection::QtConnection(const ConnectionSpec &spec) : m_spec(spec)
{
    connect(QStringLiteral("No se pudo abrir la base de datos %1: %2"));
}

void QtConnection::connect(const QString &failureText)
{
    m_prepared.clear();
    m_preparedReads.clear();
    const QString name = uniqueConnectionName();
    QSqlDatabase db = configure(m_spec, name);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw RuntimeError(
            QStringLiteral("No está disponible el controlador de base de datos para %1").arg(m_spec.display()));
    }
    // Record sets of an earlier session keep the handle they were read from.
    m_handle = std::make_shared<ConnectionHandle>(name, m_spec.backend, db);
    if (!m_handle->database().open()) {
        const QString text = failureText.arg(m_spec.display(), errorText(m_handle->database().lastError()));
        log::error(text);
        throw RuntimeError(text);
    }

    // QPSQL reads forward-only results row by row from the server, and the rows still
    // pending are thrown away as soon as another statement runs on the connection; the
    // screen keeps a result open while it runs other look-ups, so PostgreSQL results
    // are read whole (QPSQL keeps them in libpq's buffer, without a second copy).
    m_forwardOnly = m_spec.backend != Backend::Postgres;

    try {
        if (m_spec.backend == Backend::Postgres) {
            // Nobody waits on a clerk inside a transaction (every message comes after the
            // rollback), so a transaction idle for long is a dead client, and a lock held
            // by one must not stop the team. The values are numbers read by
            // parseConnectionString. Literals mean what they say whatever the server's
            // default, since statements built as text only double their quotes.
            runPlain(QStringLiteral("SELECT set_config('lock_timeout', '%1', false), "
                                    "set_config('idle_in_transaction_session_timeout', '%2', false), "
                                    "set_config('statement_timeout', '%3', false), "
                                    "set_config('standard_conforming_strings', 'on', false)")
                         .arg(m_spec.lockTimeoutMs)
                         .arg(m_spec.idleInTransactionTimeoutMs)
                         .arg(m_spec.statementTimeoutMs));
        } else if (m_spec.backend == Backend::Sqlite) {
            // The first statement reads the file: a file that is not a database or is
            // locked fails here, named.
            runPlain(QStringLiteral("PRAGMA foreign_keys = ON"));
            auto rs = select([&] {
                QSqlQuery q = newQuery();
                if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                    throw RuntimeError(errorText(q.lastError()));
                return q;
            }());
        }
    } catch (const RuntimeError &e) {
        throw RuntimeError(failureText.arg(m_spec.display(), e.description()));
    }
}

QtConnection::~QtConnection()
{
    m_prepared.clear();
    m_preparedReads.clear();
    if (m_inTransaction) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

QSqlQuery QtConnection::newQuery() const
{
    QSqlQuery q(m_handle->database());
    q.setForwardOnly(m_forwardOnly);
    return q;
}

std::unique_ptr<RecordSet> QtConnection::select(QSqlQuery &&query)
{
    return select(std::make_shared<QSqlQuery>(std::move(query)));
}

std::unique_ptr<RecordSet> QtConnection::select(std::shared_ptr<QSqlQuery> query)
{
    return std::make_unique<QtRecordSet>(m_handle, std::move(query));
}

std::shared_ptr<QSqlQuery> QtConnection::preparedRead(const QString &sql)
{
    constexpr qsizetype Kept = 128;
    const auto cached = m_preparedReads.constFind(sql);
    if (cached != m_preparedReads.cend() && cached.value().use_count() == 1)
        return cached.value();
    auto q = std::make_shared<QSqlQuery>(newQuery());
    if (!q->prepare(sql))
        fail(describeError(q->lastError(), sql));
    // One still being read (a look-up inside a loop over the same statement) keeps its
    // place; this one is not kept.
    if (cached == m_preparedReads.cend()) {
        if (m_preparedReads.size() >= Kept)
            m_preparedReads.removeIf([](const auto &entry) { return entry.value().use_count() == 1; });
        m_preparedReads.insert(sql, q);
    }
    return q;
}

void QtConnection::runPlain(const QString &sql)
{
    QSqlQuery q = newQuery();
    if (!q.exec(sql))
        fail(describeError(q.lastError(), sql));
}

std::unique_ptr<RecordSet> QtConnection::reading(const QString &sql, const std::function<QSqlQuery()> &exec)
{
    return reading(sql, std::function<std::unique_ptr<RecordSet>()>([&] { return select(exec()); }));
}

std::unique_ptr<RecordSet> QtConnection::reading(const QString &sql,
                                                 const std::function<std::unique_ptr<RecordSet>()> &read)
{
    ensureSession();
    // A read outside a transaction that finds the session gone (a server restarted
    // while the clerk was idle) is simply read again on a new session: nothing was in
    // flight. Anything else reports the loss.
    const bool retryable = !m_inTransaction && isSelect(sql);
    try {
        return read();
    } catch (const RuntimeError &) {
        if (!retryable || !m_lost)
            throw;
    }
    ensureSession();
    return read();
}

std::unique_ptr<RecordSet> QtConnection::execute(const QString &statement)
{
    return reading(statement, [&] {
        QSqlQuery q = newQuery();
        if (!q.exec(translate(statement, m_spec.backend)))
            fail(describeError(q.lastError(), statement));
        return q;
    });
}

std::unique_ptr<RecordSet> QtConnection::query(const QString &sql, const QVariantList &values)
{
    if (values.isEmpty()) {
        return reading(sql, [&] {
            QSqlQuery q = newQuery();
            if (!q.exec(sql))
                fail(describeError(q.lastError(), sql));
            return q;
        });
    }
    return reading(sql, std::function<std::unique_ptr<RecordSet>()>([&] {
                       std::shared_ptr<QSqlQuery> q = preparedRead(sql);
                       for (int i = 0; i < values.size(); ++i)
                           q->bindValue(i, bindable(values[i]));
                       if (!q->exec()) {
                           const QString text = describeError(q->lastError(), sql);
                           q->finish();
                           m_preparedReads.remove(sql);
                           fail(text);
                       }
                       return select(std::move(q));
                   }));
}

int QtConnection::run(const QString &sql, const QVariantList &values)
{
    ensureSession();
    if (values.isEmpty()) {
        QSqlQuery q = newQuery();
        if (!q.exec(sql))
            fail(describeError(q.lastError(), sql));
        return q.numRowsAffected();
    }
    // Writers repeat the same few statements many times (a line at a time), so each
    // stays prepared on the server for the life of the connection.
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        if (m_prepared.size() >= 64)
            m_prepared.clear();
        m_preparedReads.clear();
        QSqlQuery q = newQuery();
        if (!q.prepare(sql))
            fail(describeError(q.lastError(), sql));
        it = m_prepared.insert(sql, std::move(q));
    }
    QSqlQuery &q = *it;
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, bindable(values[i]));
    const bool ok = q.exec();
    const int affected = ok ? q.numRowsAffected() : 0;
    const QSqlError error = q.lastError();
    q.finish();
    if (!ok) {
        const QString text = describeError(error, sql);
        m_prepared.erase(it);
        fail(text);
    }
    return affected;
}

void QtConnection::begin()
{
    if (m_inTransaction)
        throw RuntimeError(QStringLiteral("Ya hay una transacción abierta en esta conexión"));
    ensureSession();
    try {
        startTransaction();
    } catch (const RuntimeError &) {
        // Nothing ran yet: a session found gone is replaced and the transaction begun
        // on the new one.
        if (!m_lost)
            throw;
        ensureSession();
        startTransaction();
    }
    m_inTransaction = true;
}

void QtConnection::startTransaction()
{
    if (m_spec.backend == Backend::Sqlite) {
        // Take the write lock at once: a transaction that first reads and then writes
        // could otherwise fail when another process wrote in between, instead of
        // waiting for it.
        runPlain(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (m_spec.backend == Backend::Postgres) {
        // The row locks of the save rely on READ COMMITTED: a statement run after a lock
        // was granted sees what its holder committed. Set it whatever the server's or the
        // session's default, in the same round trip as the BEGIN.
        runPlain(QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED"));
    } else if (!m_handle->database().transaction()) {
        fail(describeError(m_handle->database().lastError(), QStringLiteral("BEGIN")));
    }
}

void QtConnection::commit()
{
    if (!m_inTransaction)
        throw RuntimeError(QStringLiteral("No hay una transacción abierta que confirmar"));
    if (m_lost) {
        m_inTransaction = false;
        throw RuntimeError(lostInTransactionText());
    }
    bool ok;
    QString text;
    if (m_spec.backend == Backend::Sqlite) {
        QSqlQuery q = newQuery();
        ok = q.exec(QStringLiteral("COMMIT"));
        if (!ok)
            text = describeError(q.lastError(), QStringLiteral("COMMIT"));
    } else {
        ok = m_handle->database().commit();
        if (!ok)
            text = describeError(m_handle->database().lastError(), QStringLiteral("COMMIT"));
    }
    if (ok) {
        m_inTransaction = false;
        return;
    }
    if (sessionLost()) {
        // The server may have committed before the answer was lost: all of it or none.
        markLost();
        m_inTransaction = false;
        throw CommitOutcomeUnknown(
            QStringLiteral("Se perdió la conexión con la base de datos %1 al confirmar la operación (%2). El "
                           "servidor la guardó completa o no guardó nada de ella. Al aceptar de nuevo se revisa "
                           "si la nota de crédito quedó guardada, y nunca se guarda dos veces. La siguiente acción "
                           "vuelve a conectar.")
                .arg(m_spec.display(), text));
    }
    // A failed commit ends the transaction without saving anything, on every back-end
    // alike.
    try {
        rollback();
    } catch (...) {
    }
    m_inTransaction = false;
    throw RuntimeError(text);
}

void QtConnection::rollback()
{
    if (!m_inTransaction)
        throw RuntimeError(QStringLiteral("No hay una transacción abierta que deshacer"));
    m_inTransaction = false;
    // A lost session took its transaction with it.
    if (m_lost)
        return;
    if (m_spec.backend == Backend::Sqlite) {
        QSqlQuery q = newQuery();
        if (!q.exec(QStringLiteral("ROLLBACK"))) {
            const QString text = errorText(q.lastError());
            // SQLite may already have ended the transaction itself (after some errors).
            if (!text.contains(QLatin1String("no transaction is active")))
                throw RuntimeError(text);
        }
    } else if (!m_handle->database().rollback()) {
        if (sessionLost()) {
            markLost();
            return;
        }
        throw RuntimeError(errorText(m_handle->database().lastError()));
    }
}

bool QtConnection::sessionLost() const
{
    if (m_spec.backend != Backend::Postgres)
        return false;
    // QPSQL closes the database itself when libpq reports the session gone; ask libpq
    // as well in case it has not.
    QSqlDatabase &db = m_handle->database();
    if (!db.isOpen())
        return true;
    const QVariant handle = db.driver()->handle();
    const char *type = handle.typeName();
    if (!handle.isValid() || !type || (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0))
        return false;
    PGconn *session = *static_cast<PGconn *const *>(handle.constData());
    if (session == nullptr || PQstatus(session) == CONNECTION_BAD)
        return true;
    // A server that crashed closes the socket without a word: libpq reports "server
    // closed the connection unexpectedly" yet may still call the session good until it
    // reads again. Reading now settles it (nothing is in flight after a failed statement).
    return PQconsumeInput(session) == 0 || PQstatus(session) == CONNECTION_BAD;
}

void QtConnection::markLost()
{
    m_lost = true;
    m_prepared.clear();
    m_preparedReads.clear();
}

QString QtConnection::describeError(const QSqlError &error, const QString &statement) const
{
    // Logged: the driver's text and only the statement's first words, which name what
    // was done and where, before any value.
    const QString words = statement.simplified().section(u' ', 0, 3).left(80);
    log::error(QStringLiteral("database %1: %2 [%3]").arg(m_spec.display(), errorText(error), words));
    const QString code = error.nativeErrorCode();
    // Another clerk's lock waited for past lock_timeout (lock_not_available): the
    // operation is rolled back whole and may simply be repeated.
    if (m_spec.backend == Backend::Postgres && code == QLatin1String("55P03"))
        return QStringLiteral("Otro usuario está guardando sobre esta compra; vuelva a intentarlo. No se guardó nada.");
    // A full disk (or an SQLite file at its page limit): named for what it is.
    const bool full = m_spec.backend == Backend::Sqlite ? code == QLatin1String("13") : code == QLatin1String("53100");
    if (full)
        return QStringLiteral("No hay espacio para la base de datos %1 (disco lleno): no se guardó nada de la "
                              "operación. Libere espacio y vuelva a intentarlo. (%2)")
            .arg(m_spec.display(), errorText(error));
    return errorText(error);
}

void QtConnection::fail(const QString &text)
{
    if (!sessionLost())
        throw RuntimeError(text);
    markLost();
    if (m_inTransaction)
        throw RuntimeError(lostInTransactionText() + QStringLiteral(" (%1)").arg(text));
    throw RuntimeError(QStringLiteral("Se perdió la conexión con la base de datos %1 (%2). La siguiente acción "
                                      "vuelve a conectar.")
                           .arg(m_spec.display(), text));
}

QString QtConnection::lostInTransactionText() const
{
    return QStringLiteral("Se perdió la conexión con la base de datos %1: la operación no se guardó, nada de ella "
                          "quedó en la base de datos. La siguiente acción vuelve a conectar.")
        .arg(m_spec.display());
}

void QtConnection::ensureSession()
{
    if (!m_lost)
        return;
    // Never a new session in the middle of a transaction: what follows would be saved
    // without what came before.
    if (m_inTransaction)
        throw RuntimeError(lostInTransactionText());
    connect(QStringLiteral("No hay conexión con la base de datos %1. Vuelva a intentarlo cuando el servidor esté "
                           "disponible. (%2)"));
    m_lost = false;
}

void QtConnection::enableWriteAheadLog()
{
    if (m_spec.backend != Backend::Sqlite || m_spec.inMemory())
        return;
    runPlain(QStringLiteral("PRAGMA journal_mode = WAL"));
}

} // namespace qmx44::db
