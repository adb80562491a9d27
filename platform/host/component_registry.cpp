#include "platform/host/component_registry.h"

#include "platform/core/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>
#include <QSaveFile>
#include <cstdio>

namespace qmx44::host {

namespace {

// The entry a plug-in's metadata describes; no identifiers when it is not a component.
ComponentRegistry::Entry entryOf(const QString &file)
{
    const QJsonObject metaData = QPluginLoader(file).metaData();
    ComponentRegistry::Entry entry;
    entry.file = file;
    if (metaData.value(QStringLiteral("IID")).toString() != QStringLiteral(QMX44_COMPONENT_PLUGIN_IID))
        return entry;
    const QJsonObject own = metaData.value(QStringLiteral("MetaData")).toObject();
    for (const auto &v : own.value(QStringLiteral("progIds")).toArray()) {
        const QString id = v.toString();
        if (!id.isEmpty())
            entry.progIds << id;
    }
    entry.version = own.value(QStringLiteral("version")).toString();
    entry.build = own.value(QStringLiteral("build")).toString();
    return entry;
}

QString versionText(const QString &version, const QString &build)
{
    if (version.isEmpty())
        return QStringLiteral("an unknown version of qmx44");
    return QStringLiteral("qmx44 %1 (build %2)").arg(version, build.isEmpty() ? QStringLiteral("unknown") : build);
}

bool sameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString ComponentRegistry::defaultFolder()
{
    const QString env = qEnvironmentVariable("QMX44_COMPONENT_PATH");
    if (!env.isEmpty())
        return env;
    return QDir::homePath() + QStringLiteral("/.local/share/qmx44/components");
}

QString ComponentRegistry::hostVersion()
{
    return QStringLiteral(QMX44_VERSION);
}

QString ComponentRegistry::hostBuild()
{
    return QStringLiteral(QMX44_BUILD_ID);
}

bool ComponentRegistry::compatible(const Entry &entry)
{
    return entry.version == hostVersion() && entry.build == hostBuild();
}

QString ComponentRegistry::mismatch(const Entry &entry)
{
    return QStringLiteral("built for %1, this is %2")
        .arg(versionText(entry.version, entry.build), versionText(hostVersion(), hostBuild()));
}

ComponentRegistry::ComponentRegistry(const QString &folder) : m_folder(QDir(folder).absolutePath()) {}

ComponentRegistry::~ComponentRegistry()
{
    for (auto &loaded : m_loaded) {
        if (loaded.startedHere && loaded.plugin->started())
            loaded.plugin->stop();
        // The library stays loaded: objects it made may outlive the registry.
        delete loaded.loader;
    }
}

ComponentRegistry::Entry ComponentRegistry::describe(const QString &pluginFile)
{
    const QFileInfo info(pluginFile);
    if (!info.isFile())
        throw RuntimeError(QStringLiteral("%1: no such plug-in file").arg(pluginFile));
    if (!QLibrary::isLibrary(info.fileName()))
        throw RuntimeError(QStringLiteral("%1: not a shared library").arg(pluginFile));
    Entry entry = entryOf(info.absoluteFilePath());
    if (entry.progIds.isEmpty())
        throw RuntimeError(QStringLiteral("%1: not a qmx44 component (no component metadata)").arg(pluginFile));
    return entry;
}

QList<ComponentRegistry::Entry> ComponentRegistry::entries() const
{
    QList<Entry> out;
    const QDir dir(m_folder);
    if (!dir.exists())
        return out;
    const auto files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &f : files) {
        if (!QLibrary::isLibrary(f.fileName()))
            continue;
        Entry entry = entryOf(f.absoluteFilePath());
        if (!entry.progIds.isEmpty())
            out.append(std::move(entry));
    }
    return out;
}

std::optional<ComponentRegistry::Entry> ComponentRegistry::find(const QString &progId) const
{
    for (const Entry &e : entries()) {
        if (!e.progIds.contains(progId, Qt::CaseInsensitive))
            continue;
        if (compatible(e))
            return e;
        if (!m_warned.contains(e.file)) {
            m_warned.insert(e.file);
            std::fputs(qPrintable(QStringLiteral("qmx44: warning: skipping the component %1: %2\n")
                                      .arg(QDir::toNativeSeparators(e.file), mismatch(e))),
                       stderr);
        }
    }
    return std::nullopt;
}

ComponentRegistry::Entry ComponentRegistry::registerComponent(const QString &pluginFile)
{
    const Entry source = describe(pluginFile);
    if (!compatible(source))
        throw RuntimeError(QStringLiteral("%1: %2").arg(source.file, mismatch(source)));
    if (!QDir().mkpath(m_folder))
        throw RuntimeError(QStringLiteral("%1: cannot create the component folder").arg(m_folder));
    const QString target = QDir(m_folder).filePath(QFileInfo(source.file).fileName());
    if (sameFile(source.file, target))
        return source;

    QFile in(source.file);
    if (!in.open(QIODevice::ReadOnly))
        throw RuntimeError(QStringLiteral("%1: %2").arg(source.file, in.errorString()));
    const QByteArray bytes = in.readAll();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw RuntimeError(QStringLiteral("%1: %2").arg(target, out.errorString()));

    // Older installations of the same identifiers under another file name would shadow
    // or compete with the new one.
    for (const Entry &e : entries()) {
        if (e.file == target)
            continue;
        for (const QString &id : source.progIds) {
            if (e.progIds.contains(id)) {
                QFile::remove(e.file);
                break;
            }
        }
    }
    Entry installed = source;
    installed.file = target;
    return installed;
}

bool ComponentRegistry::unregisterComponent(const QString &progId)
{
    bool removed = false;
    for (const Entry &e : entries()) {
        if (!e.progIds.contains(progId, Qt::CaseInsensitive))
            continue;
        if (!QFile::remove(e.file))
            throw RuntimeError(QStringLiteral("%1: cannot remove the component").arg(e.file));
        removed = true;
    }
    return removed;
}

std::unique_ptr<QObject> ComponentRegistry::createObject(const QString &progId,
                                                         std::shared_ptr<PlatformContext> context)
{
    const auto entry = find(progId);
    if (!entry)
        throw RuntimeError(QStringLiteral("No component is registered for '%1' in %2").arg(progId, m_folder));

    auto it = m_loaded.find(entry->file);
    if (it == m_loaded.end()) {
        auto *loader = new QPluginLoader(entry->file);
        QObject *root = loader->instance();
        auto *plugin = qobject_cast<ComponentPlugin *>(root);
        if (!plugin) {
            const QString why = root ? QStringLiteral("not a qmx44 component") : loader->errorString();
            delete loader;
            throw RuntimeError(QStringLiteral("Cannot load the component %1: %2").arg(entry->file, why));
        }
        it = m_loaded.insert(entry->file, Loaded{loader, plugin, false});
    }
    Loaded &loaded = it.value();
    if (!loaded.plugin->started()) {
        loaded.plugin->start(std::move(context));
        loaded.startedHere = true;
    }
    return std::unique_ptr<QObject>(loaded.plugin->create(progId));
}

ComponentPlugin *ComponentRegistry::loadedPlugin(const QString &progId) const
{
    const auto entry = find(progId);
    if (!entry)
        return nullptr;
    auto it = m_loaded.find(entry->file);
    return it == m_loaded.end() ? nullptr : it->plugin;
}

} // namespace qmx44::host
