#pragma once
// Runs a scenario script line by line against a ScriptHost: each command as a user or
// the host would do it, every printed object one line of JSON on standard output,
// warnings and the error that stops a run on standard error.
#include "apps/script/json_values.h"
#include "apps/script/script_host.h"
#include "apps/script/script_line.h"

#include <cstdio>
#include <istream>

namespace qmx44::apps::script {

// Exit statuses of a run.
inline constexpr int kRunCompleted = 0; // every line ran
inline constexpr int kRunFailed = 1;    // the database or the component failed the run
inline constexpr int kBadLine = 2;      // a line could not be carried out

class ScriptRunner {
public:
    ScriptRunner(ScriptHost &host, std::FILE *out = stdout, std::FILE *err = stderr);
    // The host may outlive the runner (its component closes after): it stops warning here.
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner &) = delete;
    ScriptRunner &operator=(const ScriptRunner &) = delete;

    // Reads and runs lines until the end or the first bad line. Returns the exit status.
    int run(std::istream &in);
    // One line's text (numbered `number`); throws ScriptError or HostError.
    void runLine(const QString &text, int number);

private:
    void execute(const ScriptLine &line);
    void print(const Json &value);
    void warn(const QString &text);

    // ---- commands (script_commands.cpp) --------------------------------------------
    void cmdExec(const ScriptLine &line);
    void cmdQuery(const ScriptLine &line);
    void cmdUser(const ScriptLine &line);
    void cmdParam(const ScriptLine &line);
    void cmdRight(const ScriptLine &line);
    void cmdRate(const ScriptLine &line);
    void cmdPeriod(const ScriptLine &line);
    void cmdFail(const ScriptLine &line);
    void cmdConfirm(const ScriptLine &line);
    void cmdOpen(const ScriptLine &line);
    void cmdActivate(const ScriptLine &line);
    void cmdType(const ScriptLine &line);
    void cmdEnter(const ScriptLine &line);
    void cmdClick(const ScriptLine &line);
    void cmdCell(const ScriptLine &line);
    void cmdKey(const ScriptLine &line);
    void cmdPage(const ScriptLine &line);
    void cmdResize(const ScriptLine &line);
    void cmdProrate(const ScriptLine &line);
    void cmdDump(const ScriptLine &line);
    void cmdMessages(const ScriptLine &line);

    // The form, when it takes user input; ScriptError otherwise.
    controls::Form &openForm();

    ScriptHost &m_host;
    std::FILE *m_out;
    std::FILE *m_err;
    int m_lineNumber = 0;
};

} // namespace qmx44::apps::script
