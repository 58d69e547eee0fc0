#include <cstdio>

#include "host/cli/commands.h"
#include "host/cli/common.h"
#include "host/cli/describe.h"
#include "host/core/module_path.h"

namespace cli {

namespace {
const char* usage =
    "usage: gaugehost info MODULE [--json] [--module-path DIR]...\n"
    "\n"
    "Loads MODULE (running none of its routines) and prints its descriptor, gauge header,\n"
    "element chain, mouse table and bitmap resources; --json prints the same as JSON.\n";
}

int info(const Args& args) {
  bool as_json = false;
  std::string module;
  std::vector<std::string> dirs;
  ArgReader r("info", args);
  while (!r.done()) {
    const std::string a = r.next();
    if (a == "--help" || a == "-h") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a == "--json") {
      as_json = true;
    } else if (r.module_path(a, dirs)) {
    } else if (!a.empty() && a[0] == '-') {
      r.unknown(a);
    } else if (module.empty()) {
      module = a;
    } else {
      throw UsageError("info: one module at a time (got " + module + " and " + a + ")");
    }
  }
  if (module.empty()) throw UsageError("info: which module? (see gaugehost info --help)");
  auto m = host::Module::load(host::resolve_module(module, host::module_path(dirs)));
  const auto d = describe(*m);
  if (as_json)
    std::printf("%s\n", d.dump(2).c_str());
  else
    std::fputs(describe_text(d).c_str(), stdout);
  return 0;
}

}  // namespace cli
