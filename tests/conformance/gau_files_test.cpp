// Every .gau deliverable read as a file: exports and ordinals, imported DLLs, stripped,
// bitmap resources (numbers, sizes, 24-bit, language) and the version resource. The
// bitmaps are compared with those of the module's native build, whose element chain
// says which bitmaps the gauge needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "gauges/autopilot/buttons.h"
#include "gauges/electrical/switches.h"
#include "gauges/engine/fuelflow.h"
#include "gauges/engine/oil.h"
#include "gauges/engine/psi.h"
#include "gauges/engine/rpm.h"
#include "gauges/engine/tgt.h"
#include "gauges/navigation/knobs.h"
#include "gauges/navigation/readouts.h"
#include "host/core/bitmap.h"
#include "host/core/host.h"
#include "host/core/module.h"
#include "host/core/pe_file.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t rt_bitmap = 2, rt_version = 16, us_english = 0x0409;

std::set<std::string> expected_modules() {
  std::set<std::string> s;
  for (const auto& m : vk4::switches::members) s.emplace(m.name);
  for (const auto& m : vk4::rpm::members) s.emplace(m.name);
  for (const auto& m : vk4::tgt::members) s.emplace(m.name);
  for (const auto& m : vk4::psi::members) s.emplace(m.name);
  for (const auto& m : vk4::oil::members) s.emplace(m.name);
  for (const auto& m : vk4::fuelflow::members) s.emplace(m.name);
  s.emplace("vk4_fuel");
  for (const char* n : {"vk4_throttle", "vk4_engselect", "vk4_engstart", "vk4_proplights", "vk4_xfeed", "vk4_flaps",
                        "vk4_hear_handle", "vk4_ap_dummy", "vk4_altset"})
    s.emplace(n);
  for (const auto& m : vk4::buttons::members) s.emplace(m.name);
  for (const auto& m : vk4::knobs::members) s.emplace(m.name);
  for (const auto& c : vk4::readouts::courses) s.emplace(c.name);
  return s;
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

TEST(Deliverables, DistHoldsExactlyTheGaugeModules) {
  std::set<std::string> found;
  ASSERT_TRUE(fs::is_directory(VK4_TEST_GAU_DIR)) << VK4_TEST_GAU_DIR << ": build the win32 tree first (make)";
  for (const auto& e : fs::directory_iterator(VK4_TEST_GAU_DIR))
    if (e.path().extension() == ".gau") found.insert(e.path().stem().string());
  EXPECT_EQ(found, expected_modules());
}

class GauFile : public ::testing::TestWithParam<std::string> {
 protected:
  std::string name = GetParam();
  host::PeFile pe = host::PeFile::read(std::string(VK4_TEST_GAU_DIR) + "/" + name + ".gau");
};

TEST_P(GauFile, IsAStripped32BitDll) {
  EXPECT_EQ(pe.machine, 0x14C);
  EXPECT_EQ(pe.optional_magic, 0x10B);
  EXPECT_TRUE(pe.is_dll());
  EXPECT_EQ(pe.symbol_table, 0u);
  EXPECT_EQ(pe.symbol_count, 0u);
  for (const auto& s : pe.sections) EXPECT_NE(s.name.rfind(".debug", 0), 0u) << s.name;
}

TEST_P(GauFile, ExportsLinkageAndImportTableAsDataAtOrdinalsOneAndTwo) {
  ASSERT_EQ(pe.exports.size(), 2u);
  std::sort(pe.exports.begin(), pe.exports.end(), [](auto& a, auto& b) { return a.ordinal < b.ordinal; });
  EXPECT_EQ(pe.exports[0].name, "Linkage");
  EXPECT_EQ(pe.exports[0].ordinal, 1u);
  EXPECT_EQ(pe.exports[1].name, "ImportTable");
  EXPECT_EQ(pe.exports[1].ordinal, 2u);
  for (const auto& e : pe.exports) {
    bool in_data = false;
    for (const auto& s : pe.sections)
      if (e.rva >= s.virtual_address && e.rva < s.virtual_address + s.virtual_size)
        in_data = (s.characteristics & 0x20000000u) == 0 && (s.characteristics & 0x80000000u) != 0;
    EXPECT_TRUE(in_data) << e.name << " lies in a writable data section, not in code";
  }
}

TEST_P(GauFile, ImportsWindowsSystemDllsOnly) {
  const std::set<std::string> system = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll"};
  ASSERT_FALSE(pe.imported_dlls.empty());
  for (const std::string& dll : pe.imported_dlls)
    EXPECT_TRUE(system.count(lower(dll))) << name << " imports " << dll;
}

TEST_P(GauFile, CarriesTheBitmapsItsElementsNameAsTheNativeBuildDoes) {
  host::Host host;
  host::Module& native = host.load(std::string(VK4_TEST_MODULE_DIR) + "/" + name + ".so");
  std::set<int32_t> needed;
  for (ELEMENT_HEADER* e : native.element_tree()) {
    if (e->bitmap < 0) continue;
    const int frames = e->kind == ELEMENT_KIND_ICON ? reinterpret_cast<ELEMENT_ICON*>(e)->frame_count : 1;
    for (int k = 0; k < frames; ++k) needed.insert(e->bitmap + k);
  }
  std::set<int32_t> carried;
  for (const host::PeResource& r : pe.resources) {
    if (r.type != rt_bitmap) continue;
    carried.insert(static_cast<int32_t>(r.id));
    EXPECT_EQ(r.language, us_english) << std::hex << r.id;
    const host::Bitmap b = host::decode_dib(r.data.data(), r.data.size());  // 24-bit, uncompressed
    const auto same = native.bitmap_data(static_cast<int32_t>(r.id));
    EXPECT_TRUE(std::equal(r.data.begin(), r.data.end(), same.begin(), same.end()))
        << std::hex << r.id << ": not the bytes of the native build";
    EXPECT_GT(b.w, 0);
  }
  EXPECT_EQ(carried, needed);
  // Frames of one icon are the same size.
  for (ELEMENT_HEADER* e : native.element_tree())
    if (e->kind == ELEMENT_KIND_ICON)
      for (int k = 1; k < reinterpret_cast<ELEMENT_ICON*>(e)->frame_count; ++k) {
        EXPECT_EQ(native.bitmap(e->bitmap + k).w, native.bitmap(e->bitmap).w);
        EXPECT_EQ(native.bitmap(e->bitmap + k).h, native.bitmap(e->bitmap).h);
      }
}

TEST_P(GauFile, HasTheVersionResource) {
  const host::PeResource* r = pe.resource(rt_version, 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->language, us_english);
  auto v = host::parse_version(r->data);
  ASSERT_TRUE(v.has_value());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v->file_version[i], i == 0 ? 1 : 0);
    EXPECT_EQ(v->product_version[i], i == 0 ? 1 : 0);
  }
  ASSERT_TRUE(v->strings.count("040904B0") || v->strings.count("040904b0"));
  const auto& table = v->strings.count("040904B0") ? v->strings.at("040904B0") : v->strings.at("040904b0");
  EXPECT_EQ(table.at("FileVersion"), "1.0");
  EXPECT_EQ(table.at("ProductVersion"), "1.0");
  EXPECT_EQ(v->translations, (std::vector<std::pair<uint16_t, uint16_t>>{{0x0409, 0x04B0}}));
}

std::vector<std::string> modules() {
  auto s = expected_modules();
  return {s.begin(), s.end()};
}

INSTANTIATE_TEST_SUITE_P(All, GauFile, ::testing::ValuesIn(modules()),
                         [](const auto& p) { return p.param; });

}  // namespace
