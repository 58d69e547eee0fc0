// Finds a module given by file path or by gauge name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

// Where names are looked up: the --module-path folders, then GAUGEHOST_MODULE_PATH, then
// the builds beside this program (dist/lib natively, dist/gauges for gaugehost.exe).
std::vector<std::string> module_path(const std::vector<std::string>& extra);

// A path (anything with a folder separator or a module suffix) is taken as it is; a
// bare name is looked up as NAME.so / NAME.gau on the module path. Throws
// std::runtime_error naming the folders searched.
std::string resolve_module(const std::string& arg, const std::vector<std::string>& path);

// Whether an argument is a file path rather than a bare gauge name.
bool is_module_path(const std::string& arg);
// The file of a bare name on the module path, if there is one.
std::optional<std::string> find_module(const std::string& name, const std::vector<std::string>& path);

}  // namespace host
