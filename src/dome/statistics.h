#pragma once

#include <string>

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// lumSum7 .. lumSum91 of every point: luminance summed over the point and one
// to five rings of neighbours.
void ComputeRingSums(Session& session);

// Ring sums, then the luminance and colour statistics over all points, and
// the five statistics labels.
void StatisticsPass(Session& session, ControlModel& controls, Host& host);
// The statistics and labels alone, for passes that change luminances
// repeatedly and take the ring sums once at their end.
void LuminanceStatistics(Session& session, ControlModel& controls, Host& host);

// Sorts the points by lumSum61 (ascending, whole records) and rebuilds the
// neighbour lists for the new indices.
void SortPoints(Session& session, ControlModel& controls, Host& host);

// Texts written into the five-character fields. `FieldTextRounded` writes the
// value with two decimals; `FieldTextTruncated` the truncated whole part and
// the first two decimals, each right-aligned in two places with blanks.
// Values above 99.99 are written as 99.99: the field holds no more.
std::string FieldTextRounded(long double value);
std::string FieldTextTruncated(float value);

// Proposals for the optimization and collapse thresholds from AvgColorDiff.
void ProposeOptimizationThresholds(const Session& session, ControlModel& controls);

}  // namespace halvane
