#include "host/validate/validate.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>
#include <sstream>

#include "host/core/host.h"
#include "host/core/module.h"
#include "host/core/names.h"
#include "host/core/pe_file.h"
#include "host/sim/model.h"

namespace validate {
namespace {

using host::hex;

constexpr size_t max_failures = 8;

class Checker {
 public:
  Checker(Report& r, std::string name) : r_(r) { r_.checks.push_back({std::move(name), true, {}, 0}); }
  Check& check() { return r_.checks.back(); }
  void tried(int n = 1) { check().cases += n; }
  // Records a failure unless the condition holds.
  bool expect(bool ok, const std::string& what) {
    ++check().cases;
    if (!ok) {
      check().passed = false;
      auto& f = check().failures;
      if (f.size() < max_failures && std::find(f.begin(), f.end(), what) == f.end()) f.push_back(what);
    }
    return ok;
  }

 private:
  Report& r_;
};

// A small generator whose output is the same on every platform (the standard
// distributions are not).
class Random {
 public:
  explicit Random(uint64_t seed) : s_(seed ^ 0x9E3779B97F4A7C15ull) {}
  uint64_t next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
  int32_t between(int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(below(static_cast<uint32_t>(hi - lo + 1))); }

 private:
  uint64_t s_;
};

std::string point(PIXPOINT p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

// ---- static conformance ---------------------------------------------------------------

bool is_element_bitmap(int32_t id) { return id % 0x100 == 0 && id >= 0x1100 && id <= 0x2000; }

void check_descriptor(Report& r, const host::Module& m, const std::string& path) {
  Checker c(r, "descriptor, import table and gauge header");
  const GAUGESLINKAGE& l = *m.linkage();
  c.expect(l.module_id == MODULE_ID, "module identifier " + hex(l.module_id) + ", not 0x13");
  c.expect(l.module_init != nullptr && l.module_deinit != nullptr, "module initialise/de-initialise routine missing");
  c.expect(l.host_word_4 == 0 && l.host_word_5 == 0, "the descriptor's host words are not 0");
  c.expect(l.module_version == MODULE_VERSION, "module version " + hex(l.module_version) + ", not 0x800");
  c.expect(l.gauge_header_table[1] == nullptr, "the gauge header table holds more than one gauge");
  const GAUGESIMPORT& imp = *m.import_table();
  c.expect(imp.panels.id == IMPORT_ID_PANELS, "import table entry 1 is " + hex(imp.panels.id) + ", not 0x0F");
  c.expect(imp.end.id == 0 && imp.end.pointer == nullptr, "the import table does not end after one entry");
  const GAUGEHDR& h = *m.header();
  c.expect(h.header_version == GAUGE_HEADER_VERSION, "header version " + std::to_string(h.header_version) + ", not 800");
  const std::string stem = std::filesystem::path(path).stem().string();
  c.expect(m.name() == stem, "gauge name \"" + m.name() + "\" is not the file's name \"" + stem + "\"");
  c.expect(h.size_x_mm == 100 && h.size_y_mm == 0,
           "default size " + std::to_string(h.size_x_mm) + " x " + std::to_string(h.size_y_mm) + ", not 100 x 0");
  c.expect(!h.query_routine && !h.install_routine && !h.initialize_routine && !h.update_routine &&
               !h.generate_routine && !h.draw_routine && !h.kill_routine,
           "the header names routines besides the service routine");
  c.expect(h.user_data == 0 && h.usage == nullptr && h.parameters == nullptr, "the header's user data or texts are set");
  c.expect(h.mouse_table != nullptr, "no mouse-area table");
}

void check_bitmap(Checker& c, const host::Module& m, int32_t id, const std::string& who, int* w = nullptr,
                  int* h = nullptr) {
  const auto data = m.bitmap_data(id);
  if (!c.expect(!data.empty(), who + ": bitmap " + hex(id) + " is missing")) return;
  host::DibInfo info;
  std::string reason;
  if (!c.expect(host::read_dib_info(data.data(), data.size(), info, reason), who + ": bitmap " + hex(id) + ": " + reason))
    return;
  c.expect(info.bits_per_pixel == 24 && info.compression == 0,
           who + ": bitmap " + hex(id) + " is " + std::to_string(info.bits_per_pixel) + "-bit, compression " +
               std::to_string(info.compression));
  try {
    const host::Bitmap& b = m.bitmap(id);
    if (w != nullptr) *w = b.w;
    if (h != nullptr) *h = b.h;
  } catch (const std::exception& e) {
    c.expect(false, e.what());
  }
}

void check_elements(Report& r, const host::Module& m) {
  Checker c(r, "element chain and bitmaps");
  std::vector<ELEMENT_HEADER*> tree;
  try {
    tree = m.element_tree();
  } catch (const std::exception& e) {
    c.expect(false, e.what());
    return;
  }
  const ELEMENT_HEADER* root = tree.front();
  c.expect(root->kind == ELEMENT_KIND_STATIC_IMAGE, "the root is a " + std::string(host::element_kind_name(root->kind)) +
                                                        ", not a static image");
  c.expect(root->position.x == 0 && root->position.y == 0, "the background is not at (0, 0)");
  c.expect(root->bitmap == 0x100 || is_element_bitmap(root->bitmap), "background bitmap " + hex(root->bitmap) +
                                                                         " is neither 0x100 nor of the element range");
  int gw = 0, gh = 0;
  check_bitmap(c, m, root->bitmap, "the background", &gw, &gh);
  for (size_t i = 0; i < tree.size(); ++i) {
    ELEMENT_HEADER* e = tree[i];
    const std::string who = "element " + std::to_string(i + 1) + " (" + host::element_kind_name(e->kind) + ")";
    c.expect(e->kind <= ELEMENT_KIND_ICON, who + ": unknown kind " + std::to_string(e->kind));
    c.expect(e->image_flags == IMAGE_FLAGS, who + ": image flags " + hex(e->image_flags) + ", not 0x83");
    c.expect(e->gauge_header == m.header(), who + ": does not name the module's gauge header");
    c.expect(e->failures != nullptr && m.contains(e->failures), who + ": no failure list of its own");
    if (e->failures != nullptr && m.contains(e->failures))
      c.expect(e->failures[0].failure == 0 && e->failures[0].action == 0 && e->failures[0].reserved == 0,
               who + ": its failure list is not empty");
    if (e->next != nullptr) {
      int n = 0;
      while (e->next[n] != nullptr && n < 64) ++n;
      c.expect(n == 1, who + ": a next list of " + std::to_string(n) + " elements, not one");
    }
    if (i > 0) c.expect(e->kind != ELEMENT_KIND_STATIC_IMAGE, who + ": a static image that is not the root");
    if (e->kind != ELEMENT_KIND_NEEDLE) c.expect(e->pivot.x == 0 && e->pivot.y == 0, who + ": a pivot offset that is not 0, 0");
    switch (e->kind) {
      case ELEMENT_KIND_ICON: {
        auto* icon = reinterpret_cast<ELEMENT_ICON*>(e);
        c.expect(icon->icon_mode == ICON_MODE, who + ": icon mode " + std::to_string(icon->icon_mode) + ", not 3");
        c.expect(icon->frame_count >= 2 && icon->frame_count <= 6, who + ": " + std::to_string(icon->frame_count) + " frames");
        c.expect(is_element_bitmap(e->bitmap), who + ": bitmap " + hex(e->bitmap) + " is not of the element range");
        c.expect(icon->value_routine != nullptr, who + ": no value routine");
        int w0 = 0, h0 = 0;
        for (int k = 0; k < std::clamp(icon->frame_count, 0, 6); ++k) {
          int w = 0, h = 0;
          check_bitmap(c, m, e->bitmap + k, who + " frame " + std::to_string(k), &w, &h);
          if (k == 0) w0 = w, h0 = h;
          else if (w != 0) c.expect(w == w0 && h == h0, who + ": frame " + std::to_string(k) + " differs in size from frame 0");
        }
        break;
      }
      case ELEMENT_KIND_NEEDLE: {
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(e);
        c.expect(is_element_bitmap(e->bitmap), who + ": bitmap " + hex(e->bitmap) + " is not of the element range");
        int w = 0, h = 0;
        check_bitmap(c, m, e->bitmap, who, &w, &h);
        if (w > 0) c.expect(e->pivot.x >= 0 && e->pivot.y >= 0 && e->pivot.x < w && e->pivot.y < h,
                            who + ": pivot " + point(e->pivot) + " outside its bitmap");
        c.expect(n->value_routine != nullptr, who + ": no value routine");
        const bool rows_ok = c.expect(n->calibration != nullptr && m.contains(n->calibration) && n->row_count >= 2 &&
                                          n->row_count <= 5,
                                      who + ": calibration table missing or of " + std::to_string(n->row_count) + " rows");
        if (rows_ok)
          for (int k = 0; k < n->row_count; ++k) {
            const NONLINEARITY& row = n->calibration[k];
            c.expect(std::isfinite(row.value), who + ": row " + std::to_string(k + 1) + " has no finite value");
            c.expect(!(row.x == e->position.x && row.y == e->position.y), who + ": row " + std::to_string(k + 1) +
                                                                                " lies on the pivot: it has no direction");
          }
        break;
      }
      case ELEMENT_KIND_STRING: {
        auto* s = reinterpret_cast<ELEMENT_STRING*>(e);
        c.expect(e->bitmap == NO_BITMAP, who + ": a string names bitmap " + hex(e->bitmap));
        c.expect(s->sources[1].id == 0 && s->sources[2].id == 0, who + ": sources 2 and 3 are not none");
        c.expect(s->box_w > 0 && s->box_h > 0, who + ": an empty text box");
        c.expect(std::string(s->font_name, strnlen(s->font_name, FONT_NAME_SIZE)) == "Courier New",
                 who + ": font is not \"Courier New\"");
        c.expect(s->font_weight == 500 || s->font_weight == 700, who + ": font weight " + std::to_string(s->font_weight));
        c.expect(s->charset == 1 && s->text_options[0] == 0 && s->text_options[1] == 0x4240,
                 who + ": character set or the words after it differ from the panel's");
        c.expect(s->foreground == 0xFFFFFF && s->background == 0 && s->highlight == 0, who + ": colours differ");
        c.expect(s->value_routine != nullptr, who + ": no value routine");
        break;
      }
      case ELEMENT_KIND_SLIDER: {
        auto* s = reinterpret_cast<ELEMENT_SLIDER*>(e);
        c.expect(is_element_bitmap(e->bitmap), who + ": bitmap " + hex(e->bitmap) + " is not of the element range");
        check_bitmap(c, m, e->bitmap, who);
        c.expect(s->value_routine_x != nullptr && s->value_routine_y != nullptr, who + ": a value routine is missing");
        c.expect(std::isfinite(s->scale_x) && std::isfinite(s->scale_y), who + ": a scale is not finite");
        break;
      }
      default:
        break;
    }
  }
}

void check_mouse(Report& r, const host::Module& m, host::Size size) {
  Checker c(r, "mouse-area table");
  std::vector<const MOUSERECT*> recs;
  try {
    recs = m.mouse_records();
  } catch (const std::exception& e) {
    c.expect(false, e.what());
    return;
  }
  auto marker = [&](const MOUSERECT& x, MOUSE_KIND kind, const char* what) {
    c.expect(x.kind == kind && x.box.x == 0 && x.box.y == 0 && x.box.w == 0 && x.box.h == 0 && x.cursor == CURSOR_NONE &&
                 x.help_id == 0 && x.mouse_flags == 0 && x.event_id == 0 && x.handler == nullptr && x.host_data == nullptr,
             std::string(what) + " is not the panel's (box 0, cursor -1, all else 0)");
  };
  if (!c.expect(recs.size() >= 3, "fewer than three records")) return;
  marker(*recs[0], MOUSE_PARENT, "the first record, the parent,");
  marker(*recs[recs.size() - 2], MOUSE_END_OF_PARENT, "the next-to-last record, the end of the parent,");
  marker(*recs.back(), MOUSE_END_OF_LIST, "the last record, the end of the list,");
  std::vector<PIXBOX> boxes;
  for (size_t i = 1; i + 2 < recs.size(); ++i) {
    const MOUSERECT& a = *recs[i];
    const std::string who = "area " + std::to_string(i);
    c.expect(a.kind == MOUSE_CHILD, who + ": kind " + std::to_string(a.kind) + ", not a child");
    c.expect(a.box.w > 0 && a.box.h > 0, who + ": an empty box");
    c.expect(a.box.x >= 0 && a.box.y >= 0 && a.box.x < size.w && a.box.y < size.h, who + ": the box starts off the gauge");
    c.expect(a.cursor == CURSOR_UP_ARROW || a.cursor == CURSOR_DOWN_ARROW || a.cursor == CURSOR_HAND,
             who + ": cursor " + std::to_string(a.cursor) + " is not 1, 2 or 5");
    c.expect(a.mouse_flags == MOUSE_LEFT_CLICK || a.mouse_flags == (MOUSE_LEFT_CLICK | MOUSE_REPEAT),
             who + ": mouse flags " + hex(a.mouse_flags));
    c.expect(a.help_id == 0 && a.event_id == 0 && a.host_data == nullptr, who + ": help id, event id or host data set");
    c.expect(a.handler != nullptr, who + ": no click handler");
    for (size_t j = 0; j < boxes.size(); ++j) {
      const PIXBOX& b = boxes[j];
      const bool overlap = a.box.x < b.x + b.w && b.x < a.box.x + a.box.w && a.box.y < b.y + b.h && b.y < a.box.y + a.box.h;
      c.expect(!overlap, who + ": its box overlaps area " + std::to_string(j + 1) + "'s");
    }
    boxes.push_back(a.box);
  }
}

// The file itself, where it is a Windows DLL (a .gau): exports, imports, resources.
void check_file(Report& r, const std::string& path) {
  host::PeFile pe;
  try {
    pe = host::PeFile::read(path);
  } catch (const host::PeError&) {
    return;  // not a PE file: a native build
  }
  Checker c(r, "the .gau file: exports, imports, resources");
  std::set<std::pair<std::string, uint32_t>> exports;
  for (const auto& e : pe.exports) exports.insert({e.name, e.ordinal});
  c.expect(exports == std::set<std::pair<std::string, uint32_t>>{{"Linkage", 1}, {"ImportTable", 2}},
           "exports other than Linkage (1) and ImportTable (2)");
  for (const std::string& dll : pe.imported_dlls) {
    std::string l = dll;
    std::transform(l.begin(), l.end(), l.begin(), [](unsigned char ch) { return std::tolower(ch); });
    c.expect(l == "kernel32.dll" || l == "msvcrt.dll" || l == "user32.dll" || l == "advapi32.dll",
             "imports " + dll + ", which is not a Windows system DLL");
  }
  for (const auto& res : pe.resources)
    if (res.type == 2) c.expect(res.language == 0x0409, "bitmap " + hex(res.id) + " is not in language 0x0409");
  const host::PeResource* v = pe.resource(16, 1);
  c.expect(v != nullptr && host::parse_version(v->data).has_value(), "no version resource");
}

// ---- dynamic checks ----------------------------------------------------------------

// Records what the module does, as text, for the trace digest and for the checks.
class Recorder : public host::Observer {
 public:
  std::string trace;
  std::set<uint32_t> looked_up;
  std::vector<std::string> bad_results;
  void service(const host::Instance& g, int32_t code, uint32_t extra) override {
    trace += g.name() + " service " + std::to_string(code) + " " + std::to_string(extra) + "\n";
  }
  void value(const host::Instance& g, size_t element, const host::ElementState& s) override {
    char b[96];
    std::snprintf(b, sizeof b, " value %zu %a %d ", element, s.value, s.frame);
    trace += g.name() + b + s.text + "\n";
  }
  void handler(const host::Instance& g, size_t area, PIXPOINT p, uint32_t, int32_t result) override {
    trace += g.name() + " handler " + std::to_string(area) + " " + point(p) + " " + std::to_string(result) + "\n";
    if (result != 0) bad_results.push_back("area " + std::to_string(area + 1) + " returned " + std::to_string(result));
  }
  void key_event(const host::Instance*, const host::KeyEvent& e) override {
    trace += "event " + hex(e.id) + " " + std::to_string(e.value) + "\n";
  }
  void lookup(const host::Instance*, const MODULE_VAR& v) override {
    looked_up.insert(v.id);
    trace += "lookup " + hex(v.id) + "\n";
  }
  void named(const host::Instance*, const char* op, const std::string& name, int32_t result) override {
    trace += std::string(op) + " " + name + " " + std::to_string(result) + "\n";
  }
};

std::string digest(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char ch : s) h = (h ^ ch) * 1099511628211ull;
  return hex(h);
}

void lifecycle(Report& r, const std::string& path, const Options& o) {
  Checker c(r, "lifecycle: service codes in any order, storms, two instances");
  host::Host h;
  sim::Model model(h);
  Recorder rec;
  h.set_observer(&rec);
  Random rnd(o.seed);
  host::Module& m = h.load(path);
  host::Instance& a = h.place(m);
  host::Instance& b = h.place(m, {10, 10});
  host::Instance* both[] = {&a, &b};
  const int32_t codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 255, -1, -2, -12, INT32_MIN, INT32_MAX};
  int initialises = 0;
  const int steps = 60 * o.level;
  for (int i = 0; i < steps; ++i) {
    host::Instance& g = *both[rnd.below(2)];
    const uint32_t extra = static_cast<uint32_t>(rnd.next());
    try {
      switch (rnd.below(6)) {
        case 0:  // any service code, any extra word
        case 1: {
          const int32_t code = rnd.below(4) == 0 ? static_cast<int32_t>(rnd.next()) : codes[rnd.below(std::size(codes))];
          if (code == PANEL_SERVICE_PRE_INITIALIZE) ++initialises;
          g.service(code, extra);
          break;
        }
        case 2:  // an install storm
          for (int k = 0; k < 3; ++k) {
            g.service(PANEL_SERVICE_PRE_INSTALL, extra);
            g.service(PANEL_SERVICE_PRE_INITIALIZE, extra);
            ++initialises;
          }
          break;
        case 3:  // a kill storm
          for (int k = 0; k < 3; ++k) g.service(PANEL_SERVICE_PRE_KILL, extra);
          break;
        case 4:
          g.update();
          g.draw();
          break;
        default:
          h.draw();  // draws before or without initialise
          break;
      }
      c.tried();
    } catch (const std::exception& e) {
      c.expect(false, std::string("step ") + std::to_string(i) + ": " + e.what());
    }
  }
  // Every load released: as many kills as there were initialises.
  for (int k = 0; k <= initialises; ++k) a.service(PANEL_SERVICE_PRE_KILL);
  c.expect(!host::sound_library_loaded(), "the sound library is still loaded after as many kills as initialises");
  h.set_observer(nullptr);
  r.trace_digest = digest(rec.trace);
}

// One instance of the module in a host of its own with the systems model, installed,
// initialised, updated and drawn once, its calls recorded.
struct Stage {
  host::Host host;
  sim::Model model{host};
  Recorder recorder;
  host::Instance& gauge;
  Stage(const std::string& path, Checker& c) : gauge(host.place(host.load(path))) {
    host.set_observer(&recorder);
    try {
      host.install_all();
      gauge.update();
      gauge.draw();
    } catch (const std::exception& e) {
      c.expect(false, std::string("the first update and draw: ") + e.what());
    }
  }
  ~Stage() { host.set_observer(nullptr); }
};

std::vector<double> hostile_values() {
  return {0.0, -0.0, 1.0, -1.0, 0.5, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(), 1e-310, DBL_MIN,
          FLT_MIN, FLT_MAX, -FLT_MAX, 3.5e38, -3.5e38, DBL_MAX, -DBL_MAX, 2147483647.0, -2147483648.0, 4294967295.0,
          4294967296.0, 16384.0, 9007199254740993.0, 1e15, -1e15};
}

void values(Report& r, const std::string& path, const Options& o) {
  Checker c(r, "values: every source and module variable with hostile numbers");
  Stage stage(path, c);
  host::Host& h = stage.host;
  Recorder& rec = stage.recorder;
  host::Instance& g = stage.gauge;
  std::set<uint32_t> vars = rec.looked_up;
  for (ELEMENT_HEADER* e : g.module().element_tree()) {
    if (e->kind == ELEMENT_KIND_ICON) vars.insert(reinterpret_cast<ELEMENT_ICON*>(e)->source.id);
    if (e->kind == ELEMENT_KIND_NEEDLE) vars.insert(reinterpret_cast<ELEMENT_NEEDLE*>(e)->source.id);
    if (e->kind == ELEMENT_KIND_STRING) vars.insert(reinterpret_cast<ELEMENT_STRING*>(e)->sources[0].id);
    if (e->kind == ELEMENT_KIND_SLIDER) {
      vars.insert(reinterpret_cast<ELEMENT_SLIDER*>(e)->source_x.id);
      vars.insert(reinterpret_cast<ELEMENT_SLIDER*>(e)->source_y.id);
    }
  }
  vars.erase(0);
  const std::vector<double> hostile = hostile_values();
  Random rnd(o.seed * 31 + 7);
  auto cycle = [&](const std::string& what) {
    try {
      g.update();
      g.draw();
      c.tried();
    } catch (const std::exception& e) {
      c.expect(false, what + ": " + e.what());
    }
  };
  // Each variable alone through every value, then random mixtures.
  for (uint32_t v : vars)
    for (double x : hostile) {
      h.variables().set(v, x);
      char b[64];
      std::snprintf(b, sizeof b, "%s = %.17g", hex(v).c_str(), x);
      cycle(b);
    }
  for (int i = 0; i < 20 * o.level; ++i) {
    std::string what = "mixture";
    for (uint32_t v : vars) {
      const double x = rnd.below(3) == 0 ? static_cast<double>(static_cast<int32_t>(rnd.next()))
                                         : hostile[rnd.below(static_cast<uint32_t>(hostile.size()))];
      h.variables().set(v, x);
      char b[64];
      std::snprintf(b, sizeof b, " %s=%.17g", hex(v).c_str(), x);
      what += b;
    }
    cycle(what);
  }
  c.tried(static_cast<int>(vars.size()));
}

void clicks(Report& r, const std::string& path, const Options& o) {
  Checker c(r, "clicks and holds inside and outside every box");
  Stage stage(path, c);
  host::Host& h = stage.host;
  Recorder& rec = stage.recorder;
  host::Instance& g = stage.gauge;
  const host::Size size = g.size();
  const auto areas = g.areas();
  Random rnd(o.seed * 17 + 3);
  const host::Button buttons[] = {host::Button::Left, host::Button::Right, host::Button::Middle};
  for (int i = 0; i < 60 * o.level; ++i) {
    PIXPOINT p;
    if (!areas.empty() && rnd.below(2) == 0) {  // inside a box, at or near its edges
      const PIXBOX& b = areas[rnd.below(static_cast<uint32_t>(areas.size()))]->box;
      p = {b.x + rnd.between(-2, b.w + 1), b.y + rnd.between(-2, b.h + 1)};
    } else {
      p = {rnd.between(-10, size.w + 10), rnd.between(-10, size.h + 10)};
    }
    const host::Button button = buttons[rnd.below(3)];
    const MOUSERECT* expected = button == host::Button::Left ? g.area_at(p) : nullptr;
    const size_t events_before = h.events().size();
    try {
      const bool called = h.press(g, p, button);
      if (rnd.below(3) == 0) {
        h.advance(rnd.below(20) * 0.1);
      }
      h.release();
      c.expect(called == (expected != nullptr), "a " + std::string(button == host::Button::Left ? "left" : "other") +
                                                    " press at " + point(p) + (called ? " reached a handler" : " reached none"));
      if (expected != nullptr) {
        const PIXBOX& b = expected->box;
        c.expect(p.x >= b.x && p.y >= b.y && p.x < b.x + b.w && p.y < b.y + b.h, "a handler answered outside its box");
      } else {
        c.expect(h.events().size() == events_before, "a press at " + point(p) + " outside every box sent an event");
      }
      if (rnd.below(4) == 0) {
        g.update();
        g.draw();
      }
    } catch (const std::exception& e) {
      c.expect(false, "a press at " + point(p) + ": " + e.what());
    }
  }
  for (const std::string& bad : rec.bad_results) c.expect(false, bad + " (a click handler returns 0)");
}

}  // namespace

