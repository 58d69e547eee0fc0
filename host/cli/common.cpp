#include "host/cli/common.h"

#include <cstdio>
#include <fstream>

#include "host/core/module_path.h"
#include "host/sim/catalogue.h"

namespace cli {

std::string ArgReader::value(const std::string& option, const char* what) {
  if (done()) throw UsageError(command_ + ": " + option + " needs " + what);
  return next();
}

void ArgReader::unknown(const std::string& option) const {
  throw UsageError(command_ + ": unknown option " + option + " (see gaugehost " + command_ + " --help)");
}

bool ArgReader::module_path(const std::string& option, std::vector<std::string>& dirs) {
  if (option != "--module-path") return false;
  dirs.push_back(value(option, "a folder"));
  return true;
}

std::vector<std::pair<uint32_t, double>> read_vars_file(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot open");
  std::vector<std::pair<uint32_t, double>> out;
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    const auto b = line.find_first_not_of(" \t\r");
    if (b == std::string::npos) continue;
    line = line.substr(b, line.find_last_not_of(" \t\r") - b + 1);
    std::string compact;
    for (char c : line)
      if (c != ' ' && c != '\t') compact += c;
    try {
      out.push_back(sim::parse_assignment(compact));
    } catch (const std::invalid_argument& e) {
      throw std::runtime_error(path + ":" + std::to_string(n) + ": " + e.what());
    }
  }
  return out;
}

void place_layout(host::Host& h, const host::Layout& layout, const std::vector<std::string>& module_path) {
  std::vector<std::string> left_out;
  host::place_layout(h, layout, module_path, left_out);
  if (!left_out.empty()) std::fprintf(stderr, "%s", left_out_note(layout, left_out).c_str());
}

std::string left_out_note(const host::Layout& layout, const std::vector<std::string>& left_out) {
  std::string names;
  for (const std::string& n : left_out) names += (names.empty() ? "" : ", ") + n;
  return "gaugehost: " + layout.path + ": " + std::to_string(left_out.size()) + " gauge" +
         (left_out.size() == 1 ? "" : "s") + " not built yet, left out: " + names + "\n";
}

}  // namespace cli
