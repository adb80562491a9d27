#include "tools/load/faults.h"

#include <QProcess>

namespace qmx44::load {

ClerkKiller::ClerkKiller(int kills, Picker pick, QObject *parent)
    : QObject(parent), m_target(kills), m_pick(std::move(pick))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ClerkKiller::strike);
}

void ClerkKiller::schedule()
{
    m_timer.start(20 + int(m_random.bounded(281)));
}

void ClerkKiller::strike()
{
    if (m_done >= m_target)
        return;
    if (Clerk *clerk = m_pick(m_random)) {
        const quint32 draw = m_random.bounded(6);
        if (draw >= 3 || clerk->killArmed())
            clerk->kill();
        else
            clerk->killDuringNext(draw < 2 ? Clerk::Operation::Save : Clerk::Operation::Cancel,
                                  int(m_random.bounded(81)));
    }
    if (m_done < m_target)
        schedule();
}

void ClerkKiller::clerkKilled()
{
    if (++m_done == m_target) {
        m_timer.stop();
        emit finished();
    }
}

ServerRestarter::ServerRestarter(QString command, int restarts, QObject *parent)
    : QObject(parent), m_command(std::move(command)), m_target(restarts)
{
}

void ServerRestarter::start()
{
    QTimer::singleShot(1500 + int(m_random.bounded(2001)), this, &ServerRestarter::round);
}

void ServerRestarter::round()
{
    const QString down = m_done % 2 == 0 ? QStringLiteral("kill") : QStringLiteral("stop");
    run(down, [this] {
        QTimer::singleShot(200 + int(m_random.bounded(1301)), this, [this] {
            run(QStringLiteral("start"), [this] {
                if (++m_done < m_target)
                    start();
                else
                    QTimer::singleShot(2000, this, &ServerRestarter::finished);
            });
        });
    });
}

// Runs `m_command action`, then `then` whatever its outcome (a failure is recorded).
void ServerRestarter::run(const QString &action, const std::function<void()> &then)
{
    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    connect(process, &QProcess::finished, this, [this, process, action, then](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            m_failures << QStringLiteral("%1 %2: exit status %3: %4")
                              .arg(m_command, action)
                              .arg(code)
                              .arg(QString::fromLocal8Bit(process->readAll()).trimmed());
        process->deleteLater();
        then();
    });
    connect(process, &QProcess::errorOccurred, this, [this, process, action, then](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_failures << QStringLiteral("%1 %2: %3").arg(m_command, action, process->errorString());
        process->deleteLater();
        then();
    });
    process->start(m_command, {action});
}

} // namespace qmx44::load
