#include <cstdio>
#include <nlohmann/json.hpp>

#include "host/cli/commands.h"
#include "host/cli/common.h"
#include "host/sim/catalogue.h"
#include "host/sim/model.h"

namespace cli {

namespace {
const char* usage =
    "usage: gaugehost vars [--json]\n"
    "\n"
    "Lists the simulator variables of the catalogue (number, name, type, unit, the value\n"
    "a fresh host starts with, role) and the key events the systems model answers.\n"
    "Scripts and --set accept a variable by its number or its name.\n";

const char* effect_name(sim::Effect e) {
  switch (e) {
    case sim::Effect::Toggle: return "toggle";
    case sim::Effect::Set: return "set";
    case sim::Effect::FromValue: return "set from value";
    case sim::Effect::StepWrap: return "step, wrapping";
    case sim::Effect::StepClamp: return "step, within limits";
    case sim::Effect::Alternate: return "alternate";
  }
  return "?";
}
}  // namespace

int vars(const Args& args) {
  bool as_json = false;
  ArgReader r("vars", args);
  while (!r.done()) {
    const std::string a = r.next();
    if (a == "--help" || a == "-h") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a == "--json") {
      as_json = true;
    } else {
      r.unknown(a);
    }
  }
  if (as_json) {
    nlohmann::ordered_json j;
    for (const auto& v : sim::catalogue())
      j["variables"].push_back({{"id", v.id}, {"name", v.name}, {"type", v.type == host::VarType::Int32 ? "int32" : "float64"},
                                {"unit", v.unit}, {"initial", v.initial}, {"role", v.role}});
    for (const auto& e : sim::event_rules())
      j["events"].push_back({{"event", e.event}, {"effect", effect_name(e.effect)}, {"var", e.var}, {"role", e.role}});
    std::printf("%s\n", j.dump(2).c_str());
    return 0;
  }
  std::printf("%-7s %-26s %-7s %-24s %9s  %s\n", "number", "name", "type", "unit", "initial", "role");
  for (const auto& v : sim::catalogue())
    std::printf("0x%-5X %-26.*s %-7s %-24.*s %9g  %.*s\n", v.id, static_cast<int>(v.name.size()), v.name.data(),
                v.type == host::VarType::Int32 ? "int32" : "float64", static_cast<int>(v.unit.size()), v.unit.data(),
                v.initial, static_cast<int>(v.role.size()), v.role.data());
  std::printf("\n%-8s %-20s %-7s  %s\n", "event", "effect", "var", "role");
  for (const auto& e : sim::event_rules())
    std::printf("0x%-6X %-20s 0x%-5X  %.*s\n", e.event, effect_name(e.effect), e.var, static_cast<int>(e.role.size()),
                e.role.data());
  return 0;
}

}  // namespace cli
