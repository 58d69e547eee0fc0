// What every module shares: the two exports, the module-level state and the
// sound-library binding. The service routine is made for each gauge (framework/gauge.h).
#include "framework/module_state.h"
#include "framework/gauge.h"
#include "framework/winload.h"

namespace {
void HOSTCALL module_init() {}
void HOSTCALL module_deinit() {}
}  // namespace

// The win32 exports are named by the .def file; natively they are the only default-
// visibility symbols besides the bitmap table.
#if defined(_WIN32)
#define VK4_EXPORT
#else
#define VK4_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
VK4_EXPORT constinit GAUGESIMPORT ImportTable = {{IMPORT_ID_PANELS, nullptr}, {0, nullptr}};
VK4_EXPORT constinit GAUGESLINKAGE Linkage = {
    MODULE_ID, module_init, module_deinit, 0, 0, MODULE_VERSION, {&vk4::gauge_header, nullptr}};
}

namespace vk4 {

constinit int32_t first_draw_done = 0;
constinit HMODULE sound_library = nullptr;
constinit FARPROC play_sound_entry = nullptr;
constinit FARPROC stop_sound_entry = nullptr;
// Loads of the sound library this module has not released yet. A pre-kill releases only
// what a pre-initialise loaded, so no sequence of service calls can release the library
// more often than it was loaded (which would pull it from under another instance).
constinit int32_t sound_loads = 0;

void bind_sound_library() {
  sound_library = LoadLibraryA("GaugeSound");
  play_sound_entry = GetProcAddress(sound_library, "GaugePlaySound");
  stop_sound_entry = GetProcAddress(sound_library, "GaugeStopSound");
  if (sound_library != nullptr) ++sound_loads;
}

void release_sound_library() {
  if (sound_loads > 0) {
    --sound_loads;
    FreeLibrary(sound_library);
  }
}

}  // namespace vk4
