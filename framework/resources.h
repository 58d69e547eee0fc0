// Native builds carry their bitmaps in a table exported under one extra name, the
// stand-in for the resource section of a .gau. Each entry holds the same bytes a BITMAP
// resource holds: a BITMAPINFOHEADER and the pixel rows, without the file header.
#pragma once

#include <cstdint>

struct RESOURCE_ENTRY {
  uintptr_t id;  // resource number; 0 ends the table
  const unsigned char* data;
  uintptr_t size;
};

inline constexpr const char* NATIVE_RESOURCE_TABLE = "vk4_resource_table";
