// The systems model: answers the key events the panel sends by changing the simulator
// variables the gauges show, so that a click closes the loop to the picture. A table of
// rules, not a flight model.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/core/host.h"

namespace sim {

enum class Effect {
  Toggle,  // the variable becomes 1 if it reads 0, else 0
};

struct EventRule {
  uint32_t event;
  Effect effect;
  uint32_t var;
  std::string_view role;
};

std::span<const EventRule> event_rules();
const EventRule* find_rule(uint32_t event);

class Model {
 public:
  // Declares the catalogue's variables in the host and answers its key events from now
  // on, for as long as the model lives.
  explicit Model(host::Host& host);
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  void answer(const host::KeyEvent& e);

 private:
  host::Host& host_;
};

}  // namespace sim
