// Every gauge's value routines, click handlers and pre-update logic on arbitrary
// variable values: the input is a list of (variable, 8 bytes of value) records, set on a
// panel of all modules, which is then updated, drawn and clicked. A routine that writes
// past its text buffer, or anything the sanitizers see, is a finding.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "host/core/host.h"
#include "host/sim/catalogue.h"
#include "host/sim/model.h"

namespace {

struct Panel {
  host::Host host;
  sim::Model model{host};
  Panel() {
    for (const auto& e : std::filesystem::directory_iterator(VK4_FUZZ_MODULE_DIR))
      if (e.path().extension() == ".so") host.place(host.load(e.path().string()));
    host.install_all();
  }
};

Panel& panel() {
  static Panel* p = new Panel;  // lives for the whole run, like the simulator's panel
  return *p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Panel& p = panel();
  const auto cat = sim::catalogue();
  for (size_t i = 0; i + 9 <= size; i += 9) {
    const sim::VarInfo& v = cat[data[i] % cat.size()];
    double value;
    std::memcpy(&value, data + i + 1, sizeof value);
    p.host.variables().set(v.id, value);
  }
  try {
    p.host.update();
    p.host.draw();
    // A click on every area of every gauge, then one more frame.
    for (const auto& g : p.host.instances())
      for (const MOUSERECT* a : g->areas()) p.host.click(*g, {a->box.x + a->box.w / 2, a->box.y + a->box.h / 2});
    p.host.update();
    p.host.draw();
  } catch (const host::GaugeFault&) {
    __builtin_trap();
  }
  return 0;
}
