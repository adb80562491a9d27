#pragma once
// Progress of long work (taking in a purchase of thousands of lines, loading a large note,
// printing): the work tells a sink what it is doing and how far it got. The GUI shows a
// progress window; headless runs and tests set no sink, and then reporting costs one
// comparison per step.
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <limits>

namespace qmx44 {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // A job starts: `label` says what it does, `total` how many steps it counts.
    virtual void begin(const QString &label, qint64 total) = 0;
    // `done` of the job's `total` steps are done (never less than the last report).
    virtual void advance(qint64 done) = 0;
    // The job is over, done or failed.
    virtual void finish() = 0;
};

// One job's reports to a sink (none when the sink is null): begun on construction,
// finished on destruction, also when the work throws. Steps are reported at most about a
// hundred times whatever the total, so the sink's cost stays apart from the work's size.
class ProgressReport {
public:
    static constexpr qint64 kReports = 100;

    ProgressReport(ProgressSink *sink, const QString &label, qint64 total)
        : m_sink(sink), m_total(std::max<qint64>(total, 0))
    {
        if (!m_sink)
            return;
        m_step = std::max<qint64>(1, m_total / kReports);
        m_next = m_step;
        m_sink->begin(label, m_total);
    }
    ~ProgressReport()
    {
        if (m_sink)
            m_sink->finish();
    }
    ProgressReport(const ProgressReport &) = delete;
    ProgressReport &operator=(const ProgressReport &) = delete;

    // `done` steps are done; reported when it reaches the next report's step.
    void advance(qint64 done)
    {
        if (done >= m_next)
            report(done);
    }
    // Every step is done: the work may count fewer steps than its total foretold (a
    // purchase's lines grouped into fewer rows).
    void complete()
    {
        if (m_sink && m_reported < m_total)
            report(m_total);
    }

private:
    void report(qint64 done)
    {
        if (!m_sink)
            return;
        m_reported = std::min(done, m_total);
        m_next = m_reported >= m_total ? std::numeric_limits<qint64>::max() : m_reported + m_step;
        m_sink->advance(m_reported);
    }

    ProgressSink *m_sink;
    qint64 m_total;
    qint64 m_step = 1;
    qint64 m_reported = 0;
    qint64 m_next = std::numeric_limits<qint64>::max(); // never, without a sink
};

} // namespace qmx44
