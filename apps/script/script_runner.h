#pragma once
// Runs a scenario script line by line against a ScriptHost: each command as a user or
// the host would do it, every printed object one line of JSON on standard output,
// warnings and the error that stops a run on standard error.
#include "apps/script/driver.h"
#include "apps/script/json_values.h"
#include "apps/script/script_host.h"
#include "apps/script/script_line.h"

#include <cstdio>
#include <istream>
#include <memory>

namespace qmx44::apps::script {

// Exit statuses of a run.
inline constexpr int kRunCompleted = 0; // every line ran
inline constexpr int kRunFailed = 1;    // the database or the component failed the run
inline constexpr int kBadLine = 2;      // a line could not be carried out

class ScriptRunner {
public:
    // The user's steps go to `driver`; without one, to a model driver of the runner's own.
    ScriptRunner(ScriptHost &host, std::FILE *out = stdout, std::FILE *err = stderr);
    ScriptRunner(ScriptHost &host, Driver &driver, std::FILE *out = stdout, std::FILE *err = stderr);
    // The host may outlive the runner (its component closes after): it stops warning here.
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner &) = delete;
    ScriptRunner &operator=(const ScriptRunner &) = delete;

    // Reads and runs lines until the end or the first bad line. Returns the exit status.
    int run(std::istream &in);
    // One line's text (numbered `number`); throws ScriptError or HostError.
    void runLine(const QString &text, int number);
    // One step; throws ScriptError or HostError.
    void runStep(const Step &step);

private:
    void print(const Json &value);
    void warn(const QString &text);

    // ---- the steps the runner carries out itself (script_commands.cpp) --------------
    void exec(const steps::Exec &s);
    void query(const steps::Query &s);
    void user(const steps::User &s);
    void param(const steps::Param &s);
    void right(const steps::Right &s);
    void rate(const steps::Rate &s);
    void period(const steps::Period &s);
    void fail(const steps::Fail &s);
    void dump();
    void messages();
    void preview();
    void clipboard(const steps::Clipboard &s);
    void search(const steps::Search &s);

    ScriptHost &m_host;
    std::unique_ptr<Driver> m_ownDriver;
    Driver &m_driver;
    std::FILE *m_out;
    std::FILE *m_err;
    int m_lineNumber = 0;
};

} // namespace qmx44::apps::script
