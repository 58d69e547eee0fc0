// The live panel's server: what it answers to good requests, and that bad ones (unknown
// paths, malformed or oversized bodies, path traversal, wrong values) get a 4xx answer
// with a reason and leave it serving.
#include <gtest/gtest.h>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/web/server.h"

namespace {

using json = nlohmann::json;

class Serve : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    panel = new web::LivePanel({VK4_TEST_LAYOUT, {VK4_TEST_MODULE_DIR}, VK4_TEST_SCENARIOS});
    server = new web::Server(*panel);
    port = server->bind("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    panel->start();
    thread = new std::thread([] { server->run(); });
  }
  static void TearDownTestSuite() {
    server->stop();
    thread->join();
    panel->stop();
    delete thread;
    delete server;
    delete panel;
  }
  httplib::Client client() {
    httplib::Client c("127.0.0.1", port);
    c.set_read_timeout(10, 0);
    return c;
  }
  static json reason(const httplib::Result& r) { return json::parse(r->body); }

  static web::LivePanel* panel;
  static web::Server* server;
  static std::thread* thread;
  static int port;
};
web::LivePanel* Serve::panel = nullptr;
web::Server* Serve::server = nullptr;
std::thread* Serve::thread = nullptr;
int Serve::port = 0;

TEST_F(Serve, ThePageAndThePanel) {
  auto c = client();
  auto page = c.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("<canvas id=\"panel\""), std::string::npos);
  EXPECT_EQ(c.Get("/app.js")->status, 200);
  auto p = c.Get("/api/panel");
  ASSERT_EQ(p->status, 200);
  const json j = json::parse(p->body);
  EXPECT_EQ(j["gauges"].size(), 47u);
  EXPECT_EQ(j["size"][0], 1500);
}

TEST_F(Serve, AClickSendsItsEventAndItsPictureComesInTheNextFrame) {
  auto c = client();
  const uint64_t before = json::parse(c.Get("/api/frame?since=0&wait=0")->body)["frame"];
  // The battery switch sits at (16, 880); its box is (0, 0, 39, 48).
  auto down = c.Post("/api/mouse", R"({"action": "down", "x": 36, "y": 904})", "application/json");
  ASSERT_EQ(down->status, 200) << down->body;
  EXPECT_EQ(json::parse(down->body)["gauge"], "vk4_battery");
  EXPECT_TRUE(json::parse(down->body)["handled"]);
  EXPECT_EQ(c.Post("/api/mouse", R"({"action": "up"})", "application/json")->status, 200);
  const json f = json::parse(c.Get(("/api/frame?wait=0&since=" + std::to_string(before)).c_str())->body);
  bool battery = false;
  for (const auto& g : f["gauges"]) battery = battery || g["name"] == "vk4_battery";
  EXPECT_TRUE(battery) << "the battery's new picture";
  bool logged = false;
  for (const auto& e : f["events"]) logged = logged || e["event"] == "0x102C1";
  EXPECT_TRUE(logged);
  EXPECT_EQ(f["vars"]["battery_master"], 1.0);
  // Outside every gauge: nothing.
  const json none = json::parse(c.Post("/api/mouse", R"({"action": "down", "x": 900, "y": 900})", "application/json")->body);
  EXPECT_TRUE(none["gauge"].is_null());
}

TEST_F(Serve, VariablesAreSetByNumberOrName) {
  auto c = client();
  auto r = c.Post("/api/vars", R"({"var": "engine_1_rpm", "value": 1250})", "application/json");
  ASSERT_EQ(r->status, 200) << r->body;
  EXPECT_EQ(c.Post("/api/vars", R"({"var": 700, "value": "nan"})", "application/json")->status, 200);
}

