#include "screen/draft_store.h"

#include "platform/core/error.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

namespace qmx44::screen {

namespace {

const QString InMemory = QStringLiteral(":memory:");

} // namespace

DraftStore::DraftStore(const QString &user, const QString &database, QHash<QString, QByteArray> *memory)
    : m_memory(memory)
{
    // The user and the database name the file; hashed, so that neither shows in it.
    m_key = QString::fromLatin1(
        QCryptographicHash::hash((user + QLatin1Char('\n') + database).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(32));
    if (database == InMemory) {
        m_owned = m_memory != nullptr;
        return;
    }
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/qmx44/drafts");
    if (!QDir().mkpath(folder)) {
        // Without a folder of its own nothing can be kept: the note is entered as before.
        m_owned = false;
        return;
    }
    m_path = folder + QLatin1Char('/') + m_key + QStringLiteral(".json");
    // A lock left by a program that died is stale and taken over.
    m_lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0);
    m_owned = m_lock->tryLock(0);
}

DraftStore::~DraftStore() = default;

std::optional<QByteArray> DraftStore::read() const
{
    if (!m_owned)
        return std::nullopt;
    if (m_path.isEmpty()) {
        auto it = m_memory->constFind(m_key);
        return it == m_memory->cend() ? std::nullopt : std::optional<QByteArray>(*it);
    }
    QFile file(m_path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(file.errorString());
    return file.readAll();
}

void DraftStore::write(const QByteArray &draft)
{
    if (!m_owned)
        return;
    if (m_path.isEmpty()) {
        m_memory->insert(m_key, draft);
        return;
    }
    // Written whole into the file beside the draft, then the two names are exchanged in
    // one step: a program that dies leaves the old draft or the new one, and the file
    // beside it keeps the one before for the next write. No file is created or deleted
    // and nothing waits for the disk: a draft is written after every change the clerk
    // makes, and making a file each time cost more than the rest of a save's work.
    const QByteArray part = QFile::encodeName(partPath());
    const QByteArray target = QFile::encodeName(m_path);
    QFile file(partPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(draft) != draft.size() || !file.flush())
        throw RuntimeError(file.errorString());
    file.close();
    if (renameat2(AT_FDCWD, part.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) == 0)
        return;
    // The first draft has nothing to exchange with; some file systems cannot exchange.
    if ((errno == ENOENT || errno == EINVAL) && std::rename(part.constData(), target.constData()) == 0)
        return;
    throw RuntimeError(
        QStringLiteral("No se pudo reemplazar %1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(errno))));
}

QString DraftStore::partPath() const
{
    return m_path + QStringLiteral(".part");
}

void DraftStore::remove()
{
    if (!m_owned)
        return;
    if (m_path.isEmpty()) {
        m_memory->remove(m_key);
    } else {
        QFile::remove(m_path);
        QFile::remove(partPath());
    }
}

QString DraftStore::setAside()
{
    if (!m_owned)
        return QString();
    if (m_path.isEmpty()) {
        m_memory->remove(m_key);
        return QString();
    }
    const QString aside = m_path + QStringLiteral(".unreadable-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    QFile::remove(aside);
    if (!QFile::rename(m_path, aside))
        QFile::remove(m_path);
    return aside;
}

} // namespace qmx44::screen
