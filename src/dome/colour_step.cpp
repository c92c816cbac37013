#include "dome/colour_step.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

#include "base/luminance.h"
#include "base/number_text.h"
#include "dome/sampling.h"
#include "dome/start_points.h"
#include "dome/statistics.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr uint32_t kProgressEvery = 500;

void ColourPoint(Session& s, uint32_t i) {
  const SampledColor c = SamplePoint(s, i);
  float r = c.r, g = c.g, b = c.b;
  float lum = Luminance(r, g, b);
  if (lum > s.sampling.clampLum) {
    const long double clamp = s.sampling.clampLum;
    b = static_cast<float>(b * clamp / lum);
    g = static_cast<float>(g * clamp / lum);
    r = static_cast<float>(r * clamp / lum);
    lum = Luminance(r, g, b);
  }
  DomePoint& p = s.dome.points[i];
  p.r = r;
  p.g = g;
  p.b = b;
  p.lum = lum;
  p.lightR = r;
  p.lightG = g;
  p.lightB = b;
  p.lightLum = lum;
  p.used = true;
}

// Points first..last, shared out over the cores: each point reads the image
// and its neighbours' pixel positions and writes only its own colour fields,
// so the result does not depend on how the points are shared out.
void ColourPoints(Session& s, uint32_t first, uint32_t last) {
  const uint32_t workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  std::vector<std::jthread> threads;
  for (uint32_t w = 1; w < workers; ++w)
    threads.emplace_back([&s, first, last, w, workers] {
      for (uint32_t i = first + w; i <= last; i += workers) ColourPoint(s, i);
    });
  for (uint32_t i = first; i <= last; i += workers) ColourPoint(s, i);
}

void ProposeTolerances(const Session& s, ControlModel& controls) {
  const float t = static_cast<float>(0.3L * s.statistics.maxLum);
  controls.EditLumToleranceNeighbour.text = FieldTextTruncated(t);
  controls.EditLumTolerance.text = FieldTextTruncated(static_cast<float>(t / 3.0L));
}

}  // namespace

std::string PointProgressText(uint32_t i, uint32_t count) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%05u/%u points", i, count);
  return buf;
}

void ButtonApplyColorClick(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState == 0) return;
  if (ReadMaskedField(controls.EditBlack.text) == ReadMaskedField(controls.EditWhite.text)) {
    host.ShowMessage(kBlackWhiteMustDiffer);
    return;
  }
  if (s.dome.pointCount == 0) ButtonCalculateStartpointsClick(s, controls, host);
  s.results.count = 0;
  EmptyResultTable(controls);
  SetBusy(controls, true);
  s.sampling.blackPoint = ReadMaskedField(controls.EditBlack.text);
  s.sampling.whitePoint = ReadMaskedField(controls.EditWhite.text);
  s.sampling.clampLum = ReadMaskedField(controls.EditClampwhite.text);

  SetStatus(controls, 0, "Apply color to points...");
  SetStatus(controls, 1, "");
  SetStatus(controls, 2, "");
  for (uint32_t block = 1; block <= s.dome.pointCount; block += kProgressEvery) {
    if (block > 1) {
      SetStatus(controls, 2, PointProgressText(block - 1, s.dome.pointCount));
      host.ProcessEvents();
    }
    ColourPoints(s, block, std::min<uint32_t>(block + kProgressEvery - 1, s.dome.pointCount));
  }
  StatisticsPass(s, controls, host);
  ProposeOptimizationThresholds(s, controls);
  ProposeTolerances(s, controls);

  s.workflowState = 3;
  SyncDisplayChecks(s, controls);
  SortPoints(s, controls, host);
  RedrawDome(s, controls, host);
  EndStep(controls, host, 3, ":  Color copied from image to points", "Color copy applied.");
}

}  // namespace halvane
