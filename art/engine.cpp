// The engine instruments' faces and needles. Every scale is laid out by the needle rule
// from the gauge's own calibration rows.
#include <cmath>
#include <string>

#include "art/catalogue.h"
#include "art/dial.h"
#include "gauges/engine/fuel.h"
#include "gauges/engine/fuelflow.h"
#include "gauges/engine/oil.h"
#include "gauges/engine/psi.h"
#include "gauges/engine/rpm.h"
#include "gauges/engine/tgt.h"

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

// The TGT face: hard edges, or (the ITT rendering) anti-aliased with heavier lettering.
void tgt_dial(cairo_t* cr, bool smooth) {
  namespace t = vk4::tgt;
  cairo_set_antialias(cr, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  const Scale scale(t::pivot_at, t::rows);
  round_dial(cr, scale.cx(), scale.cy(), 70, 80);
  for (int v = 2; v <= 13; ++v)
    if (v != 8) scale.mark(cr, v, 56, 66, 2.2, white);
  for (int i = 71; i < 90; ++i)
    if (i != 80) scale.mark(cr, i / 10.0, 61, 66, 1.0, white);  // about every 10 degrees
  scale.mark(cr, 8, 52, 66, 2.4, white);                       // the long mark at 8
  for (int v : {3, 5, 7, 8, 9, 11, 13}) scale.label(cr, v, 45, std::to_string(v), 10, white, smooth);
  text_at(cr, "TGT", scale.cx(), 45, 10, white, smooth);
  text_at(cr, "X100", scale.cx(), 56, 7, white, smooth);
  ring(cr, scale.cx(), scale.cy(), 9, 1.2, light_grey);
  text_at(cr, "\u00B0C", scale.cx(), scale.cy(), 7, white, smooth);
}

void psi_dial(cairo_t* cr) {
  namespace p = vk4::psi;
  const Scale scale(p::pivot_at, p::rows);
  round_dial(cr, scale.cx(), scale.cy(), 71, 77);
  for (int v = 0; v <= 600; v += 20) {
    const bool labelled = v % 100 == 0;
    scale.mark(cr, v, labelled ? 57 : 62, 67, labelled ? 2.4 : 1.2, white);
    if (labelled) scale.label(cr, v, 46, std::to_string(v), 9, white);
  }
  scale.mark(cr, -14, 58, 67, 3.2, pale_yellow);  // the stop bar just below the 0 end
  text_at(cr, "PSI", scale.cx(), scale.cy() + 22, 10, white);
  disc(cr, scale.cx(), scale.cy(), 5, needle_grey);
}

// The oil instruments: an upright face with a round-shouldered top.
void oil_shape(cairo_t* cr, double inset) {
  const double w = vk4::oil::size.w, h = vk4::oil::size.h;
  const double top = 44 - inset / 2, bottom = 12;
  const double x0 = 1 + inset, y0 = 1 + inset, x1 = w - 1 - inset, y1 = h - 1 - inset;
  cairo_new_path(cr);
  cairo_arc(cr, x0 + top, y0 + top, top, M_PI, 1.5 * M_PI);
  cairo_arc(cr, x1 - top, y0 + top, top, 1.5 * M_PI, 2 * M_PI);
  cairo_arc(cr, x1 - bottom, y1 - bottom, bottom, 0, 0.5 * M_PI);
  cairo_arc(cr, x0 + bottom, y1 - bottom, bottom, 0.5 * M_PI, M_PI);
  cairo_close_path(cr);
}

void oil_face(cairo_t* cr, const vk4::oil::Member& m) {
  namespace o = vk4::oil;
  const double w = o::size.w, h = o::size.h;
  // Bezel: dark grey above, light grey below.
  oil_shape(cr, 0);
  cairo_save(cr);
  cairo_clip(cr);
  set(cr, dark_grey);
  cairo_rectangle(cr, 0, 0, w, h / 2);
  cairo_fill(cr);
  set(cr, light_grey);
  cairo_rectangle(cr, 0, h / 2, w, h / 2);
  cairo_fill(cr);
  cairo_restore(cr);
  oil_shape(cr, 5);
  set(cr, outline);
  cairo_fill(cr);
  oil_shape(cr, 6);
  set(cr, face_grey);
  cairo_fill(cr);

  const bool pressure = m.quantity == o::Quantity::Pressure;
  const o::Range range = o::range(m.quantity);
  for (const o::Side* side : {&m.left, &m.right}) {
    const Scale scale = side->row_count == 3 ? Scale(side->pivot_at, side->rows)
                                             : Scale(side->pivot_at, std::array{side->rows[0], side->rows[1]});
    const double r = pressure ? 42 : 39;
    if (pressure) {
      scale.band(cr, 0, 5, r - 2, r + 3, band_red);
      scale.band(cr, 5, 18.5, r - 2, r + 3, band_green);
    } else {
      scale.band(cr, range.lower, range.upper, r - 0.6, r + 0.6, white);  // the thin arc
    }
    const double step = pressure ? 2 : 10, label_step = pressure ? 10 : 50;
    for (double v = range.lower; v <= range.upper + 1e-9; v += step) {
      const bool labelled = std::fmod(v - range.lower, label_step) == 0;
      scale.mark(cr, v, r - (labelled ? 6 : 3), r + 3, labelled ? 1.8 : 1.0, white);
      if (labelled) {
        std::string t = std::to_string(static_cast<int>(v));
        if (!pressure && v > 0) t = "+" + t;
        scale.label(cr, v, r - (pressure ? 14 : 15), t, pressure ? 8 : 7, white);
      }
    }
    disc(cr, side->pivot_at.x, side->pivot_at.y, 4.5, needle_grey);
  }
  text_at(cr, m.top, w / 2, 22, 10, white);
  text_at(cr, m.bottom, w / 2, h - 22, 10, white);
  line(cr, w / 2, 7.5, w / 2, 12, 2, white);       // index marks, top and bottom centre
  line(cr, w / 2, h - 12, w / 2, h - 7.5, 2, white);
}

void fuelflow_dial(cairo_t* cr, bool legends) {
  namespace f = vk4::fuelflow;
  const Scale scale(f::pivot_at, f::rows);
  round_dial(cr, scale.cx(), scale.cy(), 108, 117);
  for (int i = 0; i <= 55; ++i) {
    const double v = i / 5.0;
    const bool unit = i % 5 == 0;
    scale.mark(cr, v, unit ? 86 : 92, 100, unit ? 2.6 : 1.2, white);
  }
  for (int v : {0, 4, 6, 8, 10}) scale.label(cr, v, 74, std::to_string(v), 13, white);
  disc(cr, scale.cx(), scale.cy(), 25, hub_grey);
  ring(cr, scale.cx(), scale.cy(), 25, 1, outline);
  if (legends) {
    text_at(cr, "FUEL", scale.cx() - 52, scale.cy(), 12, white);
    text_at(cr, "FLOW", scale.cx() + 52, scale.cy(), 12, white);
    text_at(cr, "Kg/Hr x100", scale.cx(), scale.cy() + 40, 11, white);
  }
}

void fuel_dial(cairo_t* cr) {
  namespace f = vk4::fuel;
  const Scale scale(f::centre, rows_for(f::centre, f::scale_from, f::scale_sweep, f::scale_top));
  round_dial(cr, scale.cx(), scale.cy(), 72, 81);
  for (int i = 0; i <= 44; ++i) {
    const double v = i / 2.0;
    const bool even = i % 4 == 0;
    scale.mark(cr, v, even ? 60 : 64, 70, even ? 2.4 : 1.2, white);
    if (even) scale.label(cr, v, 50, std::to_string(static_cast<int>(v)), 9, white);
  }
  text_at(cr, "FUEL", scale.cx(), 48, 11, white);
  text_at(cr, "QTY", scale.cx(), 62, 11, white);
}

}  // namespace

