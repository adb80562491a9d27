#include "platform/core/log.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qmx44::log {

namespace {

struct State {
    QMutex mutex;
    int fd = -1;
    QByteArray path;
    LogOptions options;
};

State &state()
{
    static State s;
    return s;
}

// Never through a symbolic link: one planted at the log's name would have the program
// append to (or create) whatever file it points to, with the user's rights.
int openAppending(const QByteArray &path)
{
    return ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

QByteArray rotated(const QByteArray &path, int n)
{
    return path + '.' + QByteArray::number(n);
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

// Called with the mutex held before each line. When the file written has reached the
// limit it is rotated; when another process rotated it (or someone removed it), the file
// now under the name is opened. Processes rotating at the same moment are serialised by
// the lock on the file, and only the one that still finds the full file under its name
// renames it.
void rotate(State &s)
{
    struct stat mine {};
    struct stat named {};
    if (::fstat(s.fd, &mine) != 0)
        return;
    const bool stillNamed = ::stat(s.path.constData(), &named) == 0 && sameFile(named, mine);
    if (stillNamed && mine.st_size < s.options.rotateAt)
        return;
    if (stillNamed) {
        ::flock(s.fd, LOCK_EX);
        if (::stat(s.path.constData(), &named) == 0 && sameFile(named, mine) && named.st_size >= s.options.rotateAt) {
            for (int n = s.options.kept - 1; n >= 1; --n)
                ::rename(rotated(s.path, n).constData(), rotated(s.path, n + 1).constData());
            if (s.options.kept >= 1)
                ::rename(s.path.constData(), rotated(s.path, 1).constData());
            else
                ::unlink(s.path.constData());
        }
        ::flock(s.fd, LOCK_UN);
    }
    const int fresh = openAppending(s.path);
    if (fresh >= 0) {
        ::close(s.fd);
        s.fd = fresh;
    }
}

const char *levelName(Level level)
{
    switch (level) {
    case Level::Info:
        return "INFO";
    case Level::Warning:
        return "WARNING";
    case Level::Error:
        return "ERROR";
    }
    return "INFO";
}

} // namespace

bool openLog(const QString &folder, const LogOptions &options)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (s.fd >= 0)
        ::close(s.fd);
    s.fd = -1;
    s.options = options;
    s.path = QFile::encodeName(QDir(folder).absoluteFilePath(QStringLiteral("qmx44.log")));
    QDir().mkpath(folder);
    s.fd = openAppending(s.path);
    if (s.fd < 0) {
        std::fprintf(stderr, "qmx44: warning: no log is kept, %s cannot be written: %s\n", s.path.constData(),
                     std::strerror(errno));
        s.path.clear();
        return false;
    }
    return true;
}

void closeLog()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (s.fd >= 0)
        ::close(s.fd);
    s.fd = -1;
    s.path.clear();
}

QString logFile()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return QFile::decodeName(s.path);
}

void write(Level level, const QString &text)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (s.fd < 0)
        return;
    QString oneLine = text;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" | "))
        .replace(u'\n', QLatin1String(" | "))
        .replace(u'\r', u' ');
    const QByteArray line = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() + ' '
        + QByteArray::number(qint64(::getpid())) + ' ' + levelName(level) + ' ' + oneLine.toUtf8() + '\n';
    rotate(s);
    // One write: the kernel appends it whole, whoever else writes the file.
    [[maybe_unused]] const ssize_t written = ::write(s.fd, line.constData(), size_t(line.size()));
}

} // namespace qmx44::log
