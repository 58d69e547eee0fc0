// How the host names things in its messages, traces and descriptions.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/host_interface.h"

namespace host {

inline const char* element_kind_name(uint32_t kind) {
  switch (kind) {
    case ELEMENT_KIND_STATIC_IMAGE: return "static image";
    case ELEMENT_KIND_NEEDLE: return "needle";
    case ELEMENT_KIND_STRING: return "string";
    case ELEMENT_KIND_SLIDER: return "slider";
    case ELEMENT_KIND_ICON: return "icon";
    default: return "unknown";
  }
}

// 0x102C1
inline std::string hex(uint64_t v) {
  char b[24];
  std::snprintf(b, sizeof b, "0x%llX", static_cast<unsigned long long>(v));
  return b;
}

}  // namespace host
