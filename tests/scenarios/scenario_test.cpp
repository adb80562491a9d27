// Runs every checked-in scenario script through the built `qmx44 script`, on each
// available back-end, and compares what it printed, what it said on standard error and
// its exit status with the script's expected file; then runs it again through the
// widget driver (`--widgets`) and compares the two runs.
//
// A script names the runner's options in a comment line "# args: --demo --today ...".
// On SQLite the runner makes its own in-memory database; on PostgreSQL it is pointed at
// a fresh empty database of the test server with --db.
//
// QMX44_UPDATE_EXPECTED=1 writes what the runner printed into the expected files instead
// of comparing (a PostgreSQL run writes NAME.postgres.expected.json only where its output
// differs from NAME.expected.json). Read every rewritten file before keeping it.
#include "tests/support/test_db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <ostream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {

struct Scenario {
    std::string backend;
    QString name; // path below the scenario folder, without .scenario
};

void PrintTo(const Scenario &s, std::ostream *os)
{
    *os << s.backend << ":" << s.name.toStdString();
}

QString scenarioDir()
{
    return QStringLiteral(QMX44_SCENARIO_DIR);
}

std::vector<Scenario> allScenarios()
{
    // Every script of the source folder, sub-folders included, as the build listed them.
    static const char *const kScripts[] = {
#include "scenario_list.inc"
        nullptr};
    QStringList names;
    for (const char *const *p = kScripts; *p; ++p)
        names << QString::fromUtf8(*p).chopped(int(QStringLiteral(".scenario").size()));
    names << QStringLiteral("walkthrough"); // the desktop application's, built into it
    std::vector<Scenario> out;
    for (const std::string &backend : qmx44::test::backends()) {
        for (const QString &n : names)
            out.push_back({backend, n});
    }
    return out;
}

std::string scenarioLabel(const testing::TestParamInfo<Scenario> &info)
{
    std::string name = qmx44::test::backendLabel(info.param.backend) + "_" + info.param.name.toStdString();
    for (char &c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

// A scenario's script: the walk-through's lives with the desktop application.
QString scriptPathOf(const Scenario &s)
{
    if (s.name == u"walkthrough")
        return QStringLiteral(QMX44_WALKTHROUGH_SCENARIO);
    return QDir(scenarioDir()).filePath(s.name + QStringLiteral(".scenario"));
}

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

void writeText(const QString &path, const QString &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(text.toUtf8());
}

// The options named by "# args:" lines of the script.
QStringList scriptOptions(const QString &script)
{
    QStringList options;
    for (const QString &line : script.split(u'\n')) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("# args:")))
            options += t.mid(7).split(u' ', Qt::SkipEmptyParts);
    }
    return options;
}

struct RunResult {
    int exit = -1;
    QString out;
    QString err;
};

RunResult runQmx44(const QStringList &args)
{
    QTemporaryDir home;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The component just built, never one a developer registered by hand.
    env.insert(QStringLiteral("QMX44_COMPONENT_PATH"), QStringLiteral(QMX44_COMPONENT_DIR));
    env.insert(QStringLiteral("HOME"), home.path());
    // Drafts of notes left unsaved stay with this run.
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    // Qt's graphical part (which draws printed documents) warns on standard error without
    // a runtime folder of the user's own; the private home serves (it is mode 0700).
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QMX44_EXECUTABLE), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "qmx44 " << args.join(u' ').toStdString() << " did not finish";
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The script run by `qmx44 script` with its options: on SQLite in the runner's own
// database, on a server in a fresh empty one.
RunResult runScenario(const Scenario &s, const QString &scriptPath, const QString &script, bool widgets)
{
    QStringList args{QStringLiteral("script")};
    args += scriptOptions(script);
    std::unique_ptr<qmx44::test::FreshDatabase> fresh;
    if (s.backend != "sqlite") {
        fresh = std::make_unique<qmx44::test::FreshDatabase>(s.backend, /*demo=*/false);
        args << QStringLiteral("--db") << fresh->connectionString();
    }
    if (widgets)
        args << QStringLiteral("--widgets");
    args << scriptPath;
    return runQmx44(args);
}

