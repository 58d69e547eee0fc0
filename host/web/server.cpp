#include "host/web/server.h"

#include <httplib.h>

#include <string_view>

#include "host/web/assets.h"

namespace web {
namespace {

void answer(httplib::Response& res, const json& j) { res.set_content(j.dump(), "application/json"); }

void refuse(httplib::Response& res, int status, const std::string& why) {
  res.status = status;
  res.set_content(json{{"error", why}}.dump(), "application/json");
}

json body(const httplib::Request& req) {
  try {
    return json::parse(req.body);
  } catch (const json::exception& e) {
    throw BadRequest(400, std::string("the body is not JSON: ") + e.what());
  }
}

uint64_t query_number(const httplib::Request& req, const char* key, uint64_t fallback, uint64_t max) {
  if (!req.has_param(key)) return fallback;
  const std::string v = req.get_param_value(key);
  char* end = nullptr;
  const unsigned long long n = std::strtoull(v.c_str(), &end, 10);
  if (v.empty() || *end != '\0' || n > max) throw BadRequest(400, std::string("\"") + key + "\" is not a number up to " + std::to_string(max));
  return n;
}

}  // namespace

Server::Server(LivePanel& panel) : panel_(panel), http_(std::make_unique<httplib::Server>()) {
  httplib::Server& s = *http_;
  s.set_payload_max_length(max_request_bytes);
  // Small answers go out at once: Nagle and delayed ACKs would hold a frame back ~40 ms.
  s.set_tcp_nodelay(true);
  s.set_read_timeout(5, 0);
  s.set_write_timeout(5, 0);
  // A worker serves one connection while the browser keeps it open: enough workers for
  // a few pages' connections (each waiting frame request holds one), so that a press
  // never queues behind an idle connection; and connections that stay open.
  s.new_task_queue = [] { return new httplib::ThreadPool(32); };
  s.set_keep_alive_max_count(100000);
  s.set_keep_alive_timeout(30);

  for (const Asset& a : assets()) {
    const std::string path = a.name == "index.html" ? "/" : "/" + std::string(a.name);
    s.Get(path, [a](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(a.content), std::string(a.type));
      res.set_header("Cache-Control", "no-cache");
    });
  }
  // Every API call: BadRequest becomes its 4xx answer.
  auto api = [](auto f) {
    return [f](const httplib::Request& req, httplib::Response& res) {
      try {
        answer(res, f(req));
      } catch (const BadRequest& e) {
        refuse(res, e.status, e.what());
      } catch (const std::exception& e) {
        refuse(res, 500, e.what());
      }
    };
  };
  s.Get("/api/panel", api([this](const httplib::Request&) { return panel_.panel(); }));
  s.Get("/api/frame", api([this](const httplib::Request& req) {
          return panel_.frame(query_number(req, "since", 0, UINT64_MAX), query_number(req, "events", 0, UINT64_MAX),
                              static_cast<int>(query_number(req, "wait", 1000, 5000)));
        }));
  s.Post("/api/mouse", api([this](const httplib::Request& req) { return panel_.mouse(body(req)); }));
  s.Post("/api/vars", api([this](const httplib::Request& req) { return panel_.set_variable(body(req)); }));
  s.Get("/api/scenarios", api([this](const httplib::Request&) { return panel_.scenarios(); }));
  s.Post("/api/scenario", api([this](const httplib::Request& req) { return panel_.run_scenario(body(req)); }));
  s.Post("/api/reset", api([this](const httplib::Request&) { return panel_.reset(); }));

  // Everything else: a reason with the status (unknown paths and methods, a body too large).
  s.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
    if (!res.body.empty()) return;
    std::string why;
    switch (res.status) {
      case 404: why = "no such page or API: " + req.method + " " + req.path; break;
      case 413: why = "the request is larger than " + std::to_string(max_request_bytes) + " bytes"; break;
      case 400: why = "a malformed request"; break;
      default: why = "the request cannot be served"; break;
    }
    res.set_content(json{{"error", why}}.dump(), "application/json");
  });
}

Server::~Server() { stop(); }

int Server::bind(const std::string& address, int port) {
  if (port == 0) return http_->bind_to_any_port(address);
  return http_->bind_to_port(address, port) ? port : -1;
}

void Server::run() { http_->listen_after_bind(); }

void Server::stop() {
  if (http_) http_->stop();
}

}  // namespace web
