// One line of 12-pixel text drawn with warm caches, beside a plain copy of
// as many destination bytes as the text's cell covers: the copy is the floor
// any text drawing can reach.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/Canvas.h"

namespace {

const char* const Line = "扫描MAC地址 IP地址: 192.168.1.7";

gfx::Font LineFont(const char* name) {
  gfx::Font font;
  font.Name = name;
  font.Height = -12;
  return font;
}

gfx::Size Extent(const char* name) {
  gfx::Bitmap bitmap(1, 1);
  gfx::Canvas canvas(bitmap);
  canvas.SetFont(LineFont(name));
  return canvas.TextExtent(Line);
}

void DrawLine(benchmark::State& state, const char* name, gfx::BrushStyle brush) {
  gfx::Size extent = Extent(name);
  gfx::Bitmap bitmap(extent.Width + 8, extent.Height + 8);
  gfx::Canvas canvas(bitmap);
  canvas.SetFont(LineFont(name));
  canvas.SetBrush(gfx::MakeColor(212, 208, 200), brush);
  canvas.TextOut(4, 4, Line);  // warm the font and glyph caches
  for (auto _ : state) {
    canvas.TextOut(4, 4, Line);
    benchmark::DoNotOptimize(bitmap.Data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * extent.Width * extent.Height * 4);
  state.SetLabel(std::to_string(extent.Width) + "x" + std::to_string(extent.Height) + " px");
}

void CopyBytes(benchmark::State& state, const char* name) {
  gfx::Size extent = Extent(name);
  const std::size_t bytes = std::size_t(extent.Width) * std::size_t(extent.Height) * 4;
  std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
  state.SetLabel(std::to_string(bytes) + " bytes");
}

void BM_TextOutSimSunClearBrush(benchmark::State& state) { DrawLine(state, "宋体", gfx::BrushStyle::Clear); }
void BM_TextOutSimSunOpaque(benchmark::State& state) { DrawLine(state, "宋体", gfx::BrushStyle::Solid); }
void BM_CopySimSunExtent(benchmark::State& state) { CopyBytes(state, "宋体"); }
void BM_TextOutMsSansSerifClearBrush(benchmark::State& state) {
  DrawLine(state, "MS Sans Serif", gfx::BrushStyle::Clear);
}
void BM_TextOutMsSansSerifOpaque(benchmark::State& state) {
  DrawLine(state, "MS Sans Serif", gfx::BrushStyle::Solid);
}
void BM_CopyMsSansSerifExtent(benchmark::State& state) { CopyBytes(state, "MS Sans Serif"); }

void BM_DrawTextCentredWordBreak(benchmark::State& state) {
  gfx::Bitmap bitmap(200, 60);
  gfx::Canvas canvas(bitmap);
  canvas.SetFont(LineFont("宋体"));
  canvas.SetBrush(0, gfx::BrushStyle::Clear);
  for (auto _ : state) {
    gfx::Rect r{0, 0, 120, 60};
    canvas.DrawText(Line, r, gfx::DT_CENTER | gfx::DT_WORDBREAK);
    benchmark::DoNotOptimize(bitmap.Data());
  }
}

void BM_TextExtent(benchmark::State& state) {
  gfx::Bitmap bitmap(1, 1);
  gfx::Canvas canvas(bitmap);
  canvas.SetFont(LineFont("宋体"));
  for (auto _ : state) benchmark::DoNotOptimize(canvas.TextExtent(Line));
}

}  // namespace

BENCHMARK(BM_TextOutSimSunClearBrush);
BENCHMARK(BM_TextOutSimSunOpaque);
BENCHMARK(BM_CopySimSunExtent);
BENCHMARK(BM_TextOutMsSansSerifClearBrush);
BENCHMARK(BM_TextOutMsSansSerifOpaque);
BENCHMARK(BM_CopyMsSansSerifExtent);
BENCHMARK(BM_DrawTextCentredWordBreak);
BENCHMARK(BM_TextExtent);

BENCHMARK_MAIN();
