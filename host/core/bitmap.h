// The panel's bitmaps as the host reads them from a module's resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct Bitmap {
  int w = 0;
  int h = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first; 0 is pure black (transparent)

  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
};

struct DibInfo {
  int32_t width = 0;
  int32_t height = 0;  // positive: rows stored bottom-up
  uint16_t bits_per_pixel = 0;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
};

// Reads the header of a BITMAP resource (a BITMAPINFOHEADER and the pixel rows). Returns
// false, with a reason, for data that is too short or is not a BITMAPINFOHEADER.
bool read_dib_info(const uint8_t* data, size_t size, DibInfo& info, std::string& reason);

// Decodes an uncompressed 24-bit bitmap resource. Throws std::runtime_error with a
// one-line reason for anything else.
Bitmap decode_dib(const uint8_t* data, size_t size);

}  // namespace host
