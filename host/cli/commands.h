// The subcommands of gaugehost. Each takes the arguments after its name, prints its
// result, and returns the exit status; errors are thrown as exceptions with one line.
#pragma once

#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/core/layout.h"

namespace cli {

using Args = std::vector<std::string>;

int info(const Args& args);
int run(const Args& args);
int vars(const Args& args);
int validate_modules(const Args& args);
#if !defined(_WIN32)
int render(const Args& args);
int serve(const Args& args);
// Draws one gauge (or, with none, every gauge on the layout's panel) to a PNG.
void render_png(host::Host& h, const host::Instance* gauge, const host::Layout& layout, const std::string& file,
                int scale, bool hotspots);
#endif

}  // namespace cli
