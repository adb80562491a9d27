#pragma once
// The printed summary of a stored volume rebate: the company's header, the run's
// parameters, who granted it and when, its state, one line per note with the totals,
// and what could not be placed. VolumeRebate::writeSummaryPdf writes it as a PDF; the
// desktop draws the same page in its print preview.
#include <QString>

namespace qmx44::services {
class Session;
}

namespace qmx44::rebate {

struct RebateRun;

// The summary of `run` as an HTML page (the company's header read through `session`).
QString summaryHtml(services::Session &session, const RebateRun &run);

// What is drawn across the summary's pages: "CANCELADA" for a cancelled run, else empty.
QString summaryWatermark(const RebateRun &run);

} // namespace qmx44::rebate
