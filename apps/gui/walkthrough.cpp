#include "apps/gui/walkthrough.h"

#include "apps/gui/widget_driver.h"
#include "apps/script/script_runner.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <sstream>

namespace qmx44::apps::gui {

bool runWalkthrough(std::shared_ptr<db::Conexion> database, const QString &user, const QString &builtComponent,
                    const QString &folder, const std::function<void(const QString &)> &report)
{
    QFile resource(QStringLiteral(":/qmx44/walkthrough.scenario"));
    if (!resource.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("problem: the walk-through's scenario is missing from the program"));
        return false;
    }
    std::istringstream lines(resource.readAll().toStdString());
    QDir().mkpath(folder);

    script::HostOptions options;
    options.database = std::move(database);
    options.user = user;
    options.builtComponent = builtComponent;
    options.outputFolder = folder;
    // What the run prints goes to a file beside the pictures; its warnings are problems.
    const QString printed = QDir(folder).absoluteFilePath(QStringLiteral("walkthrough.jsonl"));
    std::FILE *out = std::fopen(QFile::encodeName(printed).constData(), "w");
    std::FILE *err = std::tmpfile();
    if (!out || !err) {
        if (out)
            std::fclose(out);
        if (err)
            std::fclose(err);
        report(QStringLiteral("problem: cannot write into %1").arg(folder));
        return false;
    }
    int status = script::kRunFailed;
    QStringList files;
    try {
        script::ScriptHost host(options);
        {
            WidgetDriver driver(host, folder, /*ownSettings=*/false);
            script::ScriptRunner runner(host, driver, out, err);
            status = runner.run(lines);
            files = driver.shots();
        }
        for (const business::PrintedDocument &d : host.context().activityLog->printedDocuments())
            if (!d.file.isEmpty() && !files.contains(d.file))
                files.append(d.file);
    } catch (const script::HostError &e) {
        std::fprintf(err, "%s\n", e.text.toUtf8().constData());
    }
    std::fclose(out);
    files.append(printed);
    for (const QString &file : files)
        report(file);

    bool ok = status == script::kRunCompleted;
    std::rewind(err);
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, err)) {
        const QString line = QString::fromUtf8(buffer).trimmed();
        // The offscreen platform's notes on what it cannot do with windows are not problems.
        if (line.isEmpty() || line.startsWith(QLatin1String("This plugin does not support")))
            continue;
        report(QStringLiteral("problem: %1").arg(line));
        ok = false;
    }
    std::fclose(err);
    return ok;
}

} // namespace qmx44::apps::gui
