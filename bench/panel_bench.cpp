// The panel's speed, as ratios to the physical limit of this machine: a plain copy of a
// framebuffer of the panel's size. Run by `make bench`, which also counts instructions
// under callgrind and measures the live page.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench/cruise.h"
#include "host/core/pe_file.h"
#include "host/render/panel_renderer.h"

namespace {

bench::Cruise* cruise = nullptr;
double copy_ns = 0;  // per copy, measured first

struct Timer {
  std::chrono::steady_clock::time_point t = std::chrono::steady_clock::now();
  double ns() const { return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t).count(); }
};

void ratio(benchmark::State& s, double total_ns) {
  const double per = total_ns / static_cast<double>(s.iterations());
  s.counters["ns"] = per;
  if (copy_ns > 0) s.counters["x_copy"] = per / copy_ns;
}

void framebuffer_copy(benchmark::State& s) {
  const size_t bytes = static_cast<size_t>(cruise->layout.width) * cruise->layout.height * 4;
  std::vector<unsigned char> a(bytes, 1), b(bytes, 2);
  double total = 0;
  for (auto _ : s) {
    Timer t;
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
    total += t.ns();
  }
  copy_ns = total / static_cast<double>(s.iterations());
  s.counters["ns"] = copy_ns;
  s.counters["x_copy"] = 1.0;
  s.SetBytesProcessed(static_cast<int64_t>(s.iterations() * bytes));
}

void whole_panel_repaint(benchmark::State& s) {
  render::Renderer r;
  render::PanelRenderer p(r, cruise->layout.width, cruise->layout.height, cruise->layout.colour);
  p.prepare(cruise->host);
  double total = 0;
  for (auto _ : s) {
    Timer t;
    p.repaint(cruise->host);
    cairo_surface_flush(p.picture().surface());
    total += t.ns();
  }
  ratio(s, total);
}

// One needle moves: the host evaluates every gauge, the renderer draws the one that changed.
void incremental_one_needle(benchmark::State& s) {
  render::Renderer r;
  render::PanelRenderer p(r, cruise->layout.width, cruise->layout.height, cruise->layout.colour);
  p.prepare(cruise->host);
  p.repaint(cruise->host);
  double total = 0;
  int i = 0, drawn = 0;
  for (auto _ : s) {
    cruise->host.variables().set(0x2BC, 1650 + (i++ % 100));
    Timer t;
    cruise->host.update();
    cruise->host.draw();
    drawn += p.frame(cruise->host);
    cairo_surface_flush(p.picture().surface());
    total += t.ns();
  }
  ratio(s, total);
  s.counters["gauges_drawn"] = static_cast<double>(drawn) / static_cast<double>(s.iterations());
}

// The gauge code: pre-update and pre-draw of all 47 and every value routine, through the host.
void panel_update_and_evaluation(benchmark::State& s) {
  double total = 0;
  for (auto _ : s) {
    Timer t;
    cruise->host.update();
    cruise->host.draw();
    total += t.ns();
  }
  ratio(s, total);
}

void size_table() {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(VK4_BENCH_GAU_DIR))
    if (e.path().extension() == ".gau") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  std::printf("\n%-20s %10s %10s %10s\n", ".gau", "file", "bitmaps", "the rest");
  uintmax_t worst = 0;
  std::string worst_name;
  for (const auto& f : files) {
    const host::PeFile pe = host::PeFile::read(f.string());
    uintmax_t bitmaps = 0;
    for (const auto& r : pe.resources)
      if (r.type == 2) bitmaps += r.data.size();
    const uintmax_t size = std::filesystem::file_size(f);
    std::printf("%-20s %10ju %10ju %10ju\n", f.stem().string().c_str(), size, bitmaps, size - bitmaps);
    if (size - bitmaps > worst) worst = size - bitmaps, worst_name = f.stem().string();
  }
  std::printf("budget: at most 32768 bytes beyond the bitmaps; the largest is %s with %ju: %s\n", worst_name.c_str(),
              worst, worst <= 32768 ? "within" : "OVER");
}

}  // namespace

BENCHMARK(framebuffer_copy);
BENCHMARK(whole_panel_repaint);
BENCHMARK(incremental_one_needle);
BENCHMARK(panel_update_and_evaluation);

int main(int argc, char** argv) {
  cruise = new bench::Cruise;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  size_table();
  return 0;
}
