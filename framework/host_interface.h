// The host interface of a gauge module: the types the host and the modules share and the
// host operations at their slots in the host's function table. Every word that holds an
// address is pointer-sized; on win32 the 32-bit layout is pinned with static_assert.
#pragma once

#include <cstddef>
#include <cstdint>

// The host's calling convention: the callee removes the arguments.
#if defined(_WIN32)
#define HOSTCALL __stdcall
#else
#define HOSTCALL
#endif

struct GAUGEHDR;
struct MODULE_VAR;
struct ELEMENT_HEADER;
struct ELEMENT_ICON;
struct ELEMENT_NEEDLE;
struct ELEMENT_STRING;
struct ELEMENT_SLIDER;

struct PIXPOINT {
  int32_t x;
  int32_t y;
};

struct PIXBOX {
  int32_t x;
  int32_t y;
  int32_t w;
  int32_t h;
};

// ---- host operations -------------------------------------------------------------

struct PANELS {
  void* unused_slots[36];  // 0x00 to 0x8C: operations no gauge of this panel calls
  int32_t(HOSTCALL* trigger_key_event)(uint32_t event_id, uint32_t value);             // 0x90
  int32_t(HOSTCALL* register_var_by_name)(void* storage, int32_t type, const char* name);  // 0x94
  void* unused_slot_0x98;
  int32_t(HOSTCALL* initialize_var_by_name)(MODULE_VAR* var, const char* name);  // 0x9C
  void(HOSTCALL* lookup_var)(MODULE_VAR* var);                                   // 0xA0
  int32_t(HOSTCALL* unregister_var_by_name)(const char* name);                   // 0xA4
};

// ---- module descriptor and import table --------------------------------------------

struct GAUGESLINKAGE {
  uint32_t module_id;                 // 0x13
  void(HOSTCALL* module_init)();      // does nothing
  void(HOSTCALL* module_deinit)();    // does nothing
  uint32_t host_word_4;               // 0
  uint32_t host_word_5;               // 0
  uint32_t module_version;            // 0x800
  GAUGEHDR* gauge_header_table[2];    // the module's one gauge header, then 0
};

struct IMPORT_ENTRY {
  uint32_t id;
  PANELS* pointer;
};

struct GAUGESIMPORT {
  IMPORT_ENTRY panels;  // id 0x0F; the host stores its function table here
  IMPORT_ENTRY end;     // id 0, pointer 0
};

inline constexpr uint32_t MODULE_ID = 0x13;
inline constexpr uint32_t MODULE_VERSION = 0x800;
inline constexpr uint32_t IMPORT_ID_PANELS = 0x0F;

// ---- service codes -----------------------------------------------------------------

enum SERVICE_CODE : int32_t {
  PANEL_SERVICE_PRE_INSTALL = 2,
  PANEL_SERVICE_PRE_INITIALIZE = 4,
  PANEL_SERVICE_PRE_UPDATE = 6,
  PANEL_SERVICE_PRE_DRAW = 10,
  PANEL_SERVICE_PRE_KILL = 12,
};

using GAUGE_SERVICE = void(HOSTCALL*)(GAUGEHDR* header, int32_t service_code, uint32_t extra);

// ---- module variables ---------------------------------------------------------------

// Type words the host writes into a module variable; 19 is also the type a module names
// when it publishes 32-bit integer storage.
enum VAR_TYPE : uint32_t {
  VAR_TYPE_NONE = 0,
  VAR_TYPE_FLOAT64 = 1,
  VAR_TYPE_INT32 = 19,
};

union MODULE_VAR_VALUE {
  double d;       // most variables
  int32_t i;      // an integer variable sits in the first four bytes
  uint32_t u;
  uint8_t bytes[8];
};

struct MODULE_VAR {
  uint32_t id;              // simulator variable number, 0 for none
  void* pointer;            // named storage bound by initialize_var_by_name
  uint32_t type;            // filled by the host
  MODULE_VAR_VALUE value;   // filled by lookup_var
  uint64_t host_field;      // the host's own
};

// ---- elements -------------------------------------------------------------------------

enum ELEMENT_KIND : uint32_t {
  ELEMENT_KIND_STATIC_IMAGE = 0,
  ELEMENT_KIND_NEEDLE = 1,
  ELEMENT_KIND_STRING = 2,
  ELEMENT_KIND_SLIDER = 3,
  ELEMENT_KIND_ICON = 4,
};

inline constexpr uint32_t IMAGE_FLAGS = 0x83;        // every element of the panel
inline constexpr uint32_t IMAGE_TRANSPARENT = 0x01;  // pure black is transparent
inline constexpr int32_t ICON_MODE = 3;              // every icon of the panel
inline constexpr int32_t NO_BITMAP = -1;

struct FAILURE_RECORD {
  uint32_t failure;
  uint32_t action;
  uint32_t reserved;
};

struct ELEMENT_HEADER {
  uint32_t kind;             // ELEMENT_KIND
  int32_t bitmap;            // resource number, -1 for none
  PIXPOINT position;         // top-left corner; for a needle its pivot
  PIXPOINT pivot;            // pivot inside a needle's bitmap
  GAUGEHDR* gauge_header;
  ELEMENT_HEADER** next;     // null-terminated list of children, or null
  FAILURE_RECORD* failures;  // ends with an all-zero record
  uint32_t image_flags;
};

struct ELEMENT_STATIC_IMAGE {
  ELEMENT_HEADER header;
};

