#include "batch/points_csv.h"

#include <charconv>
#include <ostream>

namespace halvane {
namespace {

template <typename T>
void Put(std::ostream& out, T value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  out << ',' << std::string_view(buf, static_cast<std::size_t>(res.ptr - buf));
}

}  // namespace

void WritePointsCsv(const Dome& dome, std::ostream& out) {
  out << "index,px,py,x,y,z,r,g,b,lum,lumSum7,lumSum19,lumSum37,lumSum61,lumSum91,"
         "lightR,lightG,lightB,lightLum,used,nb1,nb2,nb3,nb4,nb5,nb6\n";
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    const DomePoint& p = dome.points[i];
    out << i;
    Put(out, p.px);
    Put(out, p.py);
    for (double v : {p.x, p.y, p.z}) Put(out, v);
    for (float v : {p.r, p.g, p.b, p.lum, p.lumSum7, p.lumSum19, p.lumSum37, p.lumSum61, p.lumSum91,
                    p.lightR, p.lightG, p.lightB, p.lightLum})
      Put(out, v);
    Put(out, p.used ? 1 : 0);
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) Put(out, p.nb[slot]);
    out << '\n';
  }
}

}  // namespace halvane
