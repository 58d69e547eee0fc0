#include "host/core/module.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/resources.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#include <link.h>
#endif

namespace host {
namespace {

#if defined(_WIN32)
std::string last_error() {
  const DWORD code = GetLastError();
  char buf[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buf, sizeof buf, nullptr);
  std::string s(buf, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
    s.pop_back();
  // Messages that name their file with a placeholder: the caller names the file.
  for (const char* placeholder : {" for %1", " %1", "%1"})
    for (size_t at; (at = s.find(placeholder)) != std::string::npos;) s.erase(at, std::strlen(placeholder));
  if (s.empty()) s = "error " + std::to_string(code);
  return s;
}
#endif

}  // namespace

const char* module_suffix() {
#if defined(_WIN32)
  return ".gau";
#else
  return ".so";
#endif
}

bool sound_library_loaded() {
#if defined(_WIN32)
  return GetModuleHandleA("GaugeSound.dll") != nullptr;
#else
  void* h = dlopen("GaugeSound.so", RTLD_NOW | RTLD_NOLOAD);
  if (h == nullptr) return false;
  dlclose(h);
  return true;
#endif
}

std::unique_ptr<Module> Module::load(const std::string& path) {
  std::unique_ptr<Module> m(new Module);
  m->path_ = path;
#if defined(_WIN32)
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE h = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (h == nullptr) throw ModuleError(path + ": cannot load: " + last_error());
  m->handle_ = h;
  void* linkage = reinterpret_cast<void*>(GetProcAddress(h, MAKEINTRESOURCEA(1)));
  void* imports = reinterpret_cast<void*>(GetProcAddress(h, MAKEINTRESOURCEA(2)));
  void* linkage_by_name = reinterpret_cast<void*>(GetProcAddress(h, "Linkage"));
  void* imports_by_name = reinterpret_cast<void*>(GetProcAddress(h, "ImportTable"));
  if (linkage_by_name == nullptr || imports_by_name == nullptr)
    throw ModuleError(path + ": not a gauge module: it exports no Linkage and ImportTable");
  if (linkage != linkage_by_name || imports != imports_by_name)
    throw ModuleError(path + ": not a gauge module: Linkage and ImportTable are not ordinals 1 and 2");
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(h);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(h) + dos->e_lfanew);
  m->image_begin_ = reinterpret_cast<uintptr_t>(h);
  m->image_end_ = m->image_begin_ + nt->OptionalHeader.SizeOfImage;
#else
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (h == nullptr) {
    const char* e = dlerror();
    throw ModuleError(path + ": cannot load: " + (e != nullptr ? e : "unknown error"));
  }
  m->handle_ = h;
  void* linkage = dlsym(h, "Linkage");
  void* imports = dlsym(h, "ImportTable");
  if (linkage == nullptr || imports == nullptr)
    throw ModuleError(path + ": not a gauge module: it exports no Linkage and ImportTable");
  // The module's address range, from its program headers.
  link_map* lm = nullptr;
  if (dlinfo(h, RTLD_DI_LINKMAP, &lm) == 0 && lm != nullptr) {
    struct Range {
      const char* name;
      uintptr_t begin, end;
    } range{lm->l_name, 0, 0};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
          auto* r = static_cast<Range*>(data);
          if (info->dlpi_name == nullptr || std::strcmp(info->dlpi_name, r->name) != 0) return 0;
          for (int i = 0; i < info->dlpi_phnum; ++i) {
            const auto& ph = info->dlpi_phdr[i];
            if (ph.p_type != PT_LOAD) continue;
            const uintptr_t b = info->dlpi_addr + ph.p_vaddr, e = b + ph.p_memsz;
            if (r->begin == 0 || b < r->begin) r->begin = b;
            if (e > r->end) r->end = e;
          }
          return 1;
        },
        &range);
    m->image_begin_ = range.begin;
    m->image_end_ = range.end;
  }
#endif
  m->linkage_ = static_cast<GAUGESLINKAGE*>(linkage);
  m->imports_ = static_cast<GAUGESIMPORT*>(imports);
  const GAUGESLINKAGE& l = *m->linkage_;
  if (l.module_id != MODULE_ID)
    throw ModuleError(path + ": not a gauge module: module identifier is " + std::to_string(l.module_id));
  if (l.gauge_header_table[0] == nullptr)
    throw ModuleError(path + ": the module holds no gauge header");
  if (m->imports_->panels.id != IMPORT_ID_PANELS)
    throw ModuleError(path + ": the import table does not ask for the host's function table");
  const GAUGEHDR* hdr = l.gauge_header_table[0];
  if (!m->contains(hdr))
    throw ModuleError(path + ": the gauge header lies outside the module");
  if (hdr->gauge_name == nullptr || !m->contains(hdr->gauge_name))
    throw ModuleError(path + ": the gauge has no name");
  if (hdr->element_list == nullptr || !m->contains(hdr->element_list) || *hdr->element_list == nullptr)
    throw ModuleError(path + ": the gauge has no element list");
  if (hdr->service == nullptr)
    throw ModuleError(path + ": the gauge has no service routine");
  return m;
}

