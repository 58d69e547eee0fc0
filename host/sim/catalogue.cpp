#include "host/sim/catalogue.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>

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
    // engines
    {0x2BC, "engine_1_rpm", VarType::Float64, "rpm", 0, "engine 1 (left) speed"},
    {0x2C4, "engine_2_rpm", VarType::Float64, "rpm", 0, "engine 2 (right) speed"},
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

namespace sim {

std::optional<uint32_t> parse_variable(std::string_view text) {
  if (const VarInfo* v = find_var(text)) return v->id;
  const std::string s(text);
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])))) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long long n = std::strtoull(s.c_str(), &end, 0);
  if (errno != 0 || end == nullptr || *end != '\0' || n == 0 || n > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(n);
}

std::optional<double> parse_value(std::string_view text) {
  const std::string s(text);
  if (s.empty() || std::isspace(static_cast<unsigned char>(s[0]))) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return v;
}

std::pair<uint32_t, double> parse_assignment(std::string_view text) {
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos)
    throw std::invalid_argument("\"" + std::string(text) + "\" is not VARIABLE=VALUE");
  const auto var = parse_variable(text.substr(0, eq));
  if (!var)
    throw std::invalid_argument("\"" + std::string(text.substr(0, eq)) +
                                "\" is neither a variable number nor a name of the catalogue");
  const auto value = parse_value(text.substr(eq + 1));
  if (!value) throw std::invalid_argument("\"" + std::string(text.substr(eq + 1)) + "\" is not a number");
  return {*var, *value};
}

}  // namespace sim
