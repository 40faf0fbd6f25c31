#include "skin/data/skEffBmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "gfx/Error.h"
#include "skin/data/SkinUtils.Readers.h"

namespace skin {

namespace {

double ClampFactor(double k) {
  // NaN counts as 0: a morph that has not started.
  if (!(k > 0.0)) return 0.0;
  return k < 1.0 ? k : 1.0;
}

// rnd of the Pascal heritage: nearest integer, halves to even. Used for
// the band widths of the morphs, which are products like width x k.
int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

std::uint8_t ClampChannel(int v) { return std::uint8_t(std::clamp(v, 0, 255)); }

// v / n rounded to nearest, halves to even, for v >= 0 and n > 0.
int DivideHalfEven(int v, int n) {
  const int q = v / n;
  const int twice = 2 * (v - q * n);
  return q + ((twice > n || (twice == n && (q & 1))) ? 1 : 0);
}

// A blend factor k in 0..1 held exactly as Mantissa / 2^Exponent, so that
// c + k (d - c) can be rounded exactly with integers.
struct ExactFactor {
  std::int64_t Mantissa = 0;
  int Exponent = 0;

  explicit ExactFactor(double k) {
    if (k <= 0.0) return;
    int e = 0;
    const double m = std::frexp(k, &e);  // k = m 2^e, m in [0.5, 1)
    Mantissa = std::int64_t(std::ldexp(m, 53));
    Exponent = 53 - e;
    while (Mantissa != 0 && (Mantissa & 1) == 0 && Exponent > 0) {
      Mantissa >>= 1;
      --Exponent;
    }
  }

  // rnd(c + k (d - c)) in exact arithmetic.
  int Blend(int c, int d) const {
    const std::int64_t delta = d - c;
    if (Mantissa == 0 || delta == 0) return c;
    if (Exponent == 0) return int(c + Mantissa * delta);
    // |k delta| < 2^61 / 2^Exponent: below a quarter, c stays.
    if (Exponent >= 63) return c;
    const std::int64_t mask = (std::int64_t(1) << Exponent) - 1;
    // floor(k delta + 1/2); the shift of a negative value rounds down.
    const std::int64_t t = Mantissa * delta + (std::int64_t(1) << (Exponent - 1));
    int h = int(c + (t >> Exponent));
    // Exactly half way: go to the even neighbour.
    if ((t & mask) == 0 && (h & 1)) --h;
    return h;
  }
};

// Blends runs of channel bytes towards another run with one factor.
// Factors that are multiples of 1/256 (0, 1/2, 1/4 ... and the values the
// morph timers step through) take a loop of 16-bit integer arithmetic that
// the compiler vectorises and that is exact for them: (256 - m) c + m d is
// 256 times the blend, and dividing by 256 with halves to even is a shift
// after adding 127 plus the parity of the quotient. Any other factor never
// meets a half (a tie needs 2^8 to divide d - c), and takes a table of the
// rounded offsets indexed by d - c.
class ChannelBlend {
 public:
  explicit ChannelBlend(double k) : FFactor(ClampFactor(k)) {
    if (FFactor.Exponent <= 8) {
      FDyadic = true;
      FWeight = unsigned(FFactor.Mantissa << (8 - FFactor.Exponent));
    } else {
      for (int delta = -255; delta <= 255; ++delta) {
        FOffsets[std::size_t(delta + 255)] = std::int16_t(FFactor.Blend(0, delta));
      }
    }
  }

  void Apply(std::uint8_t* own, const std::uint8_t* other, std::size_t count) const {
    if (FDyadic) {
      ApplyDyadic(own, other, count);
    } else {
      for (std::size_t i = 0; i < count; ++i) {
        own[i] = std::uint8_t(own[i] + FOffsets[std::size_t(other[i] - own[i] + 255)]);
      }
    }
  }

 private:
  void ApplyDyadic(std::uint8_t* own, const std::uint8_t* other, std::size_t count) const {
    if (own == other) return;  // a blend with itself changes nothing
    BlendDyadicRun(own, other, count, std::uint16_t(256 - FWeight), std::uint16_t(FWeight));
  }

