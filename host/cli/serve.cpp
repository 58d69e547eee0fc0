#include <csignal>
#include <cstdio>
#include <filesystem>

#include "host/cli/commands.h"
#include "host/cli/common.h"
#include "host/core/module_path.h"
#include "host/web/server.h"

namespace fs = std::filesystem;

namespace cli {

namespace {
const char* usage =
    "usage: gaugehost serve [--panel LAYOUT] [--port N] [--bind ADDR] [--scenarios DIR] [--module-path DIR]...\n"
    "\n"
    "Serves the live panel to a browser: the whole panel drawn as the host draws it, the\n"
    "systems model running in real time, the mouse routed to the gauges (left button,\n"
    "repeat while held), the variables with their live values (and a field to set each),\n"
    "the key events as they are sent, the mouse areas on request, and the scenarios of\n"
    "the scenarios folder to run.\n"
    "\n"
    "options:\n"
    "  --panel LAYOUT   the layout (default panel/panel.json, here or beside the build)\n"
    "  --port N         the port (default 8018; 0 takes any free port)\n"
    "  --bind ADDR      the address (default 127.0.0.1: this computer only; 0.0.0.0 lets\n"
    "                   other computers in)\n"
    "  --scenarios DIR  the scenarios the page can run (default: scenarios/ beside the layout)\n"
    "  --module-path DIR  look up module names in DIR first (repeatable)\n";

web::Server* running = nullptr;
void on_signal(int) {
  if (running != nullptr) running->stop();
}

std::string default_layout() {
  if (fs::exists("panel/panel.json")) return "panel/panel.json";
  std::error_code ec;
  const fs::path beside = fs::read_symlink("/proc/self/exe", ec).parent_path() / ".." / ".." / "panel" / "panel.json";
  return ec ? "panel/panel.json" : beside.lexically_normal().string();
}
}  // namespace

int serve(const Args& args) {
  std::string layout, bind = "127.0.0.1", scenarios;
  int port = 8018;
  std::vector<std::string> dirs;
  ArgReader r("serve", args);
  while (!r.done()) {
    const std::string a = r.next();
    if (a == "--help" || a == "-h") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a == "--panel") {
      layout = r.value(a, "a layout file");
    } else if (a == "--port") {
      const std::string v = r.value(a, "a port number");
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || n < 0 || n > 65535) throw UsageError("serve: --port takes 0 to 65535, not " + v);
      port = static_cast<int>(n);
    } else if (a == "--bind") {
      bind = r.value(a, "an address");
    } else if (a == "--scenarios") {
      scenarios = r.value(a, "a folder");
    } else if (r.module_path(a, dirs)) {
    } else {
      r.unknown(a);
    }
  }
  if (layout.empty()) layout = default_layout();
  if (scenarios.empty()) scenarios = (fs::path(layout).parent_path() / "scenarios").string();
  web::LivePanel panel({layout, host::module_path(dirs), scenarios});
  web::Server server(panel);
  const int bound = server.bind(bind, port);
  if (bound < 0) throw std::runtime_error("serve: cannot listen on " + bind + ":" + std::to_string(port) + " (in use?)");
  panel.start();
  running = &server;
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);
  std::printf("gaugehost: serving the panel at http://%s:%d/ (Ctrl-C stops)\n", bind.c_str(), bound);
  std::fflush(stdout);
  server.run();
  running = nullptr;
  panel.stop();
  return 0;
}

}  // namespace cli
