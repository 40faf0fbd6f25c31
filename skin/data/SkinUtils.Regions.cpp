#include "skin/data/SkinUtils.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace skin {

namespace {

// Only the colour bits count; the fourth byte of a pixel is not part of
// the picture.
constexpr gfx::Pixel ColorBits = 0x00FFFFFF;

bool IsBlack(gfx::Pixel p) { return (p & ColorBits) == 0; }

// Offsets come from the callers' geometry; keep the sums inside int even
// for nonsense offsets instead of overflowing.
int Shifted(int value, int offset) {
  long long sum = static_cast<long long>(value) + offset;
  return int(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

void PutInt32(std::uint8_t* out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  out[0] = std::uint8_t(bits);
  out[1] = std::uint8_t(bits >> 8);
  out[2] = std::uint8_t(bits >> 16);
  out[3] = std::uint8_t(bits >> 24);
}

constexpr std::size_t RegionHeaderSize = 32;
constexpr std::size_t RegionRectSize = 16;
constexpr std::int32_t RegionTypeRectangles = 1;

}  // namespace

// The scan reads the mask's own rows: a gfx::Bitmap is already pixels in
// memory, so the 24-bit copy (TFBitmap) would only cost a pass.
std::vector<TRect> MaskToRects(const gfx::Bitmap& mask, int dx, int dy) {
  std::vector<TRect> rects;
  const int width = mask.Width();
  for (int y = 0; y < mask.Height(); ++y) {
    const gfx::Pixel* row = mask.Row(y);
    const int top = Shifted(y, dy);
    const int bottom = Shifted(y + 1, dy);
    int x = 0;
    while (x < width) {
      while (x < width && !IsBlack(row[x])) ++x;
      if (x == width) break;
      const int start = x;
      // Inside a mask most of a row is one long black run: test four
      // pixels at a time while they are all black.
      while (x + 4 <= width && ((row[x] | row[x + 1] | row[x + 2] | row[x + 3]) & ColorBits) == 0) {
        x += 4;
      }
      while (x < width && IsBlack(row[x])) ++x;
      rects.push_back(TRect{Shifted(start, dx), top, Shifted(x, dx), bottom});
    }
  }
  return rects;
}

std::vector<std::uint8_t> MaskToRegionData(const gfx::Bitmap& mask, int dx, int dy) {
  if (mask.IsEmpty()) return {};
  const std::vector<TRect> rects = MaskToRects(mask, dx, dy);
  std::vector<std::uint8_t> data(RegionHeaderSize + RegionRectSize * rects.size());
  std::uint8_t* out = data.data();
  PutInt32(out, std::int32_t(RegionHeaderSize));
  PutInt32(out + 4, RegionTypeRectangles);
  PutInt32(out + 8, std::int32_t(rects.size()));
  PutInt32(out + 12, 0);
  PutInt32(out + 16, dx);
  PutInt32(out + 20, dy);
  PutInt32(out + 24, Shifted(mask.Width(), dx));
  PutInt32(out + 28, Shifted(mask.Height(), dy));
  out += RegionHeaderSize;
  for (const TRect& r : rects) {
    PutInt32(out, r.Left);
    PutInt32(out + 4, r.Top);
    PutInt32(out + 8, r.Right);
    PutInt32(out + 12, r.Bottom);
    out += RegionRectSize;
  }
  return data;
}

gfx::Region MaskToRegion(const gfx::Bitmap& mask) { return MaskToRegion(mask, 0, 0); }

gfx::Region MaskToRegion(const gfx::Bitmap& mask, int dx, int dy) {
  return gfx::Region::FromRects(MaskToRects(mask, dx, dy));
}

std::optional<gfx::Region> BuildNinePartRegion(TPoint lt, TPoint rt, TPoint lb, TPoint rb,
                                               const TRect& clientRect, const TRect& sourceRect,
                                               const gfx::Bitmap& mask, TPoint newLT, TPoint newRT,
                                               TPoint newLB, TPoint newRB,
                                               const TRect& newClientRect, int width, int height) {
  // Crossed points: the window keeps its rectangle.
  if (newRT.X < newLT.X || newLB.Y < newLT.Y) return std::nullopt;
  // The region is built around the client rectangle; without one there is
  // no region either.
  if (IsNullRect(newClientRect)) return std::nullopt;

  gfx::Bitmap top, bottom, left, right;
  BuildNinePartMaskStrips(lt, rt, lb, rb, clientRect, sourceRect, mask, newLT, newRT, newLB, newRB,
                          newClientRect, width, height, top, bottom, left, right);
  // All rectangles go to the region in one call; the union of the bands and
  // the client rectangle is the same set as uniting them one by one.
  std::vector<TRect> rects{newClientRect};
  auto add = [&rects](const gfx::Bitmap& strip, int dx, int dy) {
    if (strip.IsEmpty()) return;
    std::vector<TRect> band = MaskToRects(strip, dx, dy);
    rects.insert(rects.end(), band.begin(), band.end());
  };
  add(top, 0, 0);
  add(bottom, 0, newClientRect.Bottom);
  add(left, 0, newClientRect.Top);
  add(right, newClientRect.Right, newClientRect.Top);
  return gfx::Region::FromRects(rects);
}

}  // namespace skin
