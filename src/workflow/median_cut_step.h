#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// The table column that shows a median cut row's rig error.
constexpr int kRigErrorColumn = 6;

// Step 5 by the second method: median cut of the sampled image into 8, 16,
// 32, 64 and 128 lights. The table shows one row per light count with its
// rig error; the selected row becomes the rig. Applies the colours first
// when they are not.
StepOutcome RunMedianCut(Session& session, ControlModel& controls, Host& host);

// Step 6 for a median cut row: shows the selected row's lights in the
// preview at their pixels.
StepOutcome ChooseMedianCutRow(Session& session, ControlModel& controls, Host& host);

// The selected median cut row's lights, or null when the table shows no such row.
const std::vector<MedianCutLight>* ChosenMedianCutLights(const Session& session,
                                                         const ControlModel& controls);

// Leaves the median cut rows: the seed method's table follows.
void LeaveMedianCut(Session& session, ControlModel& controls);

// The text a finetuning step shows when the table holds median cut rows.
constexpr const char* kNoFinetuningForMedianCut =
    "Finetuning works on dome points; median cut lights have none.";

}  // namespace halvane
