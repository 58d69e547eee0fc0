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

// ---- renderer --------------------------------------------------------------------------

Renderer::Renderer() = default;

Renderer::~Renderer() {
  for (auto& [k, s] : bitmaps_) cairo_surface_destroy(s);
  for (auto& [k, f] : fonts_) cairo_font_face_destroy(f);
}

void Renderer::forget(const host::Module& m) {
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
          // The bitmap points along +x; turn it so that +x points s.degrees clockwise from
          // 12 o'clock, about its pivot offset, which sits on the pivot.
          cairo_translate(cr, e.position.x + 0.5, e.position.y + 0.5);
          cairo_rotate(cr, (s.degrees - 90.0) * M_PI / 180.0);
          cairo_translate(cr, -e.pivot.x - 0.5, -e.pivot.y - 0.5);
          cairo_set_source_surface(cr, b, 0, 0);
          cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
          cairo_paint(cr);
        }
        break;
      }
      case ELEMENT_KIND_STRING: {
        const auto& str = reinterpret_cast<const ELEMENT_STRING&>(e);
        cairo_rectangle(cr, e.position.x, e.position.y, str.box_w, str.box_h);
        cairo_clip(cr);
        if (str.background != 0) {
          set_rgb(cr, str.background);
          cairo_paint(cr);
        }
        const TextLayout l = layout_text(str, s.text);
        set_font(cr, font(font_name(str), str.font_weight), l.em);
        set_rgb(cr, str.foreground);
        cairo_move_to(cr, l.x, l.baseline);
        cairo_show_text(cr, s.text.c_str());
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