bool Report::passed() const {
  return std::all_of(checks.begin(), checks.end(), [](const Check& c) { return c.passed; });
}

nlohmann::ordered_json Report::json() const {
  nlohmann::ordered_json j;
  j["module"] = module;
  j["passed"] = passed();
  j["trace_digest"] = trace_digest;
  for (const Check& c : checks)
    j["checks"].push_back({{"name", c.name}, {"passed", c.passed}, {"cases", c.cases}, {"failures", c.failures}});
  return j;
}

Report validate_module(const std::string& path, const Options& o) {
  Report r;
  r.module = path;
  {
    host::Host h;
    try {
      host::Module& m = h.load(path);
      check_descriptor(r, m, path);
      check_elements(r, m);
      host::Size size{};
      try {
        const host::Bitmap& b = m.bitmap(m.root()->bitmap);
        size = {b.w, b.h};
      } catch (const std::exception&) {
      }
      check_mouse(r, m, size);
    } catch (const std::exception& e) {
      Checker c(r, "loading");
      c.expect(false, e.what());
      return r;
    }
  }
  check_file(r, path);
  if (!r.passed()) return r;  // the dynamic checks run only a conformant module's code
  lifecycle(r, path, o);
  values(r, path, o);
  clicks(r, path, o);
  return r;
}

}  // namespace validate
