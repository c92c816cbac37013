#pragma once

#include <string>

#include "workflow/form.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Enables (busy false) or disables (busy true) the step controls.
void SetBusy(Form& form, bool busy);
// Sets the display check boxes to fit the workflow state and copies them into
// the display flags, without redrawing.
void SyncDisplayChecks(Session& session, Form& form);
// Copies every display check box into its flag.
void ReadDisplayChecks(Session& session, const Form& form);
// Appends "time" + text to the log and selects the new line.
void AddLogLine(Form& form, Host& host, const std::string& text);
void SetStatus(Form& form, int panel, const std::string& text);
// Leaves the result table with its header and one empty row: the results it
// showed are gone.
void EmptyResultTable(Form& form);
// Highlights the panel of the step just done and resets the panels after it.
void MarkStepDone(Form& form, int step);

// The usual end of a step: its log line, its result in status panel 0 with
// panels 1 and 2 emptied, its mark, and the busy state left.
void EndStep(Form& form, Host& host, int step, const std::string& logText,
             const std::string& statusText);

// Handlers of the window itself.
void FormCreate(Session& session, Form& form, Host& host);
void SpinPointIterationChange(Session& session, Form& form);
void ButtonAbortClick(Session& session);
// Returns whether the window may close.
bool FormCloseQuery(Session& session);
void FormClose(Session& session);

}  // namespace halvane
