// The whole panel in one framebuffer, drawn incrementally: the static layer (the panel's
// colour and every gauge's background) is prepared once; a frame copies the static layer
// back only where a gauge changed and draws that gauge's moving elements over it.
#pragma once

#include <cstdint>
#include <vector>

#include "host/core/host.h"
#include "host/render/renderer.h"

namespace render {

// A digest of what a gauge's picture depends on: its element states at the last draw.
uint64_t state_digest(const host::Instance& g);

class PanelRenderer {
 public:
  PanelRenderer(Renderer& r, int width, int height, uint32_t colour);

  // The static layer for the host's gauges as placed now; call again when gauges are
  // placed or removed.
  void prepare(const host::Host& h);
  // Every gauge drawn anew over the static layer (the panel between the gauges, which
  // never changes, stays as prepare() left it).
  void repaint(const host::Host& h);
  // Only the gauges whose element states changed since they were last drawn. Returns
  // how many were drawn.
  int frame(const host::Host& h);

  const Picture& picture() const { return frame_; }

 private:
  struct Placed {
    const host::Instance* instance;
    int x, y, w, h;
    uint64_t digest;
  };
  void restore(int x, int y, int w, int h);  // the static layer back into the framebuffer
  void draw_moving(cairo_t* cr, const Placed& p, int cx, int cy, int cw, int ch);

  Renderer& r_;
  uint32_t colour_;
  Picture static_;
  Picture frame_;
  std::vector<Placed> placed_;
};

}  // namespace render
