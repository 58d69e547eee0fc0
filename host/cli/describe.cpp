#include "host/cli/describe.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "host/core/bitmap.h"
#include "host/core/names.h"

namespace cli {
namespace {

using json = nlohmann::ordered_json;

using host::hex;

const char* record_name(uint32_t k) {
  switch (k) {
    case MOUSE_PARENT: return "parent";
    case MOUSE_CHILD: return "child";
    case MOUSE_END_OF_PARENT: return "end of parent";
    case MOUSE_END_OF_LIST: return "end of list";
    default: return "unknown";
  }
}

const char* cursor_name(int32_t c) {
  switch (c) {
    case CURSOR_NONE: return "none";
    case CURSOR_UP_ARROW: return "up arrow";
    case CURSOR_DOWN_ARROW: return "down arrow";
    case CURSOR_HAND: return "hand";
    default: return "unknown";
  }
}

bool failures_empty(const ELEMENT_HEADER* e) {
  return e->failures != nullptr && e->failures[0].failure == 0 && e->failures[0].action == 0 &&
         e->failures[0].reserved == 0;
}

json point(PIXPOINT p) { return json::array({p.x, p.y}); }

json element(const host::Module& m, ELEMENT_HEADER* e) {
  json j;
  j["kind"] = host::element_kind_name(e->kind);
  j["bitmap"] = e->bitmap;
  j["position"] = point(e->position);
  j["pivot"] = point(e->pivot);
  j["image_flags"] = e->image_flags;
  j["failures_empty"] = failures_empty(e);
  int children = 0;
  if (e->next != nullptr)
    while (e->next[children] != nullptr && children < host::Module::max_elements) ++children;
  j["children"] = children;
  switch (e->kind) {
    case ELEMENT_KIND_ICON: {
      auto* i = reinterpret_cast<ELEMENT_ICON*>(e);
      j["source"] = i->source.id;
      j["icon_mode"] = i->icon_mode;
      j["frames"] = i->frame_count;
      j["value_routine"] = i->value_routine != nullptr;
      break;
    }
    case ELEMENT_KIND_NEEDLE: {
      auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(e);
      j["source"] = n->source.id;
      json rows = json::array();
      if (n->calibration != nullptr && m.contains(n->calibration))
        for (int r = 0; r < n->row_count && r < 16; ++r)
          rows.push_back({{"x", n->calibration[r].x}, {"y", n->calibration[r].y},
                          {"value", n->calibration[r].value}});
      j["calibration"] = rows;
      j["value_routine"] = n->value_routine != nullptr;
      break;
    }
    case ELEMENT_KIND_STRING: {
      auto* s = reinterpret_cast<ELEMENT_STRING*>(e);
      j["sources"] = json::array({s->sources[0].id, s->sources[1].id, s->sources[2].id});
      j["box"] = json::array({s->box_w, s->box_h});
      j["foreground"] = s->foreground;
      j["background"] = s->background;
      j["highlight"] = s->highlight;
      j["font"] = std::string(s->font_name, strnlen(s->font_name, FONT_NAME_SIZE));
      j["weight"] = s->font_weight;
      j["charset"] = s->charset;
      j["value_routine"] = s->value_routine != nullptr;
      break;
    }
    case ELEMENT_KIND_SLIDER: {
      auto* s = reinterpret_cast<ELEMENT_SLIDER*>(e);
      j["source_x"] = s->source_x.id;
      j["scale_x"] = s->scale_x;
      j["source_y"] = s->source_y.id;
      j["scale_y"] = s->scale_y;
      j["value_routines"] =
          json::array({s->value_routine_x != nullptr, s->value_routine_y != nullptr});
      break;
    }
    default:
      break;
  }
  return j;
}

}  // namespace

json describe(const host::Module& m) {
  json d;
  d["module"] = m.path();
  d["name"] = m.name();
  const GAUGESLINKAGE& l = *m.linkage();
  d["descriptor"] = {{"module_id", l.module_id},
                     {"module_version", l.module_version},
                     {"import_id", m.import_table()->panels.id}};
  const GAUGEHDR& h = *m.header();
  const bool other_routines = h.query_routine || h.install_routine || h.initialize_routine ||
                              h.update_routine || h.generate_routine || h.draw_routine ||
                              h.kill_routine;
  d["header"] = {{"version", h.header_version},
                 {"size_mm", json::array({h.size_x_mm, h.size_y_mm})},
                 {"service_routine", h.service != nullptr},
                 {"other_routines", other_routines}};
  json elements = json::array();
  for (ELEMENT_HEADER* e : m.element_tree()) elements.push_back(element(m, e));
  d["elements"] = elements;
  json mouse = json::array();
  for (const MOUSERECT* r : m.mouse_records()) {
    mouse.push_back({{"record", record_name(r->kind)},
                     {"box", json::array({r->box.x, r->box.y, r->box.w, r->box.h})},
                     {"cursor", r->cursor},
                     {"flags", r->mouse_flags},
                     {"handler", r->handler != nullptr}});
  }
  d["mouse"] = mouse;
  json res = json::array();
  for (int32_t id : m.bitmap_ids()) {
    auto data = m.bitmap_data(id);
    host::DibInfo info;
    std::string reason;
    json r = {{"id", id}, {"bytes", data.size()}};
    if (host::read_dib_info(data.data(), data.size(), info, reason)) {
      r["width"] = info.width;
      r["height"] = info.height < 0 ? -info.height : info.height;
      r["bits"] = info.bits_per_pixel;
      r["compression"] = info.compression;
    } else {
      r["error"] = reason;
    }
    res.push_back(r);
  }
  d["resources"] = res;
  const int32_t root = m.root()->bitmap;
  for (const json& r : res)
    if (r["id"] == root && r.contains("width")) d["size"] = json::array({r["width"], r["height"]});
  return d;
}

std::string describe_text(const json& d) {
  std::ostringstream o;
  o << d["name"].get<std::string>() << "  (" << d["module"].get<std::string>() << ")\n";
  const json& ds = d["descriptor"];
  o << "descriptor: module id " << hex(ds["module_id"]) << ", version " << hex(ds["module_version"])
    << ", import " << hex(ds["import_id"]) << "\n";
  const json& h = d["header"];
  o << "header: version " << h["version"].get<int>() << ", size " << h["size_mm"][0].get<int>()
    << " x " << h["size_mm"][1].get<int>() << " mm, service routine "
    << (h["service_routine"].get<bool>() ? "set" : "missing")
    << (h["other_routines"].get<bool>() ? ", other routines set" : ", no other routines") << "\n";
  if (d.contains("size"))
    o << "gauge size: " << d["size"][0].get<int>() << " x " << d["size"][1].get<int>() << " pixels\n";
  o << "elements:\n";
  int n = 0;
  for (const json& e : d["elements"]) {
    char line[160];
    std::snprintf(line, sizeof line, "  %d %-12s bitmap %-6s at (%d, %d)", ++n,
                  e["kind"].get<std::string>().c_str(),
                  e["bitmap"].get<int>() < 0 ? "none" : hex(e["bitmap"].get<int>()).c_str(),
                  e["position"][0].get<int>(), e["position"][1].get<int>());
    o << line;
    if (e["kind"] == "needle")
      o << " pivot (" << e["pivot"][0].get<int>() << ", " << e["pivot"][1].get<int>() << ")";
    if (e.contains("source")) o << "  source " << hex(e["source"]);
    if (e.contains("frames")) o << "  " << e["frames"].get<int>() << " frames, mode " << e["icon_mode"].get<int>();
    if (e.contains("calibration")) {
      o << "  rows";
      for (const json& r : e["calibration"])
        o << " (" << r["x"].get<int>() << ", " << r["y"].get<int>() << ") " << r["value"].get<double>();
    }
    if (e.contains("sources")) o << "  source " << hex(e["sources"][0]) << ", box " << e["box"][0].get<int>()
                                 << " x " << e["box"][1].get<int>() << ", " << e["font"].get<std::string>()
                                 << " " << e["weight"].get<int>();
    if (e.contains("scale_x")) o << "  x source " << hex(e["source_x"]) << " scale " << e["scale_x"].get<double>()
                                 << ", y source " << hex(e["source_y"]) << " scale " << e["scale_y"].get<double>();
    o << "  flags " << hex(e["image_flags"]) << (e["failures_empty"].get<bool>() ? "" : "  failure list not empty")
      << "\n";
  }
  o << "mouse areas:\n";
  for (const json& r : d["mouse"]) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-13s box (%d, %d, %d, %d)  cursor %d %s",
                  r["record"].get<std::string>().c_str(), r["box"][0].get<int>(), r["box"][1].get<int>(),
                  r["box"][2].get<int>(), r["box"][3].get<int>(), r["cursor"].get<int>(),
                  cursor_name(r["cursor"].get<int>()));
    o << line;
    if (r["record"] == "child") {
      const uint32_t f = r["flags"];
      o << "  flags " << hex(f) << ((f & MOUSE_REPEAT) ? " (left click, repeat while held)" : " (left click)")
        << (r["handler"].get<bool>() ? "  handler" : "  no handler");
    }
    o << "\n";
  }
  o << "bitmaps:\n";
  for (const json& r : d["resources"]) {
    o << "  " << hex(r["id"]);
    if (r.contains("error"))
      o << "  " << r["error"].get<std::string>();
    else
      o << "  " << r["width"].get<int>() << " x " << r["height"].get<int>() << ", " << r["bits"].get<int>()
        << "-bit" << (r["compression"].get<int>() == 0 ? "" : ", compressed");
    o << ", " << r["bytes"].get<size_t>() << " bytes\n";
  }
  return o.str();
}

}  // namespace cli
