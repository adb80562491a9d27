#include "platform/db/qt_connection.h"

#include "platform/db/dialect.h"

#include <QAtomicInt>
#include <QSqlDriver>

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
        bool timeoutGiven = false;
        for (const auto &[key, value] : spec.options) {
            options.append(key + QLatin1Char('=') + value);
            timeoutGiven = timeoutGiven || key == QLatin1String("connect_timeout");
        }
        if (!timeoutGiven)
            options.append(QStringLiteral("connect_timeout=10"));
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

} // namespace

QtConnection::QtConnection(const ConnectionSpec &spec) : m_spec(spec)
{
    const QString name = uniqueConnectionName();
    QSqlDatabase db = configure(spec, name);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw RuntimeError(
            QStringLiteral("No está disponible el controlador de base de datos para %1").arg(spec.display()));
    }
    m_handle = std::make_shared<ConnectionHandle>(name, spec.backend, db);
    if (!m_handle->database().open())
        throw RuntimeError(QStringLiteral("No se pudo abrir la base de datos %1: %2")
                               .arg(spec.display(), errorText(m_handle->database().lastError())));

    // QPSQL reads forward-only results row by row from the server, and the rows still
    // pending are thrown away as soon as another statement runs on the connection; the
    // screen keeps a result open while it runs other look-ups, so PostgreSQL results
    // are read whole (QPSQL keeps them in libpq's buffer, without a second copy).
    m_forwardOnly = spec.backend != Backend::Postgres;

    try {
        if (spec.backend == Backend::Sqlite) {
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
        throw RuntimeError(
            QStringLiteral("No se pudo abrir la base de datos %1: %2").arg(spec.display(), e.description()));
    }
}

QtConnection::~QtConnection()
{
    m_prepared.clear();
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
    return std::make_unique<QtRecordSet>(m_handle, std::move(query));
}

void QtConnection::runPlain(const QString &sql)
{
    QSqlQuery q = newQuery();
    if (!q.exec(sql))
        throw RuntimeError(errorText(q.lastError()));
}

std::unique_ptr<RecordSet> QtConnection::execute(const QString &statement)
{
    QSqlQuery q = newQuery();
    if (!q.exec(translate(statement, m_spec.backend)))
        throw RuntimeError(errorText(q.lastError()));
    return select(std::move(q));
}

std::unique_ptr<RecordSet> QtConnection::query(const QString &sql, const QVariantList &values)
{
    QSqlQuery q = newQuery();
    if (values.isEmpty()) {
        if (!q.exec(sql))
            throw RuntimeError(errorText(q.lastError()));
    } else {
        if (!q.prepare(sql))
            throw RuntimeError(errorText(q.lastError()));
        for (const QVariant &v : values)
            q.addBindValue(bindable(v));
        if (!q.exec())
            throw RuntimeError(errorText(q.lastError()));
    }
    return select(std::move(q));
}

int QtConnection::run(const QString &sql, const QVariantList &values)
{
    if (values.isEmpty()) {
        QSqlQuery q = newQuery();
        if (!q.exec(sql))
            throw RuntimeError(errorText(q.lastError()));
        return q.numRowsAffected();
    }
    // Writers repeat the same few statements many times (a line at a time), so each
    // stays prepared on the server for the life of the connection.
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        if (m_prepared.size() >= 64)
            m_prepared.clear();
        QSqlQuery q = newQuery();
        if (!q.prepare(sql))
            throw RuntimeError(errorText(q.lastError()));
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
        const QString text = errorText(error);
        m_prepared.erase(it);
        throw RuntimeError(text);
    }
    return affected;
}

void QtConnection::begin()
{
    if (m_inTransaction)
        throw RuntimeError(QStringLiteral("Ya hay una transacción abierta en esta conexión"));
    if (m_spec.backend == Backend::Sqlite) {
        // Take the write lock at once: a transaction that first reads and then writes
        // could otherwise fail when another process wrote in between, instead of
        // waiting for it.
        runPlain(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!m_handle->database().transaction()) {
        throw RuntimeError(errorText(m_handle->database().lastError()));
    } else if (m_spec.backend == Backend::Postgres) {
        // The row locks of the save rely on READ COMMITTED: a statement run after a lock
        // was granted sees what its holder committed. Set it whatever the server's or the
        // session's default.
        try {
            runPlain(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"));
        } catch (...) {
            m_handle->database().rollback();
            throw;
        }
    }
    m_inTransaction = true;
}

void QtConnection::commit()
{
    if (!m_inTransaction)
        throw RuntimeError(QStringLiteral("No hay una transacción abierta que confirmar"));
    bool ok;
    QString text;
    if (m_spec.backend == Backend::Sqlite) {
        QSqlQuery q = newQuery();
        ok = q.exec(QStringLiteral("COMMIT"));
        if (!ok)
            text = errorText(q.lastError());
    } else {
        ok = m_handle->database().commit();
        if (!ok)
            text = errorText(m_handle->database().lastError());
    }
    if (!ok) {
        // A failed commit ends the transaction without saving anything, on every
        // back-end alike.
        try {
            rollback();
        } catch (...) {
        }
        m_inTransaction = false;
        throw RuntimeError(text);
    }
    m_inTransaction = false;
}

void QtConnection::rollback()
{
    if (!m_inTransaction)
        throw RuntimeError(QStringLiteral("No hay una transacción abierta que deshacer"));
    m_inTransaction = false;
    if (m_spec.backend == Backend::Sqlite) {
        QSqlQuery q = newQuery();
        if (!q.exec(QStringLiteral("ROLLBACK"))) {
            const QString text = errorText(q.lastError());
            // SQLite may already have ended the transaction itself (after some errors).
            if (!text.contains(QLatin1String("no transaction is active")))
                throw RuntimeError(text);
        }
    } else if (!m_handle->database().rollback()) {
        throw RuntimeError(errorText(m_handle->database().lastError()));
    }
}

void QtConnection::enableWriteAheadLog()
{
    if (m_spec.backend != Backend::Sqlite || m_spec.inMemory())
        return;
    runPlain(QStringLiteral("PRAGMA journal_mode = WAL"));
}

} // namespace qmx44::db
