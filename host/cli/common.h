// What the subcommands share: option reading, variable assignments, placing a layout.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/core/layout.h"

namespace cli {

// A mistake on the command line: reported as one line, exit status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Walks the arguments of a subcommand: options with or without a value, and operands.
class ArgReader {
 public:
  ArgReader(std::string command, const std::vector<std::string>& args) : command_(std::move(command)), args_(args) {}
  bool done() const { return i_ >= args_.size(); }
  const std::string& peek() const { return args_[i_]; }
  std::string next() { return args_[i_++]; }
  // The value of the option just read, or a UsageError naming the option.
  std::string value(const std::string& option, const char* what);
  [[noreturn]] void unknown(const std::string& option) const;
  // The option every command that loads modules takes: --module-path DIR, into `dirs`.
  bool module_path(const std::string& option, std::vector<std::string>& dirs);

 private:
  std::string command_;
  const std::vector<std::string>& args_;
  size_t i_ = 0;
};

// VARIABLE=VALUE lines of a file, '#' comments and blank lines allowed; errors name the
// file and line.
std::vector<std::pair<uint32_t, double>> read_vars_file(const std::string& path);

// Places every gauge of a layout, resolving module names on the module path, and says on
// standard error which gauges are not built yet.
void place_layout(host::Host& h, const host::Layout& layout, const std::vector<std::string>& module_path);
std::string left_out_note(const host::Layout& layout, const std::vector<std::string>& left_out);

}  // namespace cli
