// `qmx44 script` as a separate process: where the script comes from, the command line's
// exit statuses, the database options, and which component it loads.
#include "tests/support/test_db.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

class ScriptCliTest : public ::testing::Test {
protected:
    // Runs qmx44 with a private home; `components` is the registered component folder.
    Result qmx44(const QStringList &args, const QByteArray &input = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), tmp.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("QMX44_COMPONENT_PATH"), components);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QMX44_EXECUTABLE), args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "qmx44 did not finish";
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QString file(const QString &name, const QByteArray &content)
    {
        const QString path = tmp.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }

    QTemporaryDir tmp;
    QString components = tmp.filePath(QStringLiteral("components"));
};

const QByteArray kCount = "query SELECT COUNT(*) AS \"n\" FROM Proveedor\n";

// Guards against standard input being ignored when no file (or "-") is named, and the
// file being ignored when one is.
TEST_F(ScriptCliTest, ReadsTheFileOrStandardInput)
{
    const QString expected = QStringLiteral("{\"query\":\"SELECT COUNT(*) AS \\\"n\\\" FROM Proveedor\",\"rows\":[{\"n\":5}]}\n");
    EXPECT_EQ(qmx44({QStringLiteral("script"), QStringLiteral("--demo")}, kCount).out, expected);
    EXPECT_EQ(qmx44({QStringLiteral("script"), QStringLiteral("--demo"), QStringLiteral("-")}, kCount).out, expected);
    const QString script = file(QStringLiteral("count.scenario"), "# comment\n\n" + kCount);
    const Result r = qmx44({QStringLiteral("script"), QStringLiteral("--demo"), script}, "dump\n");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, expected);
}

struct BadCommandLine {
    const char *name;
    QStringList args;
    int status;
    const char *error;
};

// Guards against a wrong command line or an unusable input running anything, and against
// the two kinds of failure (usage 2, run 1) being confused.
TEST_F(ScriptCliTest, BadCommandLinesStopBeforeAnyLineRuns)
{
    const QString db = tmp.filePath(QStringLiteral("seeded.sqlite"));
    ASSERT_EQ(qmx44({QStringLiteral("init-db"), QStringLiteral("--demo"), db}).status, 0);
    const BadCommandLine cases[] = {
        {"date not ISO", {QStringLiteral("--today"), QStringLiteral("15/07/2024")}, 2, "--today takes a date"},
        {"impossible date", {QStringLiteral("--today"), QStringLiteral("2024-02-30")}, 2, "--today takes a date"},
        {"unknown option", {QStringLiteral("--user"), QStringLiteral("X")}, 2, "unknown option --user"},
        {"two files", {QStringLiteral("a"), QStringLiteral("b")}, 2, "unexpected argument b"},
        {"missing file", {tmp.filePath(QStringLiteral("none.scenario"))}, 1, "cannot read"},
        {"demo over data", {QStringLiteral("--db"), db, QStringLiteral("--demo")}, 1, "no se cargan"},
    };
    for (const auto &c : cases) {
        QStringList args{QStringLiteral("script")};
        args += c.args;
        const Result r = qmx44(args, "query SELECT 1 AS \"x\"\n");
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_TRUE(r.out.isEmpty()) << c.name << ": " << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.error))) << c.name << ": " << r.err.toStdString();
    }
}

// Guards against the runner installing the built component into the user's folder (it
// only uses it), and against it not finding any component when none is registered.
TEST_F(ScriptCliTest, UsesTheBuiltComponentWithoutRegisteringIt)
{
    const Result r = qmx44({QStringLiteral("script"), QStringLiteral("--demo"), QStringLiteral("--today"),
                            QStringLiteral("2024-07-15")},
                           "open\nmessages\n");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("{\"messages\":[]}\n"));
    EXPECT_FALSE(QDir(components).exists());
}

} // namespace
