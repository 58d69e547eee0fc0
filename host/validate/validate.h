// The validator: conformance of a gauge module's tables, and seeded stress of its
// lifecycle, its value routines and its click handlers. One module per call, in the
// calling process (gaugehost validate runs each in a child process of its own).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace validate {

struct Check {
  std::string name;
  bool passed = true;
  std::vector<std::string> failures;  // what went wrong, one line each (the first few)
  int cases = 0;                      // how many things were tried
};

struct Options {
  int level = 5;  // 1 to 10: how long the dynamic checks run
  uint64_t seed = 1;
};

struct Report {
  std::string module;
  std::vector<Check> checks;
  std::string trace_digest;  // of the lifecycle sequence: equal with and without the sound library
  bool passed() const;
  nlohmann::ordered_json json() const;
};

// Static checks only need the module loaded; the dynamic ones run its code. Throws
// nothing for a module that fails: every failure is in the report. A module that does
// not load is a report with one failed check.
Report validate_module(const std::string& path, const Options& o);

}  // namespace validate
