#pragma once
// One clerk of the load: a `qmx44 script` process fed over its standard input, one step
// at a time, on the shared purchases. Every step ends with commands that print, and the
// next step is chosen from what they printed: take a purchase in and grant bonuses (by
// cell and by proration), save, show a note, modify one, cancel one, and again.
#include "tools/load/tally.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace qmx44::load {

class Clerk : public QObject {
    Q_OBJECT
public:
    struct Setup {
        QString program;    // the qmx44 executable
        QString connection; // the database, as `--db` takes it
        QStringList purchases;
        int rowsEach = 0; // grid rows of every purchase
        QProcessEnvironment environment;
    };

    Clerk(int number, const Setup &setup, Tally &tally, QObject *parent = nullptr);

    void start();
    // Lets the step under way finish, then closes the process's standard input.
    void stop();
    bool done() const { return m_done; }

signals:
    void finished();

private:
    enum class Step { Open, Pick, Intake, Save, Show, ShowForModify, Modify, ShowForCancel, Cancel, Next };

    void send(Step step, const QStringList &lines, int replies);
    void readOutput();
    void readErrors();
    void processEnded(int exitCode, QProcess::ExitStatus status);
    void answered();
    void intake();
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
    QTimer m_watchdog;
    QRandomGenerator m_random;
    QByteArray m_outBuffer, m_errBuffer;
    std::vector<QJsonObject> m_replies;
    Step m_step = Step::Open;
    int m_expected = 0;
    bool m_modifying = false;
    int m_notes = 0;
    QStringList m_picks; // live notes drawn for show, modify and cancel
    QElapsedTimer m_saveClock;
    bool m_stopping = false;
    bool m_inputClosed = false;
    bool m_done = false;
};

} // namespace qmx44::load