Module::~Module() {
  if (handle_ == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
}

bool Module::contains(const void* address) const {
  const auto a = reinterpret_cast<uintptr_t>(address);
  if (image_end_ == 0) return true;  // range unknown: accept
  return a >= image_begin_ && a < image_end_;
}

std::string Module::name() const {
  const char* n = header()->gauge_name;
  return std::string(n, strnlen(n, 64));
}

ELEMENT_HEADER* Module::root() const { return *header()->element_list; }

std::vector<ELEMENT_HEADER*> Module::element_tree() const {
  std::vector<ELEMENT_HEADER*> out;
  std::vector<ELEMENT_HEADER*> stack{root()};
  while (!stack.empty()) {
    ELEMENT_HEADER* e = stack.back();
    stack.pop_back();
    if (static_cast<int>(out.size()) >= max_elements)
      throw ModuleError(name() + ": element tree larger than " + std::to_string(max_elements));
    out.push_back(e);
    if (e->next == nullptr) continue;
    int n = 0;
    while (e->next[n] != nullptr) {
      if (++n > max_elements) throw ModuleError(name() + ": next list without its end");
    }
    for (int i = n - 1; i >= 0; --i) stack.push_back(e->next[i]);
  }
  return out;
}

std::vector<const MOUSERECT*> Module::mouse_records() const {
  std::vector<const MOUSERECT*> out;
  const MOUSERECT* t = header()->mouse_table;
  if (t == nullptr) return out;
  for (int i = 0; i < max_mouse_records; ++i) {
    out.push_back(&t[i]);
    if (t[i].kind == MOUSE_END_OF_LIST) return out;
  }
  throw ModuleError(name() + ": mouse table without its end");
}

#if defined(_WIN32)
namespace {
BOOL CALLBACK collect_id(HMODULE, LPCSTR, LPSTR name, LONG_PTR data) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<int32_t>*>(data)->push_back(
        static_cast<int32_t>(reinterpret_cast<uintptr_t>(name)));
  return TRUE;
}
}  // namespace

std::vector<int32_t> Module::bitmap_ids() const {
  std::vector<int32_t> ids;
  EnumResourceNamesA(static_cast<HMODULE>(handle_), MAKEINTRESOURCEA(2) /* RT_BITMAP */, collect_id,
                     reinterpret_cast<LONG_PTR>(&ids));
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::span<const uint8_t> Module::bitmap_data(int32_t id) const {
  if (id <= 0 || id > 0xFFFF) return {};
  auto h = static_cast<HMODULE>(handle_);
  HRSRC r = FindResourceA(h, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (r == nullptr) return {};
  HGLOBAL g = LoadResource(h, r);
  if (g == nullptr) return {};
  return {static_cast<const uint8_t*>(LockResource(g)), SizeofResource(h, r)};
}
#else
namespace {
const RESOURCE_ENTRY* table_of(void* handle) {
  return static_cast<const RESOURCE_ENTRY*>(dlsym(handle, NATIVE_RESOURCE_TABLE));
}
}  // namespace

std::vector<int32_t> Module::bitmap_ids() const {
  std::vector<int32_t> ids;
  for (const RESOURCE_ENTRY* e = table_of(handle_); e != nullptr && e->id != 0; ++e)
    ids.push_back(static_cast<int32_t>(e->id));
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::span<const uint8_t> Module::bitmap_data(int32_t id) const {
  for (const RESOURCE_ENTRY* e = table_of(handle_); e != nullptr && e->id != 0; ++e)
    if (static_cast<int32_t>(e->id) == id) return {e->data, e->size};
  return {};
}
#endif

const Bitmap& Module::bitmap(int32_t id) const {
  auto it = bitmaps_.find(id);
  if (it != bitmaps_.end()) return it->second;
  std::span<const uint8_t> data = bitmap_data(id);
  char num[16];
  std::snprintf(num, sizeof num, "0x%X", static_cast<unsigned>(id));
  if (data.empty()) throw ModuleError(name() + ": no bitmap " + num);
  try {
    return bitmaps_.emplace(id, decode_dib(data.data(), data.size())).first->second;
  } catch (const std::runtime_error& e) {
    throw ModuleError(name() + ": bitmap " + num + ": " + e.what());
  }
}

}  // namespace host
