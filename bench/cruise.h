// The panel the benchmarks measure: every gauge of the layout, in cruise, as the preview
// scenario leaves it.
#pragma once

#include <memory>
#include <string>

#include "host/core/host.h"
#include "host/core/layout.h"
#include "host/script/scenario.h"
#include "host/sim/model.h"

namespace bench {

struct Cruise {
  host::Host host;
  sim::Model model{host};
  host::Layout layout = host::read_layout(VK4_BENCH_LAYOUT);
  Cruise() {
    script::RunOptions o;
    o.module_path = {VK4_BENCH_MODULE_DIR};
    script::run_script(script::read_script(VK4_BENCH_PREVIEW), o, host, model);
  }
};

}  // namespace bench
