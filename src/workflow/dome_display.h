#pragma once

#include <string>

#include "base/progress.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// What the dome steps show besides their log lines: progress, the statistics
// labels and the values they propose for later steps' fields.

// Progress of a pass over the points: each text goes to status panel 2 and
// the events run.
Progress PointsProgress(ControlModel& controls, Host& host);

// Ring sums, then the statistics over all points and the five statistics
// labels.
void StatisticsPass(Session& session, ControlModel& controls, Host& host);
// The statistics and labels alone, for passes that change luminances
// repeatedly and take the ring sums once at their end. Neighbour differences
// are measured while CheckThresholds is checked; the progress is appended to
// what status panel 2 shows and taken away again at the end.
void LuminanceStatistics(Session& session, ControlModel& controls, Host& host);

// Texts written into the five-character fields. `FieldTextRounded` writes the
// value with two decimals; `FieldTextTruncated` the truncated whole part and
// the first two decimals, each right-aligned in two places with blanks.
// Values above 99.99 are written as 99.99: the field holds no more.
std::string FieldTextRounded(long double value);
std::string FieldTextTruncated(float value);

// Proposals for the optimization and collapse thresholds from avgColorDiff.
void ProposeOptimizationThresholds(const DomeStatistics& statistics, ControlModel& controls);
// Proposals for the highlight boost's tolerances from maxLum.
void ProposeHighlightTolerances(const DomeStatistics& statistics, ControlModel& controls);

}  // namespace halvane
