// The systems model: answers the key events the panel sends by changing the simulator
// variables the gauges show, so that a click closes the loop to the picture, and moves a
// few values by themselves over simulated time (the engines). A table of rules and a
// handful of first-order lags, not a flight model; docs/systems-model.md tells the rules.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/core/host.h"

namespace sim {

enum class Effect {
  Toggle,     // 1 if the variable reads 0, else 0
  Set,        // to a, whatever the event's value
  FromValue,  // to the event's value divided by a
  StepWrap,   // by a, wrapped into 0 to b (headings, courses)
  StepClamp,  // by a, kept within lo to hi
  Alternate,  // to a when the variable reads b, otherwise to b (the gear handle)
};

struct EventRule {
  uint32_t event;
  Effect effect;
  uint32_t var;
  double a = 0;
  double b = 0;
  std::string_view role;
};

std::span<const EventRule> event_rules();
const EventRule* find_rule(uint32_t event);

// The host's rate: updates and draws per second of simulated time.
inline constexpr int host_rate = 18;

class Model {
 public:
  // Declares the catalogue's variables in the host and answers its key events from now
  // on, for as long as the model lives.
  explicit Model(host::Host& host);
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  void answer(const host::KeyEvent& e);
  // Moves the engines on by dt seconds.
  void advance(double dt);
  // Simulated time at the host rate: each frame the model and the mouse repeats move on,
  // then every gauge is updated and drawn. Returns the number of frames run.
  int step(double seconds);

 private:
  struct Engine {
    double cranking = 0;  // seconds the starter has been engaged
  };
  void advance_engine(int i, double dt);
  host::Host& host_;
  Engine engines_[2];
  double pending_ = 0;
};

}  // namespace sim
