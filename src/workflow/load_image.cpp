#include "workflow/load_image.h"

#include <cmath>
#include <filesystem>
#include <new>

#include "image/byte_source.h"
#include "image/image_file_types.h"
#include "image/readers.h"
#include "workflow/image_file_problems.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr const char* kReadFailure = "Image type not supported or not able to read image";

// "not a .ct, .tga or .hdr file"
ReadError UnknownType() {
  const auto types = ImageFileTypes();
  std::string names;
  for (std::size_t i = 0; i < types.size(); ++i) {
    names += i == 0 ? "" : i + 1 == types.size() ? " or " : ", ";
    names += types[i].pattern.substr(1);
  }
  return ReadError{"not a " + names + " file"};
}

void ShowPlaceholder(ControlModel& controls) {
  controls.Image1.visible = false;
  controls.Image3.visible = true;
}

void ResetToNoImage(Session& s, ControlModel& controls, Host& host) {
  controls.EditImagename.text.clear();
  ShowPlaceholder(controls);
  s.workflowState = 0;
  SetBusy(controls, false);
  host.PreviewChanged();
}

StepOutcome FailedLoad(ControlModel& controls, Host& host, const std::string& path,
                       const std::string& reason) {
  const std::string text = "Cannot read \"" + path + "\": " + reason;
  AddLogLine(controls, host, ":  " + text);
  return StepOutcome::Failed(text);
}

std::string ClosingMessage(bool isFloat, float maxSample) {
  std::string m;
  if (!isFloat)
    m += std::string("Input image is not a floating point image!!") + kMessageBreak + kMessageBreak;
  if (maxSample < 5.0f)
    m += std::string("Input image has very low maximum luminance, you should consider using ") +
         "\"4. Luminance increase\"" + kMessageBreak;
  return m;
}

// " at 2048 x 1024, scaled down from 8192 x 4096" for a picture scaled down.
std::string ScaledText(const ReadResult& read) {
  if (!read.scaled) return {};
  return " at " + SizeText(read.scaled->width, read.scaled->height) + ", scaled down from " +
         SizeText(read.scaled->sourceWidth, read.scaled->sourceHeight);
}

void LogRepairs(ControlModel& controls, Host& host, const ValueRepairs& r) {
  std::string text;
  if (r.zeroed > 0)
    text = std::to_string(r.zeroed) + " values that were negative or not a number by 0";
  if (r.clamped > 0)
    text += (text.empty() ? "" : ", and ") + std::to_string(r.clamped) +
            " infinite values by the largest finite value";
  if (!text.empty()) AddLogLine(controls, host, ":  Replaced " + text + ".");
}

// The loaded image in the preview, the session in state 1, the log lines and
// the closing remarks.
void ShowLoadedImage(Session& s, ControlModel& controls, Host& host, const ReadResult& read) {
  const std::string& path = s.imageFileName;
  float maxSample = 0.0f;
  controls.Image1.visible = true;
  controls.Image3.visible = false;
  PaintImageLayer(s, controls, &maxSample);
  controls.Image1Layer = PreviewLayer::Background;
  host.PreviewChanged();

  s.workflowState = 1;
  SyncDisplayChecks(s, controls);
  s.dome.pointCount = 0;
  EndStep(controls, host, 1, ":  File loaded (\"" + path + "\")" + ScaledText(read) + ".",
          "File loaded.");
  LogRepairs(controls, host, read.repairs);
  SetStatus(controls, 2, "\"" + path + "\"");
  if (const std::string shortFile = ShortFileText(s); !shortFile.empty())
    AddLogLine(controls, host, ":  " + shortFile);

  const std::string message = ClosingMessage(read.isFloat, maxSample);
  if (!message.empty()) host.ShowMessage(message);
}

