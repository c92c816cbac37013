#include "image/load_step.h"

#include <filesystem>
#include <new>

#include "image/readers.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr const char* kReadFailure = "Image type not supported or not able to read image";
// Line breaks inside messages are line feed followed by carriage return.
constexpr const char* kBreak = "\n\r";

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::exists(path, ec) && !ec;
}

bool ReadByExtension(const std::string& path, const std::string& extension, Image& image,
                     bool& isFloat) {
  try {
    if (extension == ".TGA")
      return ReadTGA(path, image, kLargestImageSide, kLargestImageSide, isFloat);
    if (extension == ".HDR")
      return ReadHDR(path, image, kLargestImageSide, kLargestImageSide, isFloat);
    if (extension == ".CT")
      return ReadCT(path, image, kLargestImageSide, kLargestImageSide, isFloat);
  } catch (const std::bad_alloc&) {
  }
  return false;
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

std::string ClosingMessage(bool isFloat, float maxSample) {
  std::string m;
  if (!isFloat) m += std::string("Input image is not a floating point image!!") + kBreak + kBreak;
  if (maxSample < 5.0f)
    m += std::string("Input image has very low maximum luminance, you should consider using ") +
         "\"4. Luminance increase\"" + kBreak;
  return m;
}

}  // namespace

std::string UpperCase(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') {
      c = static_cast<char>(u - 32);
    } else if (u == 0xE4 || u == 0xF6 || u == 0xFC) {  // ä ö ü in Latin-1
      c = static_cast<char>(u - 32);
    }
  }
  return text;
}

std::string FileExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : UpperCase(path.substr(dot));
}

void Button_LoadImageClick(Session& s, ControlModel& controls, Host& host) {
  if (auto chosen = host.ChooseOpenFile(kOpenImageFilter)) controls.EditImagename.text = *chosen;
  SetBusy(controls, true);
  s.results.count = 0;
  EmptyResultTable(controls);

  const std::string path = controls.EditImagename.text;
  if (!FileExists(path)) {
    ResetToNoImage(s, controls, host);
    return;
  }
  s.imageFileName = path;
  s.imageMissing = false;

  bool isFloat = false;
  if (!ReadByExtension(path, FileExtension(path), s.image, isFloat)) {
    s.imageMissing = true;
    s.image.height = 500;
    s.image.width = 500;
    host.ShowMessage(kReadFailure);
  }
  s.sampling.blackPoint = 0.0f;
  s.sampling.whitePoint = 1.0f;
  s.sampling.clampLum = 150.0f;
  float maxSample = 0.0f;
  if (s.imageMissing) {
    ResetToNoImage(s, controls, host);
    return;
  }

  controls.Image1.visible = true;
  controls.Image3.visible = false;
  PaintImageLayer(s, controls, &maxSample);
  controls.Image1Layer = PreviewLayer::Background;
  host.PreviewChanged();

  s.workflowState = 1;
  SyncDisplayChecks(s, controls);
  s.dome.pointCount = 0;
  EndStep(controls, host, 1, ":  File loaded (\"" + path + "\").", "File loaded.");
  SetStatus(controls, 2, "\"" + path + "\"");

  const std::string message = ClosingMessage(isFloat, maxSample);
  if (!message.empty()) host.ShowMessage(message);
}

}  // namespace halvane
