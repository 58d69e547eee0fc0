// Round instrument faces and their scales. Marks are placed by the host's needle rule from
// the gauge's own calibration rows, so every mark sits where the needle points.
#pragma once

#include <cairo.h>

#include <array>
#include <string_view>
#include <vector>

#include "art/paint.h"
#include "framework/gauge.h"
#include "host/core/rules.h"

namespace art {

// A needle's scale: the calibration rows seen from the pivot.
class Scale {
 public:
  template <size_t N>
  Scale(PIXPOINT pivot, const std::array<vk4::CalibrationPoint, N>& rows) : cx_(pivot.x), cy_(pivot.y) {
    for (const auto& r : rows) stops_.push_back({host::direction(pivot.x, pivot.y, r.x, r.y), r.value});
  }
  double cx() const { return cx_; }
  double cy() const { return cy_; }
  // Degrees clockwise from 12 o'clock where the needle points for a value.
  double degrees(double value) const { return host::needle_direction(stops_, value); }
  // The point at a radius from the pivot in the direction of a value.
  double x(double value, double r) const;
  double y(double value, double r) const;

  // A radial mark from r0 to r1 at a value.
  void mark(cairo_t* cr, double value, double r0, double r1, double width, Rgb c) const;
  // A label centred at radius r in the direction of a value.
  void label(cairo_t* cr, double value, double r, std::string_view text, double size, Rgb c,
             bool heavy = false) const;
  // An arc band along the scale between two values, from r0 to r1.
  void band(cairo_t* cr, double from, double to, double r0, double r1, Rgb c) const;

 private:
  double cx_, cy_;
  std::vector<host::NeedleStop> stops_;
};

// The panel's round instrument: dark grey face, bezel dark grey above and light grey
// below, black corners.
void round_dial(cairo_t* cr, double cx, double cy, double face_r, double bezel_r);

// A scale from angles alone (for a face no needle reads): `from` degrees at value 0,
// `sweep` degrees clockwise to `top`.
std::array<vk4::CalibrationPoint, 2> rows_for(PIXPOINT centre, double from, double sweep, double top);

// A bar needle that widens from 3 pixels at its pivot end to the full height, then
// comes to a point.
void wedge_needle(cairo_t* cr, vk4::Size size);

// Text centred on a point (its ink box), in the legend face; heavy lettering is the same
// face with its outline stroked as well.
void text_at(cairo_t* cr, std::string_view text, double cx, double cy, double size, Rgb c, bool heavy = false);

// A bar needle pointing right: white from `bar_from` to the tip; rounded or pointed tip;
// an optional dark grey counterweight over the first `counterweight` pixels.
void bar_needle(cairo_t* cr, vk4::Size size, double bar_from, double counterweight, bool rounded_tip);

}  // namespace art
