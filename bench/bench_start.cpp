// How soon the desktop application answers, each run a new process as a clerk starts it:
// from starting `qmx44 gui` on the demo database to its sign-in painted, against a bare Qt
// program painting a dialog (what the platform costs before any of ours runs); and from
// the menu command to the screen painted in the main window. The program reports through
// its startup probe (apps/gui/startup_probe.h) and ends there.
#include "apps/gui/startup_probe.h"
#include "bench/summary.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

using namespace qmx44;

namespace {

struct Setup {
    QString program;  // this build's qmx44
    QString self;     // this benchmark, for the bare dialog
    QString database; // the demo company, made once
    QProcessEnvironment environment;
};

Setup *setup = nullptr;

// Runs `program` with `arguments` and the probe `what`; the wall time to its end, and what
// it printed on standard error.
std::pair<double, QString> run(const QString &program, const QStringList &arguments, const QString &what)
{
    QProcess process;
    QProcessEnvironment environment = setup->environment;
    environment.insert(QStringLiteral("QMX44_STARTUP_PROBE"), what);
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {-1, QStringLiteral("no answer in 30 s")};
    }
    return {double(clock.nsecsElapsed()) / 1e9, QString::fromUtf8(process.readAllStandardError())};
}

void BM_SignIn(benchmark::State &state)
{
    for (auto _ : state) {
        const auto [seconds, said] =
            run(setup->program, {QStringLiteral("gui"), QStringLiteral("--db"), setup->database},
                QStringLiteral("sign-in"));
        if (seconds < 0 || !said.contains(QLatin1String("qmx44 probe: sign-in painted"))) {
            state.SkipWithError(qPrintable(QStringLiteral("the sign-in was not painted: ") + said));
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_BareDialog(benchmark::State &state)
{
    for (auto _ : state) {
        const auto [seconds, said] = run(setup->self, {QStringLiteral("--bare-dialog")}, QStringLiteral("sign-in"));
        if (seconds < 0 || !said.contains(QLatin1String("painted"))) {
            state.SkipWithError(qPrintable(QStringLiteral("the bare dialog was not painted: ") + said));
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// The time the program measured itself, from the menu command to the painted screen.
void BM_ScreenOpen(benchmark::State &state)
{
    static const QRegularExpression after(QStringLiteral("screen painted after ([0-9.]+) ms"));
    for (auto _ : state) {
        const auto [seconds, said] = run(setup->program,
                                         {QStringLiteral("gui"), QStringLiteral("--db"), setup->database,
                                          QStringLiteral("--user"), QStringLiteral("CXP01")},
                                         QStringLiteral("screen"));
        const auto m = after.match(said);
        if (seconds < 0 || !m.hasMatch()) {
            state.SkipWithError(qPrintable(QStringLiteral("the screen was not painted: ") + said));
            return;
        }
        state.SetIterationTime(m.captured(1).toDouble() / 1000);
    }
}

// What any Qt program of widgets costs before its own work: a dialog with a label,
// painted.
int bareDialog(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Usuario y contraseña"), &dialog));
    apps::gui::reportWhenPainted(&dialog, QStringLiteral("sign-in"));
    dialog.show();
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-dialog") == 0)
        return bareDialog(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    const QDir build(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    Setup s;
    s.program = build.filePath(QStringLiteral("apps/qmx44"));
    s.self = QCoreApplication::applicationFilePath();
    s.database = folder.filePath(QStringLiteral("demo.sqlite"));
    s.environment = QProcessEnvironment::systemEnvironment();
    s.environment.insert(QStringLiteral("QMX44_COMPONENT_PATH"), build.filePath(QStringLiteral("components")));
    s.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        QDir(folder.path()).mkpath(QString::fromLatin1(name));
        s.environment.insert(QString::fromLatin1(name), folder.filePath(QString::fromLatin1(name)));
    }
    QProcess init;
    init.setProcessEnvironment(s.environment);
    init.start(s.program, {QStringLiteral("init-db"), QStringLiteral("--demo"), s.database});
    if (!init.waitForFinished(60000) || init.exitCode() != 0) {
        std::fprintf(stderr, "bench_start: the demo database was not made: %s\n",
                     init.readAllStandardError().constData());
        return 1;
    }
    setup = &s;

    benchmark::RegisterBenchmark("start_to_sign_in", BM_SignIn)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("bare_dialog", BM_BareDialog)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("screen_open", BM_ScreenOpen)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    bench::declare({.operation = "start the desktop application to its painted sign-in",
                    .size = "demo database",
                    .backend = "SQLite",
                    .measured = "start_to_sign_in/manual_time",
                    .baseline = "bare_dialog/manual_time",
                    .baselineLabel = "a bare Qt dialog",
                    .maxValue = 500});
    bench::declare({.operation = "open the screen from the menu, painted",
                    .size = "demo database",
                    .backend = "SQLite",
                    .measured = "screen_open/manual_time",
                    .maxValue = 300});
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
