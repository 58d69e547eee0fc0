#include "host/render/renderer.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "host/core/rules.h"

namespace render {

// ---- picture ---------------------------------------------------------------------------

Picture::Picture(int w, int h) : s_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)) {}
Picture::Picture(cairo_surface_t* adopt) : s_(adopt) {}
Picture& Picture::operator=(Picture&& o) noexcept {
  if (this != &o) {
    if (s_ != nullptr) cairo_surface_destroy(s_);
    s_ = std::exchange(o.s_, nullptr);
  }
  return *this;
}
Picture::~Picture() {
  if (s_ != nullptr) cairo_surface_destroy(s_);
}
int Picture::width() const { return cairo_image_surface_get_width(s_); }
int Picture::height() const { return cairo_image_surface_get_height(s_); }

uint32_t Picture::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
  cairo_surface_flush(s_);
  const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s_) +
                                                      static_cast<size_t>(y) * cairo_image_surface_get_stride(s_));
  const uint32_t p = row[x];
  const uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

void Picture::write_png(const std::string& path) const {
  if (cairo_surface_write_to_png(s_, path.c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(path + ": cannot write the picture");
}

Picture Picture::scaled(int n) const {
  Picture out(width() * n, height() * n);
  cairo_t* cr = cairo_create(out.surface());
  cairo_scale(cr, n, n);
  cairo_set_source_surface(cr, s_, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_destroy(cr);
  return out;
}

namespace {

void set_font(cairo_t* cr, cairo_font_face_t* f, double em) {
  cairo_set_font_face(cr, f);
  cairo_set_font_size(cr, em);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
}

void set_rgb(cairo_t* cr, uint32_t c) {
  cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
}

std::string font_name(const ELEMENT_STRING& e) { return std::string(e.font_name, strnlen(e.font_name, FONT_NAME_SIZE)); }

}  // namespace

// ---- renderer --------------------------------------------------------------------------

Renderer::Renderer() = default;

Renderer::~Renderer() {
  for (auto& [k, s] : bitmaps_) cairo_surface_destroy(s);
  for (auto& [k, t] : turned_) cairo_surface_destroy(t.surface);
  for (auto& [k, t] : texts_) cairo_surface_destroy(t);
  for (auto& [k, f] : fonts_) cairo_font_face_destroy(f);
}

const Renderer::Turned& Renderer::turned(cairo_surface_t* b, PIXPOINT pivot, double degrees) {
  // Directions to a twentieth of a degree: at the panel's longest needle, 89 pixels, a
  // twentieth of a degree moves the tip less than a tenth of a pixel.
  const long step = std::lround(host::wrap_degrees(degrees) * turn_steps) % (360 * turn_steps);
  const auto key = std::make_tuple(b, pivot.x, pivot.y, step);
  if (auto it = turned_.find(key); it != turned_.end()) return it->second;
  if (turned_.size() >= max_cached) {
    for (auto& [k, t] : turned_) cairo_surface_destroy(t.surface);
    turned_.clear();
  }
  // The bitmap points along +x; turned so that +x points `degrees` clockwise from 12
  // o'clock about the centre of its pivot pixel, which sits on the centre of the pivot.
  const double a = (static_cast<double>(step) / turn_steps - 90.0) * M_PI / 180.0;
  const double bw = cairo_image_surface_get_width(b), bh = cairo_image_surface_get_height(b);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  for (auto [u, v] : {std::pair{0.0, 0.0}, {bw, 0.0}, {0.0, bh}, {bw, bh}}) {
    const double du = u - pivot.x - 0.5, dv = v - pivot.y - 0.5;
    const double x = du * std::cos(a) - dv * std::sin(a), y = du * std::sin(a) + dv * std::cos(a);
    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  }
  Turned t;
  t.pivot_x = static_cast<int>(std::ceil(-x0)) + 1;
  t.pivot_y = static_cast<int>(std::ceil(-y0)) + 1;
  const int w = t.pivot_x + static_cast<int>(std::ceil(x1)) + 2, h = t.pivot_y + static_cast<int>(std::ceil(y1)) + 2;
  t.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(t.surface);
  cairo_translate(cr, t.pivot_x + 0.5, t.pivot_y + 0.5);
  cairo_rotate(cr, a);
  cairo_translate(cr, -pivot.x - 0.5, -pivot.y - 0.5);
  cairo_set_source_surface(cr, b, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
  cairo_paint(cr);
  cairo_destroy(cr);
  return turned_.emplace(key, t).first->second;
}

cairo_surface_t* Renderer::text_box(const ELEMENT_STRING& e, const std::string& text) {
  const auto key = std::make_pair(&e, text);
  if (auto it = texts_.find(key); it != texts_.end()) return it->second;
  if (texts_.size() >= max_cached) {
    for (auto& [k, t] : texts_) cairo_surface_destroy(t);
    texts_.clear();
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, e.box_w), std::max(1, e.box_h));
  cairo_t* cr = cairo_create(s);
  if (e.background != 0) {
    set_rgb(cr, e.background);
    cairo_paint(cr);
  }
  const TextLayout l = layout_text(e, text);
  set_font(cr, font(font_name(e), e.font_weight), l.em);
  set_rgb(cr, e.foreground);
  cairo_move_to(cr, l.x - e.header.position.x, l.baseline - e.header.position.y);
  cairo_show_text(cr, text.c_str());
  cairo_destroy(cr);
  return texts_.emplace(key, s).first->second;
}

void Renderer::forget(const host::Module& m) {
  for (auto it = texts_.begin(); it != texts_.end();) {
    if (m.contains(it->first.first)) {
      cairo_surface_destroy(it->second);
      it = texts_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto it = bitmaps_.begin(); it != bitmaps_.end();) {
    if (std::get<0>(it->first) == &m) {
      cairo_surface_destroy(it->second);
      it = bitmaps_.erase(it);
    } else {
      ++it;
    }
  }
}

cairo_surface_t* Renderer::bitmap(const host::Module& m, int32_t id, bool black_transparent) {
  const auto key = std::make_tuple(&m, id, black_transparent);
  if (auto it = bitmaps_.find(key); it != bitmaps_.end()) return it->second;
  cairo_surface_t* s = nullptr;
  if (m.has_bitmap(id)) {
    const host::Bitmap& b = m.bitmap(id);
    s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, b.w, b.h);
    auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < b.h; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
      for (int x = 0; x < b.w; ++x) {
        const uint32_t rgb = b.at(x, y);
        row[x] = (black_transparent && rgb == 0) ? 0 : (0xFF000000u | rgb);
      }
    }
    cairo_surface_mark_dirty(s);
  }
  bitmaps_[key] = s;
  return s;
}

cairo_font_face_t* Renderer::font(const std::string& name, int weight) {
  const auto key = std::make_pair(name, weight);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  // The element names a font and a weight on the 100 to 900 scale; fontconfig finds the
  // installed face that serves them ("Courier New" is served by Liberation Mono).
  FcPattern* p = FcPatternCreate();
  FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddDouble(p, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
  FcConfigSubstitute(nullptr, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, p, &result);
  FcPatternDestroy(p);
  cairo_font_face_t* f = match != nullptr ? cairo_ft_font_face_create_for_pattern(match)
                                          : cairo_toy_font_face_create("monospace", CAIRO_FONT_SLANT_NORMAL,
                                                                       CAIRO_FONT_WEIGHT_NORMAL);
  if (match != nullptr) FcPatternDestroy(match);
  fonts_[key] = f;
  return f;
}


TextLayout Renderer::layout_text(const ELEMENT_STRING& e, const std::string& text) {
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  double em = 0.75 * e.box_h;
  set_font(cr, font(font_name(e), e.font_weight), em);
  cairo_text_extents_t t;
  cairo_text_extents(cr, text.c_str(), &t);
  if (t.x_advance > e.box_w && t.x_advance > 0) {
    em *= e.box_w / t.x_advance;
    set_font(cr, font(font_name(e), e.font_weight), em);
  }
  cairo_text_extents_t digit;
  cairo_text_extents(cr, "0", &digit);
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  return {em, static_cast<double>(e.header.position.x), e.header.position.y + (e.box_h + digit.height) / 2.0};
}

void Renderer::draw(cairo_t* cr, const host::Instance& g, DrawOptions o) {
  const host::Module& m = g.module();
  const auto& elements = g.elements();
  for (size_t i = o.first_element; i < elements.size() && i <= o.last_element; ++i) {
    const host::ElementState& s = elements[i];
    const ELEMENT_HEADER& e = *s.element;
    const bool transparent = (e.image_flags & IMAGE_TRANSPARENT) != 0;
    cairo_save(cr);
    switch (e.kind) {
      case ELEMENT_KIND_STATIC_IMAGE:
      case ELEMENT_KIND_ICON: {
        const int32_t id = e.kind == ELEMENT_KIND_ICON ? e.bitmap + s.frame : e.bitmap;
        if (cairo_surface_t* b = bitmap(m, id, transparent)) {
          cairo_set_source_surface(cr, b, e.position.x, e.position.y);
          cairo_paint(cr);
        }
        break;
      }
      case ELEMENT_KIND_NEEDLE: {
        if (cairo_surface_t* b = bitmap(m, e.bitmap, transparent)) {
          const Turned& t = turned(b, e.pivot, s.degrees);
          cairo_set_source_surface(cr, t.surface, e.position.x - t.pivot_x, e.position.y - t.pivot_y);
          cairo_paint(cr);
        }
        break;
      }
      case ELEMENT_KIND_STRING: {
        const auto& str = reinterpret_cast<const ELEMENT_STRING&>(e);
        cairo_set_source_surface(cr, text_box(str, s.text), e.position.x, e.position.y);
        cairo_paint(cr);
        break;
      }
      case ELEMENT_KIND_SLIDER: {
        if (cairo_surface_t* b = bitmap(m, e.bitmap, transparent)) {
          // The whole pixel nearest to position + result x scale on each axis.
          const double x = e.position.x + std::round(std::clamp(s.offset_x, -1e6, 1e6));
          const double y = e.position.y + std::round(std::clamp(s.offset_y, -1e6, 1e6));
          cairo_set_source_surface(cr, b, x, y);
          cairo_paint(cr);
        }
        break;
      }
      default:
        break;
    }
    cairo_restore(cr);
  }
}

Picture Renderer::draw(const host::Instance& g, DrawOptions o) {
  const host::Size size = g.size();
  Picture p(size.w, size.h);
  cairo_t* cr = cairo_create(p.surface());
  draw(cr, g, o);
  cairo_destroy(cr);
  return p;
}

Picture Renderer::draw_panel(const host::Host& h, int width, int height, uint32_t colour) {
  Picture p(width, height);
  cairo_t* cr = cairo_create(p.surface());
  set_rgb(cr, colour);
  cairo_paint(cr);
  for (const auto& g : h.instances()) {
    cairo_save(cr);
    cairo_translate(cr, g->position().x, g->position().y);
    draw(cr, *g);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return p;
}

void draw_hotspots(cairo_t* cr, const host::Instance& g, double scale, const std::vector<std::string>& labels) {
  const auto areas = g.areas();
  cairo_save(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 10);
  for (size_t i = 0; i < areas.size(); ++i) {
    const PIXBOX& b = areas[i]->box;
    const double x = (g.position().x + b.x) * scale, y = (g.position().y + b.y) * scale;
    cairo_rectangle(cr, x + 0.5, y + 0.5, b.w * scale - 1, b.h * scale - 1);
    cairo_set_source_rgba(cr, 1.0, 0.85, 0.1, 0.20);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1.0, 0.85, 0.1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (i < labels.size() && !labels[i].empty()) {
      cairo_text_extents_t t;
      cairo_text_extents(cr, labels[i].c_str(), &t);
      cairo_rectangle(cr, x + 1, y + 1, t.x_advance + 4, 13);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 1.0, 0.9, 0.3);
      cairo_move_to(cr, x + 3, y + 11);
      cairo_show_text(cr, labels[i].c_str());
    }
  }
  cairo_restore(cr);
}

}  // namespace render
