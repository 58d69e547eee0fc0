// Where the tests find the modules they exercise, on either target.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>

#include "host/core/host.h"
#include "host/core/module.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host {
// Key events in test messages: 0x102C1=0.
inline void PrintTo(const KeyEvent& e, std::ostream* os) {
  char b[32];
  std::snprintf(b, sizeof b, "0x%X=%u", e.id, e.value);
  *os << b;
}
}  // namespace host

namespace test {

// The deliverables: .gau files on win32, their native builds natively.
inline std::string module_file(std::string_view name) {
  return std::string(VK4_TEST_MODULE_DIR) + "/" + std::string(name) + host::module_suffix();
}

inline std::string fixture_file(std::string_view name) {
  return std::string(VK4_TEST_FIXTURE_DIR) + "/" + std::string(name) + host::module_suffix();
}

// CTest runs the behaviour tests twice: with the sound-library fixture on the library
// search path and without it. Everything but the binding itself must behave the same.
inline bool sound_library_expected() {
  const char* e = std::getenv("VK4_EXPECT_SOUND");
  return e != nullptr && std::string_view(e) == "1";
}


inline void* sound_entry(const char* name) {
#if defined(_WIN32)
  HMODULE h = GetModuleHandleA("GaugeSound.dll");
  return h != nullptr ? reinterpret_cast<void*>(GetProcAddress(h, name)) : nullptr;
#else
  void* h = dlopen("GaugeSound.so", RTLD_NOW | RTLD_NOLOAD);
  if (h == nullptr) return nullptr;
  void* p = dlsym(h, name);
  dlclose(h);
  return p;
#endif
}

// An exported function of a loaded module by name (test fixtures only).
template <class F>
F module_function(const host::Module& m, const char* name) {
#if defined(_WIN32)
  HMODULE h = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(m.linkage()), &h);
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(h, name)));
#else
  Dl_info info{};
  dladdr(m.linkage(), &info);
  void* h = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  void* p = h != nullptr ? dlsym(h, name) : nullptr;
  if (h != nullptr) dlclose(h);
  return reinterpret_cast<F>(p);
#endif
}

}  // namespace test
