#include "host/core/pe_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace host {
namespace {

struct Reader {
  std::span<const uint8_t> b;
  bool ok(size_t off, size_t n) const { return off <= b.size() && n <= b.size() - off; }
  uint16_t u16(size_t off) const {
    if (!ok(off, 2)) throw PeError("truncated file");
    return static_cast<uint16_t>(b[off] | (b[off + 1] << 8));
  }
  uint32_t u32(size_t off) const {
    if (!ok(off, 4)) throw PeError("truncated file");
    return b[off] | (b[off + 1] << 8) | (b[off + 2] << 16) | (static_cast<uint32_t>(b[off + 3]) << 24);
  }
};

}  // namespace

PeFile PeFile::read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PeError(path + ": cannot open");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    return parse(std::move(bytes));
  } catch (const PeError& e) {
    throw PeError(path + ": " + e.what());
  }
}

std::span<const uint8_t> PeFile::at_rva(uint32_t rva, uint32_t size) const {
  for (const PeSection& s : sections) {
    const uint32_t span = std::max(s.virtual_size, s.raw_size);
    if (rva >= s.virtual_address && rva - s.virtual_address < span) {
      const uint64_t off = static_cast<uint64_t>(s.raw_offset) + (rva - s.virtual_address);
      if (rva - s.virtual_address + static_cast<uint64_t>(size) > s.raw_size) return {};
      if (off + size > bytes_.size()) return {};
      return {bytes_.data() + off, size};
    }
  }
  return {};
}

const PeResource* PeFile::resource(uint32_t type, uint32_t id) const {
  for (const PeResource& r : resources)
    if (r.type == type && r.id == id) return &r;
  return nullptr;
}

PeFile PeFile::parse(std::vector<uint8_t> bytes) {
  PeFile pe;
  pe.bytes_ = std::move(bytes);
  Reader r{pe.bytes_};
  if (pe.bytes_.size() < 64 || pe.bytes_[0] != 'M' || pe.bytes_[1] != 'Z')
    throw PeError("not a Windows executable (no MZ header)");
  const uint32_t nt = r.u32(0x3C);
  if (r.u32(nt) != 0x00004550) throw PeError("not a PE file (no PE signature)");
  const size_t coff = nt + 4;
  pe.machine = r.u16(coff);
  const uint16_t nsections = r.u16(coff + 2);
  pe.symbol_table = r.u32(coff + 8);
  pe.symbol_count = r.u32(coff + 12);
  const uint16_t opt_size = r.u16(coff + 16);
  pe.characteristics = r.u16(coff + 18);
  const size_t opt = coff + 20;
  pe.optional_magic = r.u16(opt);
  if (pe.optional_magic != 0x10B) throw PeError("not a 32-bit PE (optional header is not PE32)");
  pe.image_base = r.u32(opt + 28);
  const uint32_t ndirs = r.u32(opt + 92);
  auto dir = [&](uint32_t i) -> std::pair<uint32_t, uint32_t> {
    if (i >= ndirs) return {0, 0};
    return {r.u32(opt + 96 + 8 * i), r.u32(opt + 96 + 8 * i + 4)};
  };
  const size_t sect = opt + opt_size;
  for (uint16_t i = 0; i < nsections; ++i) {
    const size_t s = sect + 40u * i;
    if (!r.ok(s, 40)) throw PeError("truncated section table");
    PeSection ps;
    ps.name.assign(reinterpret_cast<const char*>(&pe.bytes_[s]), strnlen(reinterpret_cast<const char*>(&pe.bytes_[s]), 8));
    ps.virtual_size = r.u32(s + 8);
    ps.virtual_address = r.u32(s + 12);
    ps.raw_size = r.u32(s + 16);
    ps.raw_offset = r.u32(s + 20);
    ps.characteristics = r.u32(s + 36);
    pe.sections.push_back(ps);
  }
  auto rva_string = [&](uint32_t rva) {
    std::string out;
    for (uint32_t i = 0; i < 512; ++i) {
      auto c = pe.at_rva(rva + i, 1);
      if (c.empty() || c[0] == 0) break;
      out.push_back(static_cast<char>(c[0]));
    }
    return out;
  };
  auto rva_u32 = [&](uint32_t rva) {
    auto s = pe.at_rva(rva, 4);
    if (s.empty()) throw PeError("pointer outside the file");
    return Reader{s}.u32(0);
  };
  auto rva_u16 = [&](uint32_t rva) {
    auto s = pe.at_rva(rva, 2);
    if (s.empty()) throw PeError("pointer outside the file");
    return Reader{s}.u16(0);
  };

  // Exports.
  if (auto [rva, size] = dir(0); rva != 0 && size != 0) {
    const uint32_t base = rva_u32(rva + 16);
    const uint32_t nfunc = rva_u32(rva + 20);
    const uint32_t nnames = rva_u32(rva + 24);
    const uint32_t funcs = rva_u32(rva + 28);
    const uint32_t names = rva_u32(rva + 32);
    const uint32_t ords = rva_u32(rva + 36);
    if (nfunc > 65536 || nnames > 65536) throw PeError("export table too large");
    for (uint32_t i = 0; i < nfunc; ++i) {
      const uint32_t f = rva_u32(funcs + 4 * i);
      if (f == 0) continue;
      PeExport e;
      e.ordinal = base + i;
      e.rva = f;
      for (uint32_t n = 0; n < nnames; ++n)
        if (rva_u16(ords + 2 * n) == i) e.name = rva_string(rva_u32(names + 4 * n));
      pe.exports.push_back(e);
    }
  }
  // Imports.
  if (auto [rva, size] = dir(1); rva != 0 && size != 0) {
    for (uint32_t d = rva;; d += 20) {
      const uint32_t name = rva_u32(d + 12);
      if (name == 0 && rva_u32(d + 16) == 0) break;
      pe.imported_dlls.push_back(rva_string(name));
      if (pe.imported_dlls.size() > 256) throw PeError("import table without its end");
    }
  }
  // Resources: type / name / language, numeric entries only.
  const uint32_t resources_rva = dir(2).first, resources_size = dir(2).second;
  if (resources_rva != 0 && resources_size != 0) {
    const uint32_t rva = resources_rva;
    auto entries = [&](uint32_t table, auto&& each) {
      const uint16_t named = rva_u16(rva + table + 12), ids = rva_u16(rva + table + 14);
      for (uint32_t i = 0; i < static_cast<uint32_t>(named) + ids; ++i) {
        const uint32_t e = rva + table + 16 + 8 * i;
        const uint32_t key = rva_u32(e), off = rva_u32(e + 4);
        if ((key & 0x80000000u) != 0) continue;  // a named entry
        each(key, off);
      }
    };
    entries(0, [&](uint32_t type, uint32_t off1) {
      if ((off1 & 0x80000000u) == 0) return;
      entries(off1 & 0x7FFFFFFF, [&](uint32_t id, uint32_t off2) {
        if ((off2 & 0x80000000u) == 0) return;
        entries(off2 & 0x7FFFFFFF, [&](uint32_t lang, uint32_t off3) {
          if ((off3 & 0x80000000u) != 0) return;
          const uint32_t data_rva = rva_u32(rva + off3), data_size = rva_u32(rva + off3 + 4);
          PeResource res{type, id, lang, pe.at_rva(data_rva, data_size)};
          if (res.data.empty() && data_size != 0) throw PeError("resource data outside the file");
          pe.resources.push_back(res);
        });
      });
    });
  }
  return pe;
}

