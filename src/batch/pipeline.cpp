#include "batch/pipeline.h"

#include <fstream>
#include <ostream>

#include "batch/batch_host.h"
#include "batch/points_csv.h"
#include "dome/colour_step.h"
#include "dome/highlight.h"
#include "dome/start_points.h"
#include "image/load_step.h"
#include "preview/png_writer.h"
#include "session/workflow.h"

namespace halvane {
namespace {

const Bitmap& ShownPicture(const Session& s, const Form& form) {
  return form.Image1Layer == PreviewLayer::Overlay ? s.PreviewBitmap : s.BackBitmap;
}

// Sets the controls the way a user would before pressing the step buttons.
void SetControls(const BatchOptions& o, Session& s, Form& form, Host& host) {
  if (o.resolution) {
    form.SpinPointIteration.value = *o.resolution;
    SpinPointIterationChange(s, form);
  }
  if (o.black) form.EditBlack.text = *o.black;
  if (o.white) form.EditWhite.text = *o.white;
  if (o.clamp) form.EditClampwhite.text = *o.clamp;
  if (o.lumIterations) form.SpinLumIterations.value = *o.lumIterations;
  if (o.lumValue) {
    form.TrackLumValue.position = *o.lumValue;
    TrackLumValueChange(s, form, host);
  }
  if (o.lumPower) {
    form.TrackLumPower.position = *o.lumPower;
    TrackLumPowerChange(s, form, host);
  }
  if (o.lumColor) {
    form.TrackLumR.position = (*o.lumColor)[0];
    form.TrackLumG.position = (*o.lumColor)[1];
    form.TrackLumB.position = (*o.lumColor)[2];
    TrackLumRChange(s, form, host);
  }
}

int WriteOutputs(const BatchOptions& o, const Session& s, const Form& form, std::ostream& err) {
  if (!o.pointsCsvPath.empty()) {
    std::ofstream csv(o.pointsCsvPath, std::ios::binary | std::ios::trunc);
    if (csv) WritePointsCsv(s, csv);
    if (!csv) {
      err << "cannot write " << o.pointsCsvPath << '\n';
      return kExitOutputFailed;
    }
  }
  if (!o.previewPath.empty()) {
    std::string error;
    if (!WritePng(ShownPicture(s, form), o.previewPath, error)) {
      err << "cannot write " << o.previewPath << ": " << error << '\n';
      return kExitOutputFailed;
    }
  }
  return kExitDone;
}

}  // namespace

int RunPipeline(const BatchOptions& options, std::ostream& /*out*/, std::ostream& err) {
  auto session = MakeSession();
  Session& s = *session;
  Form form;
  BatchHost host(options.image, err);
  FormCreate(s, form, host);
  if (options.verbose) host.EchoLog(&form.ListBox1.items);
  SetControls(options, s, form, host);

  Button_LoadImageClick(s, form, host);
  host.FlushLog();
  if (s.WorkflowState == 0) {
    if (host.messageCount() == 0) err << "cannot read " << options.image << ": no such file\n";
    return kExitUnreadable;
  }

  ButtonCalculateStartpointsClick(s, form, host);
  ButtonApplyColorClick(s, form, host);
  host.FlushLog();
  if (s.WorkflowState < 3) return kExitUsage;  // the colours could not be applied
  if (options.increase) {
    if (options.lumTolerance) form.EditLumTolerance.text = *options.lumTolerance;
    if (options.lumToleranceNeighbour)
      form.EditLumToleranceNeighbour.text = *options.lumToleranceNeighbour;
    ButtonIncreaseMaxWhiteClick(s, form, host);
    host.FlushLog();
  }
  return WriteOutputs(options, s, form, err);
}

}  // namespace halvane
