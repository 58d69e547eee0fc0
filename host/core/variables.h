// The simulator variables the host owns. Each has a type: most hold a double; an integer
// variable is handed to modules as a 32-bit integer in the first four bytes of the value.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "framework/host_interface.h"

namespace host {

enum class VarType { Float64, Int32 };

class Variables {
 public:
  // Gives a variable its type and value. Unknown variables are doubles at 0.
  void declare(uint32_t id, VarType type, double initial);
  VarType type(uint32_t id) const;

  // The value as a double (an integer variable converted exactly).
  double get(uint32_t id) const;
  int32_t get_int(uint32_t id) const;

  // Sets a variable. For an integer variable the double is converted by a defined rule:
  // truncated toward zero, NaN gives 0, and values beyond the 32-bit range give its ends.
  void set(uint32_t id, double value);
  void set_int(uint32_t id, int32_t value);

  // What lookup_var writes into a module variable: its value and type word. Number 0 is
  // no variable: it reads 0.0 with type none.
  void read_into(MODULE_VAR& var) const;

  static int32_t to_int32(double v);

 private:
  struct Slot {
    VarType type = VarType::Float64;
    double d = 0;
    int32_t i = 0;
  };
  std::unordered_map<uint32_t, Slot> slots_;
  std::unordered_map<uint32_t, VarType> declared_;
};

}  // namespace host
