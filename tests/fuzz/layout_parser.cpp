// The panel layout reader on arbitrary text: a layout or a LayoutError naming the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/core/layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const host::Layout l = host::parse_layout(text, "fuzz.json");
    if (l.width < 1 || l.height < 1) __builtin_trap();
  } catch (const host::LayoutError& e) {
    if (std::string(e.what()).rfind("fuzz.json", 0) != 0) __builtin_trap();
  }
  return 0;
}
