// The desktop host's built-in walk-through: its scenario run through the real main
// window writes a picture of each step and the printed note, and the window remembers
// its geometry and the grid's column widths. (What the walk-through saves is the
// scenario test's: the same scenario runs there through both drivers.)
#include "apps/gui/walkthrough.h"
#include "platform/db/open.h"
#include "tests/support/test_db.h"

#include <QFileInfo>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qmx44;

// Guards against a walk-through that stops short or pictures nothing, and against the
// windows forgetting their geometry and the grid's column widths.
TEST(GuiHostTest, WalkthroughPicturesEachStepAndRemembersTheWindow)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    test::FreshDatabase fresh("sqlite", /*demo=*/true);
    fresh.closeConnection();
    std::shared_ptr<db::Conexion> database = db::open(fresh.connectionString());

    QStringList files, problems;
    const bool ok = apps::gui::runWalkthrough(
        database, QStringLiteral("CXP01"), QStringLiteral(QMX44_COMPONENT_FILE), folder.filePath(QStringLiteral("out")),
        [&](const QString &line) { (line.startsWith(QLatin1String("problem:")) ? problems : files) << line; });
    EXPECT_TRUE(ok) << problems.join(u'\n').toStdString();
    EXPECT_EQ(files.filter(QStringLiteral(".pdf")).size(), 1) << "the saved note, printed";
    EXPECT_GE(files.filter(QStringLiteral(".png")).size(), 12);
    for (const QString &file : files)
        EXPECT_TRUE(QFileInfo(file).size() > 0) << file.toStdString();

    QSettings settings;
    EXPECT_TRUE(settings.contains(QStringLiteral("window/geometry")));
    EXPECT_TRUE(settings.contains(QStringLiteral("screen/gridColumnWidths")));
    EXPECT_TRUE(settings.value(QStringLiteral("screen/geometry")).toRect().isValid());
}
