#pragma once
// One clerk of the load: a `qmx44 script` process fed over its standard input, one step
// at a time, on the shared purchases. Every step ends with commands that print, and the
// next step is chosen from what they printed: take a purchase in and grant bonuses (by
// cell and by proration), save, show a note, modify one, cancel one, and again.
#include "apps/script/script_step.h"
#include "tools/load/tally.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <vector>

namespace qmx44::load {

namespace script = apps::script;

class Clerk : public QObject {
    Q_OBJECT
public:
    struct Setup {
        QString program;    // the qmx44 executable
        QString connection; // the database, as `--db` takes it
        QStringList purchases;
        int rowsEach = 0; // grid rows of every purchase
        QProcessEnvironment environment;
        // The server is restarted under the clerks: a lost connection is expected, and a
        // process that ended on one (its own query, or its start while the server was
        // down) is replaced.
        bool serverRestarts = false;
        int stepTimeoutMs = 120000; // an answer later than this means the clerk waits for ever
    };

    Clerk(int number, const Setup &setup, Tally &tally, QObject *parent = nullptr);

    void start();
    // Lets the step under way finish, then closes the process's standard input.
    void stop();
    bool done() const { return m_done; }
    // SIGKILL now, counted by the step in flight; nothing of it is an error.
    void kill();
    // Killed `delayMs` after writing its next save (`click Aceptar`) or cancellation
    // (`click Eliminar`).
    enum class Operation { Save, Cancel };
    void killDuringNext(Operation operation, int delayMs)
    {
        m_killDuring = operation;
        m_killDelayMs = delayMs;
    }
    bool killArmed() const { return m_killDelayMs >= 0; }
    // Past its start: opening the screen.
    bool working() const { return m_step != Step::Open; }
    // The process was killed, or ended on a lost connection the run provokes: another
    // clerk takes its place.
    bool replaceable() const { return m_killed || m_endedOnLostConnection; }

signals:
    void finished();
    void killed();

private:
    enum class Step { Open, Pick, Intake, Grant, Save, Show, ShowForModify, Edit, Modify, ShowForCancel, Cancel, Next };

    // Writes the steps as script lines, then waits for `replies` printed objects.
    void send(Step step, const std::vector<script::StepAction> &lines, int replies);
    void write(const std::vector<script::StepAction> &steps);
    void readOutput();
    void readErrors();
    void processEnded(int exitCode, QProcess::ExitStatus status);
    void answered();
    void intake();
    void grant();
    QString stepName() const; // for the figures
    void leaveEdition(const QJsonObject &dump);
    void showFolio(Step step, int pick);
    void closeInput();
    void end();
    // Counts the messages of one printed object; true when there was any.
    bool classifyMessages(const QJsonObject &printed);
    int randomBetween(int low, int high) { return low + int(m_random.bounded(high - low + 1)); }

    int m_number;
    Setup m_setup;
    Tally &m_tally;
    QProcess m_process;
    // The clerk's own data folder: its drafts are its own, and a replaced clerk starts afresh.
    QTemporaryDir m_dataHome;
    QTimer m_watchdog;
    QRandomGenerator m_random;
    QByteArray m_outBuffer, m_errBuffer;
    std::vector<QJsonObject> m_replies;
    Step m_step = Step::Open;
    int m_expected = 0;
    bool m_modifying = false;
    int m_notes = 0;
    QStringList m_picks;     // live notes drawn for show, modify and cancel
    QString m_shownMessages; // what showing the note to modify said
    QElapsedTimer m_saveClock;
    bool m_stopping = false;
    bool m_inputClosed = false;
    bool m_done = false;
    bool m_killed = false;
    bool m_endedOnLostConnection = false;
    Operation m_killDuring = Operation::Save;
    int m_killDelayMs = -1;
};

} // namespace qmx44::load
