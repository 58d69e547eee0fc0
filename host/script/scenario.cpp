#include "host/script/scenario.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "host/core/module_path.h"
#include "host/sim/catalogue.h"

namespace fs = std::filesystem;

namespace script {
namespace {

using json = nlohmann::ordered_json;

// ---- reading -----------------------------------------------------------------------

struct Line {
  const std::string& path;
  int line_number;
  std::vector<std::string> words;
  std::vector<bool> quoted;
  size_t at = 0;

  [[noreturn]] void fail(const std::string& what) const {
    throw ScriptError(path + ":" + std::to_string(line_number) + ": " + what);
  }
  bool more() const { return at < words.size(); }
  const std::string& peek() const { return words[at]; }
  std::string word(const char* what) {
    if (!more()) fail(std::string("expected ") + what + " at the end of the line");
    return words[at++];
  }
  bool accept(const char* w) {
    if (more() && words[at] == w && !quoted[at]) return ++at, true;
    return false;
  }
  void end() const {
    if (more()) fail("unexpected \"" + words[at] + "\" after the command");
  }
  double number(const char* what) {
    const std::string w = word(what);
    auto v = sim::parse_value(w);
    if (!v) fail(std::string("expected ") + what + ", got \"" + w + "\"");
    return *v;
  }
  long long integer(const char* what, long long lo, long long hi) {
    const std::string w = word(what);
    char* end = nullptr;
    const long long v = std::strtoll(w.c_str(), &end, 0);
    if (w.empty() || end == nullptr || *end != '\0' || v < lo || v > hi)
      fail(std::string("expected ") + what + ", got \"" + w + "\"");
    return v;
  }
  uint32_t variable() {
    const std::string w = word("a variable (a number such as 0x16C, or a catalogue name)");
    auto v = sim::parse_variable(w);
    if (!v) fail("\"" + w + "\" is neither a variable number nor a name of the catalogue (gaugehost vars lists them)");
    return *v;
  }
  uint32_t event() { return static_cast<uint32_t>(integer("a key event number such as 0x102C1", 1, 0xFFFFFFFFll)); }
  PIXPOINT point() {
    const int x = static_cast<int>(integer("x", -100000, 100000));
    const int y = static_cast<int>(integer("y", -100000, 100000));
    return {x, y};
  }
  host::Button button() {
    if (accept("left")) return host::Button::Left;
    if (accept("right")) return host::Button::Right;
    if (accept("middle")) return host::Button::Middle;
    return host::Button::Left;
  }
  Compare compare() {
    const std::string w = word("a comparison (== != < > <= >= ~=)");
    if (w == "==") return Compare::Eq;
    if (w == "!=") return Compare::Ne;
    if (w == "<") return Compare::Lt;
    if (w == ">") return Compare::Gt;
    if (w == "<=") return Compare::Le;
    if (w == ">=") return Compare::Ge;
    if (w == "~=") return Compare::Approx;
    fail("expected a comparison (== != < > <= >= ~=), got \"" + w + "\"");
  }
  void comparison(Command& c) {
    c.compare = compare();
    c.value = number("a value");
    if (accept("within")) {
      if (c.compare != Compare::Approx) fail("\"within\" goes with ~=");
      c.tolerance = number("a tolerance");
      if (!(c.tolerance >= 0)) fail("a tolerance is not negative");
    }
  }
  // An optional element number before a word that is not a number.
  int element() {
    if (more() && !quoted[at] && !words[at].empty() && std::isdigit(static_cast<unsigned char>(words[at][0])) &&
        at + 1 < words.size())
      return static_cast<int>(integer("an element number", 1, 64));
    return 0;
  }
};

std::vector<std::pair<std::string, bool>> split(const std::string& text, const Line& l) {
  std::vector<std::pair<std::string, bool>> out;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::string w;
      ++i;
      bool closed = false;
      while (i < text.size()) {
        if (text[i] == '\\' && i + 1 < text.size()) {
          w += text[i + 1];
          i += 2;
        } else if (text[i] == '"') {
          closed = true;
          ++i;
          break;
        } else {
          w += text[i++];
        }
      }
      if (!closed) l.fail("a quoted text without its closing quote");
      out.push_back({w, true});
    } else {
      size_t j = i;
      while (j < text.size() && text[j] != ' ' && text[j] != '\t' && text[j] != '\r' && text[j] != '#') ++j;
      out.push_back({text.substr(i, j - i), false});
      i = j;
    }
  }
  return out;
}

