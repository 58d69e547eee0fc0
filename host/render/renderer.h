// Draws gauge instances, as the host evaluated them at their last draw, into pictures:
// static images and icons as they are, needles turned about their pivots, strings in
// their fonts, sliders displaced. Pure black is transparent on every bitmap that says so.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/core/host.h"

namespace render {

// An ARGB picture (Cairo's premultiplied ARGB32).
class Picture {
 public:
  Picture(int w, int h);
  explicit Picture(cairo_surface_t* adopt);
  Picture(Picture&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  Picture& operator=(Picture&& o) noexcept;
  ~Picture();

  int width() const;
  int height() const;
  cairo_surface_t* surface() const { return s_; }
  // Unpremultiplied 0xAARRGGBB; 0 outside the picture.
  uint32_t pixel(int x, int y) const;
  // Throws std::runtime_error if the file cannot be written.
  void write_png(const std::string& path) const;
  // Enlarged n times, nearest neighbour, for looking at.
  Picture scaled(int n) const;

 private:
  cairo_surface_t* s_;
};

// Which elements of the chain to draw, by index in drawing order (tests look at one).
struct DrawOptions {
  size_t first_element = 0;
  size_t last_element = SIZE_MAX;
};

// How a string sits in its box: the font's em is 3/4 of the box height, smaller when the
// text would not fit the box's width; the text starts at the box's left edge, its digits
// centred in the box's height, and nothing is drawn outside the box. A black background
// colour is transparent, as pure black is on the bitmaps; the highlight colour is unused.
struct TextLayout {
  double em;
  double x;
  double baseline;
};

class Renderer {
 public:
  Renderer();
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // One instance into a picture of its gauge's size (transparent around its shapes).
  Picture draw(const host::Instance& g, DrawOptions o = {});
  // Onto a Cairo context whose origin is the gauge's top-left corner.
  void draw(cairo_t* cr, const host::Instance& g, DrawOptions o = {});
  // Every instance of the host at its position over a panel of one colour (0xRRGGBB).
  Picture draw_panel(const host::Host& h, int width, int height, uint32_t colour);

  // Drops what is cached of a module (before it is unloaded).
  void forget(const host::Module& m);

  TextLayout layout_text(const ELEMENT_STRING& e, const std::string& text);

 private:
  // A needle's bitmap turned to a direction, and where its pivot lies in the picture.
  struct Turned {
    cairo_surface_t* surface = nullptr;
    int pivot_x = 0, pivot_y = 0;
  };
  static constexpr int turn_steps = 20;  // directions per degree
  static constexpr size_t max_cached = 4096;

  cairo_surface_t* bitmap(const host::Module& m, int32_t id, bool black_transparent);
  const Turned& turned(cairo_surface_t* bitmap, PIXPOINT pivot, double degrees);
  // A string's box with its text, drawn once for each text it shows.
  cairo_surface_t* text_box(const ELEMENT_STRING& e, const std::string& text);
  cairo_font_face_t* font(const std::string& name, int weight);
  std::map<std::tuple<const host::Module*, int32_t, bool>, cairo_surface_t*> bitmaps_;
  std::map<std::pair<std::string, int>, cairo_font_face_t*> fonts_;
  std::map<std::tuple<cairo_surface_t*, int, int, long>, Turned> turned_;
  std::map<std::pair<const ELEMENT_STRING*, std::string>, cairo_surface_t*> texts_;
};

// Outlines each child area of an instance, drawn at `scale` over a picture of it (or of
// the panel, with the instance at its position times scale), with a label per area.
void draw_hotspots(cairo_t* cr, const host::Instance& g, double scale, const std::vector<std::string>& labels);

}  // namespace render
