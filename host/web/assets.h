// The live page's files, built into the program (host/web/page/).
#pragma once

#include <span>
#include <string_view>

namespace web {

struct Asset {
  std::string_view name;  // "index.html", "app.js", "style.css"
  std::string_view type;  // its content type
  std::string_view content;
};

std::span<const Asset> assets();

}  // namespace web
