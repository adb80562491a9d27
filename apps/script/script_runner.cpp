#include "apps/script/script_runner.h"

#include "apps/script/model_driver.h"
#include "platform/core/error.h"

#include <string>

namespace qmx44::apps::script {

namespace {

// One line on standard error per message: a database's message may span several lines
// (PostgreSQL adds the statement and a caret), which are joined with blanks.
std::string oneLine(const QString &text)
{
    QStringList parts;
    for (const QString &line : text.split(u'\n')) {
        const QString t = line.simplified();
        if (!t.isEmpty())
            parts << t;
    }
    return parts.join(u' ').toStdString();
}

} // namespace

ScriptRunner::ScriptRunner(ScriptHost &host, std::FILE *out, std::FILE *err)
    : m_host(host), m_ownDriver(std::make_unique<ModelDriver>(host)), m_driver(*m_ownDriver), m_out(out), m_err(err)
{
    m_host.setWarn([this](const QString &text) { warn(text); });
}

ScriptRunner::ScriptRunner(ScriptHost &host, Driver &driver, std::FILE *out, std::FILE *err)
    : m_host(host), m_driver(driver), m_out(out), m_err(err)
{
    m_host.setWarn([this](const QString &text) { warn(text); });
}

ScriptRunner::~ScriptRunner()
{
    m_host.setWarn({});
}

int ScriptRunner::run(std::istream &in)
{
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        try {
            runLine(QString::fromStdString(raw), number);
        } catch (const ScriptError &e) {
            std::fprintf(m_err, "qmx44 script: line %d: %s\n", number, oneLine(e.text).c_str());
            return kBadLine;
        } catch (const HostError &e) {
            std::fprintf(m_err, "qmx44 script: line %d: %s\n", number, oneLine(e.text).c_str());
            return kRunFailed;
        }
    }
    return kRunCompleted;
}

void ScriptRunner::runLine(const QString &text, int number)
{
    m_lineNumber = number;
    const auto line = parseLine(text, number);
    if (!line)
        return;
    // Lines that rewrite the site's settings or act past the screen belong to a database
    // made for the run; on a site's, the signed-in user's own settings and rights stand.
    static const char *const siteSettings[] = {"exec", "user", "param", "right", "rate", "period"};
    if (m_host.signedIn())
        for (const char *name : siteSettings)
            if (line->command == QLatin1String(name))
                throw ScriptError{QStringLiteral("'%1' is refused on a database someone signed in to: it would rewrite "
                                                 "the site's settings (only a new demo or in-memory database takes it)")
                                      .arg(line->command)};
    runStep(typedStep(*line));
}

void ScriptRunner::runStep(const Step &step)
{
    m_lineNumber = step.line;
    try {
        std::visit(
            [&](const auto &s) {
                using T = std::decay_t<decltype(s)>;
                if constexpr (std::is_same_v<T, steps::Exec>)
                    exec(s);
                else if constexpr (std::is_same_v<T, steps::Query>)
                    query(s);
                else if constexpr (std::is_same_v<T, steps::User>)
                    user(s);
                else if constexpr (std::is_same_v<T, steps::Param>)
                    param(s);
                else if constexpr (std::is_same_v<T, steps::Right>)
                    right(s);
                else if constexpr (std::is_same_v<T, steps::Rate>)
                    rate(s);
                else if constexpr (std::is_same_v<T, steps::Period>)
                    period(s);
                else if constexpr (std::is_same_v<T, steps::Fail>)
                    fail(s);
                else if constexpr (std::is_same_v<T, steps::Dump>)
                    dump();
                else if constexpr (std::is_same_v<T, steps::Messages>)
                    messages();
                else if constexpr (std::is_same_v<T, steps::Preview>)
                    preview();
                else if constexpr (std::is_same_v<T, steps::Clipboard>)
                    clipboard(s);
                else if constexpr (std::is_same_v<T, steps::Search>)
                    search(s);
                else
                    m_driver.drive(step);
            },
            step.action);
    } catch (const ScriptError &) {
        throw;
    } catch (const HostError &) {
        throw;
    } catch (const std::exception &e) {
        // The screen let a failure out of one of its calls. A host never ends on that:
        // it is told, and the run goes on.
        warn(QStringLiteral("%1: the screen failed: %2").arg(step.verb, describe(e)));
    }
    m_host.afterCommand();
}

void ScriptRunner::print(const Json &value)
{
    const std::string text = jsonLine(value) + '\n';
    std::fwrite(text.data(), 1, text.size(), m_out);
    std::fflush(m_out);
}

void ScriptRunner::warn(const QString &text)
{
    std::fprintf(m_err, "qmx44 script: line %d: warning: %s\n", m_lineNumber, oneLine(text).c_str());
    std::fflush(m_err);
}

} // namespace qmx44::apps::script
