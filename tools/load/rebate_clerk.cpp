#include "tools/load/rebate_clerk.h"

#include "tools/load/load_data.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qmx44::load {

namespace {

// The refusals the load provokes on purpose, by kind; empty for any other.
QString expectedRefusal(bool cancelling, const QString &error)
{
    const QString lower = error.toLower();
    if (!cancelling && lower.contains(QLatin1String("excede")) && lower.contains(QLatin1String("pendiente")))
        return QStringLiteral("rebate exceeds what is pending (another clerk first)");
    if (!cancelling && lower.contains(QLatin1String("importe cero")))
        return QStringLiteral("rebate with nothing left pending to grant");
    // A note of the run cancelled by a screen's clerk while the cancellation read its notes.
    if (cancelling && lower.contains(QLatin1String("error al cancelar la nota"))
        && lower.contains(QLatin1String("ya está cancelada")))
        return QStringLiteral("rebate cancellation refused: one of its notes cancelled meanwhile");
    if (cancelling && lower.contains(QLatin1String("ya está cancelada")))
        return QStringLiteral("rebate already cancelled");
    return QString();
}

} // namespace

RebateClerk::RebateClerk(int number, const Setup &setup, Tally &tally, QObject *parent)
    : QObject(parent), m_number(number), m_setup(setup), m_tally(tally), m_random(quint32(number * 104729 + 3))
{
    m_process.setProcessEnvironment(m_setup.environment);
    connect(&m_process, &QProcess::finished, this, &RebateClerk::processEnded);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_tally.unexpected(QStringLiteral("rebate clerk did not start"),
                           QStringLiteral("%1: %2").arg(m_setup.program, m_process.errorString()));
        m_done = true;
        emit finished();
    });
}

void RebateClerk::stop()
{
    m_stopping = true;
    if (m_process.state() == QProcess::NotRunning && !m_done) {
        m_done = true;
        emit finished();
    }
}

void RebateClerk::next()
{
    if (m_stopping) {
        stop();
        return;
    }
    QStringList arguments{QStringLiteral("rebate"), QStringLiteral("--db"), m_setup.connection};
    if (!m_setup.connection.startsWith(QLatin1String("postgresql:")))
        arguments << QStringLiteral("--user") << QLatin1String(kClerkUser);
    // One rebate in four is followed by the cancellation of one granted before.
    m_cancelling = !m_granted.isEmpty() && m_random.bounded(4) == 0;
    if (m_cancelling) {
        arguments << QStringLiteral("--cancel") << m_granted.at(int(m_random.bounded(quint32(m_granted.size()))));
    } else {
        ++m_runs;
        arguments << QStringLiteral("--supplier")
                  << m_setup.suppliers.at(int(m_random.bounded(quint32(m_setup.suppliers.size()))))
                  << QStringLiteral("--from") << m_setup.from.toString(Qt::ISODate) << QStringLiteral("--to")
                  << m_setup.to.toString(Qt::ISODate) << QStringLiteral("--cause") << QStringLiteral("BC")
                  << QStringLiteral("--reference") << QStringLiteral("R%1-%2").arg(m_number).arg(m_runs)
                  << QStringLiteral("--amount") << QString::number(10 + m_random.bounded(71));
        if (m_random.bounded(3) == 0)
            arguments << QStringLiteral("--basis") << QStringLiteral("control");
    }
    m_clock.start();
    m_process.start(m_setup.program, arguments);
}

void RebateClerk::processEnded(int exitCode, QProcess::ExitStatus status)
{
    const QByteArray out = m_process.readAllStandardOutput().trimmed();
    const QString errors = QString::fromUtf8(m_process.readAllStandardError()).trimmed();
    m_tally.rebateMilliseconds.push_back(double(m_clock.nsecsElapsed()) / 1e6);
    for (const QString &line : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String("QStandardPaths:")))
            m_tally.unexpected(QStringLiteral("rebate standard error: ") + kindOf(QString(), line),
                               QStringLiteral("rebate clerk %1: %2").arg(m_number).arg(line));
    if (status != QProcess::NormalExit || (exitCode != 0 && exitCode != 1))
        m_tally.unexpected(QStringLiteral("rebate process failed"),
                           QStringLiteral("rebate clerk %1: exit status %2").arg(m_number).arg(exitCode));
    else
        answered(exitCode, out);
    next();
}

void RebateClerk::answered(int exitCode, const QByteArray &out)
{
    QJsonParseError parse{};
    const QJsonObject reply = QJsonDocument::fromJson(out, &parse).object();
    if (parse.error != QJsonParseError::NoError) {
        m_tally.unexpected(QStringLiteral("rebate output that is not JSON"), QString::fromUtf8(out.left(200)));
        return;
    }
    for (const QJsonValue &m : reply.value(QLatin1String("messages")).toArray())
        m_tally.unexpected(QStringLiteral("rebate message ")
                               + kindOf(m.toObject().value(QLatin1String("id")).toString(),
                                        m.toObject().value(QLatin1String("text")).toString()),
                           QStringLiteral("rebate clerk %1: %2")
                               .arg(m_number)
                               .arg(m.toObject().value(QLatin1String("text")).toString()));
    const QString run = reply.value(QLatin1String("run")).toString();
    if (exitCode == 0 && !run.isEmpty()) {
        if (m_cancelling) {
            m_granted.removeAll(run);
            m_tally.count(QStringLiteral("rebate cancelled"));
        } else {
            m_granted << run;
            m_tally.count(QStringLiteral("rebate granted"));
            m_tally.rebateNotes += int(reply.value(QLatin1String("notes")).toArray().size());
        }
        return;
    }
    const QString error = reply.value(QLatin1String("error")).toString();
    const QString kind = expectedRefusal(m_cancelling, error);
    m_tally.count(m_cancelling ? QStringLiteral("rebate cancellation refused") : QStringLiteral("rebate refused"));
    if (kind.isEmpty())
        m_tally.unexpected(QStringLiteral("rebate refused: ") + kindOf(QString(), error),
                           QStringLiteral("rebate clerk %1: %2").arg(m_number).arg(error));
    else
        ++m_tally.expected[kind];
}

} // namespace qmx44::load
