#include "host/sim/catalogue.h"

#include <array>

namespace sim {
namespace {

using host::VarType;

constexpr auto vars = std::to_array<VarInfo>({
    // electrical and lighting switches: 0 off, 1 on
    {0x16C, "battery_master", VarType::Float64, "bool", 0, "battery master switch"},
    {0x235, "generator_1", VarType::Float64, "bool", 0, "engine 1 (left) generator switch"},
    {0x23F, "generator_2", VarType::Float64, "bool", 0, "engine 2 (right) generator switch"},
    {0x305, "avionics_master", VarType::Float64, "bool", 0, "avionics master switch"},
    {0x389, "deice", VarType::Float64, "bool", 0, "de-ice switch"},
    {0x0D, "pitot_heat", VarType::Float64, "bool", 0, "pitot heat switch"},
    {0x26B, "nav_lights", VarType::Float64, "bool", 0, "navigation lights switch"},
    {0x170, "beacon_light", VarType::Float64, "bool", 0, "beacon light switch"},
    {0x0B, "strobe_lights", VarType::Float64, "bool", 0, "strobe lights switch"},
    {0x0E, "landing_lights", VarType::Float64, "bool", 0, "landing lights switch"},
    // fuel
    {0x134, "crossfeed", VarType::Int32, "state", 0, "fuel crossfeed: 0 off, 1 left, 2 right"},
});

}  // namespace

std::span<const VarInfo> catalogue() { return vars; }

const VarInfo* find_var(uint32_t id) {
  for (const VarInfo& v : vars)
    if (v.id == id) return &v;
  return nullptr;
}

const VarInfo* find_var(std::string_view name) {
  for (const VarInfo& v : vars)
    if (v.name == name) return &v;
  return nullptr;
}

}  // namespace sim