void add_engine(Catalogue& c) {
  for (const auto& m : vk4::rpm::members)
    c.push_back({std::string(m.name),
                 {{vk4::rpm::dial_bitmap, vk4::rpm::size, rpm_dial},
                  {vk4::rpm::needle_bitmap, vk4::rpm::needle_size,
                   [](cairo_t* cr) { bar_needle(cr, vk4::rpm::needle_size, 16, 16, true); }}}});
  for (const auto& m : vk4::tgt::members) {
    const bool smooth = m.background != 0x100;
    c.push_back({std::string(m.name),
                 {{m.background, m.size, [smooth](cairo_t* cr) { tgt_dial(cr, smooth); }},
                  {vk4::tgt::needle_bitmap, vk4::tgt::needle_size, [](cairo_t* cr) {
                     bar_needle(cr, vk4::tgt::needle_size, vk4::tgt::needle_bar_from, 0, false);
                   }}}});
  }
  for (const auto& m : vk4::psi::members)
    c.push_back({std::string(m.name),
                 {{vk4::psi::dial_bitmap, vk4::psi::size, psi_dial},
                  {vk4::psi::needle_bitmap, vk4::psi::needle_size,
                   [](cairo_t* cr) { bar_needle(cr, vk4::psi::needle_size, 16, 16, true); }}}});
  for (const auto& m : vk4::oil::members)
    c.push_back({std::string(m.name),
                 {{vk4::oil::face_bitmap, vk4::oil::size, [&m](cairo_t* cr) { oil_face(cr, m); }},
                  {m.left.bitmap, vk4::oil::needle_size, [](cairo_t* cr) { wedge_needle(cr, vk4::oil::needle_size); }},
                  {m.right.bitmap, vk4::oil::needle_size, [](cairo_t* cr) { wedge_needle(cr, vk4::oil::needle_size); }}}});
  for (const auto& m : vk4::fuelflow::members) {
    const bool legends = m.readout;
    c.push_back({std::string(m.name),
                 {{vk4::fuelflow::dial_bitmap, vk4::fuelflow::size, [legends](cairo_t* cr) { fuelflow_dial(cr, legends); }},
                  {vk4::fuelflow::needle_bitmap, vk4::fuelflow::needle_size, [](cairo_t* cr) {
                     bar_needle(cr, vk4::fuelflow::needle_size, vk4::fuelflow::needle_bar_from, 0, false);
                   }}}});
  }
  c.push_back({"vk4_fuel", {{vk4::fuel::dial_bitmap, vk4::fuel::size, fuel_dial}}});
}

}  // namespace art