// What a run printed, as one JSON document: exit status, every output line parsed
// (a line that is not JSON is kept as text, and fails the comparison), stderr lines.
Json resultJson(const RunResult &run)
{
    Json stdoutLines = Json::array();
    for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        try {
            stdoutLines.push_back(Json::parse(line.toStdString()));
        } catch (const Json::parse_error &) {
            stdoutLines.push_back("NOT JSON: " + line.toStdString());
        }
    }
    Json stderrLines = Json::array();
    for (const QString &line : run.err.split(u'\n', Qt::SkipEmptyParts))
        stderrLines.push_back(line.toStdString());
    Json out;
    out["exit"] = run.exit;
    out["stdout"] = std::move(stdoutLines);
    out["stderr"] = std::move(stderrLines);
    return out;
}

// The expected files' layout: nested objects and arrays are opened up to the level of
// one field, one grid row or one message a line; anything short or deeper stays on one
// line. Readable by eye, and one changed value is one changed line.
void layout(const Json &j, int depth, std::string &out)
{
    const std::string compact = j.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (!j.is_structured() || j.empty() || depth >= 5 || compact.size() <= 200) {
        out += compact;
        return;
    }
    const std::string pad(std::size_t(2 * (depth + 1)), ' ');
    out += j.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (auto it = j.begin(); it != j.end(); ++it) {
        if (!first)
            out += ",\n";
        first = false;
        out += pad;
        if (j.is_object())
            out += Json(it.key()).dump() + ": ";
        layout(*it, depth + 1, out);
    }
    out += "\n" + std::string(std::size_t(2 * depth), ' ') + (j.is_object() ? "}" : "]");
}

std::string pretty(const Json &j)
{
    std::string out;
    layout(j, 0, out);
    return out + "\n";
}

class ScenarioTest : public testing::TestWithParam<Scenario> {};

// Each scenario guards the behaviour its script's comments describe; together they keep
// the runner's language, its output and the screen's behaviour from drifting.
TEST_P(ScenarioTest, MatchesExpectedOutput)
{
    const Scenario &s = GetParam();
    const QString scriptPath = scriptPathOf(s);
    const QString script = readText(scriptPath);
    ASSERT_FALSE(script.isEmpty()) << scriptPath.toStdString();

    const RunResult run = runScenario(s, scriptPath, script, /*widgets=*/false);
    const std::string actual = pretty(resultJson(run));

    const QString common = QDir(scenarioDir()).filePath(s.name + QStringLiteral(".expected.json"));
    const QString own =
        QDir(scenarioDir())
            .filePath(s.name + QStringLiteral(".%1.expected.json").arg(QString::fromStdString(s.backend)));

    if (qEnvironmentVariableIntValue("QMX44_UPDATE_EXPECTED") == 1) {
        if (s.backend == "sqlite") {
            writeText(common, QString::fromStdString(actual));
        } else if (readText(common).toStdString() != actual) {
            writeText(own, QString::fromStdString(actual));
        } else {
            QFile::remove(own);
        }
        return;
    }

    const QString expectedPath = QFileInfo::exists(own) ? own : common;
    const QString expectedText = readText(expectedPath);
    ASSERT_FALSE(expectedText.isEmpty()) << expectedPath.toStdString()
                                         << " is missing; run with QMX44_UPDATE_EXPECTED=1 and review it";
    if (expectedText.toStdString() == actual)
        return;
    // Show where they part: a JSON patch from the expected to the actual output.
    std::string patch;
    try {
        patch = Json::diff(Json::parse(expectedText.toStdString()), Json::parse(actual)).dump(2);
    } catch (const std::exception &e) {
        patch = std::string("(no diff: ") + e.what() + ")";
    }
    ADD_FAILURE() << "output of " << scriptPath.toStdString() << " differs from " << expectedPath.toStdString()
                  << "\nchanges from expected to actual:\n"
                  << patch << "\nstderr:\n"
                  << run.err.toStdString();
}

