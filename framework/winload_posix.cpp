#include <dlfcn.h>

#include <cstring>
#include <string>

#include "framework/winload.h"

HMODULE LoadLibraryA(const char* name) {
  if (name == nullptr) return nullptr;
  std::string file = name;
  // Windows appends ".dll" to a name without an extension; here the suffix is ".so".
  const char* base = std::strrchr(name, '/');
  if (std::strchr(base != nullptr ? base : name, '.') == nullptr) file += ".so";
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

FARPROC GetProcAddress(HMODULE library, const char* name) {
  // A null handle is a failed load: on Windows the call fails, it never searches
  // everything loaded (which dlsym would do for a null handle).
  if (library == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<FARPROC>(dlsym(library, name));
}

int FreeLibrary(HMODULE library) {
  if (library == nullptr) return 0;
  return dlclose(library) == 0 ? 1 : 0;
}