// "The image is 8192 x 4096 pixels; the largest Halvane works on is 4000.
// Load it at 2048 x 1024?"
std::string ScaleQuestion(const ScalePlan& plan) {
  return "The image is " + SizeText(plan.sourceWidth, plan.sourceHeight) +
         " pixels; the largest Halvane works on is " + std::to_string(kLargestImageSide) +
         ". Load it at " + SizeText(plan.width, plan.height) + "?";
}

// The step's limits: a larger picture is loaded scaled down when the user
// agrees; the rows read show in status panel 2 and the gauge (`shown` tells).
ImageLimits LoadLimits(ControlModel& controls, Host& host, bool& shown) {
  ImageLimits limits;
  limits.scaleDown = [&host](const ScalePlan& plan) { return host.AskYesNo(ScaleQuestion(plan)); };
  limits.progress.report = [&controls, &host, &shown](const std::string& text, double fraction) {
    shown = true;
    SetStatus(controls, 2, text);
    controls.GaugeOpt2.SetProgress(static_cast<long long>(std::nearbyint(100.0L * fraction)));
    host.ProcessEvents();
  };
  return limits;
}

// A file over the size limit whose picture will be offered for scaling down.
bool OfferedForScaling(const std::string& path, const ImageFileType& type,
                       const ImageLimits& limits) {
  if (type.pictureSize == nullptr || !limits.scaleDown) return false;
  FileSource header(path);
  const auto size = type.pictureSize(header);
  const auto* s = std::get_if<ImageSize>(&size);
  return s != nullptr && CheckLimits(s->width, s->height, limits).has_value();
}

}  // namespace

ReadOutcome ReadImageFile(const std::string& path, const ImageLimits& limits) {
  const ImageFileType* type = ImageFileTypeOf(path);
  if (type == nullptr) return UnknownType();
  FileSource source(path);
  if (!source.IsOpen()) return ReadError{OpenFailureReason(path)};
  if (type->sizeLimited && source.Size() > kLargestImageFileBytes &&
      !OfferedForScaling(path, *type, limits))
    return ReadError{"file larger than 36,000,000 bytes"};
  try {
    ReadOutcome read = type->read(source, limits);
    if (source.Failed()) return ReadError{"the file could not be read to its end"};
    return read;
  } catch (const std::bad_alloc&) {
    return ReadError{"not enough memory"};
  }
}

StepOutcome LoadImage(Session& s, ControlModel& controls, Host& host) {
  if (auto chosen = host.ChooseOpenFile(ImageOpenFilter())) controls.EditImagename.text = *chosen;
  SetBusy(controls, true);
  s.results.count = 0;
  EmptyResultTable(controls);

  const std::string path = controls.EditImagename.text;
  if (path.empty()) {
    ResetToNoImage(s, controls, host);
    return StepOutcome::NotRun("Choose an image file first.");
  }
  if (const auto missing = MissingFileReason(path)) {
    ResetToNoImage(s, controls, host);
    return FailedLoad(controls, host, path, *missing);
  }
  s.imageFileName = path;
  const std::string statusBefore = controls.StatusBar1.panels[2];
  bool progressShown = false;
  ReadOutcome read = ReadImageFile(path, LoadLimits(controls, host, progressShown));
  if (progressShown) {
    controls.GaugeOpt2.SetProgress(0);
    SetStatus(controls, 2, statusBefore);
  }
  s.sampling.blackPoint = 0.0f;
  s.sampling.whitePoint = 1.0f;
  s.sampling.clampLum = 150.0f;
  if (const auto* error = std::get_if<ReadError>(&read)) {
    s.imageMissing = true;
    s.image = Image{};
    s.image.height = 500;
    s.image.width = 500;
    host.ShowMessage(kReadFailure);
    ResetToNoImage(s, controls, host);
    return FailedLoad(controls, host, path, error->reason);
  }
  ReadResult& loaded = std::get<ReadResult>(read);
  s.image = std::move(loaded.image);
  s.imageRowsRead = loaded.rowsRead;
  s.imageMissing = false;
  ShowLoadedImage(s, controls, host, loaded);
  return StepOutcome::Done();
}

}  // namespace halvane
