#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "gfx/Bitmap.h"
#include "skin/data/SkinTypes.h"

namespace skin {

// The morph kinds and inactive effects of the skin description
// (skin/data/SkinUtils.Readers.h).
enum class TskMorphKind : std::uint8_t;
enum class TskInactiveEffect : std::uint8_t;

// A 24-bit picture in memory with the pixel operations of the skin: the
// morphs between a normal and an active look, the effects that derive an
// inactive frame, blending and rotation.
//
// Pixels are blue, green, red; a row is Width x 3 bytes plus Width mod 4
// bytes of padding (so rows start on four-byte boundaries), rows top-down.
//
// Blends round exactly: a result is the blend formula evaluated in exact
// arithmetic on the factor given, rounded to the nearest integer with
// halves to even (127.5 gives 128, 126.5 gives 126), then clamped to
// 0..255. The result therefore never depends on how the blend was
// evaluated, and the fast paths give the same bytes as the plain one.
class TskEffectBmp {
 public:
  // Seed of the noise generator of a new picture, so that AddNoise is
  // repeatable unless a caller asks otherwise.
  static constexpr std::uint32_t DefaultSeed = 5489;

  TskEffectBmp() = default;
  // A black picture; throws gfx::Error for a negative or too large size.
  // A size with a zero side gives the empty picture 0 x 0.
  TskEffectBmp(int width, int height);
  static TskEffectBmp CreateFromBitmap(const gfx::Bitmap& bitmap);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Bytes of pixel data: Height x RowLength.
  std::size_t Size() const { return FBits.size(); }
  // Bytes from one row start to the next, padding included.
  int RowLength() const { return FRowLength; }
  std::uint8_t* Bits() { return FBits.data(); }
  const std::uint8_t* Bits() const { return FBits.data(); }

  // The picture as a 32-bit bitmap, and drawn whole at (x, y) of one
  // (clipped to it).
  gfx::Bitmap ToBitmap() const;
  void Draw(gfx::Bitmap& target, int x, int y) const;

  // A pixel as gfx::Pixel (0x00RRGGBB). Outside the picture GetPixel
  // answers 0 and SetPixel does nothing.
  gfx::Pixel GetPixel(int x, int y) const;
  void SetPixel(int x, int y, gfx::Pixel color);
  // Width x 3 bytes of row y into or from buffer (as many as both hold).
  void GetRow(int y, std::span<std::uint8_t> buffer) const;
  void SetRow(int y, std::span<const std::uint8_t> buffer);
  // Unchecked: y must be inside the picture.
  std::uint8_t* RowPointer(int y) {
    return FBits.data() + std::size_t(y) * std::size_t(FRowLength);
  }
  const std::uint8_t* RowPointer(int y) const {
    return FBits.data() + std::size_t(y) * std::size_t(FRowLength);
  }

  // Morphs towards a second picture B of the same size; with a picture of
  // another size they do nothing. k is clamped to 0..1. In the formulas c
  // is this picture's channel value and d B's at the same place.
  //
  // c' = (1 - k) c + k d everywhere.
  void Morph(const TskEffectBmp& other, double k);
  // The same inside rect (clipped to this picture), with B's pixels taken
  // from startRowInOther, startColumnInOther onwards; pixels whose B pixel
  // would lie outside B stay as they are.
  void MorphRect(const TskEffectBmp& other, const TRect& rect, int startRowInOther,
                 int startColumnInOther, double k);
  // A band of B (rnd(width x k) columns, or rows when the picture is
  // taller than wide) in the middle, fading into this picture towards both
  // edges.
  void GradientMorph(const TskEffectBmp& other, double k);
  // B at column 0 fading into this picture at column rnd(width x k).
  void LeftGradientMorph(const TskEffectBmp& other, double k);
  // B at the last column fading towards column width - rnd(width x k).
  void RightGradientMorph(const TskEffectBmp& other, double k);
  // B's right part slides in from the left over this picture.
  void LeftSlide(const TskEffectBmp& other, double k);
  // B's left part slides in from the right.
  void RightSlide(const TskEffectBmp& other, double k);
  // B pushes this picture out to the right.
  void Push(const TskEffectBmp& other, double k);

  // The morph a skin's "morphkind" names: mkDefault Morph, mkGradient
  // GradientMorph, mkLeftGradient LeftGradientMorph, mkRightGradient
  // RightGradientMorph, mkLeftSlide LeftSlide, mkRightSlide RightSlide,
  // mkPush Push.
  void ApplyMorph(TskMorphKind kind, const TskEffectBmp& other, double k);

  // Effects. k is clamped to 0..1.
  // c' = (1 - k) c + 255 k.
  void Brightness(double k);
  // c' = (1 - k) c.
  void Darkness(double k);
  // All three channels become rnd(0.3 R + 0.59 G + 0.11 B).
  void GrayScale();
  // c' = 255 - c.
  void Invert();
  // Adds one random value of -(amount div 2) .. amount - 1 - amount div 2
  // to all three channels of each pixel; nothing for an amount below 1.
  void AddNoise(int amount);
  // Restarts the noise generator.
  void SetSeed(std::uint32_t seed) { FRandom.seed(seed); }
  // Each pixel, row by row from the top, becomes the average of four
  // pixels amount rows and columns around it; nothing for an amount below 1.
  void SplitBlur(int amount);

  // The effect a skin's "inactiveeffect" names: ieBrightness
  // Brightness(0.5), ieDarkness Darkness(0.3), ieGrayScale GrayScale,
  // ieNoise AddNoise(50), ieSplitBlur SplitBlur(1), ieInvert Invert.
  void ApplyInactiveEffect(TskInactiveEffect effect);

  // Into target, which is resized: width and height exchanged for the
  // rotations, the same size for the flip. target may be this picture.
  void RotateCounterClockwise(TskEffectBmp& target) const;
  void RotateClockwise(TskEffectBmp& target) const;
  void FlipVertical(TskEffectBmp& target) const;

 private:
  bool SameSize(const TskEffectBmp& other) const {
    return FWidth == other.FWidth && FHeight == other.FHeight;
  }
  std::uint8_t* PixelPointer(int x, int y) { return RowPointer(y) + std::size_t(x) * 3; }
  const std::uint8_t* PixelPointer(int x, int y) const {
    return RowPointer(y) + std::size_t(x) * 3;
  }
  // Applies table to every channel byte (padding left alone).
  void MapChannels(const std::uint8_t (&table)[256]);

  int FWidth = 0;
  int FHeight = 0;
  int FRowLength = 0;
  std::vector<std::uint8_t> FBits;
  std::mt19937 FRandom{DefaultSeed};
};

}  // namespace skin
