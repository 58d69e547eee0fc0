#include "host/web/live_panel.h"

#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

#include "host/core/names.h"
#include "host/script/scenario.h"
#include "host/sim/catalogue.h"
#include "host/sim/probe.h"

namespace fs = std::filesystem;

namespace web {
namespace {

constexpr size_t log_length = 500;
constexpr double frame_seconds = 1.0 / sim::host_rate;

std::string base64(const std::string& in) {
  static const char* t = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((in.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    const uint32_t v = (static_cast<uint8_t>(in[i]) << 16) | (static_cast<uint8_t>(in[i + 1]) << 8) | static_cast<uint8_t>(in[i + 2]);
    out += t[v >> 18];
    out += t[(v >> 12) & 63];
    out += t[(v >> 6) & 63];
    out += t[v & 63];
  }
  if (i < in.size()) {
    uint32_t v = static_cast<uint8_t>(in[i]) << 16;
    if (i + 1 < in.size()) v |= static_cast<uint8_t>(in[i + 1]) << 8;
    out += t[v >> 18];
    out += t[(v >> 12) & 63];
    out += i + 1 < in.size() ? t[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string png_of(const render::Picture& p) {
  std::string bytes;
  cairo_surface_write_to_png_stream(
      p.surface(),
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  return base64(bytes);
}

// What a gauge's picture depends on: its element states.
std::string signature(const host::Instance& g) {
  std::string s;
  char b[96];
  for (const host::ElementState& e : g.elements()) {
    std::snprintf(b, sizeof b, "%u:%d:%.3f:%.2f:%.2f|", e.kind, e.frame, e.degrees, e.offset_x, e.offset_y);
    s += b;
    s += e.text;
    s += '|';
  }
  return s;
}

json number(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  return v;
}

}  // namespace

LivePanel::LivePanel(PanelOptions o) : o_(std::move(o)) {
  layout_ = host::read_layout(o_.layout);
  build(true);
}

LivePanel::~LivePanel() { stop(); }

void LivePanel::build(bool place) {
  // A new host replaces the old one whole; the renderer forgets the old modules first.
  if (host_)
    for (const auto& m : host_->modules()) renderer_.forget(*m);
  model_.reset();
  host_.reset();
  host_ = std::make_unique<host::Host>();
  model_ = std::make_unique<sim::Model>(*host_);
  left_out_.clear();
  if (place) {
    host::place_layout(*host_, layout_, o_.module_path, left_out_);
    host_->install_all();
    host_->update();
    host_->draw();
  }
  shown_.clear();
  events_seen_ = 0;
  ++panel_version_;
}

void LivePanel::start() {
  if (running_.exchange(true)) return;
  loop_thread_ = std::thread([this] { loop(); });
}

void LivePanel::stop() {
  if (!running_.exchange(false)) return;
  changed_.notify_all();
  if (loop_thread_.joinable()) loop_thread_.join();
  if (scenario_thread_.joinable()) scenario_thread_.join();
}

void LivePanel::loop() {
  auto next = std::chrono::steady_clock::now();
  while (running_) {
    next += std::chrono::microseconds(static_cast<int64_t>(frame_seconds * 1e6));
    {
      std::unique_lock<std::mutex> lk(m_);
      if (!scenario_running_) {
        model_->step(frame_seconds);
        publish(lk);
      }
    }
    std::this_thread::sleep_until(next);
    if (std::chrono::steady_clock::now() > next + std::chrono::seconds(1)) next = std::chrono::steady_clock::now();
  }
}

void LivePanel::publish(std::unique_lock<std::mutex>&) {
  bool any = false;
  const auto& instances = host_->instances();
  if (shown_.size() != instances.size()) shown_.assign(instances.size(), Shown{});
  for (size_t i = 0; i < instances.size(); ++i) {
    const host::Instance& g = *instances[i];
    std::string sig = signature(g);
    if (sig == shown_[i].signature && !shown_[i].png.empty()) continue;
    shown_[i].signature = std::move(sig);
    shown_[i].png = png_of(renderer_.draw(g));
    shown_[i].frame = frame_ + 1;
    any = true;
  }
  const auto& events = host_->events();
  for (size_t i = events_seen_; i < events.size(); ++i) {
    log_.push_back({++seq_, events[i], host_->now()});
    if (log_.size() > log_length) log_.pop_front();
    any = true;
  }
  events_seen_ = events.size();
  // The host's own list is emptied, except while a scenario reads it for its expectations.
  if (!scenario_running_) {
    host_->clear_events();
    events_seen_ = 0;
  }
  if (any) {
    ++frame_;
    changed_.notify_all();
  }
}

json LivePanel::panel() {
  std::lock_guard<std::mutex> lk(m_);
  json gauges = json::array();
  for (const auto& g : host_->instances()) {
    const host::Size size = g->size();
    const auto labels = sim::hotspot_labels(*g, host_->variables());
    json areas = json::array();
    const auto list = g->areas();
    for (size_t i = 0; i < list.size(); ++i) {
      const MOUSERECT& a = *list[i];
      areas.push_back({{"box", {a.box.x, a.box.y, a.box.w, a.box.h}},
                       {"cursor", a.cursor},
                       {"repeat", (a.mouse_flags & MOUSE_REPEAT) != 0},
                       {"label", i < labels.size() ? labels[i] : ""}});
    }
    gauges.push_back({{"name", g->name()},
                      {"module", g->module().name()},
                      {"at", {g->position().x, g->position().y}},
                      {"size", {size.w, size.h}},
                      {"areas", areas}});
  }
  char colour[8];
  std::snprintf(colour, sizeof colour, "#%06X", layout_.colour);
  return {{"size", {layout_.width, layout_.height}}, {"colour", colour}, {"gauges", gauges}, {"left_out", left_out_},
          {"rate", sim::host_rate}, {"panel", panel_version_}};
}

json LivePanel::frame(uint64_t since, uint64_t events_since, int wait_ms) {
  std::unique_lock<std::mutex> lk(m_);
  changed_.wait_for(lk, std::chrono::milliseconds(wait_ms), [&] { return frame_ > since || !running_; });
  json gauges = json::array();
  const auto& instances = host_->instances();
  for (size_t i = 0; i < instances.size() && i < shown_.size(); ++i)
    if (shown_[i].frame > since) gauges.push_back({{"name", instances[i]->name()}, {"png", shown_[i].png}});
  json events = json::array();
  for (const Logged& l : log_)
    if (l.seq > events_since) {
      const sim::EventRule* rule = sim::find_rule(l.event.id);
      events.push_back({{"seq", l.seq}, {"event", host::hex(l.event.id)}, {"value", l.event.value},
                        {"role", rule != nullptr ? std::string(rule->role) : "not answered by the model"},
                        {"time", std::round(l.at * 1000) / 1000}});
    }
  json vars = json::object();
  for (const sim::VarInfo& v : sim::catalogue()) vars[std::string(v.name)] = number(host_->variables().get(v.id));
  return {{"frame", frame_}, {"panel", panel_version_}, {"gauges", gauges}, {"events", events}, {"vars", vars},
          {"scenario", scenario_}};
}

host::Instance* LivePanel::gauge_at(int x, int y, PIXPOINT& local) {
  // The topmost gauge whose picture holds the point: the last one drawn there.
  const auto& instances = host_->instances();
  for (size_t i = instances.size(); i-- > 0;) {
    host::Instance& g = *instances[i];
    const host::Size s = g.size();
    const PIXPOINT p = {x - g.position().x, y - g.position().y};
    if (p.x >= 0 && p.y >= 0 && p.x < s.w && p.y < s.h) {
      local = p;
      return &g;
    }
  }
  return nullptr;
}

namespace {
int whole(const json& j, const char* key, int lo, int hi) {
  if (!j.contains(key) || !j[key].is_number()) throw BadRequest(400, std::string("\"") + key + "\" is missing or not a number");
  const double v = j[key].get<double>();
  if (!(v >= lo && v <= hi)) throw BadRequest(400, std::string("\"") + key + "\" is out of range");
  return static_cast<int>(std::floor(v));
}
}  // namespace

json LivePanel::mouse(const json& r) {
  if (!r.is_object()) throw BadRequest(400, "a mouse request is a JSON object");
  const std::string action = r.value("action", "");
  if (action != "down" && action != "up") throw BadRequest(400, "\"action\" is down or up");
  std::unique_lock<std::mutex> lk(m_);
  if (scenario_running_) throw BadRequest(409, "a scenario is running");
  if (action == "up") {
    host_->release();
    return {{"released", true}};
  }
  const int x = whole(r, "x", -100000, 100000), y = whole(r, "y", -100000, 100000);
  const std::string b = r.value("button", "left");
  if (b != "left" && b != "right" && b != "middle") throw BadRequest(400, "\"button\" is left, right or middle");
  const host::Button button = b == "left" ? host::Button::Left : b == "right" ? host::Button::Right : host::Button::Middle;
  PIXPOINT local{};
  host::Instance* g = gauge_at(x, y, local);
  if (g == nullptr) {
    host_->release();
    return {{"gauge", nullptr}, {"handled", false}};
  }
  const bool handled = host_->press(*g, local, button);
  // The click's picture at once, not at the next frame.
  host_->update();
  host_->draw();
  publish(lk);
  return {{"gauge", g->name()}, {"x", local.x}, {"y", local.y}, {"handled", handled}, {"frame", frame_}};
}

json LivePanel::set_variable(const json& r) {
  if (!r.is_object() || !r.contains("var") || !r.contains("value")) throw BadRequest(400, "expected {\"var\": ..., \"value\": ...}");
  std::optional<uint32_t> var;
  if (r["var"].is_string()) var = sim::parse_variable(r["var"].get<std::string>());
  else if (r["var"].is_number_unsigned()) var = r["var"].get<uint32_t>();
  if (!var || *var == 0) throw BadRequest(400, "\"var\" is not a variable number or a name of the catalogue");
  std::optional<double> value;
  if (r["value"].is_number()) value = r["value"].get<double>();
  else if (r["value"].is_string()) value = sim::parse_value(r["value"].get<std::string>());
  if (!value) throw BadRequest(400, "\"value\" is not a number");
  std::unique_lock<std::mutex> lk(m_);
  host_->variables().set(*var, *value);
  host_->update();
  host_->draw();
  publish(lk);
  return {{"var", host::hex(*var)}, {"value", number(host_->variables().get(*var))}};
}

json LivePanel::reset() {
  std::unique_lock<std::mutex> lk(m_);
  if (scenario_running_) throw BadRequest(409, "a scenario is running");
  build(true);
  scenario_ = {{"state", "idle"}};
  publish(lk);
  return {{"panel", panel_version_}};
}

json LivePanel::scenarios() {
  json list = json::array();
  std::error_code ec;
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(o_.scenarios, ec))
    if (e.path().extension() == ".scn") names.insert(e.path().filename().string());
  for (const std::string& n : names) list.push_back(n);
  return list;
}

json LivePanel::run_scenario(const json& r) {
  if (!r.is_object() || !r.contains("name") || !r["name"].is_string())
    throw BadRequest(400, "expected {\"name\": \"a scenario of the list\"}");
  const std::string name = r["name"].get<std::string>();
  // Only a name of the list: no path reaches beyond the scenarios' folder.
  bool known = false;
  for (const auto& n : scenarios()) known = known || n.get<std::string>() == name;
  if (!known) throw BadRequest(404, "no scenario \"" + name + "\" (GET /api/scenarios lists them)");
  {
    std::lock_guard<std::mutex> lk(m_);
    if (scenario_running_) throw BadRequest(409, "a scenario is running");
    scenario_running_ = true;
    scenario_ = {{"state", "running"}, {"name", name}, {"command", 0}, {"commands", 0}};
  }
  if (scenario_thread_.joinable()) scenario_thread_.join();
  scenario_thread_ = std::thread([this, name] { scenario_thread(name); });
  return {{"started", name}};
}

void LivePanel::scenario_thread(std::string name) {
  std::unique_lock<std::mutex> lk(m_);
  try {
    const script::Script s = script::read_script((fs::path(o_.scenarios) / name).string());
    build(false);  // the script places its own gauges
    script::RunOptions o;
    o.module_path = o_.module_path;
    o.out_dir = (fs::temp_directory_path() / "gaugehost-serve").string();
    fs::create_directories(o.out_dir);
    o.before_command = [&](const script::Command& c, size_t i, size_t total) {
      scenario_["command"] = i + 1;
      scenario_["commands"] = total;
      scenario_["line"] = c.line;
      scenario_["verb"] = c.verb;
      publish(lk);
    };
    // Simulated time passes in real time, so that the page shows it.
    o.step = [&](double seconds) {
      const int frames = static_cast<int>(std::floor(seconds * sim::host_rate + 1e-9));
      for (int f = 0; f < frames && running_; ++f) {
        publish(lk);
        lk.unlock();
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(frame_seconds * 1e6)));
        lk.lock();
        model_->step(frame_seconds);
      }
    };
    const int met = script::run_script(s, o, *host_, *model_);
    scenario_ = {{"state", "passed"}, {"name", name}, {"expectations", met}};
  } catch (const std::exception& e) {
    scenario_ = {{"state", "failed"}, {"name", name}, {"error", e.what()}};
  }
  scenario_running_ = false;
  shown_.clear();
  publish(lk);
}

}  // namespace web
