// The component registry: installing, finding, replacing and removing plug-ins in a
// component folder, and refusing files that are not components.
#include "platform/core/error.h"
#include "platform/host/component_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qmx44;
using host::ComponentRegistry;

namespace {

const QString kPlugin = QStringLiteral(QMX44_COMPONENT_FILE);
const QString kPantalla = QStringLiteral("QMX44.Pantalla");

// A real Qt plug-in that is not a component (the SQLite driver).
QString foreignPlugin()
{
    return QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/sqldrivers/libqsqlite.so");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class ComponentRegistryTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString folder = tmp.filePath(QStringLiteral("share/qmx44/components"));
};

// Guards against a registration that needs the folder to exist already, one that the
// host then cannot find by identifier (identifiers ignore letter case), a request for
// another identifier loading something anyway, and two installations of one identifier
// competing (which one loads would depend on file names).
TEST_F(ComponentRegistryTest, RegisterInstallsIntoAFolderMadeWhenNeededReplacingTheOld)
{
    ComponentRegistry registry(folder);
    EXPECT_TRUE(registry.entries().isEmpty());
    const auto entry = registry.registerComponent(kPlugin);
    EXPECT_EQ(entry.progIds, QStringList{kPantalla});
    EXPECT_EQ(QFileInfo(entry.file).absolutePath(), QDir(folder).absolutePath());
    const auto found = registry.find(QStringLiteral("qmx44.pantalla"));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->file, entry.file);
    EXPECT_THROW(registry.createObject(QStringLiteral("QMX44.Otra"), std::make_shared<host::PlatformContext>()),
                 RuntimeError);
    EXPECT_EQ(registry.loadedPlugin(kPantalla), nullptr);

    registry.registerComponent(kPlugin);
    const QString renamed = tmp.filePath(QStringLiteral("libqmx44_component_v2.so"));
    ASSERT_TRUE(QFile::copy(kPlugin, renamed));
    registry.registerComponent(renamed);
    const auto entries = registry.entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(QFileInfo(entries.front().file).fileName(), QStringLiteral("libqmx44_component_v2.so"));
}

// Guards against unregister removing other files, or claiming success twice.
TEST_F(ComponentRegistryTest, UnregisterRemovesOnlyThatComponent)
{
    ComponentRegistry registry(folder);
    registry.registerComponent(kPlugin);
    const QString notes = QDir(folder).filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(writeFile(notes, "keep me"));

    EXPECT_TRUE(registry.unregisterComponent(kPantalla));
    EXPECT_FALSE(registry.find(kPantalla).has_value());
    EXPECT_FALSE(registry.unregisterComponent(kPantalla));
    EXPECT_TRUE(QFileInfo::exists(notes));
}

// Guards against installing, or looking into, files that are not components: a
// library named like one, another kind of Qt plug-in, a missing file.
TEST_F(ComponentRegistryTest, FilesThatAreNotComponentsAreRefusedAndIgnored)
{
    const QString fake = tmp.filePath(QStringLiteral("libfake.so"));
    ASSERT_TRUE(writeFile(fake, "not a library"));
    QStringList refused{fake, tmp.filePath(QStringLiteral("libmissing.so"))};
    if (QFileInfo::exists(foreignPlugin()))
        refused << foreignPlugin();

    ComponentRegistry registry(folder);
    for (const QString &file : refused) {
        EXPECT_THROW(ComponentRegistry::describe(file), RuntimeError) << file.toStdString();
        EXPECT_THROW(registry.registerComponent(file), RuntimeError) << file.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder)) << "a refused registration wrote the folder";

    // Such files lying in the folder are not taken for components.
    registry.registerComponent(kPlugin);
    ASSERT_TRUE(QFile::copy(fake, QDir(folder).filePath(QStringLiteral("libfake.so"))));
    if (QFileInfo::exists(foreignPlugin())) {
        ASSERT_TRUE(QFile::copy(foreignPlugin(), QDir(folder).filePath(QStringLiteral("libqsqlite.so"))));
    }
    EXPECT_EQ(registry.entries().size(), 1);
}

} // namespace