Command parse_line(Line& l) {
  Command c;
  c.line = l.line_number;
  const std::string verb = l.word("a command");
  c.verb = verb;
  if (verb == "panel") {
    c.text = l.word("a layout file");
  } else if (verb == "load") {
    c.text = l.word("a module (a gauge name or a file)");
    while (l.more()) {
      if (l.accept("as")) {
        c.name = l.word("a name");
      } else if (l.accept("at")) {
        c.point = l.point();
        c.has_point = true;
      } else {
        l.fail("expected \"as NAME\" or \"at X Y\", got \"" + l.peek() + "\"");
      }
    }
  } else if (verb == "start") {
    if (l.more()) c.gauge = l.word("a gauge");
  } else if (verb == "set" && l.accept("named")) {
    c.verb = "set named";
    c.text = l.word("a name");
    l.accept("=");
    c.value = static_cast<double>(l.integer("a 32-bit integer", INT32_MIN, INT32_MAX));
  } else if (verb == "set") {
    c.id = l.variable();
    l.accept("=");
    c.value = l.number("a value (a number, nan, inf or -inf)");
  } else if (verb == "event") {
    c.id = l.event();
    if (l.more()) c.value = static_cast<double>(l.integer("an event value", 0, 0xFFFFFFFFll));
  } else if (verb == "click" || verb == "press") {
    c.gauge = l.word("a gauge");
    c.point = l.point();
    c.button = l.button();
  } else if (verb == "hold") {
    c.gauge = l.word("a gauge");
    c.point = l.point();
    c.button = l.button();
    if (!l.accept("for")) l.fail("expected \"for N repeats\" or \"for N s\"");
    const double n = l.number("a number of repeats or seconds");
    if (l.accept("repeats") || l.accept("repeat")) {
      if (n < 0 || n > 100000 || n != std::floor(n)) l.fail("the repeats are a whole number from 0 to 100000");
      c.count = static_cast<int>(n);
    } else if (l.accept("s") || l.accept("seconds")) {
      if (!(n >= 0 && n <= 3600)) l.fail("a hold lasts 0 to 3600 seconds");
      c.value = n;
      c.seconds = true;
    } else {
      l.fail("expected \"repeats\" or \"s\" after the number");
    }
  } else if (verb == "release" || verb == "update" || verb == "draw") {
  } else if (verb == "step") {
    const double n = l.number("a time");
    if (l.accept("frames") || l.accept("frame")) {
      if (n < 0 || n > 1000000 || n != std::floor(n)) l.fail("the frames are a whole number");
      c.count = static_cast<int>(n);
    } else {
      if (!l.accept("s")) l.accept("seconds");
      if (!(n >= 0 && n <= 36000)) l.fail("a step lasts 0 to 36000 seconds");
      c.value = n;
      c.seconds = true;
    }
  } else if (verb == "service") {
    c.gauge = l.word("a gauge");
    c.value = static_cast<double>(l.integer("a service code", INT32_MIN, UINT32_MAX));
    if (l.more()) c.id = static_cast<uint32_t>(l.integer("an extra word", INT32_MIN, UINT32_MAX));
  } else if (verb == "unload" || verb == "reload") {
    c.text = l.word("a module");
  } else if (verb == "render") {
    c.gauge = l.word("a gauge, or panel");
    c.text = l.word("a PNG file");
    c.count = 1;
    while (l.more()) {
      if (l.accept("scale")) {
        c.count = static_cast<int>(l.integer("a scale from 1 to 16", 1, 16));
      } else if (l.accept("hotspots")) {
        c.flag = true;
      } else {
        l.fail("expected \"scale N\" or \"hotspots\", got \"" + l.peek() + "\"");
      }
    }
  } else if (verb == "expect") {
    const std::string what = l.word("what to expect (var, events, no, frame, needle, text, named)");
    c.verb = "expect " + what;
    if (what == "var") {
      c.id = l.variable();
      l.comparison(c);
    } else if (what == "events") {
      if (!l.more()) l.fail("expected at least one event (or write \"expect no events\")");
      while (l.more()) {
        const std::string w = l.word("an event");
        const size_t eq = w.find('=');
        char* end = nullptr;
        const std::string id_text = w.substr(0, eq);
        const unsigned long long id = std::strtoull(id_text.c_str(), &end, 0);
        if (id_text.empty() || *end != '\0' || id == 0 || id > 0xFFFFFFFFull) l.fail("\"" + w + "\" is not EVENT or EVENT=VALUE");
        unsigned long long value = 0;
        if (eq != std::string::npos) {
          const std::string v = w.substr(eq + 1);
          value = std::strtoull(v.c_str(), &end, 0);
          if (v.empty() || *end != '\0' || value > 0xFFFFFFFFull) l.fail("\"" + w + "\" is not EVENT or EVENT=VALUE");
        }
        c.events.push_back({static_cast<uint32_t>(id), static_cast<uint32_t>(value)});
      }
    } else if (what == "no") {
      if (!l.accept("events")) l.fail("expected \"expect no events\"");
      c.verb = "expect no events";
    } else if (what == "frame") {
      c.gauge = l.word("a gauge");
      c.element = l.element();
      c.count = static_cast<int>(l.integer("a frame number", 0, 1000));
    } else if (what == "needle") {
      c.gauge = l.word("a gauge");
      c.element = l.element();
      if (l.accept("angle")) {
        c.flag = true;
      } else if (!l.accept("value")) {
        l.fail("expected \"value\" or \"angle\"");
      }
      l.comparison(c);
    } else if (what == "text") {
      c.gauge = l.word("a gauge");
      c.element = l.element();
      if (!l.more() || !l.quoted[l.at]) l.fail("expected the text in double quotes");
      c.text = l.word("a text");
    } else if (what == "named") {
      c.text = l.word("a name");
      if (l.accept("absent")) {
        c.compare = Compare::Absent;
      } else {
        l.comparison(c);
      }
    } else {
      l.fail("unknown expectation \"" + what + "\" (var, events, no events, frame, needle, text, named)");
    }
  } else {
    l.fail("unknown command \"" + verb + "\" (see docs/scenarios.md)");
  }
  l.end();
  return c;
}

