#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/cli/commands.h"
#include "host/cli/common.h"
#include "host/sim/probe.h"
#include "host/core/module_path.h"
#include "host/core/layout.h"
#include "host/render/renderer.h"
#include "host/sim/catalogue.h"
#include "host/sim/model.h"

namespace cli {

namespace {
const char* usage =
    "usage: gaugehost render MODULE|--panel LAYOUT -o OUT.png [options]\n"
    "\n"
    "Draws one gauge, or the whole panel of a layout, as the host shows it after the\n"
    "gauges' lifecycle up to a draw (install, initialise, update, draw), and writes a PNG.\n"
    "A single gauge is drawn on a transparent picture of its size; a panel on its colour.\n"
    "\n"
    "options:\n"
    "  -o, --output FILE      the PNG to write (required)\n"
    "  --panel LAYOUT         draw the panel of a layout file instead of one module\n"
    "  --set VAR=VALUE        set a simulator variable first; VAR is a number (0x2BC) or a\n"
    "                         name of the catalogue, VALUE a number, nan, inf or -inf\n"
    "  --vars FILE            set the VAR=VALUE lines of a file ('#' starts a comment)\n"
    "  --scale N              enlarge N times, nearest neighbour, for inspection (1 to 16)\n"
    "  --hotspots             outline the mouse areas and label each with what a click sends\n"
    "  --module-path DIR      look up module names in DIR first (repeatable)\n";
}

int render(const Args& args) {
  std::string module, layout_path, out;
  std::vector<std::string> dirs;
  std::vector<std::pair<uint32_t, double>> sets;
  int scale = 1;
  bool hotspots = false;
  ArgReader r("render", args);
  while (!r.done()) {
    const std::string a = r.next();
    if (a == "--help" || a == "-h") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a == "-o" || a == "--output") {
      out = r.value(a, "a file name");
    } else if (a == "--panel") {
      layout_path = r.value(a, "a layout file");
    } else if (a == "--set") {
      const std::string v = r.value(a, "VAR=VALUE");
      try {
        sets.push_back(sim::parse_assignment(v));
      } catch (const std::invalid_argument& e) {
        throw UsageError(std::string("render: --set ") + e.what());
      }
    } else if (a == "--vars") {
      for (auto& s : read_vars_file(r.value(a, "a file"))) sets.push_back(s);
    } else if (a == "--scale") {
      const std::string v = r.value(a, "a whole number");
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (end == nullptr || *end != '\0' || n < 1 || n > 16) throw UsageError("render: --scale takes 1 to 16, not " + v);
      scale = static_cast<int>(n);
    } else if (a == "--hotspots") {
      hotspots = true;
    } else if (r.module_path(a, dirs)) {
    } else if (!a.empty() && a[0] == '-') {
      r.unknown(a);
    } else if (module.empty()) {
      module = a;
    } else {
      throw UsageError("render: one module at a time (got " + module + " and " + a + "); use --panel for more");
    }
  }
  if (out.empty()) throw UsageError("render: where to? (-o OUT.png)");
  if (module.empty() == layout_path.empty())
    throw UsageError("render: give one MODULE or --panel LAYOUT (see gaugehost render --help)");

  const auto path = host::module_path(dirs);
  host::Host h;
  sim::Model model(h);
  host::Layout layout;
  if (!layout_path.empty()) {
    layout = host::read_layout(layout_path);
    place_layout(h, layout, path);
  } else {
    h.place(h.load(host::resolve_module(module, path)));
  }
  for (auto [var, value] : sets) h.variables().set(var, value);
  h.install_all();
  h.update();
  h.draw();

  render_png(h, layout_path.empty() ? h.instances().front().get() : nullptr, layout, out, scale, hotspots);
  return 0;
}

void render_png(host::Host& h, const host::Instance* gauge, const host::Layout& layout, const std::string& file,
                int scale, bool hotspots) {
  render::Renderer renderer;
  int w = layout.width, hgt = layout.height;
  if (gauge == nullptr && (w == 0 || hgt == 0)) {
    // No layout: a panel just large enough for the gauges placed.
    for (const auto& g : h.instances()) {
      const host::Size s = g->size();
      w = std::max(w, g->position().x + s.w);
      hgt = std::max(hgt, g->position().y + s.h);
    }
  }
  render::Picture picture = gauge != nullptr ? renderer.draw(*gauge)
                                             : renderer.draw_panel(h, std::max(w, 1), std::max(hgt, 1),
                                                                   layout.width != 0 ? layout.colour : 0x202428);
  if (scale > 1) picture = picture.scaled(scale);
  if (hotspots) {
    cairo_t* cr = cairo_create(picture.surface());
    for (const auto& g : h.instances()) {
      if (gauge != nullptr && g.get() != gauge) continue;
      cairo_save(cr);
      // A single gauge is drawn at its own origin.
      if (gauge != nullptr) cairo_translate(cr, -g->position().x * scale, -g->position().y * scale);
      render::draw_hotspots(cr, *g, scale, sim::hotspot_labels(*g, h.variables()));
      cairo_restore(cr);
    }
    cairo_destroy(cr);
  }
  picture.write_png(file);
}

}  // namespace cli
