#include "optimize/candidates.h"

#include <cmath>
#include <string>

namespace halvane {
namespace {

// Grows the collapse around one centre, level by level. The luminance window
// [GroupMin, GroupMax] is shared by all levels of the centre.
class CollapseBuilder {
 public:
  CollapseBuilder(Dome& dome, const CandidateSettings& settings)
      : dome_(dome), threshold_(settings.threshold), maxReduction_(settings.maxReduction) {}

  void BuildFrom(uint32_t p) {
    groupMax_ = groupMin_ = dome_.points[p].lum;
    if (!dome_.points[p].contrastEdge) BuildLevel(p, 2);
  }

 private:
  DomePoint& Point(int32_t i) { return dome_.points[static_cast<std::size_t>(i)]; }

  void BuildLevel(uint32_t p, uint8_t level) {
    DomePoint& centre = dome_.points[p];
    centre.memberCount[level] = centre.memberCount[level - 1];
    std::size_t lo = 1, hi = 1;
    if (level > 2) {
      lo = centre.memberCount[level - 2] + 1u;
      hi = centre.memberCount[level - 1];
    }
    for (std::size_t k = lo; k <= hi; ++k)
      if (!ExtendRing(centre, centre.members[k], level)) return;
    centre.maxLevel = level;
    if (maxReduction_ > level) BuildLevel(p, static_cast<uint8_t>(level + 1));
  }

  bool IsMember(const DomePoint& centre, int32_t n, uint8_t level) const {
    for (std::size_t k = 1; k <= centre.memberCount[level]; ++k)
      if (centre.members[k] == n) return true;
    return false;
  }

  void MarkContrast(DomePoint& q) {
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
      const int32_t n = q.nb[slot];
      if (n == 0) continue;
      DomePoint& neighbour = Point(n);
      if (std::fabs(static_cast<long double>(q.lum) - neighbour.lum) > threshold_) {
        q.contrastEdge = true;
        neighbour.contrastEdge = true;
      }
    }
  }

  bool ExtendRing(DomePoint& centre, int32_t q, uint8_t level) {
    DomePoint& member = Point(q);
    MarkContrast(member);
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
      const int32_t n = member.nb[slot];
      if (n == 0 || IsMember(centre, n, level)) continue;
      const float lum = Point(n).lum;
      if (static_cast<long double>(groupMax_) - threshold_ > lum ||
          static_cast<long double>(groupMin_) + threshold_ < lum)
        return false;
      centre.memberCount[level] = static_cast<uint8_t>(centre.memberCount[level] + 1);
      centre.members[centre.memberCount[level]] = n;
      if (lum > groupMax_) groupMax_ = lum;
      if (lum < groupMin_) groupMin_ = lum;
    }
    return true;
  }

  Dome& dome_;
  float threshold_;
  uint8_t maxReduction_;
  float groupMax_ = 0, groupMin_ = 0;
};

}  // namespace

void ResetOptimizationFields(Dome& dome) {
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    DomePoint& p = dome.points[i];
    p.contrastEdge = false;
    p.maxLevel = 1;
    p.level = 1;
    p.members[1] = static_cast<int32_t>(i);
    p.memberCount[1] = 1;
    for (std::size_t k = 2; k <= 7; ++k) p.memberCount[k] = 0;
    p.used = true;
    p.lightR = p.r;
    p.lightG = p.g;
    p.lightB = p.b;
    p.lightLum = p.lum;
  }
}

void ThinCandidates(Dome& dome) {
  for (uint32_t i = 2; i <= dome.pointCount; ++i) {
    DomePoint& p = dome.points[i];
    if (p.maxLevel == 1) continue;
    int withdrawn = 0, sameReach = 0;
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
      const int32_t n = p.nb[slot];
      if (n == 0) continue;
      const DomePoint& q = dome.points[static_cast<std::size_t>(n)];
      withdrawn += !q.used;
      sameReach += q.maxLevel == p.maxLevel;
    }
    if (withdrawn <= 1 && sameReach >= 2) {
      p.used = false;
      p.maxLevel = 0;
    }
  }
}

void BuildCandidates(Dome& dome, const CandidateSettings& settings, const Progress& progress) {
  CollapseBuilder builder(dome, settings);
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    builder.BuildFrom(i);
    if (i % 10 == 0) progress.Report(std::to_string(i) + "/" + std::to_string(dome.pointCount));
  }
  ThinCandidates(dome);
}

}  // namespace halvane
