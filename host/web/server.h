// The HTTP side of the live panel: the page (HTML, CSS and JavaScript served from the
// program itself) and the JSON API over a LivePanel. Bad requests get a 4xx answer with
// a reason, as JSON {"error": "..."}.
#pragma once

#include <memory>
#include <string>

#include "host/web/live_panel.h"

namespace httplib {
class Server;
}

namespace web {

inline constexpr size_t max_request_bytes = 64 * 1024;

class Server {
 public:
  explicit Server(LivePanel& panel);
  ~Server();
  // Binds (port 0: any free port) and returns the port, or -1.
  int bind(const std::string& address, int port);
  // Serves until stop(); call after bind().
  void run();
  void stop();

 private:
  LivePanel& panel_;
  std::unique_ptr<httplib::Server> http_;
};

}  // namespace web
