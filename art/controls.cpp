// The engine and fuel controls: the quadrant, the engine selector and START button, the
// propeller lights, the crossfeed selector, the flap dial and the gear handle.
#include <cmath>
#include <string>

#include "art/catalogue.h"
#include "art/dial.h"
#include "gauges/controls/engine_start.h"
#include "gauges/controls/flaps.h"
#include "gauges/controls/gear.h"
#include "gauges/controls/proplights.h"
#include "gauges/controls/throttle.h"
#include "gauges/controls/xfeed.h"

namespace art {
namespace {

namespace t = vk4::throttle;

// A small arrow pointing down (or up) at a point, between two legends.
void arrow(cairo_t* cr, double x, double y, bool down) {
  const double d = down ? 1 : -1;
  line(cr, x, y - 4 * d, x, y + 2 * d, 1, light_grey);
  set(cr, light_grey);
  cairo_new_path(cr);
  cairo_move_to(cr, x - 2.5, y + 1 * d);
  cairo_line_to(cr, x + 2.5, y + 1 * d);
  cairo_line_to(cr, x, y + 4 * d);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// The four legends of an H.P. cock gate, at the middles of the click areas, beside the slot.
void hp_gate(cairo_t* cr, const t::HpCock& lever, double legend_x) {
  const double slot_x = lever.at.x + t::hp_cock_size.w / 2.0;
  rounded_box(cr, slot_x - 4, 28, 8, 160, 4, slot_dark);
  auto mid = [](const PIXBOX& b) { return b.y + b.h / 2.0; };
  text_at(cr, "LOCK", legend_x, mid(lever.lock_out) - 4, 6.5, white);
  text_at(cr, "OUT", legend_x, mid(lever.lock_out) + 4, 6.5, white);
  text_at(cr, "OPEN", legend_x, mid(lever.open), 6.5, white);
  text_at(cr, "H.P.C.", legend_x, mid(lever.shut) - 4, 6.5, white);
  text_at(cr, "SHUT", legend_x, mid(lever.shut) + 4, 6.5, white);
  text_at(cr, "FEATHER", legend_x, 172, 6, white);
  arrow(cr, legend_x, (mid(lever.lock_out) + mid(lever.open)) / 2 + 1, true);
  arrow(cr, legend_x, (mid(lever.open) + mid(lever.shut)) / 2 + 1, true);
  arrow(cr, legend_x, 160, true);
}

void quadrant(cairo_t* cr) {
  rounded_box(cr, 2, 2, t::size.w - 4, t::size.h - 4, 8, {58, 60, 64});
  // The pitch trim wheel's rim: ridges on a dark band.
  rounded_box(cr, 10, 20, 30, 210, 6, {46, 46, 48});
  for (int y = 26; y < 226; y += 7) line(cr, 13, y, 37, y, 2.2, {92, 92, 96});
  // The trim scale strip, its marks at their rows, the pointer's column at 56.
  rounded_box(cr, 50, 28, 40, 186, 3, face_grey);
  for (size_t i = 0; i < std::size(t::trim_marks); ++i) {
    const double y = t::trim_marks[i] + 0.5;
    line(cr, 64, y, 68, y, 1.2, white);
    text_at(cr, t::trim_labels[i], 79, y, 6.5, white);
  }
  // "DOWN", "NOSE", "UP" read downwards, DOWN at the top.
  auto vertical = [&](std::string_view word, double top) {
    for (size_t i = 0; i < word.size(); ++i) text_at(cr, std::string(1, word[i]), 98, top + 9.0 * i, 7, white);
  };
  vertical("DOWN", 40);
  vertical("NOSE", 100);
  vertical("UP", 190);
  hp_gate(cr, t::port, 116);
  hp_gate(cr, t::starboard, 282);
  text_at(cr, "PORT", 135, 206, 7, white);
  text_at(cr, "ENGINE", 135, 215, 7, white);
  text_at(cr, "STBD", 262, 206, 7, white);
  text_at(cr, "ENGINE", 262, 215, 7, white);
  // The R.P.M. levers' slots and legends.
  for (const t::RpmLever* l : {&t::port_rpm, &t::starboard_rpm}) {
    const double x = l->at.x + t::rpm_lever_size.w / 2.0;
    rounded_box(cr, x - 3, 12, 6, 222, 3, slot_dark);
  }
  text_at(cr, "MAX", 197, 9, 7, white);
  arrow(cr, 197, 20, false);
  arrow(cr, 197, 222, true);
  text_at(cr, "R.P.M.", 197, 232, 7, white);
  text_at(cr, "IDLING", 197, 242, 7, white);
  // The flap lever's slot with its detents on both sides.
  text_at(cr, "FLAP", 347, 26, 7, white);
  text_at(cr, "POSITION", 347, 35, 7, white);
  const double fx = t::flap_at.x + t::flap_size.w / 2.0;
  rounded_box(cr, fx - 3, t::flap_at.y + 4, 6, t::flap_size.h - 8, 3, slot_dark);
  for (size_t i = 0; i < std::size(t::flap_detent_rows); ++i) {
    const double y = t::flap_at.y + t::flap_detent_rows[i] + 0.5;
    line(cr, fx - 14, y, fx - 8, y, 1.2, white);
    line(cr, fx + 8, y, fx + 14, y, 1.2, white);
    text_at(cr, t::flap_detents[i], fx - 22, y, 6.5, white);
    text_at(cr, t::flap_detents[i], fx + 22, y, 6.5, white);
  }
}

// frame 0 H.P.C. SHUT (knob lowest), 1 OPEN, 2 LOCK OUT (highest).
void hp_cock_lever(cairo_t* cr, const t::HpCock& lever, int frame) {
  const PIXBOX& b = frame == 0 ? lever.shut : frame == 1 ? lever.open : lever.lock_out;
  const double ky = b.y + b.h / 2.0 - lever.at.y;
  const double cx = t::hp_cock_size.w / 2.0;
  line(cr, cx, ky, cx, t::hp_cock_size.h - 4, 4, grey);
  box(cr, cx - 7, ky - 7, 14, 14, outline);
  box(cr, cx - 6, ky - 6, 12, 12, lever_red);
  box(cr, cx - 5, ky - 5, 4, 3, {236, 110, 100});
}

void flap_lever(cairo_t* cr, int frame) {
  const double y = t::flap_detent_rows[frame];
  rounded_box(cr, 1, y - 5, t::flap_size.w - 2, 10, 3, outline);
  rounded_box(cr, 2, y - 4, t::flap_size.w - 4, 8, 3, light_grey);
  line(cr, 3, y, t::flap_size.w - 3, y, 1, grey);
}

// frame 0 at the bottom (IDLING) to frame 5 at the top (MAX).
void rpm_lever(cairo_t* cr, int frame) {
  const double y = 214 - frame * 40.0;
  const double cx = t::rpm_lever_size.w / 2.0;
  line(cr, cx, y, cx, 232, 3, grey);
  rounded_box(cr, 2, y - 6, t::rpm_lever_size.w - 4, 12, 4, outline);
  rounded_box(cr, 3, y - 5, t::rpm_lever_size.w - 6, 10, 4, lever_blue);
  line(cr, 6, y - 2, t::rpm_lever_size.w - 6, y - 2, 1.2, {130, 160, 230});
}

void trim_pointer(cairo_t* cr) {
  set(cr, white);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0.5);
  cairo_line_to(cr, 10, 5);
  cairo_line_to(cr, 0, 9.5);
  cairo_close_path(cr);
  cairo_fill(cr);
}

namespace es = vk4::engine_start;

void selector_face(cairo_t* cr) {
  set(cr, panel_grey);
  cairo_new_path(cr);
  cairo_move_to(cr, 20, 2);
  cairo_line_to(cr, 60, 2);
  cairo_line_to(cr, 68, 38);
  cairo_line_to(cr, 12, 38);
  cairo_close_path(cr);
  cairo_fill(cr);
  disc(cr, 40, 18, 10, slot_dark);
  set(cr, white);
  cairo_set_line_width(cr, 1.4);
  cairo_new_path(cr);
  cairo_arc(cr, 40, 18, 15, M_PI * 1.05, M_PI * 1.3);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_arc(cr, 40, 18, 15, M_PI * 1.7, M_PI * 1.95);
  cairo_stroke(cr);
  text_at(cr, "LEFT", 16, 46, 7.5, white);
  text_at(cr, "RIGHT", 63, 46, 7.5, white);
}

// The lever turns about the recess (19, 15 in the icon): frame 0 to the left, 1 to the right.
void selector_lever(cairo_t* cr, bool right) {
  const double px = 19, py = 15, ex = right ? 35 : 3, ey = 6;
  line(cr, px, py, ex, ey, 5, outline);
  line(cr, px, py, ex, ey, 3.4, light_grey);
  disc(cr, ex, ey, 4, outline);
  disc(cr, ex, ey, 3.2, {250, 250, 250});
  disc(cr, px, py, 4.5, grey);
}

void lamp(cairo_t* cr, bool lit) {
  disc(cr, 26, 20, 15, outline);
  disc(cr, 26, 20, 13.5, lit ? amber_lit : amber_dark);
  if (lit) disc(cr, 22, 16, 4, {255, 232, 170});
}

void start_face(cairo_t* cr) {
  lamp(cr, false);
  text_at(cr, "START", 26, 76, 7.5, white);
}

void start_button(cairo_t* cr, bool pressed) {
  lamp(cr, pressed);
  const double cx = es::start_box.x + es::start_box.w / 2.0, cy = es::start_box.y + es::start_box.h / 2.0 - 4;
  disc(cr, cx, cy, 13, {230, 230, 230});  // the white ring
  disc(cr, cx, cy, 11, outline);
  if (pressed) {
    disc(cr, cx, cy, 10, {150, 30, 26});  // flush with the ring
  } else {
    disc(cr, cx + 1, cy + 2, 10, {90, 16, 14});  // standing out: its side and shadow
    disc(cr, cx, cy, 10, lever_red);
    disc(cr, cx - 3, cy - 3, 3, {240, 120, 110});
  }
}

namespace pl = vk4::proplights;

void prop_face(cairo_t* cr) {
  rounded_box(cr, 1, 1, pl::size.w - 2, pl::size.h - 2, 5, panel_grey);
  for (double x : {8.0, pl::size.w - 8.0})
    for (double y : {8.0, pl::size.h - 8.0}) screw(cr, x, y, 3.5);
  // The painted toggle switches in the upper corners.
  for (double x : {30.0, pl::size.w - 30.0}) {
    disc(cr, x, 20, 6, light_grey);
    disc(cr, x, 20, 4, dark_grey);
    line(cr, x, 20, x, 9, 3, white);
  }
  // The UNSAFE lamp legends in the lower corners.
  for (double x : {30.0, pl::size.w - 30.0}) {
    rounded_box(cr, x - 18, 62, 36, 14, 3, amber_dark);
    text_at(cr, "UNSAFE", x, 69, 7, {255, 210, 120});
  }
  for (const pl::Column* c : {&pl::port, &pl::starboard}) {
    box(cr, c->at_32.x - 1, 35, 31, 48, outline);
  }
}

void light_32(cairo_t* cr, bool lit) {
  box(cr, 0, 0, pl::light_32_size.w, pl::light_32_size.h, lit ? Rgb{230, 240, 255} : Rgb{26, 44, 96});
  text_at(cr, "32\u00B0", pl::light_32_size.w / 2.0, 7, 8, lit ? Rgb{40, 70, 160} : Rgb{90, 120, 200});
}

void light_20_18(cairo_t* cr, bool lit) {
  box(cr, 0, 0, pl::light_20_18_size.w, 14, lit ? Rgb{255, 236, 90} : Rgb{96, 70, 14});
  box(cr, 0, 14, pl::light_20_18_size.w, 2, outline);  // the line between them
  box(cr, 0, 16, pl::light_20_18_size.w, 14, lit ? Rgb{255, 170, 190} : Rgb{100, 20, 24});
  text_at(cr, "20\u00B0", pl::light_20_18_size.w / 2.0, 7, 8, lit ? Rgb{130, 90, 10} : Rgb{200, 150, 60});
  text_at(cr, "18\u00B0", pl::light_20_18_size.w / 2.0, 23, 8, lit ? Rgb{150, 40, 60} : Rgb{210, 90, 90});
}

namespace xf = vk4::xfeed;

void xfeed_face(cairo_t* cr) {
  text_at(cr, "OFF", 50, 6, 8, white);
  disc(cr, 50, 13, 1.5, white);
  text_at(cr, "LEFT", 13, 22, 8, white);
  line(cr, 22, 30, 30, 27, 1.2, white);
  text_at(cr, "RIGHT", 87, 22, 8, white);
  line(cr, 78, 30, 70, 27, 1.2, white);
  disc(cr, 50, 30, 14, outline);
  disc(cr, 50, 30, 13, grey);
  text_at(cr, "FUEL XFEED", 50, 55, 8, white);
}

// The knob with its pointer: frame 0 up (OFF), 1 up and to the left, 2 up and to the right.
void xfeed_knob(cairo_t* cr, int frame) {
  const double cx = xf::knob_size.w / 2.0, cy = 30;
  const double a = frame == 0 ? 0 : frame == 1 ? -50 : 50;
  disc(cr, cx, cy, 14, outline);
  disc(cr, cx, cy, 13, grey);
  disc(cr, cx - 3, cy - 3, 6, {160, 160, 160});
  const double r = a * M_PI / 180;
  line(cr, cx - 4 * std::sin(r), cy + 4 * std::cos(r), cx + 12 * std::sin(r), cy - 12 * std::cos(r), 3.5, white);
}

void flap_dial(cairo_t* cr) {
  namespace f = vk4::flaps;
  const Scale scale(f::pivot_at, f::rows);
  round_dial(cr, scale.cx(), scale.cy(), 72, 80);
  text_at(cr, "UP", scale.x(0, 62), scale.y(0, 62), 9, white);
  for (int v = 1; v <= 4; ++v) {
    scale.mark(cr, v, 54, 66, 3, white);
    scale.label(cr, v, 44, f::marks[v], 9, white);
  }
  text_at(cr, "FLAPS", scale.cx() - 24, scale.cy() + 26, 9, white);
  disc(cr, scale.cx(), scale.cy(), 4.5, needle_grey);
}

void flap_needle(cairo_t* cr) {
  namespace f = vk4::flaps;
  set(cr, white);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 2);
  cairo_line_to(cr, f::needle_size.w - 10, 2);
  cairo_line_to(cr, f::needle_size.w - 10, 0.2);
  cairo_line_to(cr, f::needle_size.w, 3.5);
  cairo_line_to(cr, f::needle_size.w - 10, 6.8);
  cairo_line_to(cr, f::needle_size.w - 10, 5);
  cairo_line_to(cr, 0, 5);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// Frame 0 up: the slot the full height, the knob at the top. Frame 1 down: the slot from
// about row 80, the knob at the bottom.
void gear_handle(cairo_t* cr, bool down) {
  namespace g = vk4::gear;
  rounded_box(cr, 2, down ? 80 : 0, 10, down ? g::size.h - 80 : g::size.h, 4, slot_dark);
  const double ky = down ? 172 : 26, kx = 36;
  line(cr, 7, ky, kx, ky, 5, grey);  // the short arm
  disc(cr, kx, ky, 19, outline);
  disc(cr, kx, ky, 18, lever_blue);
  disc(cr, kx, ky, 12, {34, 60, 130});
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    line(cr, kx, ky, kx + 16 * std::cos(a), ky + 16 * std::sin(a), 2, {110, 150, 230});
  }
  disc(cr, kx, ky, 4, {200, 210, 240});
}

}  // namespace

