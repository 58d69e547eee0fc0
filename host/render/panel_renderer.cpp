#include "host/render/panel_renderer.h"

#include <algorithm>
#include <cstring>

namespace render {

uint64_t state_digest(const host::Instance& g) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  };
  for (const host::ElementState& e : g.elements()) {
    mix(&e.kind, sizeof e.kind);
    mix(&e.frame, sizeof e.frame);
    mix(&e.degrees, sizeof e.degrees);
    mix(&e.offset_x, sizeof e.offset_x);
    mix(&e.offset_y, sizeof e.offset_y);
    mix(e.text.data(), e.text.size());
  }
  return h;
}

PanelRenderer::PanelRenderer(Renderer& r, int width, int height, uint32_t colour)
    : r_(r), colour_(colour), static_(width, height), frame_(width, height) {}

void PanelRenderer::prepare(const host::Host& h) {
  placed_.clear();
  cairo_t* cr = cairo_create(static_.surface());
  cairo_set_source_rgb(cr, ((colour_ >> 16) & 0xFF) / 255.0, ((colour_ >> 8) & 0xFF) / 255.0, (colour_ & 0xFF) / 255.0);
  cairo_paint(cr);
  for (const auto& g : h.instances()) {
    const host::Size s = g->size();
    placed_.push_back({g.get(), g->position().x, g->position().y, s.w, s.h, 0});
    if (g->elements().empty()) continue;
    cairo_save(cr);
    cairo_translate(cr, g->position().x, g->position().y);
    r_.draw(cr, *g, {.first_element = 0, .last_element = 0});  // the background alone
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(static_.surface());
  // The framebuffer starts as the static layer; outside the gauges it never changes.
  restore(0, 0, frame_.width(), frame_.height());
}

void PanelRenderer::restore(int x, int y, int w, int h) {
  const int W = frame_.width(), H = frame_.height();
  const int x0 = std::max(0, x), y0 = std::max(0, y), x1 = std::min(W, x + w), y1 = std::min(H, y + h);
  if (x0 >= x1 || y0 >= y1) return;
  cairo_surface_flush(frame_.surface());
  unsigned char* dst = cairo_image_surface_get_data(frame_.surface());
  const unsigned char* src = cairo_image_surface_get_data(static_.surface());
  const int stride = cairo_image_surface_get_stride(frame_.surface());
  for (int row = y0; row < y1; ++row)
    std::memcpy(dst + static_cast<size_t>(row) * stride + x0 * 4, src + static_cast<size_t>(row) * stride + x0 * 4,
                static_cast<size_t>(x1 - x0) * 4);
  cairo_surface_mark_dirty_rectangle(frame_.surface(), x0, y0, x1 - x0, y1 - y0);
}

void PanelRenderer::draw_moving(cairo_t* cr, const Placed& p, int cx, int cy, int cw, int ch) {
  if (p.instance->elements().size() < 2) return;
  cairo_save(cr);
  cairo_rectangle(cr, cx, cy, cw, ch);
  cairo_clip(cr);
  cairo_translate(cr, p.x, p.y);
  r_.draw(cr, *p.instance, {.first_element = 1});
  cairo_restore(cr);
}

void PanelRenderer::repaint(const host::Host& h) {
  if (placed_.size() != h.instances().size()) prepare(h);
  // Only the gauges' rectangles: the panel between them is the static layer already.
  for (const Placed& p : placed_) restore(p.x, p.y, p.w, p.h);
  cairo_t* cr = cairo_create(frame_.surface());
  for (Placed& p : placed_) {
    draw_moving(cr, p, p.x, p.y, p.w, p.h);
    p.digest = state_digest(*p.instance);
  }
  cairo_destroy(cr);
}

int PanelRenderer::frame(const host::Host& h) {
  if (placed_.size() != h.instances().size()) prepare(h);
  int drawn = 0;
  cairo_t* cr = nullptr;
  for (Placed& p : placed_) {
    const uint64_t d = state_digest(*p.instance);
    if (d == p.digest) continue;
    p.digest = d;
    if (cr == nullptr) cr = cairo_create(frame_.surface());
    restore(p.x, p.y, p.w, p.h);
    // Every gauge that reaches into the changed rectangle, in drawing order.
    for (const Placed& q : placed_)
      if (q.x < p.x + p.w && p.x < q.x + q.w && q.y < p.y + p.h && p.y < q.y + q.h) draw_moving(cr, q, p.x, p.y, p.w, p.h);
    ++drawn;
  }
  if (cr != nullptr) cairo_destroy(cr);
  return drawn;
}

}  // namespace render