  // The pointers never overlap (own is this picture, other another one);
  // saying so lets the compiler vectorise the counted inner loop, which it
  // does even at -O2 because the block length is fixed.
  static void BlendDyadicRun(std::uint8_t* __restrict own, const std::uint8_t* __restrict other,
                             std::size_t count, std::uint16_t ownWeight,
                             std::uint16_t otherWeight) {
    auto blend = [ownWeight, otherWeight](std::uint8_t c, std::uint8_t d) {
      const std::uint16_t v = std::uint16_t(ownWeight * c + otherWeight * d);
      return std::uint8_t(std::uint16_t(v + 127 + ((v >> 8) & 1)) >> 8);
    };
    constexpr std::size_t Block = 32;
    std::size_t i = 0;
    for (; i + Block <= count; i += Block) {
      for (std::size_t j = 0; j < Block; ++j) own[i + j] = blend(own[i + j], other[i + j]);
    }
    for (; i < count; ++i) own[i] = blend(own[i], other[i]);
  }

  ExactFactor FFactor;
  bool FDyadic = false;
  unsigned FWeight = 0;
  std::int16_t FOffsets[511] = {};
};

// One step of a linear fade: the own value at weight i / n, the other at
// (n - i) / n, exactly rounded; from i = n on the own value alone.
std::uint8_t Fade(int c, int d, int i, int n) {
  if (i >= n) return std::uint8_t(c);
  return std::uint8_t(DivideHalfEven(i * c + (n - i) * d, n));
}

void FadePixel(std::uint8_t* own, const std::uint8_t* other, int i, int n) {
  for (int channel = 0; channel < 3; ++channel)
    own[channel] = Fade(own[channel], other[channel], i, n);
}

void CheckSize(int width, int height) {
  if (width < 0 || height < 0 || width > gfx::Bitmap::MaxSide || height > gfx::Bitmap::MaxSide) {
    throw gfx::Error("effect picture size " + std::to_string(width) + " x " +
                     std::to_string(height) + " is out of range (0 to " +
                     std::to_string(gfx::Bitmap::MaxSide) + ")");
  }
}

}  // namespace

TskEffectBmp::TskEffectBmp(int width, int height) {
  CheckSize(width, height);
  // As with gfx::Bitmap, a picture without pixels has no extent either.
  if (width == 0 || height == 0) width = height = 0;
  FWidth = width;
  FHeight = height;
  FRowLength = width * 3 + width % 4;
  FBits.assign(std::size_t(FRowLength) * std::size_t(height), 0);
}

TskEffectBmp TskEffectBmp::CreateFromBitmap(const gfx::Bitmap& bitmap) {
  TskEffectBmp out(bitmap.Width(), bitmap.Height());
  for (int y = 0; y < out.FHeight; ++y) {
    const gfx::Pixel* in = bitmap.Row(y);
    std::uint8_t* row = out.RowPointer(y);
    for (int x = 0; x < out.FWidth; ++x, row += 3) {
      row[0] = gfx::PixelBlue(in[x]);
      row[1] = gfx::PixelGreen(in[x]);
      row[2] = gfx::PixelRed(in[x]);
    }
  }
  return out;
}

gfx::Bitmap TskEffectBmp::ToBitmap() const {
  gfx::Bitmap out(FWidth, FHeight);
  Draw(out, 0, 0);
  return out;
}

void TskEffectBmp::Draw(gfx::Bitmap& target, int x, int y) const {
  const TRect area = TRect::FromSize(x, y, FWidth, FHeight).Intersect(target.Bounds());
  for (int ty = area.Top; ty < area.Bottom; ++ty) {
    const std::uint8_t* in = PixelPointer(area.Left - x, ty - y);
    gfx::Pixel* out = target.Row(ty);
    for (int tx = area.Left; tx < area.Right; ++tx, in += 3)
      out[tx] = gfx::MakePixel(in[2], in[1], in[0]);
  }
}

gfx::Pixel TskEffectBmp::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  const std::uint8_t* p = PixelPointer(x, y);
  return gfx::MakePixel(p[2], p[1], p[0]);
}

void TskEffectBmp::SetPixel(int x, int y, gfx::Pixel color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  std::uint8_t* p = PixelPointer(x, y);
  p[0] = gfx::PixelBlue(color);
  p[1] = gfx::PixelGreen(color);
  p[2] = gfx::PixelRed(color);
}

void TskEffectBmp::GetRow(int y, std::span<std::uint8_t> buffer) const {
  if (y < 0 || y >= FHeight || buffer.empty()) return;
  std::memcpy(buffer.data(), RowPointer(y), std::min(buffer.size(), std::size_t(FWidth) * 3));
}

void TskEffectBmp::SetRow(int y, std::span<const std::uint8_t> buffer) {
  if (y < 0 || y >= FHeight || buffer.empty()) return;
  std::memcpy(RowPointer(y), buffer.data(), std::min(buffer.size(), std::size_t(FWidth) * 3));
}

