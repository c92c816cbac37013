#pragma once

#include <string>

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Enables (busy false) or disables (busy true) the step controls.
void SetBusy(ControlModel& controls, bool busy);
// Sets the display check boxes to fit the workflow state and copies them into
// the display flags, without redrawing.
void SyncDisplayChecks(Session& session, ControlModel& controls);
// Copies every display check box into its flag.
void ReadDisplayChecks(Session& session, const ControlModel& controls);
// Appends "time" + text to the log and selects the new line.
void AddLogLine(ControlModel& controls, Host& host, const std::string& text);
void SetStatus(ControlModel& controls, int panel, const std::string& text);
// Leaves the result table with its header and one empty row: the results it
// showed are gone.
void EmptyResultTable(ControlModel& controls);
// Highlights the panel of the step just done and resets the panels after it.
void MarkStepDone(ControlModel& controls, int step);

// The usual end of a step: its log line, its result in status panel 0 with
// panels 1 and 2 emptied, its mark, and the busy state left.
void EndStep(ControlModel& controls, Host& host, int step, const std::string& logText,
             const std::string& statusText);

// The start values of the session and of the controls.
void StartSession(Session& session, ControlModel& controls, Host& host);
// A new analysis resolution proposes the optimization settings that suit it.
void ProposeSearchSettings(Session& session, ControlModel& controls);
// Asks a running optimization to stop at its next check.
void RequestAbort(Session& session);
// A close request stops a running optimization; returns whether the window
// may close.
bool RequestClose(Session& session);
// Frees the preview pictures when the window closes.
void ReleasePreview(Session& session);

}  // namespace halvane
