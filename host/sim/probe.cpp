#include "host/sim/probe.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/sim/model.h"

#include <chrono>

namespace fs = std::filesystem;

namespace sim {

std::vector<std::string> hotspot_labels(const host::Instance& g, const host::Variables& vars) {
  std::vector<std::string> labels;
  const auto areas = g.areas();
  if (areas.empty()) return labels;
  // A copy under another name loads as a module of its own, with state of its own.
  std::error_code ec;
  static int probes = 0;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path dir = fs::temp_directory_path(ec) / ("gaugehost-probe-" + std::to_string(stamp) + "-" + std::to_string(++probes));
  fs::create_directories(dir, ec);
  const fs::path copy = dir / ("probe_" + fs::path(g.module().path()).filename().string());
  fs::copy_file(g.module().path(), copy, fs::copy_options::overwrite_existing, ec);
  if (ec) return std::vector<std::string>(areas.size(), "handler");
  {
    host::Host scratch;
    sim::Model model(scratch);
    scratch.variables() = vars;
    host::Instance& probe = scratch.place(scratch.load(copy.string()));
    scratch.install_all();
    scratch.update();
    scratch.draw();
    for (const MOUSERECT* a : probe.areas()) {
      scratch.clear_events();
      scratch.click(probe, {a->box.x + a->box.w / 2, a->box.y + a->box.h / 2});
      std::string label;
      for (const host::KeyEvent& e : scratch.events()) {
        char b[32];
        if (e.value != 0)
          std::snprintf(b, sizeof b, "0x%X=%u", e.id, e.value);
        else
          std::snprintf(b, sizeof b, "0x%X", e.id);
        label += (label.empty() ? "" : " ") + std::string(b);
      }
      if (label.empty()) label = "no event";
      if ((a->mouse_flags & MOUSE_REPEAT) != 0) label += "+";
      labels.push_back(label);
    }
  }
  fs::remove_all(dir, ec);
  return labels;
}

}  // namespace sim
