// gaugehost: the panel host on the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/cli/commands.h"
#include "host/cli/common.h"

namespace {

const char* usage =
    "usage: gaugehost COMMAND [OPTIONS]\n"
    "\n"
    "The vk4 panel host: loads gauge modules and shows, clicks and checks them.\n"
    "\n"
    "commands:\n"
    "  info MODULE [--json]          describe a module: header, elements, mouse areas, bitmaps\n"
#if !defined(_WIN32)
    "  render MODULE|--panel LAYOUT  draw a gauge or the panel to a PNG\n"
#endif
    "  run SCRIPT...                 run scenario scripts and check their expectations\n"
#if !defined(_WIN32)
    "  serve [--panel LAYOUT]        the live panel in a browser, at http://127.0.0.1:8018/\n"
#endif
    "  vars [--json]                 list the simulator variables and the events the model answers\n"
    "  validate MODULE...            check modules' tables and stress their routines\n"
    "\n"
    "MODULE is a file path or a gauge name; a name is looked up as NAME"
#if defined(_WIN32)
    ".gau"
#else
    ".so"
#endif
    " in the\n"
    "--module-path folders, then GAUGEHOST_MODULE_PATH, then the build beside this program.\n"
    "Run 'gaugehost COMMAND --help' for a command's options. Exit status: 0 done,\n"
    "1 failed, 2 a mistake on the command line.\n";

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
    if (command == "info") return cli::info(args);
    if (command == "run") return cli::run(args);
    if (command == "vars") return cli::vars(args);
    if (command == "validate") return cli::validate_modules(args);
#if !defined(_WIN32)
    if (command == "render") return cli::render(args);
    if (command == "serve") return cli::serve(args);
#endif
    throw cli::UsageError("unknown command " + command + " (see gaugehost --help)");
  } catch (const cli::UsageError& e) {
    std::fprintf(stderr, "gaugehost: %s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gaugehost: %s\n", e.what());
    return 1;
  }
}