void TskEffectBmp::MapChannels(const std::uint8_t (&table)[256]) {
  const std::size_t rowBytes = std::size_t(FWidth) * 3;
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowPointer(y);
    for (std::size_t i = 0; i < rowBytes; ++i) row[i] = table[row[i]];
  }
}

// ---------------------------------------------------------------------------
// Morphs

void TskEffectBmp::Morph(const TskEffectBmp& other, double k) {
  // A picture blended with itself stays as it is.
  if (!SameSize(other) || &other == this || FBits.empty()) return;
  const ChannelBlend blend(k);
  const std::size_t rowBytes = std::size_t(FWidth) * 3;
  if (rowBytes == std::size_t(FRowLength)) {
    blend.Apply(FBits.data(), other.FBits.data(), FBits.size());
    return;
  }
  for (int y = 0; y < FHeight; ++y) blend.Apply(RowPointer(y), other.RowPointer(y), rowBytes);
}

void TskEffectBmp::MorphRect(const TskEffectBmp& other, const TRect& rect, int startRowInOther,
                             int startColumnInOther, double k) {
  if (!SameSize(other)) return;
  if (&other == this) {
    const TskEffectBmp copy = other;
    MorphRect(copy, rect, startRowInOther, startColumnInOther, k);
    return;
  }
  // Own pixel (x, y) meets B's pixel (x + dx, y + dy); keep both inside.
  const long long dx = static_cast<long long>(startColumnInOther) - rect.Left;
  const long long dy = static_cast<long long>(startRowInOther) - rect.Top;
  const long long left = std::max<long long>({rect.Left, 0, -dx});
  const long long right = std::min<long long>({rect.Right, FWidth, FWidth - dx});
  const long long top = std::max<long long>({rect.Top, 0, -dy});
  const long long bottom = std::min<long long>({rect.Bottom, FHeight, FHeight - dy});
  if (left >= right || top >= bottom) return;
  const ChannelBlend blend(k);
  for (long long y = top; y < bottom; ++y) {
    blend.Apply(PixelPointer(int(left), int(y)), other.PixelPointer(int(left + dx), int(y + dy)),
                std::size_t(right - left) * 3);
  }
}

void TskEffectBmp::GradientMorph(const TskEffectBmp& other, double k) {
  if (!SameSize(other) || FBits.empty()) return;
  k = ClampFactor(k);
  if (FWidth < FHeight) {
    // Along rows: each row has one weight.
    const int b = RoundHalfEven(FHeight * k);
    const int half = FHeight / 2;
    const int first = std::max(0, half - b / 2);
    const int last = std::min(FHeight - 1, half + b / 2);
    int ramp = (FHeight - 1 - b) / 2;
    if (b >= FHeight && (b % 2) == (FHeight % 2)) ++ramp;
    const std::size_t rowBytes = std::size_t(FWidth) * 3;
    auto fadeRow = [&](int y, int i) {
      std::uint8_t* own = RowPointer(y);
      const std::uint8_t* in = other.RowPointer(y);
      // A ramp of no length has a step of 0: the whole ramp is B.
      if (ramp == 0) {
        std::memcpy(own, in, rowBytes);
        return;
      }
      for (std::size_t j = 0; j < rowBytes; ++j) own[j] = Fade(own[j], in[j], i, ramp);
    };
    for (int y = first; y <= last; ++y) std::memcpy(RowPointer(y), other.RowPointer(y), rowBytes);
    for (int y = first; y >= 0; --y) fadeRow(y, first - y);
    for (int y = last; y < FHeight; ++y) fadeRow(y, y - last);
    return;
  }
  const int b = RoundHalfEven(FWidth * k);
  const int half = FWidth / 2;
  const int first = std::max(0, half - b / 2);
  const int last = std::min(FWidth - 1, half + b / 2);
  // A ramp of no length has a step of 1: B at the band's edge, then this
  // picture.
  const int ramp = std::max((FWidth - b) / 2, 1);
  for (int y = 0; y < FHeight; ++y) {
    std::memcpy(PixelPointer(first, y), other.PixelPointer(first, y),
                std::size_t(last - first + 1) * 3);
    for (int x = first; x >= 0; --x)
      FadePixel(PixelPointer(x, y), other.PixelPointer(x, y), first - x, ramp);
    for (int x = last; x < FWidth; ++x)
      FadePixel(PixelPointer(x, y), other.PixelPointer(x, y), x - last, ramp);
  }
}

void TskEffectBmp::LeftGradientMorph(const TskEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  const int a = std::min(std::max(RoundHalfEven(FWidth * ClampFactor(k)), 1), FWidth - 1);
  // A picture one pixel wide has no room for a fade.
  if (a < 1) return;
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x <= a; ++x) FadePixel(PixelPointer(x, y), other.PixelPointer(x, y), x, a);
  }
}

