#include "host/core/layout.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>

#include "host/core/host.h"
#include "host/core/module_path.h"

namespace host {
namespace {

using json = nlohmann::json;

int line_of(const std::string& text, size_t byte) {
  int line = 1;
  for (size_t i = 0; i < byte && i < text.size(); ++i)
    if (text[i] == '\n') ++line;
  return line;
}

uint32_t parse_colour(const std::string& s, const std::string& where) {
  if (s.size() == 7 && s[0] == '#') {
    char* end = nullptr;
    const unsigned long v = std::strtoul(s.c_str() + 1, &end, 16);
    if (end != nullptr && *end == '\0') return static_cast<uint32_t>(v);
  }
  throw LayoutError(where + ": colour \"" + s + "\" is not #RRGGBB");
}

int whole(const json& v, const std::string& where, int lo, int hi) {
  if (!v.is_number_integer()) throw LayoutError(where + " is not a whole number");
  if (v.is_number_unsigned() && v.get<unsigned long long>() > static_cast<unsigned long long>(hi))
    throw LayoutError(where + " is out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")");
  const long long n = v.get<long long>();
  if (n < lo || n > hi) throw LayoutError(where + " is out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")");
  return static_cast<int>(n);
}

}  // namespace

Layout parse_layout(const std::string& text, const std::string& path) {
  json j;
  try {
    j = json::parse(text);
  } catch (const json::parse_error& e) {
    std::string what = e.what();
    if (auto at = what.find("; "); at != std::string::npos) what = what.substr(at + 2);
    throw LayoutError(path + ":" + std::to_string(line_of(text, e.byte > 0 ? e.byte - 1 : 0)) + ": " + what);
  } catch (const json::exception& e) {
    // A number beyond what JSON numbers here can hold, for one.
    std::string what = e.what();
    if (auto at = what.find("] "); at != std::string::npos) what = what.substr(at + 2);
    throw LayoutError(path + ": " + what);
  }
  if (!j.is_object()) throw LayoutError(path + ": a layout is a JSON object");
  Layout l;
  l.path = path;
  for (const auto& [key, value] : j.items())
    if (key != "panel" && key != "gauges" && key != "comment")
      throw LayoutError(path + ": unknown key \"" + key + "\" (panel, gauges, comment)");
  if (!j.contains("panel") || !j["panel"].is_object()) throw LayoutError(path + ": no \"panel\" object");
  const json& p = j["panel"];
  if (!p.contains("size") || !p["size"].is_array() || p["size"].size() != 2)
    throw LayoutError(path + ": panel size is [width, height]");
  l.width = whole(p["size"][0], path + ": panel width", 1, 16384);
  l.height = whole(p["size"][1], path + ": panel height", 1, 16384);
  l.colour = p.contains("colour") ? parse_colour(p["colour"].is_string() ? p["colour"].get<std::string>() : "",
                                                  path + ": panel")
                                  : 0x202428;
  if (!j.contains("gauges") || !j["gauges"].is_array()) throw LayoutError(path + ": no \"gauges\" list");
  std::set<std::string> names;
  int n = 0;
  for (const json& g : j["gauges"]) {
    const std::string where = path + ": gauge " + std::to_string(++n);
    if (!g.is_object() || !g.contains("module") || !g["module"].is_string() || g["module"].get<std::string>().empty())
      throw LayoutError(where + " has no \"module\"");
    LayoutGauge lg;
    lg.module = g["module"].get<std::string>();
    const std::string here = where + " (" + lg.module + ")";
    for (const auto& [key, value] : g.items())
      if (key != "module" && key != "at" && key != "name" && key != "comment")
        throw LayoutError(here + ": unknown key \"" + key + "\" (module, at, name, comment)");
    if (!g.contains("at") || !g["at"].is_array() || g["at"].size() != 2)
      throw LayoutError(here + ": \"at\" is [x, y]");
    lg.at = {whole(g["at"][0], here + ": x", -16384, 16384), whole(g["at"][1], here + ": y", -16384, 16384)};
    if (g.contains("name")) {
      if (!g["name"].is_string() || g["name"].get<std::string>().empty()) throw LayoutError(here + ": name is a text");
      lg.name = g["name"].get<std::string>();
      if (!names.insert(lg.name).second) throw LayoutError(here + ": the name \"" + lg.name + "\" is taken");
    }
    l.gauges.push_back(std::move(lg));
  }
  return l;
}

std::vector<Instance*> place_layout(Host& h, const Layout& layout, const std::vector<std::string>& module_path,
                                    std::vector<std::string>& left_out) {
  std::vector<Instance*> placed;
  // Paths in a layout are relative to the layout's folder.
  const std::filesystem::path dir = std::filesystem::path(layout.path).parent_path();
  for (const LayoutGauge& g : layout.gauges) {
    std::string module = g.module;
    if (is_module_path(module)) {
      if (!std::filesystem::path(module).is_absolute() && !dir.empty()) module = (dir / module).string();
    } else if (!find_module(module, module_path)) {
      left_out.push_back(g.module);
      continue;
    }
    placed.push_back(&h.place(h.load(resolve_module(module, module_path)), g.at, g.name));
  }
  return placed;
}

Layout read_layout(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LayoutError(path + ": cannot open the layout");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parse_layout(text, path);
}

}  // namespace host
