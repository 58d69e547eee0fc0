// vk4_art: draws every bitmap of the panel and writes, per module, its BMP files and
// the resource lists the build compiles into the module (a .rc for the .gau, an
// assembler table for the native build).
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "art/bmp.h"
#include "art/catalogue.h"

namespace fs = std::filesystem;

namespace {

std::string hex(int32_t id) {
  char b[16];
  std::snprintf(b, sizeof b, "%04X", static_cast<unsigned>(id));
  return b;
}

void write_text(const fs::path& p, const std::string& text) {
  // Rewrite only when the content changes, so that the build does not relink every module.
  std::ifstream in(p, std::ios::binary);
  std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in && old == text) return;
  std::ofstream out(p, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

void write_gauge(const fs::path& out, const art::GaugeArt& g, bool png) {
  const fs::path dir = out / g.name;
  fs::create_directories(dir);
  std::string rc = "LANGUAGE 0x09, 0x01\n";  // U.S. English, 0x0409
  std::string as = "\t.section .rodata\n";
  std::string table;
  // The pictures' content, so that the lists change (and the module is rebuilt) whenever
  // a picture does: the assembler and windres do not track the files they include.
  uint64_t hash = 1469598103934665603ull;
  for (const art::Picture& p : g.pictures) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, p.size.w, p.size.h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    p.draw(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
      throw std::runtime_error(g.name + ": drawing " + hex(p.id) + " failed");
    cairo_destroy(cr);
    const fs::path bmp = fs::absolute(dir / (hex(p.id) + ".bmp"));
    const std::string bytes = art::encode_bmp(s);
    for (unsigned char ch : bytes) hash = (hash ^ ch) * 1099511628211ull;
    write_text(bmp, bytes);
    if (png) cairo_surface_write_to_png(s, fs::path(bmp).replace_extension(".png").c_str());
    cairo_surface_destroy(s);
    rc += std::to_string(p.id) + " BITMAP \"" + bmp.string() + "\"\n";
    // The native table holds what a BITMAP resource holds: the BMP without its 14-byte
    // file header.
    const std::string label = "vk4_bitmap_" + hex(p.id);
    as += "\t.balign 4\n" + label + ":\n\t.incbin \"" + bmp.string() + "\", 14\n" + label + "_end:\n";
    table += "\t.quad " + std::to_string(p.id) + ", " + label + ", " + label + "_end - " + label + "\n";
  }
  as += "\t.section .data.rel.ro,\"aw\"\n\t.balign 8\n\t.globl vk4_resource_table\n"
        "\t.type vk4_resource_table, @object\nvk4_resource_table:\n" +
        table + "\t.quad 0, 0, 0\n\t.size vk4_resource_table, .-vk4_resource_table\n"
        "\t.section .note.GNU-stack,\"\",@progbits\n";
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "pictures %016llx", static_cast<unsigned long long>(hash));
  write_text(dir / "bitmaps.rc", "// " + std::string(stamp) + "\n" + rc);
  write_text(dir / "bitmaps.S", "/* " + std::string(stamp) + " */\n" + as);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::puts("usage: vk4_art OUTDIR [--png]\n"
              "Draws every bitmap of the panel into OUTDIR/<module>/<number>.bmp and writes\n"
              "OUTDIR/<module>/bitmaps.rc and bitmaps.S, the module's resource lists.\n"
              "--png also writes each picture as <number>.png, for looking at.");
    return 0;
  }
  const bool png = argc == 3 && std::strcmp(argv[2], "--png") == 0;
  if (argc != 2 && !png) {
    std::fputs("vk4_art: usage: vk4_art OUTDIR [--png] (see --help)\n", stderr);
    return 2;
  }
  try {
    for (const art::GaugeArt& g : art::catalogue()) write_gauge(argv[1], g, png);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vk4_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
