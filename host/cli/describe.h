// What `gaugehost info` shows of a module: its descriptor, header, element chain, mouse
// table and bitmaps, as JSON and as text made from the same JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "host/core/module.h"

namespace cli {

nlohmann::ordered_json describe(const host::Module& m);
std::string describe_text(const nlohmann::ordered_json& d);

}  // namespace cli
