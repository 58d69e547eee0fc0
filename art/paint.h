// Drawing helpers shared by the pictures of the panel.
#pragma once

#include <cairo.h>

#include <string_view>

namespace art {

struct Rgb {
  double r, g, b;  // 0 to 255
};

// Colours of the panel. None is pure black: black is transparent.
inline constexpr Rgb white = {240, 240, 240};
inline constexpr Rgb light_grey = {190, 190, 190};
inline constexpr Rgb grey = {140, 140, 140};
inline constexpr Rgb dark_grey = {70, 70, 70};
inline constexpr Rgb darker_grey = {40, 40, 40};
inline constexpr Rgb outline = {22, 22, 22};
inline constexpr Rgb face_grey = {52, 54, 56};      // instrument faces
inline constexpr Rgb needle_grey = {96, 96, 96};    // counterweights
inline constexpr Rgb hub_grey = {34, 35, 37};       // darker hub discs
inline constexpr Rgb band_red = {200, 40, 36};
inline constexpr Rgb band_green = {40, 170, 60};
inline constexpr Rgb pale_yellow = {240, 226, 140};
inline constexpr Rgb panel_grey = {104, 108, 112};  // grey panels and housings
inline constexpr Rgb slot_dark = {28, 28, 30};      // lever slots
inline constexpr Rgb lever_red = {196, 40, 34};
inline constexpr Rgb lever_blue = {48, 92, 190};
inline constexpr Rgb amber_dark = {110, 70, 16};
inline constexpr Rgb amber_lit = {255, 186, 40};

void set(cairo_t* cr, Rgb c);
void disc(cairo_t* cr, double cx, double cy, double r, Rgb c);
void ring(cairo_t* cr, double cx, double cy, double r, double width, Rgb c);
void line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb c);
void box(cairo_t* cr, double x, double y, double w, double h, Rgb c);
void rounded_box(cairo_t* cr, double x, double y, double w, double h, double r, Rgb c);
// A screw head: a disc with a slot.
void screw(cairo_t* cr, double cx, double cy, double r);

// The sans bold face of the panel's legends.
void legend_font(cairo_t* cr, double size);
// Draws text centred on cx with its baseline at y, shrunk until it fits max_width.
void centred_text(cairo_t* cr, std::string_view text, double cx, double baseline, double size,
                  double max_width, Rgb c);

}  // namespace art
