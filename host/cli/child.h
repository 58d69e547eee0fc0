// Runs this program again as a child process, so that a module that crashes takes down
// only its child: what the child printed, and how it ended.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct ChildResult {
  bool exited = false;  // ended by exit(), with `status`
  int status = 0;
  std::string how;      // a crash, a signal or a timeout, in words (when not exited)
  std::string out;      // standard output
  std::string err;      // standard error, the last part
};

// Runs `gaugehost ARGS...` with `extra_library_dir` (if not empty) put first on the
// library search path. Stops it after `timeout_s` seconds.
ChildResult run_self(const std::vector<std::string>& args, const std::string& extra_library_dir, double timeout_s);

}  // namespace cli
