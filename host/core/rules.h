// How the host turns value-routine results into pictures where the modules leave it open,
// and the needle rule the modules rely on. Header-only: the artwork draws dial marks by
// the same rule, so that every mark sits where the needle points.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace host {

// The frame an icon of `frames` frames shows for a result: the whole part of the result
// (rounded down), kept within 0 to frames - 1; a result that is not a number shows
// frame 0. The change is immediate: the host does not step through the frames between.
inline int icon_frame(double value, int frames) {
  if (frames < 1 || std::isnan(value) || value < 0) return 0;
  if (value >= frames - 1) return frames - 1;
  return static_cast<int>(std::floor(value));
}

inline double wrap_degrees(double d) {
  d = std::fmod(d, 360.0);
  return d < 0 ? d + 360.0 : d;
}

// The direction from a pivot to a point, in degrees clockwise from 12 o'clock, 0 to 360.
inline double direction(double pivot_x, double pivot_y, double x, double y) {
  if (x == pivot_x && y == pivot_y) return 0;
  return wrap_degrees(std::atan2(x - pivot_x, pivot_y - y) * 180.0 / std::numbers::pi);
}

// One calibration row as the host uses it: its direction and its value.
struct NeedleStop {
  double degrees;
  double value;
};

// The needle's direction for a value: between the two consecutive rows whose values
// enclose it, the needle turns clockwise from the first row's direction in proportion to
// the value; the turn between two rows is above 0 and at most 360 degrees, so two rows in
// one direction are a whole turn apart. A value beyond the table stays on the row at that
// end; a value that is not a number shows the first row.
inline double needle_direction(std::span<const NeedleStop> stops, double v) {
  if (stops.empty()) return 0;
  if (std::isnan(v)) return stops.front().degrees;
  for (size_t i = 0; i + 1 < stops.size(); ++i) {
    const NeedleStop& a = stops[i];
    const NeedleStop& b = stops[i + 1];
    if (v < std::min(a.value, b.value) || v > std::max(a.value, b.value)) continue;
    double turn = std::fmod(b.degrees - a.degrees, 360.0);
    if (turn <= 0) turn += 360.0;
    const double t = a.value == b.value ? 0.0 : (v - a.value) / (b.value - a.value);
    return wrap_degrees(a.degrees + turn * t);
  }
  const NeedleStop& first = stops.front();
  const NeedleStop& last = stops.back();
  const bool rising = last.value >= first.value;
  const bool before_first = rising ? v < first.value : v > first.value;
  return before_first ? first.degrees : last.degrees;
}

// Where a slider's bitmap sits on one axis: position + result x scale. A scale of 0 holds
// the axis, and so does a result that gives no finite offset.
inline double slider_offset(double result, double scale) {
  if (scale == 0) return 0;
  const double d = result * scale;
  return std::isfinite(d) ? d : 0;
}

}  // namespace host
