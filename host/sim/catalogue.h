// The simulator variables the panel reads: number, readable name, type, unit and the
// value a fresh host starts with. Scripts, the systems model and the live page share it.
#pragma once

#include <cstdint>
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

}  // namespace sim