// ---- running -----------------------------------------------------------------------

std::string fmt(double v) {
  if (std::isnan(v)) return "nan";
  std::ostringstream o;
  o.precision(12);
  o << v;
  return o.str();
}

std::string hex(uint32_t v) { return Trace::hex(v); }

std::string events_text(const std::vector<host::KeyEvent>& events) {
  if (events.empty()) return "none";
  std::string s;
  for (const auto& e : events) s += (s.empty() ? "" : " ") + hex(e.id) + "=" + std::to_string(e.value);
  return s;
}

bool holds(Compare c, double got, double want, double tolerance) {
  if (std::isnan(want)) return (c == Compare::Eq || c == Compare::Approx) ? std::isnan(got) : c == Compare::Ne ? !std::isnan(got) : false;
  switch (c) {
    case Compare::Eq: return got == want;
    case Compare::Ne: return got != want;
    case Compare::Lt: return got < want;
    case Compare::Gt: return got > want;
    case Compare::Le: return got <= want;
    case Compare::Ge: return got >= want;
    case Compare::Approx:
      if (std::isinf(want)) return got == want;
      return std::fabs(got - want) <= tolerance;
    case Compare::Absent: return false;
  }
  return false;
}

const char* compare_text(Compare c) {
  switch (c) {
    case Compare::Eq: return "==";
    case Compare::Ne: return "!=";
    case Compare::Lt: return "<";
    case Compare::Gt: return ">";
    case Compare::Le: return "<=";
    case Compare::Ge: return ">=";
    case Compare::Approx: return "~=";
    case Compare::Absent: return "absent";
  }
  return "?";
}

