#include "apps/cli.h"
#include "apps/command.h"
#include "apps/host_setup.h"

#include "platform/db/connection_string.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

namespace qmx44::apps {

void printError(const QString &command, const QString &text)
{
    const QString prefix = command.isEmpty() ? QStringLiteral("qmx44: ") : QStringLiteral("qmx44 %1: ").arg(command);
    std::fputs(qPrintable(prefix + text + u'\n'), stderr);
}

void printOut(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
}

std::optional<QString> takeOption(QStringList &args, const QString &name)
{
    const QString flag = QStringLiteral("--") + name;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == flag) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                throw UsageError{QStringLiteral("%1 needs a value").arg(flag)};
            const QString value = args[i + 1];
            args.remove(i, 2);
            return value;
        }
        if (args[i].startsWith(flag + u'=')) {
            const QString value = args[i].mid(flag.size() + 1);
            if (value.isEmpty())
                throw UsageError{QStringLiteral("%1 needs a value").arg(flag)};
            args.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(QStringLiteral("--") + name) > 0;
}

void rejectUnknownOptions(const QStringList &args)
{
    for (const QString &a : args) {
        if (a.startsWith(u'-') && a.size() > 1)
            throw UsageError{QStringLiteral("unknown option %1").arg(a)};
    }
}

QString defaultDatabase()
{
    return QDir::homePath() + QStringLiteral("/.local/share/qmx44/demo.sqlite");
}

QString configurationFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/qmx44/qmx44.conf");
}

QString displayedConnection(const QString &connection)
{
    try {
        return db::parseConnectionString(connection).display();
    } catch (const std::exception &) {
        return QStringLiteral("(a connection string qmx44 cannot read)");
    }
}

QString logFolder()
{
    const QString chosen = qEnvironmentVariable("QMX44_LOG_DIR");
    if (!chosen.isEmpty())
        return chosen;
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return (state.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state") : state) + QStringLiteral("/qmx44");
}

QString resolveConnection(const std::optional<QString> &dbOption)
{
    if (dbOption)
        return *dbOption;
    const QString fromEnvironment = qEnvironmentVariable("QMX44_DB");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString file = configurationFile();
    const QVariant configured = QSettings(file, QSettings::IniFormat).value(QLatin1String(kConnectionKey));
    // An unquoted comma makes the value a list, which toString() turns into nothing: the
    // demo database would open in place of the site's, without a word.
    if (configured.typeId() == QMetaType::QStringList)
        throw StartFailure{kExitUnreachable,
                           QStringLiteral("%1: the value of connection in [database] is read as a list "
                                          "(an unquoted comma)")
                               .arg(file),
                           QStringLiteral("Write it between double quotes: connection=\"...\"")};
    const QString fromFile = configured.toString();
    if (!fromFile.isEmpty())
        return fromFile;
    return defaultDatabase();
}

QString builtComponent()
{
    const QString name = QStringLiteral(QMX44_COMPONENT_FILE_NAME);
    const QDir exeDir(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {exeDir.filePath(QStringLiteral(QMX44_INSTALLED_COMPONENTS_FROM_BIN "/") + name),
                                     exeDir.filePath(QStringLiteral("../components/") + name), exeDir.filePath(name),
                                     QStringLiteral(QMX44_COMPONENT_BUILD_FILE)}) {
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QString();
}

} // namespace qmx44::apps
