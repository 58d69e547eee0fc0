// Every picture of the panel, by module: what the artwork program draws and what each
// module carries as its bitmap resources.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/gauge.h"

namespace art {

struct Picture {
  int32_t id;      // resource number
  vk4::Size size;
  std::function<void(cairo_t*)> draw;  // onto a black canvas of that size
};

struct GaugeArt {
  std::string name;
  std::vector<Picture> pictures;
};

using Catalogue = std::vector<GaugeArt>;

// One function per group of gauges, each adding its modules' pictures.
void add_switches(Catalogue& c);
void add_engine(Catalogue& c);
void add_controls(Catalogue& c);
void add_autopilot(Catalogue& c);

inline Catalogue catalogue() {
  Catalogue c;
  add_switches(c);
  add_engine(c);
  add_controls(c);
  add_autopilot(c);
  return c;
}

}  // namespace art
