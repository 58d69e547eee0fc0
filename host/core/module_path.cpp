#include "host/core/module_path.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "host/core/module.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace host {
namespace {

fs::path program_dir() {
#if defined(_WIN32)
  char buf[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, buf, sizeof buf);
  return fs::path(buf).parent_path();
#else
  std::error_code ec;
  fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : p.parent_path();
#endif
}

bool ends_with(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::vector<std::string> module_path(const std::vector<std::string>& extra) {
  std::vector<std::string> dirs = extra;
#if defined(_WIN32)
  const char sep = ';';
  const fs::path beside = program_dir() / ".." / "gauges";
#else
  const char sep = ':';
  const fs::path beside = program_dir() / ".." / "lib";
#endif
  if (const char* env = std::getenv("GAUGEHOST_MODULE_PATH")) {
    std::string s = env;
    size_t start = 0;
    while (start <= s.size()) {
      size_t end = s.find(sep, start);
      if (end == std::string::npos) end = s.size();
      if (end > start) dirs.push_back(s.substr(start, end - start));
      start = end + 1;
    }
  }
  dirs.push_back(beside.lexically_normal().string());
  return dirs;
}

bool is_module_path(const std::string& arg) {
  return arg.find('/') != std::string::npos || arg.find('\\') != std::string::npos || ends_with(arg, ".so") ||
         ends_with(arg, ".gau") || ends_with(arg, ".dll");
}

std::optional<std::string> find_module(const std::string& name, const std::vector<std::string>& path) {
  for (const std::string& d : path) {
    const fs::path p = fs::path(d) / (name + module_suffix());
    if (fs::exists(p)) return p.string();
  }
  return std::nullopt;
}

std::string resolve_module(const std::string& arg, const std::vector<std::string>& path) {
  if (is_module_path(arg)) {
    if (!fs::exists(arg)) throw std::runtime_error(arg + ": no such file");
    return arg;
  }
  if (auto found = find_module(arg, path)) return *found;
  std::string searched;
  for (const std::string& d : path) searched += (searched.empty() ? "" : ", ") + d;
  throw std::runtime_error("no module " + arg + module_suffix() + " in " + searched);
}

}  // namespace host
