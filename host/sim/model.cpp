#include "host/sim/model.h"

#include <array>

#include "host/sim/catalogue.h"

namespace sim {
namespace {

constexpr auto rules = std::to_array<EventRule>({
    {0x102C1, Effect::Toggle, 0x16C, "battery master toggle"},
    {0x1033B, Effect::Toggle, 0x235, "engine 1 generator toggle"},
    {0x1033C, Effect::Toggle, 0x23F, "engine 2 generator toggle"},
    {0x102F5, Effect::Toggle, 0x305, "avionics master toggle"},
    {0x10321, Effect::Toggle, 0x389, "de-ice toggle"},
    {0x10142, Effect::Toggle, 0x0D, "pitot heat toggle"},
    {0x1034B, Effect::Toggle, 0x26B, "navigation lights toggle"},
    {0x102BF, Effect::Toggle, 0x170, "beacon light toggle"},
    {0x10018, Effect::Toggle, 0x0B, "strobe lights toggle"},
    {0x100D7, Effect::Toggle, 0x0E, "landing lights toggle"},
});

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
  switch (r->effect) {
    case Effect::Toggle:
      v.set(r->var, v.get(r->var) == 0 ? 1 : 0);
      break;
  }
}

}  // namespace sim
