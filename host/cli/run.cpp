#include <cstdio>
#include <filesystem>
#include <memory>

#include "host/cli/commands.h"
#include "host/cli/common.h"
#include "host/core/module_path.h"
#include "host/script/scenario.h"

namespace cli {

namespace {
const char* usage =
    "usage: gaugehost run SCRIPT... [--trace FILE] [--out DIR] [--module-path DIR]...\n"
    "\n"
    "Runs scenario scripts (docs/scenarios.md), each in a host of its own with the systems\n"
    "model, and stops at the first failed expectation with the file, the line and what\n"
    "differs (exit status 1). Every script is read in full before any runs, so a\n"
    "malformed line is reported before anything happens.\n"
    "\n"
    "options:\n"
    "  --trace FILE         write every service call, host operation, value-routine result\n"
    "                       and key event as JSON lines\n"
    "  --out DIR            where the scripts' render commands write relative files\n"
    "  --module-path DIR    look up module names in DIR first (repeatable)\n";
}

int run(const Args& args) {
  std::vector<std::string> scripts, dirs;
  std::string trace_file, out_dir;
  ArgReader r("run", args);
  while (!r.done()) {
    const std::string a = r.next();
    if (a == "--help" || a == "-h") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a == "--trace") {
      trace_file = r.value(a, "a file");
    } else if (a == "--out") {
      out_dir = r.value(a, "a folder");
    } else if (r.module_path(a, dirs)) {
    } else if (!a.empty() && a[0] == '-') {
      r.unknown(a);
    } else {
      scripts.push_back(a);
    }
  }
  if (scripts.empty()) throw UsageError("run: which script? (see gaugehost run --help)");
  std::vector<script::Script> parsed;
  for (const std::string& s : scripts) parsed.push_back(script::read_script(s));

  std::unique_ptr<script::Trace> trace;
  if (!trace_file.empty()) trace = std::make_unique<script::Trace>(trace_file);
  script::RunOptions o;
  o.module_path = host::module_path(dirs);
  o.out_dir = out_dir;
  o.trace = trace.get();
#if !defined(_WIN32)
  o.render = render_png;
#endif
  o.left_out = [](const host::Layout& l, const std::vector<std::string>& names) {
    std::fputs(left_out_note(l, names).c_str(), stderr);
  };
  for (const script::Script& s : parsed) {
    if (trace) trace->op(0, "script", {{"file", std::filesystem::path(s.path).filename().string()}});
    const int met = script::run_script(s, o);
    std::printf("%s: %d expectation%s met\n", s.path.c_str(), met, met == 1 ? "" : "s");
  }
  return 0;
}

}  // namespace cli
