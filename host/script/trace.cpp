#include "host/script/trace.h"

#include <cmath>
#include <stdexcept>

#include "host/core/names.h"

namespace script {

using json = nlohmann::ordered_json;

namespace {
json who(const host::Instance* i) { return i != nullptr ? json(i->name()) : json(nullptr); }
}  // namespace

Trace::Trace(const std::string& path) : f_(std::fopen(path.c_str(), "wb")) {
  if (f_ == nullptr) throw std::runtime_error(path + ": cannot write the trace");
}

Trace::~Trace() {
  if (f_ != nullptr) std::fclose(f_);
}

json Trace::number(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  return v;
}

std::string Trace::hex(uint32_t v) { return host::hex(v); }

void Trace::write(const json& j) {
  const std::string s = j.dump(-1, ' ', false, json::error_handler_t::replace);
  std::fputs(s.c_str(), f_);
  std::fputc('\n', f_);
}

void Trace::op(int line, const char* name, json fields) {
  json j;
  j["op"] = name;
  j["line"] = line;
  for (auto& [k, v] : fields.items()) j[k] = v;
  write(j);
}

void Trace::service(const host::Instance& g, int32_t code, uint32_t extra) {
  write({{"op", "service"}, {"gauge", g.name()}, {"code", code}, {"extra", extra}});
}

void Trace::value(const host::Instance& g, size_t element, const host::ElementState& s) {
  json j = {{"op", "value"}, {"gauge", g.name()}, {"element", element + 1}, {"kind", host::element_kind_name(s.kind)}};
  if (s.kind == ELEMENT_KIND_STATIC_IMAGE) return;
  j["source"] = number(s.source);
  j["result"] = number(s.value);
  switch (s.kind) {
    case ELEMENT_KIND_ICON: j["frame"] = s.frame; break;
    case ELEMENT_KIND_NEEDLE: j["degrees"] = number(std::round(s.degrees * 1e6) / 1e6); break;
    case ELEMENT_KIND_STRING: j["text"] = s.text; break;
    case ELEMENT_KIND_SLIDER:
      j["result_y"] = number(s.value_y);
      j["offset"] = json::array({number(s.offset_x), number(s.offset_y)});
      break;
    default: break;
  }
  write(j);
}

void Trace::handler(const host::Instance& g, size_t area, PIXPOINT p, uint32_t flags, int32_t result) {
  write({{"op", "handler"}, {"gauge", g.name()}, {"area", area + 1}, {"x", p.x}, {"y", p.y},
         {"flags", hex(flags)}, {"result", result}});
}

void Trace::key_event(const host::Instance* from, const host::KeyEvent& e) {
  write({{"op", "trigger_key_event"}, {"gauge", who(from)}, {"event", hex(e.id)}, {"value", e.value}});
}

void Trace::lookup(const host::Instance* from, const MODULE_VAR& v) {
  json value = v.type == VAR_TYPE_INT32 ? json(v.value.i) : number(v.value.d);
  write({{"op", "lookup_var"}, {"gauge", who(from)}, {"var", hex(v.id)}, {"value", value}});
}

void Trace::named(const host::Instance* from, const char* op, const std::string& name, int32_t result) {
  write({{"op", op}, {"gauge", who(from)}, {"name", name}, {"result", result}});
}

}  // namespace script
