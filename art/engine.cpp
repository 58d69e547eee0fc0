// The engine instruments' dials and needles.
#include <string>

#include "art/catalogue.h"
#include "art/dial.h"
#include "gauges/engine/rpm.h"

namespace art {
namespace {

void rpm_dial(cairo_t* cr) {
  namespace r = vk4::rpm;
  const Scale scale(r::pivot_at, r::rows);
  round_dial(cr, scale.cx(), scale.cy(), 72, 81);
  for (int v = 0; v <= 20; ++v) {
    const bool labelled = v % 2 == 0;
    scale.mark(cr, v, labelled ? 60 : 64, 70, labelled ? 2.4 : 1.4, white);
    if (labelled && v >= 4) scale.label(cr, v, 50, std::to_string(v), 10, white);
  }
  text_at(cr, "RPM", scale.cx(), 55, 9, white);
  text_at(cr, "X100", scale.cx(), 65, 7, white);
  // The painted sub-dial: twelve dots and a hand at about 2 o'clock.
  const double sx = scale.cx(), sy = 114, sr = 11;
  ring(cr, sx, sy, sr, 1.2, light_grey);
  for (int i = 0; i < 12; ++i)
    disc(cr, sx + (sr - 3) * std::sin(i * M_PI / 6), sy - (sr - 3) * std::cos(i * M_PI / 6), 0.9, white);
  line(cr, sx, sy, sx + 6 * std::sin(M_PI / 3), sy - 6 * std::cos(M_PI / 3), 1.3, white);
  disc(cr, scale.cx(), scale.cy(), 5, needle_grey);
}

}  // namespace

void add_engine(Catalogue& c) {
  for (const auto& m : vk4::rpm::members) {
    c.push_back({std::string(m.name),
                 {{vk4::rpm::dial_bitmap, vk4::rpm::size, rpm_dial},
                  {vk4::rpm::needle_bitmap, vk4::rpm::needle_size,
                   [](cairo_t* cr) { bar_needle(cr, vk4::rpm::needle_size, 16, 16, true); }}}});
  }
}

}  // namespace art
