#pragma once
// A clerk of the load who grants volume rebates: one `qmx44 rebate` process after another
// over the shared purchases of a supplier picked at random, a small amount each time, and
// now and then cancels one of the rebates it granted. A refusal because another clerk
// took what was pending first is expected; anything else is an unexplained error.
#include "tools/load/tally.h"

#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>

namespace qmx44::load {

class RebateClerk : public QObject {
    Q_OBJECT
public:
    struct Setup {
        QString program;    // the qmx44 executable
        QString connection; // the database, as `--db` takes it
        QStringList suppliers;
        QDate from, to; // the period that holds the shared purchases
        QProcessEnvironment environment;
    };

    RebateClerk(int number, const Setup &setup, Tally &tally, QObject *parent = nullptr);

    void start() { next(); }
    // Lets the process under way finish, then ends.
    void stop();
    bool done() const { return m_done; }

signals:
    void finished();

private:
    void next();
    void processEnded(int exitCode, QProcess::ExitStatus status);
    void answered(int exitCode, const QByteArray &out);

    int m_number;
    Setup m_setup;
    Tally &m_tally;
    QProcess m_process;
    QRandomGenerator m_random;
    QElapsedTimer m_clock;
    QStringList m_granted; // its runs not cancelled yet
    bool m_cancelling = false;
    int m_runs = 0;
    bool m_stopping = false;
    bool m_done = false;
};

} // namespace qmx44::load
