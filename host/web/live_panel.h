// The live panel behind `gaugehost serve`: a host with every gauge of a layout and the
// systems model, run in real time at the host rate, drawn by the renderer, and answered
// through a small JSON API. Every entry point is safe to call from the server's threads:
// one lock guards the host, whose gauges are called one call at a time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "host/core/host.h"
#include "host/core/layout.h"
#include "host/render/renderer.h"
#include "host/sim/model.h"

namespace web {

using json = nlohmann::ordered_json;

// A request the panel cannot act on: answered with a 4xx status and this reason.
struct BadRequest : std::runtime_error {
  BadRequest(int status, const std::string& why) : std::runtime_error(why), status(status) {}
  int status;
};

struct PanelOptions {
  std::string layout;                    // the panel layout file
  std::vector<std::string> module_path;  // where gauge names are looked up
  std::string scenarios;                 // the folder of scenarios the page can run
};

class LivePanel {
 public:
  explicit LivePanel(PanelOptions o);
  ~LivePanel();

  // Runs the panel in real time until stop().
  void start();
  void stop();

  json panel();  // the panel: size, colour, gauges with their places and mouse areas
  // Waits up to `wait_ms` for a frame newer than `since`, then answers what changed
  // since it: the gauges' pictures (PNG, base64), the key events, the variables.
  json frame(uint64_t since, uint64_t events_since, int wait_ms);
  json mouse(const json& request);     // {"action": "down"|"up", "x", "y", "button"}
  json set_variable(const json& request);  // {"var": number or name, "value": number or "nan"...}
  json scenarios();
  json run_scenario(const json& request);  // {"name": "engine_start.scn"}
  json reset();  // the layout's panel afresh

 private:
  struct Shown {
    std::string signature;  // of the element states the picture was drawn from
    std::string png;        // base64
    uint64_t frame = 0;     // when it last changed
  };
  struct Logged {
    uint64_t seq;
    host::KeyEvent event;
    double at;
  };
  void build(bool place);  // a fresh host, with the layout's gauges placed or empty
  void publish(std::unique_lock<std::mutex>& held);  // after any change: pictures, events, a new frame
  void loop();
  void scenario_thread(std::string name);
  host::Instance* gauge_at(int x, int y, PIXPOINT& local);

  PanelOptions o_;
  std::mutex m_;
  std::condition_variable changed_;
  std::unique_ptr<host::Host> host_;
  std::unique_ptr<sim::Model> model_;
  render::Renderer renderer_;
  host::Layout layout_;
  std::vector<std::string> left_out_;
  std::vector<Shown> shown_;
  std::deque<Logged> log_;
  uint64_t frame_ = 1;
  uint64_t seq_ = 0;
  uint64_t panel_version_ = 0;
  size_t events_seen_ = 0;  // of the host's list, already in the log
  json scenario_ = {{"state", "idle"}};
  bool scenario_running_ = false;
  std::atomic<bool> running_{false};
  std::thread loop_thread_;
  std::thread scenario_thread_;
};

}  // namespace web
