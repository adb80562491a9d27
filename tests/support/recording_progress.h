#pragma once
// A progress sink that keeps every report, and what every long job's reports must show.
#include "platform/core/progress.h"

#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace qmx44::test {

struct RecordingProgressSink : ProgressSink {
    void begin(const QString &label, qint64 total) override
    {
        jobs.emplace_back(label, total);
        ++open;
    }
    void advance(qint64 done) override { reports.push_back(done); }
    void finish() override { --open; }

    // One job `label` of `total` steps, finished, its reports rising to the total, at
    // most about a hundred of them whatever the total.
    void expectOneJob(const QString &label, qint64 total) const
    {
        EXPECT_EQ((std::vector<std::pair<QString, qint64>>{{label, total}}), jobs);
        EXPECT_EQ(0, open);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(total, reports.back());
        EXPECT_LE(reports.size(), std::size_t(ProgressReport::kReports + 1));
        EXPECT_EQ(reports.end(), std::adjacent_find(reports.begin(), reports.end(), std::greater_equal<>()));
    }

    std::vector<std::pair<QString, qint64>> jobs;
    std::vector<qint64> reports;
    int open = 0;
};

} // namespace qmx44::test
