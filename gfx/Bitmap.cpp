#include "gfx/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gfx/Error.h"

namespace gfx {

namespace {

void CheckSize(int width, int height) {
  if (width < 0 || height < 0 || width > Bitmap::MaxSide || height > Bitmap::MaxSide) {
    throw Error("bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                " is out of range (0 to " + std::to_string(Bitmap::MaxSide) + ")");
  }
}

}  // namespace

Bitmap::Bitmap(int width, int height) { SetSize(width, height); }

void Bitmap::SetSize(int width, int height) {
  CheckSize(width, height);
  // A picture with no pixels has no extent either, so that IsEmpty and the
  // size agree.
  if (width == 0 || height == 0) width = height = 0;
  FPixels.assign(std::size_t(width) * std::size_t(height), 0);
  FWidth = width;
  FHeight = height;
}

void Bitmap::Fill(Pixel p) { std::fill(FPixels.begin(), FPixels.end(), p); }

void Bitmap::FillRect(const Rect& r, Pixel p) {
  Rect c = r.Intersect(Bounds());
  for (int y = c.Top; y < c.Bottom; ++y) std::fill(Row(y) + c.Left, Row(y) + c.Right, p);
}

Bitmap Bitmap::Crop(const Rect& r) const {
  Rect c = r.Intersect(Bounds());
  Bitmap out(c.Width(), c.Height());
  CopyRect(out, Point{0, 0}, *this, c);
  out.FSourceBits = FSourceBits;
  out.FSourcePalette = FSourcePalette;
  return out;
}

bool Bitmap::SamePixels(const Bitmap& other) const {
  return FWidth == other.FWidth && FHeight == other.FHeight && FPixels == other.FPixels;
}

void CopyRect(Bitmap& dst, Point dstPoint, const Bitmap& src, const Rect& srcRect) {
  // Clip the source to its picture, move the destination along, then clip
  // the destination and move the source back along.
  Rect s = srcRect.Intersect(src.Bounds());
  if (s.IsEmpty()) return;
  int dx = dstPoint.X + (s.Left - srcRect.Left);
  int dy = dstPoint.Y + (s.Top - srcRect.Top);
  Rect d = Rect::FromSize(dx, dy, s.Width(), s.Height()).Intersect(dst.Bounds());
  if (d.IsEmpty()) return;
  int sx = s.Left + (d.Left - dx);
  int sy = s.Top + (d.Top - dy);
  std::size_t bytes = std::size_t(d.Width()) * sizeof(Pixel);
  // Source and destination may be the same picture: memmove handles the
  // overlap within a row, and a copy downwards goes bottom row first so that
  // no row is overwritten before it is read.
  bool downwards = &dst == &src && d.Top > sy;
  for (int i = 0; i < d.Height(); ++i) {
    int y = downwards ? d.Height() - 1 - i : i;
    std::memmove(dst.Row(d.Top + y) + d.Left, src.Row(sy + y) + sx, bytes);
  }
}

void StretchRect(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect) {
  StretchRect(dst, dstRect, src, srcRect, dst.Bounds());
}

void StretchRect(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                 const Rect& clip) {
  if (dstRect.IsEmpty() || srcRect.IsEmpty()) return;
  int dw = dstRect.Width(), dh = dstRect.Height();
  int sw = srcRect.Width(), sh = srcRect.Height();
  if (dw == sw && dh == sh && &dst != &src) {
    // Same size: a plain copy restricted to the clip.
    Rect d = dstRect.Intersect(clip);
    if (d.IsEmpty()) return;
    CopyRect(dst, d.TopLeft(), src,
             Rect::FromSize(srcRect.Left + d.Left - dstRect.Left, srcRect.Top + d.Top - dstRect.Top,
                            d.Width(), d.Height()));
    return;
  }
  Rect d = dstRect.Intersect(clip).Intersect(dst.Bounds());
  if (d.IsEmpty()) return;
  // Source column of each destination column, computed once per call.
  std::vector<int> columns(std::size_t(d.Width()));
  for (int x = d.Left; x < d.Right; ++x) {
    long long i = x - dstRect.Left;
    columns[std::size_t(x - d.Left)] = srcRect.Left + int(((2 * i + 1) * sw) / (2LL * dw));
  }
  // Same picture on both sides would read pixels it already wrote; work
  // from a copy then.
  Bitmap copy;
  const Bitmap* from = &src;
  if (&dst == &src) {
    copy = src;
    from = &copy;
  }
  for (int y = d.Top; y < d.Bottom; ++y) {
    long long j = y - dstRect.Top;
    int sy = srcRect.Top + int(((2 * j + 1) * sh) / (2LL * dh));
    if (sy < 0 || sy >= from->Height()) continue;
    const Pixel* in = from->Row(sy);
    Pixel* out = dst.Row(y);
    for (int x = d.Left; x < d.Right; ++x) {
      int sx = columns[std::size_t(x - d.Left)];
      if (sx >= 0 && sx < from->Width()) out[x] = in[sx];
    }
  }
}

}  // namespace gfx
