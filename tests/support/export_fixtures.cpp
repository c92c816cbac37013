#include "support/export_fixtures.h"

namespace halvane::testing {

void SetExportPoint(Session& s, uint32_t index, uint16_t px, uint16_t py, double x, double y,
                    double z, float r, float g, float b, int32_t level, bool used) {
  DomePoint& p = s.dome.points[index];
  p.px = px;
  p.py = py;
  p.x = x;
  p.y = y;
  p.z = z;
  p.lightR = r;
  p.lightG = g;
  p.lightB = b;
  p.level = level;
  p.used = used;
}

std::unique_ptr<Session> MakeExportSession() {
  auto s = MakeSession();
  s->image.width = 360;
  s->image.height = 180;
  s->dome.subdivLevel = 4;
  s->dome.pointIntensity = 0.125;
  s->dome.pointCount = 4;
  s->workflowState = 5;

  SetExportPoint(*s, 1, 90, 45, 0.5, 0.7071067811865476, 0.5, 2.0f, 1.0f, 0.5f, 2, true);
  s->dome.points[1].lum = 1.3f;
  s->dome.points[1].lumSum7 = 7.7f;
  s->dome.points[1].lumSum19 = 38.0f;
  s->dome.points[1].lumSum37 = 111.0f;
  SetExportPoint(*s, 2, 180, 90, 0.0, 0.0, 1.0, 1.0f, 1.0f, 1.0f, 0, true);
  s->dome.points[2].lum = 1.0f;
  SetExportPoint(*s, 3, 270, 135, -1.0, 0.0, 0.0, 1.0f, 0.0f, 0.0f, 1, false);
  s->dome.points[3].lum = 0.3f;
  SetExportPoint(*s, 4, 0, 0, 0.0, 1.0, 0.0, 0.0f, 0.0f, 0.0f, 1, true);
  s->dome.points[4].lum = 0.05f;

  s->results.count = 1;
  auto& decision = s->results.results[1].decision;
  decision[1] = 2;
  decision[2] = 0;
  decision[3] = 1;
  decision[4] = 1;
  return s;
}

}  // namespace halvane::testing