void add_controls(Catalogue& c) {
  GaugeArt q{"vk4_throttle", {{t::face_bitmap, t::size, quadrant}, {t::trim_bitmap, t::trim_size, trim_pointer}}};
  for (int k = 0; k < 3; ++k) {
    q.pictures.push_back({t::port.bitmap + k, t::hp_cock_size, [k](cairo_t* cr) { hp_cock_lever(cr, t::port, k); }});
    q.pictures.push_back(
        {t::starboard.bitmap + k, t::hp_cock_size, [k](cairo_t* cr) { hp_cock_lever(cr, t::starboard, k); }});
  }
  for (int k = 0; k < 5; ++k) q.pictures.push_back({t::flap_bitmap + k, t::flap_size, [k](cairo_t* cr) { flap_lever(cr, k); }});
  for (int k = 0; k < 6; ++k)
    for (const t::RpmLever* l : {&t::port_rpm, &t::starboard_rpm})
      q.pictures.push_back({l->bitmap + k, t::rpm_lever_size, [k](cairo_t* cr) { rpm_lever(cr, k); }});
  c.push_back(std::move(q));

  c.push_back({"vk4_engselect",
               {{es::selector_face, es::selector_size, selector_face},
                {es::selector_lever, es::selector_lever_size, [](cairo_t* cr) { selector_lever(cr, false); }},
                {es::selector_lever + 1, es::selector_lever_size, [](cairo_t* cr) { selector_lever(cr, true); }}}});
  c.push_back({"vk4_engstart",
               {{es::start_face, es::start_size, start_face},
                {es::start_button, es::start_size, [](cairo_t* cr) { start_button(cr, false); }},
                {es::start_button + 1, es::start_size, [](cairo_t* cr) { start_button(cr, true); }}}});
  GaugeArt p{"vk4_proplights", {{pl::face_bitmap, pl::size, prop_face}}};
  for (const pl::Column* col : {&pl::port, &pl::starboard})
    for (int k = 0; k < 2; ++k) {
      p.pictures.push_back({col->light_32 + k, pl::light_32_size, [k](cairo_t* cr) { light_32(cr, k == 1); }});
      p.pictures.push_back({col->light_20_18 + k, pl::light_20_18_size, [k](cairo_t* cr) { light_20_18(cr, k == 1); }});
    }
  c.push_back(std::move(p));
  GaugeArt x{"vk4_xfeed", {{xf::face_bitmap, xf::size, xfeed_face}}};
  for (int k = 0; k < 3; ++k) x.pictures.push_back({xf::knob_bitmap + k, xf::knob_size, [k](cairo_t* cr) { xfeed_knob(cr, k); }});
  c.push_back(std::move(x));
  c.push_back({"vk4_flaps",
               {{vk4::flaps::dial_bitmap, vk4::flaps::size, flap_dial},
                {vk4::flaps::needle_bitmap, vk4::flaps::needle_size, flap_needle}}});
  c.push_back({"vk4_hear_handle",
               {{vk4::gear::background, vk4::gear::size, [](cairo_t*) {}},
                {vk4::gear::handle_bitmap, vk4::gear::size, [](cairo_t* cr) { gear_handle(cr, false); }},
                {vk4::gear::handle_bitmap + 1, vk4::gear::size, [](cairo_t* cr) { gear_handle(cr, true); }}}});
}

}  // namespace art
