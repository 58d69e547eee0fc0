// The subcommands of gaugehost. Each takes the arguments after its name, prints its
// result, and returns the exit status; errors are thrown as exceptions with one line.
#pragma once

#include <string>
#include <vector>

namespace cli {

using Args = std::vector<std::string>;

int info(const Args& args);
#if !defined(_WIN32)
int render(const Args& args);
#endif

}  // namespace cli
