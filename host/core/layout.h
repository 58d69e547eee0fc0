// The panel layout: the panel's size and colour and where each gauge sits. A JSON file;
// docs/panel-layout.md describes it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/host_interface.h"

namespace host {

struct LayoutError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct LayoutGauge {
  std::string module;  // a gauge name or a file path
  PIXPOINT at;
  std::string name;  // the instance's name; empty takes the gauge's name
};

struct Layout {
  std::string path;
  int width = 0;
  int height = 0;
  uint32_t colour = 0;  // 0xRRGGBB
  std::vector<LayoutGauge> gauges;
};

// Throws LayoutError naming the file and, for a syntax error, the line.
Layout read_layout(const std::string& path);
Layout parse_layout(const std::string& text, const std::string& path);

class Host;
class Instance;

// Places every gauge of a layout, in order. A gauge named by a bare name that is nowhere
// on the module path is not built yet: it is left out and its name added to `left_out`
// (the panel keeps its place for it). A file path that does not exist, or a module that
// does not load, is an error. Returns the instances placed.
std::vector<Instance*> place_layout(Host& h, const Layout& layout, const std::vector<std::string>& module_path,
                                    std::vector<std::string>& left_out);

}  // namespace host
