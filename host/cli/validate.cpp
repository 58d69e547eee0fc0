#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <set>

#include "host/cli/child.h"
#include "host/cli/commands.h"
#include "host/cli/common.h"
#include "host/core/module_path.h"
#include "host/validate/validate.h"

namespace cli {

namespace {
const char* usage =
    "usage: gaugehost validate [--level 1..10] [--seed N] [--repeat N] [--sound-dir DIR] [--json] MODULE...\n"
    "\n"
    "Checks gauge modules, each in a child process of its own, so that a module that\n"
    "crashes is reported with its signal or exception and the run goes on:\n"
    "  - conformance: descriptor, import table, gauge header, the gauge name against the\n"
    "    file's name, the element chain, every bitmap the elements name (24-bit,\n"
    "    uncompressed, the frames of each icon), calibration tables, the mouse table's\n"
    "    shape, boxes, cursors and flags; for a .gau also its exports, imports and\n"
    "    resources;\n"
    "  - then, for a conformant module, seeded stress: service codes in any order with any\n"
    "    extra word, install and kill storms and two instances (the sound library's loads\n"
    "    and releases must balance); hostile values (NaN, infinities, denormals, single and\n"
    "    double extremes, -0, large integers) on every source and module variable, with the\n"
    "    text-buffer guard watching; clicks and holds in and around every box with every\n"
    "    button (handlers answer only inside their box, to the left button, and return 0).\n"
    "\n"
    "options:\n"
    "  --level N       how long the stress runs, 1 to 10 (default 5)\n"
    "  --seed N        the seed of the stress (default: from the clock, printed)\n"
    "  --repeat N      run everything N times with seeds N, N+1, ... (default 1)\n"
    "  --sound-dir DIR a folder holding a GaugeSound library: each module is also run\n"
    "                  with it on the library search path, and both runs must do the same\n"
    "  --json          one JSON object per module instead of the report\n"
    "  --module-path DIR  look up module names in DIR first (repeatable)\n"
    "\n"
    "Exit status 0 when every module passes, 1 otherwise.\n";

long long number(ArgReader& r, const std::string& option, long long lo, long long hi) {
  const std::string v = r.value(option, "a number");
  char* end = nullptr;
  const long long n = std::strtoll(v.c_str(), &end, 0);
  if (v.empty() || *end != '\0' || n < lo || n > hi)
    throw UsageError("validate: " + option + " takes " + std::to_string(lo) + " to " + std::to_string(hi) + ", not " + v);
  return n;
}

// One module in a child: the report, or a failure saying how the child ended.
nlohmann::ordered_json run_child(const std::string& path, const validate::Options& o, const std::string& sound_dir,
                                 std::string& how) {
  const std::vector<std::string> args = {"validate", "--child", path, "--level", std::to_string(o.level), "--seed",
                                         std::to_string(o.seed)};
  const ChildResult c = run_self(args, sound_dir, 60.0 * o.level);
  if (!c.exited || c.status != 0) {
    how = c.exited ? "ended with exit status " + std::to_string(c.status) : c.how;
    std::string last;
    for (size_t end = c.err.size(); end > 0 && last.empty();) {
      const size_t start = c.err.rfind('\n', end - 1);
      last = c.err.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
      end = start == std::string::npos ? 0 : start;
    }
    if (!last.empty()) how += ": " + last;
    return nullptr;
  }
  try {
    return nlohmann::ordered_json::parse(c.out);
  } catch (const std::exception&) {
    how = "printed no report";
    return nullptr;
  }
}

}  // namespace

int validate_modules(const Args& args) {
  validate::Options o;
  bool as_json = false, child = false, seeded = false;
  int repeat = 1;
  std::string sound_dir;
  std::vector<std::string> modules, dirs;
  ArgReader r("validate", args);
  while (!r.done()) {
    const std::string a = r.next();
    if (a == "--help" || a == "-h") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a == "--level") {
      o.level = static_cast<int>(number(r, a, 1, 10));
    } else if (a == "--seed") {
      o.seed = static_cast<uint64_t>(number(r, a, 0, INT64_MAX));
      seeded = true;
    } else if (a == "--repeat") {
      repeat = static_cast<int>(number(r, a, 1, 1000));
    } else if (a == "--sound-dir") {
      sound_dir = r.value(a, "a folder");
    } else if (a == "--json") {
      as_json = true;
    } else if (a == "--child") {
      child = true;
    } else if (r.module_path(a, dirs)) {
    } else if (!a.empty() && a[0] == '-') {
      r.unknown(a);
    } else {
      modules.push_back(a);
    }
  }
  if (modules.empty()) throw UsageError("validate: which modules? (see gaugehost validate --help)");
  if (child) {
    // In the child: one module, the report as JSON on standard output.
    std::printf("%s\n", validate::validate_module(modules.front(), o).json().dump().c_str());
    return 0;
  }
  if (!seeded) o.seed = static_cast<uint64_t>(std::time(nullptr));
  const auto path = host::module_path(dirs);
  int passed = 0, failed = 0;
  for (int round = 0; round < repeat; ++round) {
    validate::Options ro = o;
    ro.seed = o.seed + static_cast<uint64_t>(round);
    for (const std::string& m : modules) {
      std::string file;
      nlohmann::ordered_json report;
      std::string how;
      try {
        file = host::resolve_module(m, path);
        report = run_child(file, ro, "", how);
      } catch (const std::exception& e) {
        how = e.what();
      }
      if (!report.is_null() && !sound_dir.empty()) {
        std::string how2;
        const auto with_sound = run_child(file, ro, sound_dir, how2);
        nlohmann::ordered_json check = {{"name", "the same with and without the sound library"}, {"cases", 1}};
        if (with_sound.is_null()) {
          check["passed"] = false;
          check["failures"] = {"with the sound library the child " + how2};
        } else {
          // Everything must hold with the library as well, and the module must do the same.
          // (Failures the run without it has already reported are not repeated.)
          std::set<std::string> known;
          for (const auto& pc : report["checks"])
            for (const auto& f : pc["failures"]) known.insert(pc["name"].get<std::string>() + ": " + f.get<std::string>());
          auto failures = nlohmann::ordered_json::array();
          for (const auto& wc : with_sound["checks"])
            for (const auto& f : wc["failures"]) {
              const std::string what = wc["name"].get<std::string>() + ": " + f.get<std::string>();
              if (!known.count(what)) failures.push_back("with the sound library: " + what);
            }
          if (with_sound["trace_digest"] != report["trace_digest"])
            failures.push_back("the lifecycle trace differs when the sound library is there");
          check["passed"] = failures.empty();
          check["failures"] = failures;
        }
        report["checks"].push_back(check);
        if (!check["passed"].get<bool>()) report["passed"] = false;
      }
      if (report.is_null()) {
        report = {{"module", file.empty() ? m : file},
                  {"passed", false},
                  {"checks", {{{"name", "the child process"}, {"passed", false}, {"cases", 1}, {"failures", {"the module " + how}}}}}};
      }
      report["level"] = ro.level;
      report["seed"] = ro.seed;
      const bool ok = report["passed"].get<bool>();
      ok ? ++passed : ++failed;
      if (as_json) {
        std::printf("%s\n", report.dump().c_str());
        continue;
      }
      std::printf("%s: %s\n", report["module"].get<std::string>().c_str(), ok ? "PASS" : "FAIL");
      for (const auto& c : report["checks"]) {
        std::printf("  %-4s  %s (%d case%s)\n", c["passed"].get<bool>() ? "ok" : "FAIL", c["name"].get<std::string>().c_str(),
                    c["cases"].get<int>(), c["cases"].get<int>() == 1 ? "" : "s");
        for (const auto& f : c["failures"]) std::printf("          %s\n", f.get<std::string>().c_str());
      }
      if (!ok)
        std::printf("  reproduce: gaugehost validate --level %d --seed %llu %s\n", ro.level,
                    static_cast<unsigned long long>(ro.seed), m.c_str());
    }
  }
  if (!as_json)
    std::printf("%d module%s: %d passed, %d failed (level %d, seed %llu)\n", passed + failed,
                passed + failed == 1 ? "" : "s", passed, failed, o.level, static_cast<unsigned long long>(o.seed));
  return failed == 0 ? 0 : 1;
}

}  // namespace cli