std::string button_name(host::Button b) {
  return b == host::Button::Left ? "left" : b == host::Button::Right ? "right" : "middle";
}

class Runner {
 public:
  Runner(const Script& s, const RunOptions& o, host::Host& h, sim::Model& m)
      : s_(s), o_(o), host_(h), model_(m), dir_(fs::path(s.path).parent_path()) {
    if (o.trace != nullptr) host_.set_observer(o.trace);
  }
  ~Runner() {
    if (o_.trace != nullptr) host_.set_observer(nullptr);
  }

  int run() {
    for (size_t i = 0; i < s_.commands.size(); ++i) {
      const Command& c = s_.commands[i];
      if (o_.before_command) o_.before_command(c, i, s_.commands.size());
      line_ = c.line;
      try {
        execute(c);
      } catch (const ScriptError&) {
        throw;
      } catch (const std::exception& e) {
        fail(e.what());
      }
    }
    return met_;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw ScriptError(s_.path + ":" + std::to_string(line_) + ": " + what);
  }
  void trace(const char* op, json fields = json::object()) {
    if (o_.trace != nullptr) o_.trace->op(line_, op, std::move(fields));
  }
  std::string relative(const std::string& p) const {
    if (fs::path(p).is_absolute() || dir_.empty()) return p;
    return (dir_ / p).string();
  }
  // A module as a script names it: a bare gauge name goes through the module path, a path
  // is taken relative to the script's folder.
  std::string module_file(const std::string& m) const {
    return host::resolve_module(host::is_module_path(m) ? relative(m) : m, o_.module_path);
  }
  host::Instance& gauge(const std::string& name) {
    if (host::Instance* i = host_.find(name)) return *i;
    std::string placed;
    for (const auto& i : host_.instances()) placed += (placed.empty() ? "" : ", ") + i->name();
    fail("no gauge named " + name + " (placed: " + (placed.empty() ? "none" : placed) + ")");
  }
  const host::ElementState& element(host::Instance& g, const Command& c, uint32_t kind, const char* kind_name) {
    const auto& els = g.elements();
    if (els.empty()) fail(g.name() + " has not been drawn yet (draw or step first)");
    if (c.element > 0) {
      if (static_cast<size_t>(c.element) > els.size())
        fail(g.name() + " has " + std::to_string(els.size()) + " elements, not " + std::to_string(c.element));
      const host::ElementState& e = els[c.element - 1];
      if (e.kind != kind) fail(g.name() + " element " + std::to_string(c.element) + " is not " + kind_name);
      return e;
    }
    const host::ElementState* found = nullptr;
    for (const auto& e : els)
      if (e.kind == kind) {
        if (found != nullptr) fail(g.name() + " has more than one " + kind_name + ": name its element number");
        found = &e;
      }
    if (found == nullptr) fail(g.name() + " has no " + kind_name);
    return *found;
  }
  void expect(bool ok, const std::string& what) {
    if (!ok) fail(what);
    ++met_;
  }
  void place(const std::string& module, PIXPOINT at, const std::string& name) {
    host::Instance& i = host_.place(host_.load(module_file(module)), at, name);
    trace("place", {{"gauge", i.name()}, {"module", i.module().name()}, {"at", {at.x, at.y}}});
  }
  host::Module& module(const std::string& m) {
    for (const auto& i : host_.instances())
      if (i->module().name() == m || i->name() == m) return i->module();
    const std::string file = module_file(m);
    for (const auto& mod : host_.modules())
      if (mod->path() == file) return *mod;
    fail("no module " + m + " is loaded");
  }