// A control's place and size in twips: a window lays the form out in whole pixels, so
// the widget driver's may differ from the model driver's by less than a pixel.
bool sameGeometry(const Json &model, const Json &widgets)
{
    return model.is_number() && widgets.is_number() && std::abs(model.get<double>() - widgets.get<double>()) <= 15;
}

// `widgets` with every control geometry that is within a pixel of `model`'s replaced by
// the model's value.
Json withinAPixel(const Json &model, Json widgets)
{
    for (const char *part : {"controls"}) {
        if (!model.contains(part) || !widgets.contains(part))
            continue;
        for (auto &[name, control] : widgets[part].items()) {
            if (!model[part].contains(name))
                continue;
            for (const char *key : {"left", "top", "width", "height"})
                if (control.contains(key) && model[part][name].contains(key)
                    && sameGeometry(model[part][name][key], control[key]))
                    control[key] = model[part][name][key];
        }
    }
    return widgets;
}

// The lines of a script that print (dump, messages, query), by line number.
std::vector<int> printingLines(const QString &script)
{
    std::vector<int> lines;
    int number = 0;
    for (const QString &line : script.split(u'\n')) {
        ++number;
        const QString word = line.trimmed().section(u' ', 0, 0);
        if (word == u"dump" || word == u"messages" || word == u"query")
            lines.push_back(number);
    }
    return lines;
}

// Guards against the windows and the models parting: the same script worked through the
// real widgets (keys, clicks, message boxes and dialogs answered through their windows)
// must leave the same state, messages, prints and database rows as through the models.
// A script whose comment says "# drivers: model" is about the runner's own language.
TEST_P(ScenarioTest, WidgetsAgreeWithModels)
{
    const Scenario &s = GetParam();
    const QString scriptPath = scriptPathOf(s);
    const QString script = readText(scriptPath);
    if (script.contains(QLatin1String("\n# drivers: model")))
        GTEST_SKIP() << "the runner's own language: model driver only";

    const RunResult runs[2] = {runScenario(s, scriptPath, script, false), runScenario(s, scriptPath, script, true)};
    Json model = resultJson(runs[0]), widgets = resultJson(runs[1]);
    // The offscreen platform's notes on what it cannot do with windows are not the run's.
    Json stderrLines = Json::array();
    for (const Json &line : widgets["stderr"])
        if (line.get<std::string>().rfind("This plugin does not support", 0) != 0)
            stderrLines.push_back(line);
    widgets["stderr"] = stderrLines;
    const Json &modelOut = model["stdout"];
    Json &widgetsOut = widgets["stdout"];
    for (std::size_t i = 0; i < widgetsOut.size() && i < modelOut.size(); ++i)
        widgetsOut[i] = withinAPixel(modelOut[i], widgetsOut[i]);
    if (model == widgets)
        return;
    const std::vector<int> lines = printingLines(script);
    std::size_t first = 0;
    while (first < modelOut.size() && first < widgetsOut.size() && modelOut[first] == widgetsOut[first])
        ++first;
    std::ostringstream where;
    if (first < lines.size() && (first < modelOut.size() || first < widgetsOut.size()))
        where << "first disagreement in what line " << lines[first] << " printed";
    else
        where << "the printed objects agree; the exit status or standard error differ";
    ADD_FAILURE() << scriptPath.toStdString() << ": the widget driver and the model driver disagree, " << where.str()
                  << "\nchanges from the model driver's to the widget driver's:\n"
                  << Json::diff(model, widgets).dump(2) << "\nwidget driver's stderr:\n"
                  << runs[1].err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScenarioTest, testing::ValuesIn(allScenarios()), scenarioLabel);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ScenarioTest);

} // namespace
