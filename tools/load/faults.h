#pragma once
// Faults provoked while the clerks work: clerks' processes killed at random moments,
// and the database server crashed or stopped, then started again.
#include "tools/load/clerk.h"

#include <QObject>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace qmx44::load {

// Strikes every 20 to 300 ms (uniform) at a clerk picked at random: half the strikes
// kill it at once; a third kill it shortly (0 to 80 ms) after it writes its next save,
// a sixth after its next cancellation, so that many kills land inside those. Each clerk's killed() is to be connected
// to clerkKilled(); finished() comes with the last of `kills`.
class ClerkKiller : public QObject {
    Q_OBJECT
public:
    // A running clerk at random, nullptr when there is none.
    using Picker = std::function<Clerk *(QRandomGenerator &)>;

    ClerkKiller(int kills, Picker pick, QObject *parent = nullptr);
    void start() { schedule(); }
    void clerkKilled();
    int kills() const { return m_done; }

signals:
    void finished();

private:
    void schedule();
    void strike();

    int m_target;
    int m_done = 0;
    Picker m_pick;
    QRandomGenerator m_random{20261206};
    QTimer m_timer;
};

// Every 1.5 to 3.5 s: the server crashed (`COMMAND kill`, odd rounds) or stopped fast
// (`COMMAND stop`, even rounds), down for 0.2 to 1.5 s, then `COMMAND start`; `restarts`
// times, and finished() 2 s after the last start, so that every clerk works on the
// server again before the run ends.
class ServerRestarter : public QObject {
    Q_OBJECT
public:
    ServerRestarter(QString command, int restarts, QObject *parent = nullptr);
    void start();
    int restarts() const { return m_done; }
    const QStringList &failures() const { return m_failures; } // a command that failed

signals:
    void finished();

private:
    void run(const QString &action, const std::function<void()> &then);
    void round();

    QString m_command;
    int m_target;
    int m_done = 0;
    QStringList m_failures;
    QRandomGenerator m_random{20261207};
};

} // namespace qmx44::load
