// Writes a Cairo image as the panel's bitmap format: an uncompressed 24-bit bottom-up BMP.
#pragma once

#include <cairo.h>

#include <string>

namespace art {

// Pixels darker than this in every channel are written as pure black, the transparent
// colour: anti-aliased edges then fade into the panel instead of leaving a dark halo.
inline constexpr int transparent_below = 6;

// The whole file: file header, BITMAPINFOHEADER, pixel rows padded to four bytes.
std::string encode_bmp(cairo_surface_t* surface);

}  // namespace art
