// What every module shares: the two exports, the service routine over every service
// code, the sound-library binding and the first-draw reset.
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

namespace {

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

void first_draw_reset() {
  if (first_draw_done != 0) return;
  first_draw_done = 1;
  for (int32_t* s : module_definition.statics) *s = 0;
  if (module_definition.first_draw != nullptr) module_definition.first_draw();
}

}  // namespace

void HOSTCALL gauge_service(GAUGEHDR*, int32_t service_code, uint32_t) {
  const ModuleDefinition& def = module_definition;
  switch (service_code) {
    case PANEL_SERVICE_PRE_INSTALL:
      if (def.pre_install != nullptr) def.pre_install();
      break;
    case PANEL_SERVICE_PRE_INITIALIZE:
      bind_sound_library();
      if (def.pre_initialize != nullptr) def.pre_initialize();
      break;
    case PANEL_SERVICE_PRE_UPDATE:
      for (MODULE_VAR* v : def.refreshed) lookup_var(v);
      if (def.pre_update != nullptr) def.pre_update();
      break;
    case PANEL_SERVICE_PRE_DRAW:
      first_draw_reset();
      break;
    case PANEL_SERVICE_PRE_KILL:
      release_sound_library();
      if (def.pre_kill != nullptr) def.pre_kill();
      break;
    default:  // every other code, negative ones included, has no work
      break;
  }
}

}  // namespace vk4
