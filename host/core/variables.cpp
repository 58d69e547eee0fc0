#include "host/core/variables.h"

#include <cmath>
#include <cstring>

namespace host {

int32_t Variables::to_int32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

void Variables::declare(uint32_t id, VarType type, double initial) {
  declared_[id] = type;
  Slot& s = slots_[id];
  s.type = type;
  if (type == VarType::Int32)
    s.i = to_int32(initial);
  else
    s.d = initial;
}

VarType Variables::type(uint32_t id) const {
  auto it = declared_.find(id);
  return it == declared_.end() ? VarType::Float64 : it->second;
}

double Variables::get(uint32_t id) const {
  auto it = slots_.find(id);
  if (it == slots_.end()) return 0.0;
  return it->second.type == VarType::Int32 ? it->second.i : it->second.d;
}

int32_t Variables::get_int(uint32_t id) const {
  auto it = slots_.find(id);
  if (it == slots_.end()) return 0;
  return it->second.type == VarType::Int32 ? it->second.i : to_int32(it->second.d);
}

void Variables::set(uint32_t id, double value) {
  Slot& s = slots_[id];
  s.type = type(id);
  if (s.type == VarType::Int32)
    s.i = to_int32(value);
  else
    s.d = value;
}

void Variables::set_int(uint32_t id, int32_t value) {
  Slot& s = slots_[id];
  s.type = type(id);
  if (s.type == VarType::Int32)
    s.i = value;
  else
    s.d = value;
}

void Variables::read_into(MODULE_VAR& var) const {
  std::memset(&var.value, 0, sizeof var.value);
  if (var.id == 0) {
    var.type = VAR_TYPE_NONE;
    return;
  }
  auto it = slots_.find(var.id);
  const VarType t = type(var.id);
  if (t == VarType::Int32) {
    var.type = VAR_TYPE_INT32;
    var.value.i = it == slots_.end() ? 0 : it->second.i;
  } else {
    var.type = VAR_TYPE_FLOAT64;
    var.value.d = it == slots_.end() ? 0.0 : it->second.d;
  }
}

}  // namespace host
