// The autopilot panel: the master key, the lit push buttons and the blank button; the
// heading and course knobs; the course windows and the altimeter setting plate.
#include <cmath>
#include <string>

#include "art/catalogue.h"
#include "art/dial.h"
#include "gauges/autopilot/buttons.h"
#include "gauges/navigation/knobs.h"
#include "gauges/navigation/readouts.h"

namespace art {
namespace {

namespace b = vk4::buttons;
constexpr Rgb key_grey = {196, 198, 200};
constexpr Rgb legend_dark = {40, 40, 44};
constexpr Rgb lit = {250, 250, 246};

// The master key: a light grey face with a black right and bottom edge and black
// corner pixels (the black is transparent).
void master_face(cairo_t* cr) { box(cr, 0, 0, b::key_size.w - 1, b::key_size.h - 1, key_grey); }

void master_key(cairo_t* cr, bool on) {
  master_face(cr);
  if (on) box(cr, 1, 1, b::key_size.w - 3, b::key_size.h - 3, lit);
  // Corner pixels stay black.
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  box(cr, 0, 0, 1, 1, {0, 0, 0});
  box(cr, b::key_size.w - 2, 0, 1, 1, {0, 0, 0});
  box(cr, 0, b::key_size.h - 2, 1, 1, {0, 0, 0});
  cairo_restore(cr);
  text_at(cr, "AP", (b::key_size.w - 1) / 2.0, (b::key_size.h - 1) / 2.0, 8, legend_dark);
}

// The push button: a grey face in a dark frame, split by a line into an upper legend
// field and a lower indicator field.
void button_face(cairo_t* cr) {
  const double w = b::button_size.w, h = b::button_size.h;
  rounded_box(cr, 0, 0, w, h, 3, {50, 50, 54});
  box(cr, 3, 3, w - 6, h - 6, {150, 152, 156});
  box(cr, 3, h / 2 - 0.5, w - 6, 1.5, {70, 70, 74});
}

void button(cairo_t* cr, std::string_view legend, bool on) {
  const double w = b::button_size.w, h = b::button_size.h;
  button_face(cr);
  centred_text(cr, legend, w / 2, h / 2 - 4, 8, w - 8, legend_dark);
  box(cr, 4, h / 2 + 2, w - 8, h / 2 - 6, on ? lit : Rgb{120, 122, 126});
}

namespace k = vk4::knobs;

// A knob seen slightly from the side: its side as a lighter crescent at the upper left.
void knob_side(cairo_t* cr) {
  const double c = k::size.w / 2.0;
  disc(cr, c - 2, c - 2, 24, {168, 170, 174});
}

void knob_top(cairo_t* cr) {
  const double c = k::size.w / 2.0;
  disc(cr, c + 1, c + 1, 23, outline);
  disc(cr, c + 1, c + 1, 22, {116, 118, 122});
  for (int i = 0; i < 24; ++i) {
    const double a = i * M_PI / 12;
    line(cr, c + 1 + 19 * std::cos(a), c + 1 + 19 * std::sin(a), c + 1 + 22 * std::cos(a),
         c + 1 + 22 * std::sin(a), 1, {90, 92, 96});
  }
}

// The course symbol: an upside-down T, the vertical bar rising toward the top.
void course_symbol(cairo_t* cr, double cx, double cy, double size, Rgb c) {
  line(cr, cx - size * 0.45, cy + size * 0.35, cx + size * 0.45, cy + size * 0.35, 3, c);
  line(cr, cx, cy + size * 0.35, cx, cy - size * 0.55, 3, c);
}

void heading_knob(cairo_t* cr) {
  knob_side(cr);
  knob_top(cr);
  const double c = k::size.w / 2.0 + 1;
  set(cr, {60, 200, 80});
  cairo_new_path(cr);
  cairo_move_to(cr, c, c - 12);
  cairo_line_to(cr, c + 9, c + 7);
  cairo_line_to(cr, c - 9, c + 7);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void course_knob(cairo_t* cr) {
  knob_side(cr);
  knob_top(cr);
  course_symbol(cr, k::size.w / 2.0 + 1, k::size.h / 2.0 + 1, 22, white);
}

// The turning face: a light disc in a darker ring, the symbol's bar toward the top.
void turning_face(cairo_t* cr) {
  const double cx = k::face_pivot.x + 0.5, cy = k::face_pivot.y + 0.5;
  disc(cr, cx, cy, 22, outline);
  disc(cr, cx, cy, 21, {96, 98, 102});
  disc(cr, cx, cy, 16, {200, 202, 206});
  course_symbol(cr, cx, cy, 20, {30, 30, 34});
}

namespace r = vk4::readouts;

void altset_plate(cairo_t* cr) {
  const double w = r::altset_size.w, h = r::altset_size.h;
  set(cr, {52, 62, 78});
  cairo_new_path(cr);
  const double cut = 10;
  cairo_move_to(cr, 4 + cut, 4);
  cairo_line_to(cr, w - 4 - cut, 4);
  cairo_line_to(cr, w - 4, 4 + cut);
  cairo_line_to(cr, w - 4, h - 4 - cut);
  cairo_line_to(cr, w - 4 - cut, h - 4);
  cairo_line_to(cr, 4 + cut, h - 4);
  cairo_line_to(cr, 4, h - 4 - cut);
  cairo_line_to(cr, 4, 4 + cut);
  cairo_close_path(cr);
  cairo_fill(cr);
  text_at(cr, "ALT SET", 96.5, 18.5, 10, white);
  box(cr, 15, 32, 106, 33, {200, 204, 210});  // the light border
  box(cr, 17, 34, 102, 29, {20, 22, 26});     // the dark window
  disc(cr, 164, 51, 19, {26, 30, 38});        // shadow
  disc(cr, 161, 48, 19, outline);
  disc(cr, 161, 48, 18, {196, 198, 202});
  disc(cr, 158, 45, 8, {220, 222, 226});
}

}  // namespace

void add_autopilot(Catalogue& c) {
  for (const b::Member& m : b::members) {
    if (m.size.w == b::key_size.w) {
      c.push_back({std::string(m.name),
                   {{m.background, m.size, master_face},
                    {m.icon, m.size, [](cairo_t* cr) { master_key(cr, false); }},
                    {m.icon + 1, m.size, [](cairo_t* cr) { master_key(cr, true); }}}});
    } else {
      const std::string_view legend = m.legend;
      c.push_back({std::string(m.name),
                   {{m.background, m.size, button_face},
                    {m.icon, m.size, [legend](cairo_t* cr) { button(cr, legend, false); }},
                    {m.icon + 1, m.size, [legend](cairo_t* cr) { button(cr, legend, true); }}}});
    }
  }
  c.push_back({"vk4_ap_dummy", {{b::blank_background, b::button_size, button_face}}});
  for (const k::Member& m : k::members) {
    GaugeArt g{std::string(m.name), {}};
    if (m.face) {
      g.pictures.push_back({m.background, k::size, knob_side});
      g.pictures.push_back({k::face_bitmap, k::face_size, turning_face});
    } else {
      g.pictures.push_back({m.background, k::size, m.background == 0x1600 ? heading_knob : course_knob});
    }
    c.push_back(std::move(g));
  }
  for (const r::Course& course : r::courses)
    c.push_back({std::string(course.name), {{r::course_background, r::course_size, [](cairo_t*) {}}}});
  c.push_back({"vk4_altset", {{r::altset_plate, r::altset_size, altset_plate}}});
}

}  // namespace art
