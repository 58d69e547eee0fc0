// Whole-panel updates and evaluations of the cruise panel, with callgrind's collection on
// around them only: `make bench` counts the instructions and splits them by object.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>

#include "bench/cruise.h"

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
  bench::Cruise cruise;
  for (int i = 0; i < 10; ++i) {  // warm: caches filled, every first draw done
    cruise.host.update();
    cruise.host.draw();
  }
  CALLGRIND_START_INSTRUMENTATION;
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < cycles; ++i) {
    cruise.host.update();
    cruise.host.draw();
  }
  CALLGRIND_TOGGLE_COLLECT;
  CALLGRIND_STOP_INSTRUMENTATION;
  std::printf("%d cycles of %zu gauges\n", cycles, cruise.host.instances().size());
  return 0;
}
