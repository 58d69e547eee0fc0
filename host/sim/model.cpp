#include "host/sim/model.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "host/sim/catalogue.h"

namespace sim {
namespace {

using E = Effect;

constexpr auto rules = std::to_array<EventRule>({
    // electrical and lighting switches
    {0x102C1, E::Toggle, 0x16C, 0, 0, "battery master toggle"},
    {0x1033B, E::Toggle, 0x235, 0, 0, "engine 1 generator toggle"},
    {0x1033C, E::Toggle, 0x23F, 0, 0, "engine 2 generator toggle"},
    {0x102F5, E::Toggle, 0x305, 0, 0, "avionics master toggle"},
    {0x10321, E::Toggle, 0x389, 0, 0, "de-ice toggle"},
    {0x10142, E::Toggle, 0x0D, 0, 0, "pitot heat toggle"},
    {0x1034B, E::Toggle, 0x26B, 0, 0, "navigation lights toggle"},
    {0x102BF, E::Toggle, 0x170, 0, 0, "beacon light toggle"},
    {0x10018, E::Toggle, 0x0B, 0, 0, "strobe lights toggle"},
    {0x100D7, E::Toggle, 0x0E, 0, 0, "landing lights toggle"},
    // engine and fuel controls
    {0x1017F, E::FromValue, 0x230, 16384, 0, "set the port H.P. cock lever (16384 full travel)"},
    {0x10180, E::FromValue, 0x23A, 16384, 0, "set the starboard H.P. cock lever"},
    {0x102FC, E::Set, 0x233, 1, 0, "start engine 1: the starter engages"},
    {0x102FD, E::Set, 0x23D, 1, 0, "start engine 2: the starter engages"},
    {0x10183, E::StepClamp, 0x22F, -0.1, 0, "engine 1 advanced-lever event: propeller variable toward 0"},
    {0x10184, E::StepClamp, 0x239, -0.1, 0, "engine 2 advanced-lever event: propeller variable toward 0"},
    {0x101D5, E::StepClamp, 0x22F, 0.1, 0, "engine 1 idle-lever event: propeller variable toward 1"},
    {0x101DA, E::StepClamp, 0x239, 0.1, 0, "engine 2 idle-lever event: propeller variable toward 1"},
    {0x10161, E::Set, 0x134, 1, 0, "select crossfeed LEFT"},
    {0x1015F, E::Set, 0x134, 0, 0, "select crossfeed OFF"},
    {0x10160, E::Set, 0x134, 2, 0, "select crossfeed RIGHT"},
    {0x10022, E::Alternate, 0x14B, 0, 16383, "gear handle: to the other position"},
    // autopilot
    {0x10100, E::Set, 0x67, 1, 0, "engage the autopilot"},
    {0x100FF, E::Set, 0x67, 0, 0, "disengage the autopilot"},
    {0x1010E, E::Set, 0x70, 1, 0, "approach hold on"},
    {0x10116, E::Set, 0x70, 0, 0, "approach hold off"},
    {0x1010F, E::Set, 0x6A, 1, 0, "heading hold on"},
    {0x10117, E::Set, 0x6A, 0, 0, "heading hold off"},
    {0x10110, E::Set, 0x6C, 1, 0, "altitude hold on"},
    {0x10118, E::Set, 0x6C, 0, 0, "altitude hold off"},
    {0x10112, E::Set, 0x71, 1, 0, "back-course hold on"},
    {0x1011A, E::Set, 0x71, 0, 0, "back-course hold off"},
    {0x10113, E::Set, 0x69, 1, 0, "NAV hold on"},
    {0x1011B, E::Set, 0x69, 0, 0, "NAV hold off"},
    {0x10111, E::Set, 0x68, 1, 0, "wing leveler on"},
    {0x10119, E::Set, 0x68, 0, 0, "wing leveler off"},
    {0x10101, E::Toggle, 0x72, 0, 0, "yaw damper toggle"},
    // navigation
    {0x10157, E::StepWrap, 0x6B, 1, 360, "heading bug one step up"},
    {0x10158, E::StepWrap, 0x6B, -1, 360, "heading bug one step down"},
    {0x1007F, E::StepWrap, 0x2D, 1, 360, "NAV 1 course one step up"},
    {0x1007E, E::StepWrap, 0x2D, -1, 360, "NAV 1 course one step down"},
    {0x10081, E::StepWrap, 0x36, 1, 360, "NAV 2 course one step up"},
    {0x10080, E::StepWrap, 0x36, -1, 360, "NAV 2 course one step down"},
    {0x10164, E::StepClamp, 0x6D, 1, 0, "altimeter setting one step up"},
    {0x10165, E::StepClamp, 0x6D, -1, 0, "altimeter setting one step down"},
});

// Limits of the variables that StepClamp moves.
struct Range {
  uint32_t var;
  double lo, hi;
};
constexpr Range ranges[] = {{0x22F, 0, 1}, {0x239, 0, 1}, {0x6D, 940, 1090}};

// Per engine: the variables the model moves.
struct EngineVars {
  uint32_t rpm, tgt, psi, oil_pressure, oil_temperature, fuel_flow, starter, hp_cock, lever;
};
constexpr EngineVars engine_vars[2] = {
    {0x2BC, 0x277, 0x275, 0x232, 0x231, 0x27E, 0x233, 0x230, 0x80},
    {0x2C4, 0x28A, 0x288, 0x23C, 0x23B, 0x291, 0x23D, 0x23A, 0xA3},
};

// Engine figures: speeds in RPM, temperatures in degrees Celsius.
constexpr double cranking_rpm = 550;      // what the starter alone reaches
constexpr double light_off_rpm = 450;     // with the H.P. cock open, fuel lights here
constexpr double idle_rpm = 1100;         // running, R.P.M. lever at IDLING
constexpr double max_rpm = 2000;          // running, R.P.M. lever at MAX
constexpr double starter_release_rpm = 900;
constexpr double starter_limit_s = 40;    // the starter drops out after this
constexpr double ambient_c = 15;

double rankine(double celsius) { return celsius * 1.8 + 491.67; }
double celsius(double rankine) { return (rankine - 491.67) / 1.8; }

// First-order lag toward a target with time constant tau (a backward-Euler step: plain
// arithmetic, so that both targets compute the same values to the last bit).
double lag(double value, double target, double tau, double dt) {
  if (!std::isfinite(value)) return target;
  return value + (target - value) * (dt / (tau + dt));
}

}  // namespace

std::span<const EventRule> event_rules() { return rules; }

const EventRule* find_rule(uint32_t event) {
  for (const EventRule& r : rules)
    if (r.event == event) return &r;
  return nullptr;
}

Model::Model(host::Host& host) : host_(host) {
  for (const VarInfo& v : catalogue()) host_.variables().declare(v.id, v.type, v.initial);
  host_.on_key_event = [this](const host::KeyEvent& e) { answer(e); };
}

Model::~Model() { host_.on_key_event = nullptr; }

void Model::answer(const host::KeyEvent& e) {
  const EventRule* r = find_rule(e.id);
  if (r == nullptr) return;
  host::Variables& v = host_.variables();
  const double now = v.get(r->var);
  switch (r->effect) {
    case Effect::Toggle:
      v.set(r->var, now == 0 ? 1 : 0);
      break;
    case Effect::Set:
      v.set(r->var, r->a);
      break;
    case Effect::FromValue:
      v.set(r->var, e.value / r->a);
      break;
    case Effect::StepWrap: {
      const double stepped = std::fmod(std::round(std::isfinite(now) ? now : 0) + r->a, r->b);
      v.set(r->var, stepped < 0 ? stepped + r->b : stepped);
      break;
    }
    case Effect::StepClamp: {
      double lo = -1e300, hi = 1e300;
      for (const Range& range : ranges)
        if (range.var == r->var) lo = range.lo, hi = range.hi;
      v.set(r->var, std::clamp((std::isfinite(now) ? now : lo) + r->a, lo, hi));
      break;
    }
    case Effect::Alternate:
      v.set(r->var, now == r->b ? r->a : r->b);
      break;
  }
}

void Model::advance_engine(int i, double dt) {
  const EngineVars& ev = engine_vars[i];
  Engine& en = engines_[i];
  host::Variables& v = host_.variables();
  const double rpm = std::isfinite(v.get(ev.rpm)) ? v.get(ev.rpm) : 0;
  const bool starter = v.get(ev.starter) == 1;
  const bool fuel = v.get(ev.hp_cock) > 0;

  // An engine burns while its H.P. cock is open and it turns fast enough to keep alight.
  const bool lit = fuel && rpm > light_off_rpm;
  if (starter) {
    en.cranking += dt;
    if ((lit && rpm > starter_release_rpm) || en.cranking > starter_limit_s) {
      v.set(ev.starter, 0);
      en.cranking = 0;
    }
  } else {
    en.cranking = 0;
  }

  const double lever = std::clamp(v.get(ev.lever) / 16383.0, 0.0, 1.0);
  double target = 0, tau = 4;
  if (lit) {
    target = idle_rpm + (max_rpm - idle_rpm) * (std::isfinite(lever) ? lever : 0);
    tau = 3;
  } else if (starter) {
    target = cranking_rpm;
    tau = 2;
  }
  const double new_rpm = lag(rpm, target, tau, dt);
  v.set(ev.rpm, new_rpm < 0.5 && target == 0 ? 0 : new_rpm);

  // What follows engine speed.
  const double tgt_c = lit ? 380 + 0.22 * new_rpm : ambient_c + 0.02 * new_rpm;
  v.set(ev.tgt, rankine(lag(celsius(v.get(ev.tgt)), tgt_c, 4, dt)));
  const double oil_psi = std::min(40.0, 35 * new_rpm / max_rpm);
  v.set(ev.oil_pressure, lag(v.get(ev.oil_pressure) / 1638, oil_psi, 1.5, dt) * 1638);
  const double oil_c = lit ? 45 + 0.02 * new_rpm : ambient_c;
  v.set(ev.oil_temperature, rankine(lag(celsius(v.get(ev.oil_temperature)), oil_c, 30, dt)));
  const double flow = lit ? 250 + 0.65 * new_rpm : 0;
  v.set(ev.fuel_flow, lag(v.get(ev.fuel_flow), flow, 1, dt));
  const double psi = lit ? 0.2 + 0.7 * std::max(0.0, new_rpm - idle_rpm) / (max_rpm - idle_rpm) : 0;
  v.set(ev.psi, lag(v.get(ev.psi), psi, 2, dt));
}

void Model::advance(double dt) {
  if (!(dt > 0)) return;
  for (int i = 0; i < 2; ++i) advance_engine(i, dt);
}

int Model::step(double seconds) {
  // Whole frames only; a remainder carries over to the next step.
  pending_ += std::max(0.0, seconds);
  const double frame = 1.0 / host_rate;
  int frames = 0;
  while (pending_ + 1e-9 >= frame) {
    pending_ -= frame;
    advance(frame);
    host_.advance(frame);
    host_.update();
    host_.draw();
    ++frames;
  }
  return frames;
}

}  // namespace sim
