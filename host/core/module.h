// A loaded gauge module: the library, its descriptor, import table and gauge header, and
// its bitmap resources. Loading runs no gauge code beyond the platform loader's own.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/host_interface.h"
#include "host/core/bitmap.h"

namespace host {

// A failure to load or to read a module; what() is one line.
struct ModuleError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Module {
 public:
  // Loads the file and checks its descriptor and import table; throws ModuleError.
  static std::unique_ptr<Module> load(const std::string& path);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const std::string& path() const { return path_; }
  std::string name() const;  // the gauge name
  GAUGESLINKAGE* linkage() const { return linkage_; }
  GAUGESIMPORT* import_table() const { return imports_; }
  GAUGEHDR* header() const { return linkage_->gauge_header_table[0]; }
  ELEMENT_HEADER* root() const;
  // The element tree in drawing order (root first, each element before its children).
  // Throws ModuleError for a tree that does not end.
  std::vector<ELEMENT_HEADER*> element_tree() const;
  // Every record of the mouse table up to and including the end of the list.
  std::vector<const MOUSERECT*> mouse_records() const;

  // Bounds on what the host walks through module data, so that a malformed table ends
  // with an error rather than a runaway loop.
  static constexpr int max_elements = 64;
  static constexpr int max_mouse_records = 256;

  // Resource numbers of the module's bitmaps, ascending.
  std::vector<int32_t> bitmap_ids() const;
  // The bytes of a BITMAP resource (header and pixels), empty if there is none.
  std::span<const uint8_t> bitmap_data(int32_t id) const;
  // Decoded and cached; throws ModuleError naming the module and the number.
  const Bitmap& bitmap(int32_t id) const;
  bool has_bitmap(int32_t id) const { return !bitmap_data(id).empty(); }

  // Whether an address lies inside the module's image: a binding or a named variable
  // whose storage is here dies with the module.
  bool contains(const void* address) const;

 private:
  Module() = default;
  std::string path_;
  void* handle_ = nullptr;
  GAUGESLINKAGE* linkage_ = nullptr;
  GAUGESIMPORT* imports_ = nullptr;
  uintptr_t image_begin_ = 0;
  uintptr_t image_end_ = 0;
  mutable std::map<int32_t, Bitmap> bitmaps_;
};

// The file name suffix of modules on this platform: ".gau" on win32, ".so" natively.
const char* module_suffix();

// Whether the process has the gauges' sound library loaded right now (without loading it).
bool sound_library_loaded();

}  // namespace host
