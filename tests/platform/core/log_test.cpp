// The program's log: the shape of its lines and its rotation.
#include "platform/core/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

QString contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

// Guards against a full log growing without end, the rotation losing the lines it moves,
// keeping more files than asked, or a line that is not one line with time, pid and level.
TEST(LogTest, LinesAreWholeAndTheFileRotates)
{
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("state/qmx44"));
    ASSERT_TRUE(log::openLog(folder, {/*rotateAt=*/200, /*kept=*/2}));
    for (int i = 0; i < 12; ++i)
        log::write(i == 0 ? log::Level::Error : log::Level::Info, QStringLiteral("line %1\nsecond part").arg(i));
    log::closeLog();
    log::info(QStringLiteral("not written: the log is off"));

    const QDir dir(folder);
    EXPECT_EQ(dir.entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("qmx44.log"), QStringLiteral("qmx44.log.1"), QStringLiteral("qmx44.log.2")}));
    const QString newest = contents(dir.filePath(QStringLiteral("qmx44.log")));
    static const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z %1 INFO line 11 \\| second part\\n$")
            .arg(QCoreApplication::applicationPid()),
        QRegularExpression::MultilineOption);
    EXPECT_TRUE(shape.match(newest).hasMatch()) << newest.toStdString();
    EXPECT_FALSE(newest.contains(QStringLiteral("not written")));
    // Four lines a file: two rotations, and every line is in one of the files kept.
    const QString all = contents(dir.filePath(QStringLiteral("qmx44.log.2")))
        + contents(dir.filePath(QStringLiteral("qmx44.log.1"))) + newest;
    EXPECT_EQ(all.count(u'\n'), 12) << all.toStdString();
    EXPECT_TRUE(all.startsWith(QStringLiteral("20")) && all.contains(QStringLiteral(" ERROR line 0 |")));
}

// Guards against a log that cannot be written stopping the program or being written anyway.
TEST(LogTest, AnUnwritableFolderTurnsTheLogOff)
{
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(log::openLog(blocker.fileName() + QStringLiteral("/qmx44")));
    EXPECT_TRUE(log::logFile().isEmpty());
    log::error(QStringLiteral("goes nowhere"));
}

// Guards against a symbolic link planted at the log's name making the program write into
// the file it points to.
TEST(LogTest, ASymlinkAtTheLogsNameTurnsTheLogOff)
{
    QTemporaryDir tmp;
    const QString target = tmp.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(target, tmp.filePath(QStringLiteral("qmx44.log"))));
    EXPECT_FALSE(log::openLog(tmp.path()));
    log::error(QStringLiteral("goes nowhere"));
    EXPECT_FALSE(QFileInfo::exists(target));
}

} // namespace
