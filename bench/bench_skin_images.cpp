// Building a window frame image, a window region and a morph step at a
// typical window size (700 x 480), each beside a plain memcpy of the same
// number of bytes as a yardstick.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/Bitmap.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/skEffBmp.h"

namespace {

constexpr int FrameWidth = 700;
constexpr int FrameHeight = 480;

// A 152 x 125 frame picture with some variety in it.
gfx::Bitmap FramePicture() {
  gfx::Bitmap picture(152, 125);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      picture.SetPixel(
          x, y, gfx::MakePixel(std::uint8_t(x * 3), std::uint8_t(y * 2), std::uint8_t(x ^ y)));
    }
  }
  return picture;
}

// A window mask with rounded corners of radius 8: black inside, white in
// the corners, so most rows are one run.
gfx::Bitmap RoundedMask() {
  gfx::Bitmap mask(FrameWidth, FrameHeight);
  constexpr int radius = 8;
  for (int y = 0; y < FrameHeight; ++y) {
    for (int x = 0; x < FrameWidth; ++x) {
      const int cx =
          x < radius ? radius - x : (x >= FrameWidth - radius ? x - (FrameWidth - radius - 1) : 0);
      const int cy = y < radius ? radius - y
                                : (y >= FrameHeight - radius ? y - (FrameHeight - radius - 1) : 0);
      mask.SetPixel(x, y, cx * cx + cy * cy > radius * radius ? 0xFFFFFF : 0x000000);
    }
  }
  return mask;
}

void CopyBytes(benchmark::State& state, std::size_t bytes) {
  std::vector<std::uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void BM_NinePartImage(benchmark::State& state) {
  const gfx::Bitmap picture = FramePicture();
  const int dx = FrameWidth - picture.Width();
  const int dy = FrameHeight - picture.Height();
  gfx::Bitmap out;
  for (auto _ : state) {
    skin::BuildNinePartImage({20, 28}, {132, 28}, {20, 100}, {132, 100}, {3, 28, 149, 122},
                             picture.Bounds(), picture, {20, 28}, {132 + dx, 28}, {20, 100 + dy},
                             {132 + dx, 100 + dy}, {3, 28, 149 + dx, 122 + dy}, FrameWidth,
                             FrameHeight, skin::DrawCentre::Yes, out);
    benchmark::DoNotOptimize(out.Data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(out.Stride()) *
                          FrameHeight);
}
BENCHMARK(BM_NinePartImage);

void BM_NinePartImageCopy(benchmark::State& state) {
  CopyBytes(state, std::size_t(FrameWidth) * FrameHeight * sizeof(gfx::Pixel));
}
BENCHMARK(BM_NinePartImageCopy);

void BM_MaskToRegionData(benchmark::State& state) {
  const gfx::Bitmap mask = RoundedMask();
  std::size_t size = 0;
  for (auto _ : state) {
    std::vector<std::uint8_t> data = skin::MaskToRegionData(mask, 0, 0);
    size = data.size();
    benchmark::DoNotOptimize(data.data());
  }
  state.counters["rectangles"] = double((size - 32) / 16);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(mask.Stride()) *
                          FrameHeight);
}
BENCHMARK(BM_MaskToRegionData);

// The yardstick for the mask is the mask's own pixels: the block the scan
// produces is only some 8 KB.
void BM_MaskToRegionDataCopy(benchmark::State& state) {
  CopyBytes(state, std::size_t(FrameWidth) * FrameHeight * sizeof(gfx::Pixel));
}
BENCHMARK(BM_MaskToRegionDataCopy);

void BM_MaskToRegion(benchmark::State& state) {
  const gfx::Bitmap mask = RoundedMask();
  for (auto _ : state) {
    gfx::Region region = skin::MaskToRegion(mask);
    benchmark::DoNotOptimize(&region);
  }
}
BENCHMARK(BM_MaskToRegion);

void Morph(benchmark::State& state, double k) {
  const gfx::Bitmap picture = FramePicture();
  gfx::Bitmap normal, active;
  skin::TileImage(picture.Bounds(), {0, 0, FrameWidth, FrameHeight}, picture, FrameHeight,
                  FrameWidth, picture.Bounds(), normal);
  active = normal;
  for (int y = 0; y < FrameHeight; ++y) {
    for (int x = 0; x < FrameWidth; ++x) active.SetPixel(x, y, ~active.GetPixel(x, y) & 0xFFFFFF);
  }
  skin::TskEffectBmp own = skin::TskEffectBmp::CreateFromBitmap(normal);
  const skin::TskEffectBmp other = skin::TskEffectBmp::CreateFromBitmap(active);
  for (auto _ : state) {
    own.Morph(other, k);
    benchmark::DoNotOptimize(own.Bits());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(own.Size()));
}

void BM_Morph(benchmark::State& state) { Morph(state, 0.5); }
BENCHMARK(BM_Morph);

// A factor that is no multiple of 1/256 takes the table path.
void BM_MorphOtherFactor(benchmark::State& state) { Morph(state, 0.3); }
BENCHMARK(BM_MorphOtherFactor);

void BM_MorphCopy(benchmark::State& state) {
  CopyBytes(state, std::size_t(FrameWidth * 3 + FrameWidth % 4) * FrameHeight);
}
BENCHMARK(BM_MorphCopy);

}  // namespace

BENCHMARK_MAIN();
