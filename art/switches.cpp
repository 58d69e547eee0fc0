// The toggle switches: a legend over a round base on each background, and the two lever
// frames every switch shares.
#include "art/catalogue.h"
#include "art/paint.h"
#include "gauges/electrical/switches.h"

namespace art {
namespace {

using vk4::switches::lever_size;

// The lever pivots at the base's centre, in lever-icon coordinates.
constexpr double pivot_x = 15, pivot_y = 30;

void draw_background(cairo_t* cr, const vk4::switches::Member& m) {
  const double cx = m.size.w / 2.0;
  centred_text(cr, m.legend, cx, 9, 9, m.size.w - 2, white);
  disc(cr, cx, pivot_y, 11, white);        // rim
  disc(cr, cx, pivot_y, 10, grey);         // ring
  disc(cr, cx, pivot_y, 6.5, dark_grey);   // centre
  ring(cr, cx, pivot_y, 6.5, 1, outline);
}

// up: the knob near the top edge; down: near the bottom edge.
void draw_lever(cairo_t* cr, bool up) {
  const double knob_y = up ? 13 : 45;
  line(cr, pivot_x, pivot_y, pivot_x, knob_y, 5, outline);
  line(cr, pivot_x, pivot_y, pivot_x, knob_y, 3.4, light_grey);
  disc(cr, pivot_x, knob_y, 5, outline);
  disc(cr, pivot_x, knob_y, 4.2, white);
  disc(cr, pivot_x - 1.2, knob_y - 1.2, 1.5, {255, 255, 255});
  disc(cr, pivot_x, pivot_y, 3, light_grey);  // the lever's collar on the base
}

}  // namespace

void add_switches(Catalogue& c) {
  for (const auto& m : vk4::switches::members) {
    GaugeArt g{std::string(m.name), {}};
    g.pictures.push_back({m.background, m.size, [&m](cairo_t* cr) { draw_background(cr, m); }});
    g.pictures.push_back({vk4::switches::lever_bitmap, lever_size, [](cairo_t* cr) { draw_lever(cr, false); }});
    g.pictures.push_back({vk4::switches::lever_bitmap + 1, lever_size, [](cairo_t* cr) { draw_lever(cr, true); }});
    c.push_back(std::move(g));
  }
}

}  // namespace art
