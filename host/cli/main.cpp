// gaugehost: the panel host on the command line.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "host/cli/describe.h"
#include "host/cli/module_path.h"
#include "host/core/module.h"

namespace {

const char* usage =
    "usage: gaugehost COMMAND [OPTIONS]\n"
    "\n"
    "The vk4 panel host: loads gauge modules and shows, clicks and checks them.\n"
    "\n"
    "commands:\n"
    "  info MODULE [--json]   describe a module: header, elements, mouse areas, bitmaps\n"
    "\n"
    "MODULE is a file path or a gauge name; a name is looked up as NAME" 
#if defined(_WIN32)
    ".gau"
#else
    ".so"
#endif
    " in the\n"
    "--module-path folders, then GAUGEHOST_MODULE_PATH, then the build beside this program.\n"
    "Run 'gaugehost COMMAND --help' for a command's options.\n";

const char* info_usage =
    "usage: gaugehost info MODULE [--json] [--module-path DIR]...\n"
    "\n"
    "Loads MODULE (running none of its routines) and prints its descriptor, gauge header,\n"
    "element chain, mouse table and bitmap resources; --json prints the same as JSON.\n";

int fail(const std::string& what) {
  std::fprintf(stderr, "gaugehost: %s\n", what.c_str());
  return 1;
}

int info(const std::vector<std::string>& args) {
  bool as_json = false;
  std::string module;
  std::vector<std::string> dirs;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(info_usage, stdout);
      return 0;
    } else if (a == "--json") {
      as_json = true;
    } else if (a == "--module-path") {
      if (++i == args.size()) return fail("info: --module-path needs a folder");
      dirs.push_back(args[i]);
    } else if (!a.empty() && a[0] == '-') {
      return fail("info: unknown option " + a + " (see gaugehost info --help)");
    } else if (module.empty()) {
      module = a;
    } else {
      return fail("info: one module at a time (got " + module + " and " + a + ")");
    }
  }
  if (module.empty()) return fail("info: which module? (see gaugehost info --help)");
  const std::string path = cli::resolve_module(module, cli::module_path(dirs));
  auto m = host::Module::load(path);
  const auto d = cli::describe(*m);
  if (as_json)
    std::printf("%s\n", d.dump(2).c_str());
  else
    std::fputs(cli::describe_text(d).c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  try {
    if (command == "--help" || command == "-h" || command == "help") {
      std::fputs(usage, stdout);
      return 0;
    }
    if (command == "info") return info(args);
    return fail("unknown command " + command + " (see gaugehost --help)");
  } catch (const std::exception& e) {
    return fail(e.what());
  }
}
