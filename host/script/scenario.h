// Scenario scripts: a line-oriented language to place gauges, set variables, click and
// hold, run the host's cycle and simulated time, and expect what the panel must show.
// docs/scenarios.md is its reference.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/core/layout.h"
#include "host/script/trace.h"
#include "host/sim/model.h"

namespace script {

// A malformed line or a failed expectation: "file:line: what".
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class Compare { Eq, Ne, Lt, Gt, Le, Ge, Approx, Absent };

struct Command {
  int line = 0;
  std::string verb;    // "set", "click", "expect var", ...
  std::string gauge;   // instance name (or module, or "panel" for render)
  std::string text;    // a path, a module, a name, an expected text
  std::string name;    // load: the instance's name
  uint32_t id = 0;     // a variable or an event
  double value = 0;
  double tolerance = 1e-6;
  Compare compare = Compare::Eq;
  PIXPOINT point{};
  bool has_point = false;
  host::Button button = host::Button::Left;
  int element = 0;     // 1-based in drawing order; 0: the gauge's only element of that kind
  int count = 0;       // repeats, frames, scale
  bool seconds = false;
  bool flag = false;   // expect needle: angle (not value); render: hotspots
  std::vector<host::KeyEvent> events;
};

struct Script {
  std::string path;
  std::vector<Command> commands;
};

// Reads a whole script; throws ScriptError for the first malformed line.
Script parse_script(const std::string& text, const std::string& path);
Script read_script(const std::string& path);

struct RunOptions {
  std::vector<std::string> module_path;  // where bare module names are looked up
  std::string out_dir;                   // where relative render files go ("" the current folder)
  Trace* trace = nullptr;
  // Draws a gauge (or, with no gauge, the panel) to a PNG; empty where there is no renderer.
  std::function<void(host::Host&, const host::Instance*, const host::Layout&, const std::string& file, int scale,
                     bool hotspots)>
      render;
  // Told which gauges of a layout are not built yet and were left out.
  std::function<void(const host::Layout&, const std::vector<std::string>&)> left_out;
  // Told before each command runs: its place among the script's commands.
  std::function<void(const Command&, size_t index, size_t total)> before_command;
  // Runs simulated time for step and hold (the live page runs it in real time); by
  // default the model steps at once.
  std::function<void(double seconds)> step;
};

// Runs a script in a host of its own. Throws ScriptError at the first failed expectation
// or failing command; returns the number of expectations met.
int run_script(const Script& s, const RunOptions& o);
// The same in a host the caller owns, with its systems model.
int run_script(const Script& s, const RunOptions& o, host::Host& h, sim::Model& m);

}  // namespace script
