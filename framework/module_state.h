// Module-level state of the framework, declared for the framework itself and for test
// fixtures built with it. Gauges do not touch it.
#pragma once

#include <cstdint>

#include "framework/winload.h"

namespace vk4 {
extern int32_t first_draw_done;
extern HMODULE sound_library;
extern FARPROC play_sound_entry;
extern FARPROC stop_sound_entry;
extern int32_t sound_loads;
}  // namespace vk4