struct ELEMENT_ICON {
  ELEMENT_HEADER header;
  MODULE_VAR source;
  int32_t icon_mode;
  int32_t frame_count;
  double(HOSTCALL* value_routine)(ELEMENT_ICON* element);
};

struct NONLINEARITY {
  int32_t x;       // a pixel of the background in the direction the needle points
  int32_t y;
  double value;
  double degrees;  // filled by the host
};

struct ELEMENT_NEEDLE {
  ELEMENT_HEADER header;
  MODULE_VAR source;
  NONLINEARITY* calibration;
  int32_t row_count;
  double(HOSTCALL* value_routine)(ELEMENT_NEEDLE* element);
};

inline constexpr size_t FONT_NAME_SIZE = 32;

// The text buffer the host provides to every string element holds this many bytes, the
// terminator included: more than the longest text any format of the panel gives for a
// single-precision value (43 characters for "%.2f"). String routines write at most this.
inline constexpr size_t TEXT_BUFFER_SIZE = 64;

struct ELEMENT_STRING {
  ELEMENT_HEADER header;
  MODULE_VAR sources[3];          // only the first names a simulator variable
  char* text;                     // the host stores its text buffer's address here
  int32_t box_w;
  int32_t box_h;
  uint32_t foreground;            // 0xRRGGBB
  uint32_t background;
  uint32_t highlight;
  char font_name[FONT_NAME_SIZE];
  int32_t font_weight;
  uint32_t charset;
  uint32_t text_options[2];       // 0 and 0x4240 in every string
  double(HOSTCALL* value_routine)(ELEMENT_STRING* element);
};

struct ELEMENT_SLIDER {
  ELEMENT_HEADER header;
  MODULE_VAR source_x;
  double scale_x;
  MODULE_VAR source_y;
  double scale_y;
  double(HOSTCALL* value_routine_x)(ELEMENT_SLIDER* element);
  double(HOSTCALL* value_routine_y)(ELEMENT_SLIDER* element);
};

// ---- mouse areas ------------------------------------------------------------------------

enum MOUSE_KIND : uint32_t {
  MOUSE_END_OF_LIST = 0,
  MOUSE_PARENT = 1,
  MOUSE_CHILD = 2,
  MOUSE_END_OF_PARENT = 3,
};

enum CURSOR : int32_t {
  CURSOR_NONE = -1,
  CURSOR_UP_ARROW = 1,
  CURSOR_DOWN_ARROW = 2,
  CURSOR_HAND = 5,
};

inline constexpr uint32_t MOUSE_LEFT_CLICK = 0x20000000;
inline constexpr uint32_t MOUSE_REPEAT = 0x00200000;

using MOUSE_HANDLER = int32_t(HOSTCALL*)(PIXPOINT* point, uint32_t mouse_flags);

struct MOUSERECT {
  uint32_t kind;  // MOUSE_KIND
  PIXBOX box;
  int32_t cursor;
  uint32_t help_id;
  uint32_t mouse_flags;
  uint32_t event_id;
  MOUSE_HANDLER handler;
  void* host_data;
};

// ---- gauge header -------------------------------------------------------------------

inline constexpr uint32_t GAUGE_HEADER_VERSION = 800;

struct GAUGEHDR {
  uint32_t header_version;      // 800
  const char* gauge_name;
  ELEMENT_HEADER** element_list;  // a variable holding the root element's address
  void* query_routine;          // this panel has no separate routines: all 0
  void* install_routine;
  void* initialize_routine;
  void* update_routine;
  void* generate_routine;
  void* draw_routine;
  void* kill_routine;
  uint32_t size_x_mm;           // 100
  uint32_t size_y_mm;           // 0
  MOUSERECT* mouse_table;
  GAUGE_SERVICE service;
  uint32_t user_data;
  const char* usage;
  const char* parameters;
  PIXPOINT position;
};

#if defined(_WIN32)
// The 32-bit layout the host relies on.
static_assert(sizeof(void*) == 4);
static_assert(sizeof(GAUGESLINKAGE) == 8 * 4);
static_assert(offsetof(GAUGESLINKAGE, module_version) == 5 * 4);
static_assert(offsetof(GAUGESLINKAGE, gauge_header_table) == 6 * 4);
static_assert(sizeof(GAUGESIMPORT) == 4 * 4);
static_assert(sizeof(MOUSERECT) == 11 * 4);
static_assert(offsetof(MOUSERECT, handler) == 9 * 4);
static_assert(sizeof(NONLINEARITY) == 24);
static_assert(offsetof(NONLINEARITY, value) == 8 && offsetof(NONLINEARITY, degrees) == 16);
static_assert(sizeof(FAILURE_RECORD) == 3 * 4);
static_assert(offsetof(MODULE_VAR, id) == 0 && offsetof(MODULE_VAR, pointer) == 4 &&
              offsetof(MODULE_VAR, type) == 8);
static_assert(offsetof(MODULE_VAR, value) > offsetof(MODULE_VAR, type) &&
              offsetof(MODULE_VAR, host_field) == offsetof(MODULE_VAR, value) + 8);
static_assert(sizeof(MODULE_VAR_VALUE) == 8 && sizeof(MODULE_VAR::host_field) == 8);
static_assert(offsetof(PANELS, trigger_key_event) == 0x90);
static_assert(offsetof(PANELS, register_var_by_name) == 0x94);
static_assert(offsetof(PANELS, initialize_var_by_name) == 0x9C);
static_assert(offsetof(PANELS, lookup_var) == 0xA0);
static_assert(offsetof(PANELS, unregister_var_by_name) == 0xA4);
#endif
