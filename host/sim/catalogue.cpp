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
constexpr VarType F = VarType::Float64;

// 15 degrees Celsius in degrees Rankine: where engine temperatures rest.
constexpr double ambient_rankine = 518.67;

constexpr auto vars = std::to_array<VarInfo>({
    // electrical and lighting switches: 0 off, 1 on
    {0x16C, "battery_master", F, "bool", 0, "battery master switch"},
    {0x235, "generator_1", F, "bool", 0, "engine 1 (left) generator switch"},
    {0x23F, "generator_2", F, "bool", 0, "engine 2 (right) generator switch"},
    {0x305, "avionics_master", F, "bool", 0, "avionics master switch"},
    {0x389, "deice", F, "bool", 0, "de-ice switch"},
    {0x0D, "pitot_heat", F, "bool", 0, "pitot heat switch"},
    {0x26B, "nav_lights", F, "bool", 0, "navigation lights switch"},
    {0x170, "beacon_light", F, "bool", 0, "beacon light switch"},
    {0x0B, "strobe_lights", F, "bool", 0, "strobe lights switch"},
    {0x0E, "landing_lights", F, "bool", 0, "landing lights switch"},
    // engines (1 left, 2 right)
    {0x2BC, "engine_1_rpm", F, "rpm", 0, "engine 1 speed"},
    {0x2C4, "engine_2_rpm", F, "rpm", 0, "engine 2 speed"},
    {0x277, "engine_1_tgt", F, "degrees Rankine", ambient_rankine, "engine 1 turbine gas temperature"},
    {0x28A, "engine_2_tgt", F, "degrees Rankine", ambient_rankine, "engine 2 turbine gas temperature"},
    {0x275, "engine_1_psi", F, "ratio (500 psi per unit)", 0, "engine 1 PSI gauge source"},
    {0x288, "engine_2_psi", F, "ratio (500 psi per unit)", 0, "engine 2 PSI gauge source"},
    {0x232, "engine_1_oil_pressure", F, "1638 per psi", 0, "engine 1 oil pressure"},
    {0x23C, "engine_2_oil_pressure", F, "1638 per psi", 0, "engine 2 oil pressure"},
    {0x231, "engine_1_oil_temperature", F, "degrees Rankine", ambient_rankine, "engine 1 oil temperature"},
    {0x23B, "engine_2_oil_temperature", F, "degrees Rankine", ambient_rankine, "engine 2 oil temperature"},
    {0x27E, "engine_1_fuel_flow", F, "pounds per hour", 0, "engine 1 fuel flow"},
    {0x291, "engine_2_fuel_flow", F, "pounds per hour", 0, "engine 2 fuel flow"},
    {0x233, "engine_1_starter", F, "bool", 0, "engine 1 starter engaged"},
    {0x23D, "engine_2_starter", F, "bool", 0, "engine 2 starter engaged"},
    {0x230, "engine_1_hp_cock", F, "fraction", 0, "port H.P. cock lever: 0 H.P.C. SHUT, 0.25 OPEN, 1 LOCK OUT"},
    {0x23A, "engine_2_hp_cock", F, "fraction", 0, "starboard H.P. cock lever, same scale"},
    {0x80, "engine_1_rpm_lever", F, "16384 full travel", 0, "port R.P.M. lever: 0 IDLING, rising to MAX"},
    {0xA3, "engine_2_rpm_lever", F, "16384 full travel", 0, "starboard R.P.M. lever"},
    {0x22F, "engine_1_propeller", F, "0 to 1", 0, "engine 1 propeller variable"},
    {0x239, "engine_2_propeller", F, "0 to 1", 0, "engine 2 propeller variable"},
    {0x3C, "propeller_condition", F, "flag", 0, "propeller lights condition flag (1 to arm)"},
    // fuel
    {0x317, "fuel_quantity", F, "dial units (0 to 22)", 14.5, "fuel quantity"},
    {0x134, "crossfeed", VarType::Int32, "state", 0, "fuel crossfeed: 0 off, 1 left, 2 right"},
    // airframe
    {0x148, "flap_handle", F, "4096 per detent", 0, "flap handle: 0 UP, 4096 11, 8192 16, 12288 26, 16384 DN"},
    {0x14B, "gear_handle", F, "16383 down", 0, "landing gear handle: 0 up, 16383 down"},
    {0x30F, "pitch_trim", F, "-0.26 to 0.26", 0, "pitch trim: negative nose down"},
    // autopilot: 0 off, 1 engaged
    {0x67, "autopilot_master", F, "bool", 0, "autopilot engaged"},
    {0x6C, "altitude_hold", F, "bool", 0, "altitude hold engaged"},
    {0x6A, "heading_hold", F, "bool", 0, "heading hold engaged"},
    {0x69, "nav_hold", F, "bool", 0, "NAV hold engaged"},
    {0x70, "approach_hold", F, "bool", 0, "approach hold engaged"},
    {0x71, "back_course_hold", F, "bool", 0, "back-course hold engaged"},
    {0x72, "yaw_damper", F, "bool", 0, "yaw damper engaged"},
    {0x68, "wing_leveler", F, "bool", 0, "wing leveler engaged"},
    // navigation
    {0x6B, "heading_bug", F, "degrees", 0, "heading bug, 0 to 359"},
    {0x2D, "nav_1_course", F, "degrees", 0, "NAV 1 selected course, 0 to 359"},
    {0x36, "nav_2_course", F, "degrees", 0, "NAV 2 selected course, 0 to 359"},
    {0x6D, "altimeter_setting", F, "millibars", 1013, "altimeter setting, 940 to 1090"},
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

std::optional<uint32_t> parse_variable(std::string_view text) {
  if (const VarInfo* v = find_var(text)) return v->id;
  const std::string s(text);
  if (s.empty() || !std::isdigit(static_cast<unsigned char>(s[0]))) return std::nullopt;
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
