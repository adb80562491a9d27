#pragma once
// A progress sink that keeps every report, and the check every long job's reports pass.
#include "platform/core/progress.h"

#include <gtest/gtest.h>

#include <QString>
#include <vector>

namespace qmx44::test {

class RecordingProgressSink : public ProgressSink {
public:
    void begin(const QString &label, qint64 total) override
    {
        labels.push_back(label);
        totals.push_back(total);
        ++open;
    }
    void advance(qint64 done) override { reports.push_back(done); }
    void finish() override
    {
        --open;
        ++finished;
    }

    // One job `label` of `total` steps: reports rising to the total, at most about a
    // hundred of them, and the job finished.
    ::testing::AssertionResult oneJob(const QString &label, qint64 total) const
    {
        if (labels != std::vector<QString>{label} || totals != std::vector<qint64>{total})
            return ::testing::AssertionFailure()
                << labels.size() << " jobs, first " << (labels.empty() ? "" : labels[0].toStdString()) << " of "
                << (totals.empty() ? -1 : totals[0]) << " steps";
        if (reports.empty() || reports.back() != total || reports.size() > std::size_t(ProgressReport::kReports + 1))
            return ::testing::AssertionFailure()
                << reports.size() << " reports, last " << (reports.empty() ? -1 : reports.back());
        for (std::size_t i = 1; i < reports.size(); ++i)
            if (reports[i] <= reports[i - 1])
                return ::testing::AssertionFailure() << "report " << i << " goes back";
        if (open != 0 || finished != 1)
            return ::testing::AssertionFailure() << "finished " << finished << " times, " << open << " open";
        return ::testing::AssertionSuccess();
    }
    void clear() { *this = RecordingProgressSink(); }

    std::vector<QString> labels;
    std::vector<qint64> totals;
    std::vector<qint64> reports;
    int open = 0;
    int finished = 0;
};

} // namespace qmx44::test
