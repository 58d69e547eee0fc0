#include "art/paint.h"

#include <cmath>
#include <string>

namespace art {

void set(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void disc(cairo_t* cr, double cx, double cy, double r, Rgb c) {
  set(cr, c);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_fill(cr);
}

void ring(cairo_t* cr, double cx, double cy, double r, double width, Rgb c) {
  set(cr, c);
  cairo_new_path(cr);
  cairo_set_line_width(cr, width);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_stroke(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb c) {
  set(cr, c);
  cairo_new_path(cr);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

void box(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
  set(cr, c);
  cairo_new_path(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void rounded_box(cairo_t* cr, double x, double y, double w, double h, double r, Rgb c) {
  set(cr, c);
  cairo_new_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void screw(cairo_t* cr, double cx, double cy, double r) {
  disc(cr, cx, cy, r, light_grey);
  ring(cr, cx, cy, r, 0.8, outline);
  line(cr, cx - r * 0.6, cy - r * 0.6, cx + r * 0.6, cy + r * 0.6, 1, outline);
}

void legend_font(cairo_t* cr, double size) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  // Fixed options, so that the pictures come out the same on every machine.
  cairo_font_options_t* o = cairo_font_options_create();
  // Text follows the context: a hard-edged picture gets hard-edged lettering.
  cairo_font_options_set_antialias(
      o, cairo_get_antialias(cr) == CAIRO_ANTIALIAS_NONE ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
}

void centred_text(cairo_t* cr, std::string_view text, double cx, double baseline, double size,
                  double max_width, Rgb c) {
  const std::string s(text);
  cairo_text_extents_t e;
  for (;;) {
    legend_font(cr, size);
    cairo_text_extents(cr, s.c_str(), &e);
    if (e.width <= max_width || size <= 5) break;
    size -= 0.25;
  }
  set(cr, c);
  cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, baseline);
  cairo_show_text(cr, s.c_str());
}

}  // namespace art
