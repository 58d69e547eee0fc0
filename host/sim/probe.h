// Labels for the mouse areas of a gauge: what a click on each area sends.
#pragma once

#include <string>
#include <vector>

#include "host/core/host.h"

namespace sim {

// Finds out what each child area's handler sends by clicking it in a private copy of the
// module, in a host of its own with the same variables, so that the gauge shown keeps
// its state. Labels read "0x102C1", "0x1017F=16384", "0x1010F 0x1011B 0x10116", or
// "no event" for a handler that sends nothing; a repeating area ends in "+".
std::vector<std::string> hotspot_labels(const host::Instance& g, const host::Variables& vars);

}  // namespace sim