TEST_F(Serve, BadRequestsGetA4xxAnswerWithAReason) {
  auto c = client();
  struct Case {
    const char* method;
    const char* path;
    std::string body;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {"GET", "/nothing/here", "", 404, "no such page or API"},
      {"GET", "/../../etc/passwd", "", 404, "no such page or API"},
      {"GET", "/%2e%2e/%2e%2e/etc/passwd", "", 404, "no such page or API"},
      {"DELETE", "/api/panel", "", 404, "no such page or API"},
      {"POST", "/api/mouse", "{not json", 400, "the body is not JSON"},
      {"POST", "/api/mouse", R"({"action": "wiggle"})", 400, "\"action\" is down or up"},
      {"POST", "/api/mouse", R"({"action": "down", "x": "left", "y": 3})", 400, "\"x\" is missing or not a number"},
      {"POST", "/api/mouse", R"({"action": "down", "x": 1e300, "y": 3})", 400, "\"x\" is out of range"},
      {"POST", "/api/mouse", R"({"action": "down", "x": 3, "y": 3, "button": "fourth"})", 400, "\"button\""},
      {"POST", "/api/mouse", "[1, 2]", 400, "a mouse request is a JSON object"},
      {"POST", "/api/vars", R"({"var": "no_such_var", "value": 1})", 400, "\"var\" is not"},
      {"POST", "/api/vars", R"({"var": "battery_master", "value": "lots"})", 400, "\"value\" is not a number"},
      {"POST", "/api/vars", R"({"var": 0, "value": 1})", 400, "\"var\" is not"},
      {"POST", "/api/scenario", R"({"name": "../panel.json"})", 404, "no scenario"},
      {"POST", "/api/scenario", R"({"name": "/etc/passwd"})", 404, "no scenario"},
      {"POST", "/api/scenario", R"({"title": 3})", 400, "expected {\"name\""},
      {"GET", "/api/frame?since=abc", "", 400, "\"since\" is not a number"},
      {"GET", "/api/frame?wait=999999", "", 400, "\"wait\" is not a number up to 5000"},
      {"POST", "/api/vars", std::string(100 * 1024, 'x'), 413, "larger than 65536 bytes"},
  };
  for (const Case& k : cases) {
    httplib::Request req;
    req.method = k.method;
    req.path = k.path;
    req.body = k.body;
    if (!k.body.empty()) req.set_header("Content-Type", "application/json");
    auto r = c.send(req);
    ASSERT_TRUE(r) << k.method << " " << k.path;
    EXPECT_EQ(r->status, k.status) << k.method << " " << k.path << ": " << r->body;
    json j;
    ASSERT_NO_THROW(j = json::parse(r->body)) << r->body;
    EXPECT_NE(j.value("error", "").find(k.says), std::string::npos) << k.path << ": " << r->body;
  }
  EXPECT_EQ(c.Get("/api/panel")->status, 200) << "still serving";
}

TEST_F(Serve, ManyWaitingPagesDoNotStallIt) {
  std::atomic<int> answered{0};
  std::vector<std::thread> waiting;
  for (int i = 0; i < 6; ++i)
    waiting.emplace_back([&] {
      auto c = client();
      if (auto r = c.Get("/api/frame?since=999999999&wait=3000"); r && r->status == 200) ++answered;
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto start = std::chrono::steady_clock::now();
  auto c = client();
  EXPECT_EQ(c.Get("/api/panel")->status, 200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "a request while others wait";
  for (auto& t : waiting) t.join();
  EXPECT_EQ(answered, 6);
}

TEST_F(Serve, AScenarioRunsOnTheLivePanelWithItsProgress) {
  auto c = client();
  auto r = c.Post("/api/scenario", R"({"name": "switches.scn"})", "application/json");
  ASSERT_EQ(r->status, 200) << r->body;
  EXPECT_EQ(c.Post("/api/scenario", R"({"name": "switches.scn"})", "application/json")->status, 409) << "one at a time";
  json s;
  for (int i = 0; i < 300; ++i) {
    s = json::parse(c.Get("/api/frame?since=0&wait=0")->body)["scenario"];
    if (s["state"] != "running") break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(s["state"], "passed") << s.dump();
  EXPECT_EQ(s["expectations"], 18);
  EXPECT_EQ(c.Post("/api/reset", "{}", "application/json")->status, 200);
}

}  // namespace