  void execute(const Command& c) {
    const std::string& v = c.verb;
    if (v == "panel") {
      layout_ = host::read_layout(relative(c.text));
      std::vector<std::string> left_out;
      for (host::Instance* i : host::place_layout(host_, layout_, o_.module_path, left_out))
        trace("place", {{"gauge", i->name()}, {"module", i->module().name()}, {"at", {i->position().x, i->position().y}}});
      if (!left_out.empty() && o_.left_out) o_.left_out(layout_, left_out);
    } else if (v == "load") {
      place(c.text, c.has_point ? c.point : PIXPOINT{0, 0}, c.name);
    } else if (v == "start") {
      for (const auto& i : host_.instances())
        if (c.gauge.empty() || i->name() == c.gauge) i->install();
      for (const auto& i : host_.instances())
        if (c.gauge.empty() || i->name() == c.gauge) i->initialise();
      if (!c.gauge.empty()) gauge(c.gauge);
    } else if (v == "set") {
      trace("set", {{"var", hex(c.id)}, {"value", Trace::number(c.value)}});
      host_.variables().set(c.id, c.value);
    } else if (v == "set named") {
      const host::Host::Named* n = host_.named(c.text);
      if (n == nullptr) fail("no named variable \"" + c.text + "\" is published");
      trace("set named", {{"name", c.text}, {"value", static_cast<int32_t>(c.value)}});
      *static_cast<int32_t*>(n->storage) = static_cast<int32_t>(c.value);
    } else if (v == "event") {
      trace("event", {{"event", hex(c.id)}, {"value", static_cast<uint32_t>(c.value)}});
      host_.trigger_key_event(c.id, static_cast<uint32_t>(c.value));
    } else if (v == "click" || v == "press") {
      host::Instance& g = gauge(c.gauge);
      trace(v.c_str(), {{"gauge", g.name()}, {"x", c.point.x}, {"y", c.point.y}, {"button", button_name(c.button)}});
      if (v == "click")
        host_.click(g, c.point, c.button);
      else
        host_.press(g, c.point, c.button);
    } else if (v == "release") {
      trace("release");
      host_.release();
    } else if (v == "hold") {
      host::Instance& g = gauge(c.gauge);
      trace("hold", {{"gauge", g.name()}, {"x", c.point.x}, {"y", c.point.y}, {"button", button_name(c.button)},
                     c.seconds ? json{"seconds", Trace::number(c.value)} : json{"repeats", c.count}});
      host_.press(g, c.point, c.button);
      if (c.seconds) {
        step(c.value);
      } else {
        for (int i = 0; i < c.count && host_.repeat(); ++i) {
        }
      }
      host_.release();
    } else if (v == "update") {
      trace("update");
      host_.update();
    } else if (v == "draw") {
      trace("draw");
      host_.draw();
    } else if (v == "step") {
      trace("step", c.seconds ? json{{"seconds", Trace::number(c.value)}} : json{{"frames", c.count}});
      step(c.seconds ? c.value : static_cast<double>(c.count) / sim::host_rate);
    } else if (v == "service") {
      gauge(c.gauge).service(static_cast<int32_t>(static_cast<int64_t>(c.value)), c.id);
    } else if (v == "unload" || v == "reload") {
      host::Module& m = module(c.text);
      struct Placed {
        std::string name;
        PIXPOINT at;
      };
      std::vector<Placed> placed;
      for (const auto& i : host_.instances())
        if (&i->module() == &m) placed.push_back({i->name(), i->position()});
      const std::string path = m.path();
      trace(v.c_str(), {{"module", m.name()}});
      host_.unload(m);
      if (v == "reload")
        for (const Placed& p : placed) host_.place(host_.load(path), p.at, p.name);
    } else if (v == "render") {
      if (!o_.render) {
        std::fprintf(stderr, "%s:%d: render skipped: this gaugehost has no renderer\n", s_.path.c_str(), line_);
        return;
      }
      std::string file = c.text;
      if (!fs::path(file).is_absolute() && !o_.out_dir.empty()) file = (fs::path(o_.out_dir) / file).string();
      const host::Instance* g = c.gauge == "panel" ? nullptr : &gauge(c.gauge);
      if (g != nullptr && g->elements().empty()) fail(g->name() + " has not been drawn yet (draw or step first)");
      o_.render(host_, g, layout_, file, c.count, c.flag);
    } else if (v == "expect var") {
      const double got = host_.variables().get(c.id);
      expect(holds(c.compare, got, c.value, c.tolerance),
             "expected variable " + hex(c.id) + " " + compare_text(c.compare) + " " + fmt(c.value) + ", it is " + fmt(got));
    } else if (v == "expect events" || v == "expect no events") {
      const auto& all = host_.events();
      const std::vector<host::KeyEvent> got(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
      seen_ = all.size();
      expect(got == c.events, "expected events " + events_text(c.events) + ", got " + events_text(got));
    } else if (v == "expect frame") {
      host::Instance& g = gauge(c.gauge);
      const auto& e = element(g, c, ELEMENT_KIND_ICON, "an icon");
      expect(e.frame == c.count, "expected " + g.name() + " to show frame " + std::to_string(c.count) +
                                     ", it shows frame " + std::to_string(e.frame) + " (value " + fmt(e.value) + ")");
    } else if (v == "expect needle") {
      host::Instance& g = gauge(c.gauge);
      const auto& e = element(g, c, ELEMENT_KIND_NEEDLE, "a needle");
      const double got = c.flag ? e.degrees : e.value;
      expect(holds(c.compare, got, c.value, c.tolerance),
             std::string("expected ") + g.name() + " needle " + (c.flag ? "angle " : "value ") + compare_text(c.compare) +
                 " " + fmt(c.value) + ", it is " + fmt(got));
    } else if (v == "expect text") {
      host::Instance& g = gauge(c.gauge);
      const auto& e = element(g, c, ELEMENT_KIND_STRING, "a string");
      expect(e.text == c.text, "expected " + g.name() + " to read \"" + c.text + "\", it reads \"" + e.text + "\"");
    } else if (v == "expect named") {
      const host::Host::Named* n = host_.named(c.text);
      if (c.compare == Compare::Absent) {
        expect(n == nullptr, "expected no named variable \"" + c.text + "\", it is published");
        return;
      }
      if (n == nullptr) fail("expected named variable \"" + c.text + "\" " + compare_text(c.compare) + " " +
                             fmt(c.value) + ", it is not published");
      const double got = *static_cast<const int32_t*>(n->storage);
      expect(holds(c.compare, got, c.value, c.tolerance), "expected named variable \"" + c.text + "\" " +
                                                              compare_text(c.compare) + " " + fmt(c.value) + ", it is " + fmt(got));
    } else {
      fail("cannot run \"" + v + "\"");
    }
  }

  void step(double seconds) {
    if (o_.step)
      o_.step(seconds);
    else
      model_.step(seconds);
  }

  const Script& s_;
  const RunOptions& o_;
  host::Host& host_;
  sim::Model& model_;
  fs::path dir_;
  host::Layout layout_;
  int line_ = 0;
  int met_ = 0;
  size_t seen_ = 0;
};

}  // namespace

Script parse_script(const std::string& text, const std::string& path) {
  Script s;
  s.path = path;
  std::istringstream in(text);
  std::string raw;
  for (int n = 1; std::getline(in, raw); ++n) {
    Line l{path, n, {}, {}};
    for (auto& [w, q] : split(raw, l)) {
      l.words.push_back(w);
      l.quoted.push_back(q);
    }
    if (l.words.empty()) continue;
    s.commands.push_back(parse_line(l));
  }
  return s;
}

Script read_script(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptError(path + ": cannot open the script");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parse_script(text, path);
}

int run_script(const Script& s, const RunOptions& o, host::Host& h, sim::Model& m) { return Runner(s, o, h, m).run(); }

int run_script(const Script& s, const RunOptions& o) {
  host::Host h;
  sim::Model m(h);
  return run_script(s, o, h, m);
}

}  // namespace script