namespace {

struct VersionNode {
  std::string key;
  uint16_t type = 0;
  std::span<const uint8_t> value;
  std::vector<VersionNode> children;
};

std::string narrow(std::span<const uint8_t> utf16) {
  std::string s;
  for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
    const uint16_t c = static_cast<uint16_t>(utf16[i] | (utf16[i + 1] << 8));
    if (c == 0) break;
    s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return s;
}

bool parse_node(std::span<const uint8_t> b, size_t off, VersionNode& node, size_t& next, int depth) {
  Reader r{b};
  if (depth > 8 || !r.ok(off, 6)) return false;
  const size_t len = r.u16(off), vlen = r.u16(off + 2);
  node.type = r.u16(off + 4);
  if (len < 6 || !r.ok(off, len)) return false;
  const size_t end = off + len;
  size_t p = off + 6;
  size_t key_end = p;
  while (key_end + 1 < end && (b[key_end] | b[key_end + 1]) != 0) key_end += 2;
  node.key = narrow(b.subspan(p, key_end - p));
  p = (key_end + 2 + 3) & ~size_t{3};
  const size_t vbytes = node.type == 1 ? vlen * 2 : vlen;
  if (p > end || vbytes > end - p) {
    if (vbytes != 0) return false;
    p = std::min(p, end);
  }
  node.value = b.subspan(p, vbytes);
  p = (p + vbytes + 3) & ~size_t{3};
  while (p + 6 <= end) {
    VersionNode child;
    size_t after = 0;
    if (!parse_node(b, p, child, after, depth + 1)) return false;
    node.children.push_back(std::move(child));
    p = (after + 3) & ~size_t{3};
  }
  next = end;
  return true;
}

}  // namespace

std::optional<VersionResource> parse_version(std::span<const uint8_t> data) {
  VersionNode root;
  size_t next = 0;
  if (!parse_node(data, 0, root, next, 0) || root.key != "VS_VERSION_INFO") return std::nullopt;
  if (root.value.size() < 52) return std::nullopt;
  Reader r{root.value};
  if (r.u32(0) != 0xFEEF04BD) return std::nullopt;
  VersionResource v;
  const uint32_t fms = r.u32(8), fls = r.u32(12), pms = r.u32(16), pls = r.u32(20);
  v.file_version[0] = fms >> 16, v.file_version[1] = fms & 0xFFFF;
  v.file_version[2] = fls >> 16, v.file_version[3] = fls & 0xFFFF;
  v.product_version[0] = pms >> 16, v.product_version[1] = pms & 0xFFFF;
  v.product_version[2] = pls >> 16, v.product_version[3] = pls & 0xFFFF;
  for (const VersionNode& c : root.children) {
    if (c.key == "StringFileInfo") {
      for (const VersionNode& table : c.children)
        for (const VersionNode& s : table.children) v.strings[table.key][s.key] = narrow(s.value);
    } else if (c.key == "VarFileInfo") {
      for (const VersionNode& var : c.children)
        if (var.key == "Translation")
          for (size_t i = 0; i + 3 < var.value.size(); i += 4)
            v.translations.push_back({Reader{var.value}.u16(i), Reader{var.value}.u16(i + 2)});
    }
  }
  return v;
}

}  // namespace host