void TskEffectBmp::RightGradientMorph(const TskEffectBmp& other, double k) {
  if (!SameSize(other) || FWidth == 0) return;
  const int a = std::min(std::max(FWidth - RoundHalfEven(FWidth * ClampFactor(k)), 0), FWidth - 1);
  const int ramp = FWidth - a;
  for (int y = 0; y < FHeight; ++y) {
    for (int x = FWidth - 1; x >= a; --x) {
      FadePixel(PixelPointer(x, y), other.PixelPointer(x, y), FWidth - 1 - x, ramp);
    }
  }
}

void TskEffectBmp::LeftSlide(const TskEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  if (&other == this) return;  // B's columns are this picture's: nothing moves.
  const int b = std::min(std::max(RoundHalfEven(FWidth * ClampFactor(k)), 1), FWidth - 1);
  if (b < 1) return;
  for (int y = 0; y < FHeight; ++y) {
    std::memcpy(PixelPointer(0, y), other.PixelPointer(FWidth - b, y), std::size_t(b) * 3);
  }
}

void TskEffectBmp::RightSlide(const TskEffectBmp& other, double k) {
  if (!SameSize(other)) return;
  if (&other == this) {
    const TskEffectBmp copy = other;
    RightSlide(copy, k);
    return;
  }
  const int b = std::min(std::max(RoundHalfEven(FWidth * ClampFactor(k)), 1), FWidth - 1);
  if (b < 1) return;
  for (int y = 0; y < FHeight; ++y) {
    std::memcpy(PixelPointer(FWidth - b, y), other.PixelPointer(0, y), std::size_t(b) * 3);
  }
}

void TskEffectBmp::Push(const TskEffectBmp& other, double k) {
  if (!SameSize(other) || FWidth == 0) return;
  if (&other == this) {
    const TskEffectBmp copy = other;
    Push(copy, k);
    return;
  }
  const int a = std::min(std::max(RoundHalfEven(FWidth * ClampFactor(k)), 0), FWidth - 1);
  const int shift = a + 1;
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = RowPointer(y);
    // Column j takes column j - shift; from the right, so every column is
    // read before it is overwritten. Columns from before 0 take column 0.
    for (int x = FWidth - 1; x >= 0; --x) {
      std::memmove(row + std::size_t(x) * 3, row + std::size_t(std::max(0, x - shift)) * 3, 3);
    }
    std::memcpy(row, other.PixelPointer(FWidth - a - 1, y), std::size_t(a + 1) * 3);
  }
}

void TskEffectBmp::ApplyMorph(TskMorphKind kind, const TskEffectBmp& other, double k) {
  switch (kind) {
    case TskMorphKind::mkDefault: Morph(other, k); return;
    case TskMorphKind::mkGradient: GradientMorph(other, k); return;
    case TskMorphKind::mkLeftGradient: LeftGradientMorph(other, k); return;
    case TskMorphKind::mkRightGradient: RightGradientMorph(other, k); return;
    case TskMorphKind::mkLeftSlide: LeftSlide(other, k); return;
    case TskMorphKind::mkRightSlide: RightSlide(other, k); return;
    case TskMorphKind::mkPush: Push(other, k); return;
  }
}

// ---------------------------------------------------------------------------
// Effects

void TskEffectBmp::ApplyInactiveEffect(TskInactiveEffect effect) {
  switch (effect) {
    case TskInactiveEffect::ieBrightness: Brightness(0.5); return;
    case TskInactiveEffect::ieDarkness: Darkness(0.3); return;
    case TskInactiveEffect::ieGrayScale: GrayScale(); return;
    case TskInactiveEffect::ieNoise: AddNoise(50); return;
    case TskInactiveEffect::ieSplitBlur: SplitBlur(1); return;
    case TskInactiveEffect::ieInvert: Invert(); return;
  }
}

void TskEffectBmp::Brightness(double k) {
  const ExactFactor factor(ClampFactor(k));
  std::uint8_t table[256];
  for (int c = 0; c < 256; ++c) table[c] = ClampChannel(factor.Blend(c, 255));
  MapChannels(table);
}

void TskEffectBmp::Darkness(double k) {
  const ExactFactor factor(ClampFactor(k));
  std::uint8_t table[256];
  for (int c = 0; c < 256; ++c) table[c] = ClampChannel(factor.Blend(c, 0));
  MapChannels(table);
}

