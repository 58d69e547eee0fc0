// The simulator variables the panel reads: number, readable name, type, unit and the
// value a fresh host starts with. Scripts, the systems model and the live page share it.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <span>
#include <string_view>

#include "host/core/variables.h"

namespace sim {

struct VarInfo {
  uint32_t id;
  std::string_view name;
  host::VarType type;
  std::string_view unit;
  double initial;
  std::string_view role;
};

std::span<const VarInfo> catalogue();
const VarInfo* find_var(uint32_t id);
const VarInfo* find_var(std::string_view name);

// A variable as a person writes it: a number (0x2BC, or decimal) or a catalogue name.
std::optional<uint32_t> parse_variable(std::string_view text);
// A value: a number as strtod reads it, with nan, inf and -inf.
std::optional<double> parse_value(std::string_view text);
// "VARIABLE=VALUE"; throws std::invalid_argument with a one-line reason.
std::pair<uint32_t, double> parse_assignment(std::string_view text);

}  // namespace sim
