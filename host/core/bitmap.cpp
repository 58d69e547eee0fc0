#include "host/core/bitmap.h"

#include <cstring>
#include <stdexcept>

namespace host {
namespace {

uint32_t le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

bool read_dib_info(const uint8_t* data, size_t size, DibInfo& info, std::string& reason) {
  if (size < 40) {
    reason = "bitmap data shorter than its header";
    return false;
  }
  if (le32(data) != 40) {
    reason = "bitmap header is not a BITMAPINFOHEADER";
    return false;
  }
  info.width = static_cast<int32_t>(le32(data + 4));
  info.height = static_cast<int32_t>(le32(data + 8));
  info.bits_per_pixel = le16(data + 14);
  info.compression = le32(data + 16);
  info.colours_used = le32(data + 32);
  return true;
}

Bitmap decode_dib(const uint8_t* data, size_t size) {
  DibInfo info;
  std::string reason;
  if (!read_dib_info(data, size, info, reason)) throw std::runtime_error(reason);
  if (info.bits_per_pixel != 24 || info.compression != 0)
    throw std::runtime_error("bitmap is " + std::to_string(info.bits_per_pixel) +
                             "-bit, compression " + std::to_string(info.compression) +
                             "; the panel uses uncompressed 24-bit bitmaps");
  if (info.width <= 0 || info.height == 0 || info.width > 8192 || info.height > 8192 ||
      info.height < -8192)
    throw std::runtime_error("bitmap size " + std::to_string(info.width) + " x " +
                             std::to_string(info.height) + " is out of range");
  const bool bottom_up = info.height > 0;
  Bitmap b;
  b.w = info.width;
  b.h = bottom_up ? info.height : -info.height;
  const size_t row_bytes = (static_cast<size_t>(b.w) * 3 + 3) & ~size_t{3};
  const size_t offset = 40 + static_cast<size_t>(info.colours_used) * 4;
  if (info.colours_used > 256 || size < offset + row_bytes * b.h)
    throw std::runtime_error("bitmap data shorter than its " + std::to_string(b.w) + " x " +
                             std::to_string(b.h) + " pixels");
  b.pixels.resize(static_cast<size_t>(b.w) * b.h);
  for (int y = 0; y < b.h; ++y) {
    const uint8_t* row = data + offset + row_bytes * (bottom_up ? b.h - 1 - y : y);
    for (int x = 0; x < b.w; ++x) {
      const uint8_t* p = row + 3 * x;
      b.pixels[static_cast<size_t>(y) * b.w + x] = (p[2] << 16) | (p[1] << 8) | p[0];
    }
  }
  return b;
}

}  // namespace host