void TskEffectBmp::GrayScale() {
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* p = RowPointer(y);
    for (int x = 0; x < FWidth; ++x, p += 3) {
      // 0.3 R + 0.59 G + 0.11 B in hundredths, so the weights are exact.
      const int sum = 30 * p[2] + 59 * p[1] + 11 * p[0];
      p[0] = p[1] = p[2] = std::uint8_t(DivideHalfEven(sum, 100));
    }
  }
}

void TskEffectBmp::Invert() {
  std::uint8_t table[256];
  for (int c = 0; c < 256; ++c) table[c] = std::uint8_t(255 - c);
  MapChannels(table);
}

void TskEffectBmp::AddNoise(int amount) {
  if (amount < 1) return;
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* p = RowPointer(y);
    for (int x = 0; x < FWidth; ++x, p += 3) {
      // A number in 0 .. amount - 1 from the generator's 32 bits.
      const int r = int((std::uint64_t(FRandom()) * std::uint64_t(amount)) >> 32) - amount / 2;
      p[0] = ClampChannel(p[0] + r);
      p[1] = ClampChannel(p[1] + r);
      p[2] = ClampChannel(p[2] + r);
    }
  }
}

void TskEffectBmp::SplitBlur(int amount) {
  if (amount < 1 || FBits.empty()) return;
  // The partner rows and columns: amount before (itself when that is before
  // the start) and amount after. After the far edge the classic rule takes
  // height - y (width - x), which for a large amount is still outside the
  // picture; those reads stop at the last row (column).
  auto before = [amount](int i) { return i - amount < 0 ? i : i - amount; };
  auto after = [amount](int i, int size) {
    if (amount < size - i) return i + amount;
    return std::min(size - i, size - 1);
  };
  const auto width = static_cast<std::size_t>(FWidth);
  std::vector<int> columnsBefore(width), columnsAfter(width);
  for (int x = 0; x < FWidth; ++x) {
    columnsBefore[std::size_t(x)] = before(x) * 3;
    columnsAfter[std::size_t(x)] = after(x, FWidth) * 3;
  }
  std::vector<std::uint8_t> buffer(std::size_t(FWidth) * 3);
  for (int y = 0; y < FHeight; ++y) {
    // Rows above are already blurred: the effect works in place.
    const std::uint8_t* upper = RowPointer(before(y));
    const std::uint8_t* lower = RowPointer(after(y, FHeight));
    for (int x = 0; x < FWidth; ++x) {
      const int x1 = columnsBefore[std::size_t(x)];
      const int x2 = columnsAfter[std::size_t(x)];
      for (int channel = 0; channel < 3; ++channel) {
        const int sum =
            upper[x1 + channel] + upper[x2 + channel] + lower[x1 + channel] + lower[x2 + channel];
        buffer[std::size_t(x) * 3 + std::size_t(channel)] = std::uint8_t(sum >> 2);
      }
    }
    std::memcpy(RowPointer(y), buffer.data(), buffer.size());
  }
}

// ---------------------------------------------------------------------------
// Rotations

void TskEffectBmp::RotateCounterClockwise(TskEffectBmp& target) const {
  TskEffectBmp out(FHeight, FWidth);
  // The top-right corner comes to the top-left: pixel (x, y) goes to
  // (y, width - 1 - x).
  for (int y = 0; y < FHeight; ++y) {
    const std::uint8_t* in = RowPointer(y);
    for (int x = 0; x < FWidth; ++x, in += 3)
      std::memcpy(out.PixelPointer(y, FWidth - 1 - x), in, 3);
  }
  // The target keeps its own noise generator.
  out.FRandom = target.FRandom;
  target = std::move(out);
}

void TskEffectBmp::RotateClockwise(TskEffectBmp& target) const {
  TskEffectBmp out(FHeight, FWidth);
  // The top-left corner goes to the top-right: (x, y) to (height - 1 - y, x).
  for (int y = 0; y < FHeight; ++y) {
    const std::uint8_t* in = RowPointer(y);
    for (int x = 0; x < FWidth; ++x, in += 3)
      std::memcpy(out.PixelPointer(FHeight - 1 - y, x), in, 3);
  }
  // The target keeps its own noise generator.
  out.FRandom = target.FRandom;
  target = std::move(out);
}

void TskEffectBmp::FlipVertical(TskEffectBmp& target) const {
  TskEffectBmp out(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y) {
    std::memcpy(out.RowPointer(FHeight - 1 - y), RowPointer(y), std::size_t(FRowLength));
  }
  // The target keeps its own noise generator.
  out.FRandom = target.FRandom;
  target = std::move(out);
}

}  // namespace skin
