// The scenario reader on arbitrary text: it reads a script or refuses it with a
// ScriptError naming the line; nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/script/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    script::parse_script(text, "fuzz.scn");
  } catch (const script::ScriptError& e) {
    if (std::string(e.what()).rfind("fuzz.scn:", 0) != 0) __builtin_trap();
  }
  return 0;
}
