#include "art/dial.h"

#include <cmath>
#include <string>

namespace art {
namespace {
double rad(double degrees) { return degrees * M_PI / 180.0; }
}  // namespace

double Scale::x(double value, double r) const { return cx_ + r * std::sin(rad(degrees(value))); }
double Scale::y(double value, double r) const { return cy_ - r * std::cos(rad(degrees(value))); }

void Scale::mark(cairo_t* cr, double value, double r0, double r1, double width, Rgb c) const {
  set(cr, c);
  cairo_new_path(cr);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_move_to(cr, x(value, r0), y(value, r0));
  cairo_line_to(cr, x(value, r1), y(value, r1));
  cairo_stroke(cr);
}

void Scale::label(cairo_t* cr, double value, double r, std::string_view text, double size, Rgb c,
                  bool heavy) const {
  text_at(cr, text, x(value, r), y(value, r), size, c, heavy);
}

void Scale::band(cairo_t* cr, double from, double to, double r0, double r1, Rgb c) const {
  // Cairo's angles run clockwise from 3 o'clock on a y-down surface.
  set(cr, c);
  cairo_new_path(cr);
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const double v = from + (to - from) * i / steps;
    cairo_line_to(cr, x(v, r1), y(v, r1));
  }
  for (int i = steps; i >= 0; --i) {
    const double v = from + (to - from) * i / steps;
    cairo_line_to(cr, x(v, r0), y(v, r0));
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

void round_dial(cairo_t* cr, double cx, double cy, double face_r, double bezel_r) {
  // Bezel: dark grey upper half, light grey lower half.
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, bezel_r, M_PI, 2 * M_PI);
  cairo_close_path(cr);
  set(cr, dark_grey);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, bezel_r, 0, M_PI);
  cairo_close_path(cr);
  set(cr, light_grey);
  cairo_fill(cr);
  cairo_restore(cr);
  ring(cr, cx, cy, bezel_r - 0.5, 1, outline);
  disc(cr, cx, cy, face_r + 1, outline);
  disc(cr, cx, cy, face_r, face_grey);
}

void text_at(cairo_t* cr, std::string_view text, double cx, double cy, double size, Rgb c, bool heavy) {
  const std::string s(text);
  legend_font(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  set(cr, c);
  cairo_new_path(cr);
  cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
  if (heavy) {
    cairo_text_path(cr, s.c_str());
    cairo_set_line_width(cr, 0.8);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
  } else {
    cairo_show_text(cr, s.c_str());
  }
}

std::array<vk4::CalibrationPoint, 2> rows_for(PIXPOINT centre, double from, double sweep, double top) {
  // Two rows 1000 pixels out: the turn between them is the sweep (less than 360 here).
  auto at = [&](double degrees, double value) {
    return vk4::CalibrationPoint{static_cast<int32_t>(std::lround(centre.x + 1000 * std::sin(rad(degrees)))),
                                 static_cast<int32_t>(std::lround(centre.y - 1000 * std::cos(rad(degrees)))), value};
  };
  return {at(from, 0), at(from + sweep, top)};
}

void wedge_needle(cairo_t* cr, vk4::Size size) {
  const double mid = size.h / 2.0;
  set(cr, white);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, mid - 1.5);
  cairo_line_to(cr, size.w - 9, 0.2);
  cairo_line_to(cr, size.w, mid);
  cairo_line_to(cr, size.w - 9, size.h - 0.2);
  cairo_line_to(cr, 0, mid + 1.5);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void bar_needle(cairo_t* cr, vk4::Size size, double bar_from, double counterweight, bool rounded_tip) {
  const double mid = size.h / 2.0;
  if (counterweight > 0) {
    set(cr, needle_grey);
    cairo_rectangle(cr, 0, 1, counterweight, size.h - 2);
    cairo_fill(cr);
  }
  set(cr, white);
  cairo_new_path(cr);
  const double half = 1.6;
  const double tip = size.w;
  if (rounded_tip) {
    cairo_move_to(cr, bar_from, mid - half);
    cairo_line_to(cr, tip - half, mid - half);
    cairo_arc(cr, tip - half, mid, half, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, bar_from, mid + half);
  } else {
    cairo_move_to(cr, bar_from, mid - half);
    cairo_line_to(cr, tip - 7, mid - half);
    cairo_line_to(cr, tip, mid);
    cairo_line_to(cr, tip - 7, mid + half);
    cairo_line_to(cr, bar_from, mid + half);
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace art
