#include "art/bmp.h"

#include <cstdint>
#include <string>

namespace art {
namespace {

void put16(std::string& b, uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

}  // namespace

std::string encode_bmp(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const uint32_t row_bytes = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
  const uint32_t pixel_bytes = row_bytes * static_cast<uint32_t>(h);

  std::string b;
  b.reserve(54 + pixel_bytes);
  b.push_back('B');
  b.push_back('M');
  put32(b, 54 + pixel_bytes);  // file size
  put32(b, 0);
  put32(b, 54);  // offset of the pixels
  put32(b, 40);  // BITMAPINFOHEADER
  put32(b, static_cast<uint32_t>(w));
  put32(b, static_cast<uint32_t>(h));  // positive: bottom-up
  put16(b, 1);                          // planes
  put16(b, 24);                         // bits per pixel
  put32(b, 0);                          // BI_RGB, uncompressed
  put32(b, pixel_bytes);
  put32(b, 2835);  // 72 dpi
  put32(b, 2835);
  put32(b, 0);  // no colour table
  put32(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      // The surface is opaque (RGB24): no premultiplication to undo.
      uint8_t r = (row[x] >> 16) & 0xFF, g = (row[x] >> 8) & 0xFF, bl = row[x] & 0xFF;
      if (r < transparent_below && g < transparent_below && bl < transparent_below) r = g = bl = 0;
      b.push_back(static_cast<char>(bl));
      b.push_back(static_cast<char>(g));
      b.push_back(static_cast<char>(r));
    }
    for (uint32_t pad = static_cast<uint32_t>(w) * 3; pad < row_bytes; ++pad) b.push_back(0);
  }
  return b;
}

}  // namespace art
