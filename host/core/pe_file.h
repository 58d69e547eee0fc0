// Reads a 32-bit Windows DLL as a file, without loading it: headers, sections, exports,
// imports, resources and the version resource. Used to check the .gau deliverables.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

struct PeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct PeSection {
  std::string name;
  uint32_t virtual_address = 0;
  uint32_t virtual_size = 0;
  uint32_t raw_offset = 0;
  uint32_t raw_size = 0;
  uint32_t characteristics = 0;  // 0x20000000 executable, 0x80000000 writable
};

struct PeExport {
  std::string name;  // empty when exported by ordinal only
  uint32_t ordinal = 0;
  uint32_t rva = 0;
};

struct PeResource {
  uint32_t type = 0;  // numeric type (2 bitmap, 16 version); named entries are skipped
  uint32_t id = 0;
  uint32_t language = 0;
  std::span<const uint8_t> data;
};

class PeFile {
 public:
  // Throws PeError with a one-line reason for anything that is not a well-formed PE.
  static PeFile read(const std::string& path);
  static PeFile parse(std::vector<uint8_t> bytes);

  uint16_t machine = 0;          // 0x14C for i386
  uint16_t characteristics = 0;  // 0x2000 for a DLL
  uint16_t optional_magic = 0;   // 0x10B for PE32
  uint32_t image_base = 0;
  uint32_t symbol_table = 0;     // 0 with no symbol count when stripped
  uint32_t symbol_count = 0;
  std::vector<PeSection> sections;
  std::vector<PeExport> exports;
  std::vector<std::string> imported_dlls;
  std::vector<PeResource> resources;

  bool is_dll() const { return (characteristics & 0x2000) != 0; }
  const PeResource* resource(uint32_t type, uint32_t id) const;
  // The bytes at a relative virtual address, or an empty span beyond the file.
  std::span<const uint8_t> at_rva(uint32_t rva, uint32_t size) const;

 private:
  std::vector<uint8_t> bytes_;
};

struct VersionResource {
  uint16_t file_version[4] = {};
  uint16_t product_version[4] = {};
  // String tables by their key ("040904B0"), each with its strings.
  std::map<std::string, std::map<std::string, std::string>> strings;
  std::vector<std::pair<uint16_t, uint16_t>> translations;  // language, code page
};

// Parses a VS_VERSIONINFO resource; nullopt if it is malformed.
std::optional<VersionResource> parse_version(std::span<const uint8_t> data);

}  // namespace host
