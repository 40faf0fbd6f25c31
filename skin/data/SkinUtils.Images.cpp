#include "skin/data/SkinUtils.h"

#include <algorithm>

namespace skin {

// The nine-part cut. All positions are relative to the source rectangle R;
// the target uses the same drawing with its own points (LT', RT', LB', RB',
// CR') and size W x H.
//
//               0    LT.x                RT.x    width
//            0  +-----+--------------------+------+
//               | TL  | top middle  (tile) |  TR  |        top band
//       CR.Top  +--+--+--------------------+---+--+
//               |lt|                           |rt|
//         LT.y  +--+                           |  |
//               |lm|                           +--+  RT.y
//               |  |          centre           |rm|
//               |  |            CR             |  |
//         LB.y  +--+         (tiled when       +--+  RB.y
//               |lb|          drawn)           |rb|
//    CR.Bottom  |  +----+------------------+---+--+
//               |  | bl | bottom middle    |  BR  |      bottom band
//       height  +--+----+------------------+------+
//                  |    |                  |
//             CR.Left  LB.x               RB.x   (the right band is
//                                                 CR.Right..width)
//
// Fixed pieces, copied once at their own size: TL, TR, lt, rt, lb (the left
// band down to the bottom edge, so it holds the bottom-left corner), rb
// (the right band down to CR.Bottom only), bl and BR. Middles, tiled along
// their band or stretched: top (LT.x..RT.x), bottom (LB.x..RB.x), left
// (LT.y..LB.y) and right (RT.y..RB.y). A tiled run lays whole tiles from
// its start and cuts only the last one; a run shorter than a tile gets one
// cut tile. Callers move the points so that the bands keep their widths and
// only the middles change length.

namespace {

// Cut points and rectangles come from skin data. Every coordinate is
// first brought into +-2^24, far beyond any picture, so that no sum or
// difference below can overflow; the clipping of every copy does the rest.
constexpr int CoordinateLimit = 1 << 24;

int Sane(int v) { return std::clamp(v, -CoordinateLimit, CoordinateLimit); }
TPoint Sane(TPoint p) { return TPoint{Sane(p.X), Sane(p.Y)}; }
TRect Sane(const TRect& r) {
  return TRect{Sane(r.Left), Sane(r.Top), Sane(r.Right), Sane(r.Bottom)};
}

// A copy between rectangles; different sizes stretch by nearest neighbour.
void CopyPiece(gfx::Bitmap& destination, const TRect& to, const gfx::Bitmap& source,
               const TRect& from) {
  if (to.IsEmpty() || from.IsEmpty()) return;
  if (to.Width() == from.Width() && to.Height() == from.Height()) {
    gfx::CopyRect(destination, to.TopLeft(), source, from);
  } else {
    gfx::StretchRect(destination, to, source, from);
  }
}

// First tile position of a run of tiles of length `step` starting at
// `start` that can reach coordinate 0; tiles wholly before it are skipped
// without being counted one by one.
long long FirstVisibleTile(long long start, int step) {
  if (start >= 0) return start;
  return start + (-start / step) * step;
}

// Tiles the columns of `from` along x over `to`, from to.Left, cutting the
// last tile at to.Right. Each tile spans to's rows.
void TileAlongX(gfx::Bitmap& destination, const TRect& to, const gfx::Bitmap& source,
                const TRect& from) {
  const int step = from.Width();
  if (step <= 0 || to.IsEmpty() || from.Height() <= 0) return;
  const long long end = std::min<long long>(to.Right, destination.Width());
  for (long long x = FirstVisibleTile(to.Left, step); x < end; x += step) {
    const int cut = int(std::min<long long>(step, to.Right - x));
    CopyPiece(destination, TRect{int(x), to.Top, int(x) + cut, to.Bottom}, source,
              TRect{from.Left, from.Top, from.Left + cut, from.Bottom});
  }
}

// The same along y.
void TileAlongY(gfx::Bitmap& destination, const TRect& to, const gfx::Bitmap& source,
                const TRect& from) {
  const int step = from.Height();
  if (step <= 0 || to.IsEmpty() || from.Width() <= 0) return;
  const long long end = std::min<long long>(to.Bottom, destination.Height());
  for (long long y = FirstVisibleTile(to.Top, step); y < end; y += step) {
    const int cut = int(std::min<long long>(step, to.Bottom - y));
    CopyPiece(destination, TRect{to.Left, int(y), to.Right, int(y) + cut}, source,
              TRect{from.Left, from.Top, from.Right, from.Top + cut});
  }
}

// Tiles `from` over `to` in both directions, column by column and within a
// column row by row, cutting the last column and row.
void TileArea(gfx::Bitmap& destination, const TRect& to, const gfx::Bitmap& source,
              const TRect& from) {
  const int step = from.Width();
  if (step <= 0 || from.Height() <= 0 || to.IsEmpty()) return;
  const long long end = std::min<long long>(to.Right, destination.Width());
  for (long long x = FirstVisibleTile(to.Left, step); x < end; x += step) {
    const int cut = int(std::min<long long>(step, to.Right - x));
    TileAlongY(destination, TRect{int(x), to.Top, int(x) + cut, to.Bottom}, source,
               TRect{from.Left, from.Top, from.Left + cut, from.Bottom});
  }
}

void FillMiddle(gfx::Bitmap& destination, const TRect& to, const gfx::Bitmap& source,
                const TRect& from, TileMode mode, bool alongX) {
  if (mode == TileMode::Stretch) {
    CopyPiece(destination, to, source, from);
  } else if (alongX) {
    TileAlongX(destination, to, source, from);
  } else {
    TileAlongY(destination, to, source, from);
  }
}

struct NinePartCut {
  TPoint LT, RT, LB, RB;
  TRect Client;
};

// Paints the nine-part image of size width x height into destination with
// the image's (0, 0) at (originX, originY) of the destination; whatever
// falls outside the destination is clipped away. The border strips use
// this with their own origins, so each strip is exactly its part of the
// whole image.
void PaintNinePart(gfx::Bitmap& destination, int originX, int originY, const gfx::Bitmap& source,
                   const TRect& sourceRect, const NinePartCut& cut, const NinePartCut& target,
                   int width, int height, BandModes modes, DrawCentre drawCentre) {
  const int sourceWidth = sourceRect.Width();
  const int sourceHeight = sourceRect.Height();
  const TRect& cr = cut.Client;
  const TRect& ncr = target.Client;
  auto from = [&](int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom}.Offset(sourceRect.Left, sourceRect.Top);
  };
  auto to = [&](int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom}.Offset(originX, originY);
  };

  // Band middles.
  FillMiddle(destination, to(target.LT.X, 0, target.RT.X, ncr.Top), source,
             from(cut.LT.X, 0, cut.RT.X, cr.Top), modes.Top, true);
  FillMiddle(destination, to(target.LB.X, ncr.Bottom, target.RB.X, height), source,
             from(cut.LB.X, cr.Bottom, cut.RB.X, sourceHeight), modes.Bottom, true);
  FillMiddle(destination, to(0, target.LT.Y, ncr.Left, target.LB.Y), source,
             from(0, cut.LT.Y, cr.Left, cut.LB.Y), modes.Left, false);
  FillMiddle(destination, to(ncr.Right, target.RT.Y, width, target.RB.Y), source,
             from(cr.Right, cut.RT.Y, sourceWidth, cut.RB.Y), modes.Right, false);

  // The eight fixed pieces.
  CopyPiece(destination, to(0, 0, target.LT.X, ncr.Top), source, from(0, 0, cut.LT.X, cr.Top));
  CopyPiece(destination, to(0, ncr.Top, ncr.Left, target.LT.Y), source,
            from(0, cr.Top, cr.Left, cut.LT.Y));
  CopyPiece(destination, to(target.RT.X, 0, width, ncr.Top), source,
            from(cut.RT.X, 0, sourceWidth, cr.Top));
  CopyPiece(destination, to(ncr.Right, ncr.Top, width, target.RT.Y), source,
            from(cr.Right, cr.Top, sourceWidth, cut.RT.Y));
  CopyPiece(destination, to(0, target.LB.Y, ncr.Left, height), source,
            from(0, cut.LB.Y, cr.Left, sourceHeight));
  CopyPiece(destination, to(ncr.Left, ncr.Bottom, target.LB.X, height), source,
            from(cr.Left, cr.Bottom, cut.LB.X, sourceHeight));
  CopyPiece(destination, to(target.RB.X, ncr.Bottom, width, height), source,
            from(cut.RB.X, cr.Bottom, sourceWidth, sourceHeight));
  CopyPiece(destination, to(ncr.Right, target.RB.Y, width, ncr.Bottom), source,
            from(cr.Right, cut.RB.Y, sourceWidth, cr.Bottom));

  if (drawCentre == DrawCentre::Yes) {
    TileArea(destination, to(ncr.Left, ncr.Top, ncr.Right, ncr.Bottom), source,
             from(cr.Left, cr.Top, cr.Right, cr.Bottom));
  }
}

NinePartCut SaneCut(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& client) {
  return NinePartCut{Sane(lt), Sane(rt), Sane(lb), Sane(rb), Sane(client)};
}

// A cut whose points coincide on either axis has no middle to place and
// the source none to draw from.
bool CanDraw(const gfx::Bitmap& source, const NinePartCut& cut) {
  return !source.IsEmpty() && cut.RB.X != cut.LT.X && cut.RB.Y != cut.LT.Y;
}

// Sizes from the callers' arithmetic may come out negative for a damaged
// skin; such a picture is simply empty.
void SizeDestination(gfx::Bitmap& destination, int width, int height) {
  destination.SetSize(std::max(width, 0), std::max(height, 0));
}

void BuildStrips(const NinePartCut& cut, const TRect& sourceRect, const gfx::Bitmap& source,
                 const NinePartCut& target, int width, int height, BandModes modes,
                 gfx::Bitmap& top, gfx::Bitmap& bottom, gfx::Bitmap& left, gfx::Bitmap& right) {
  const TRect& ncr = target.Client;
  const int middleHeight = ncr.Bottom - ncr.Top;
  SizeDestination(top, width, ncr.Top);
  SizeDestination(bottom, width, height - ncr.Bottom);
  SizeDestination(left, ncr.Left, middleHeight);
  SizeDestination(right, width - ncr.Right, middleHeight);
  if (!CanDraw(source, cut)) return;
  PaintNinePart(top, 0, 0, source, sourceRect, cut, target, width, height, modes, DrawCentre::No);
  PaintNinePart(bottom, 0, -ncr.Bottom, source, sourceRect, cut, target, width, height, modes,
                DrawCentre::No);
  PaintNinePart(left, 0, -ncr.Top, source, sourceRect, cut, target, width, height, modes,
                DrawCentre::No);
  PaintNinePart(right, -ncr.Right, -ncr.Top, source, sourceRect, cut, target, width, height, modes,
                DrawCentre::No);
}

}  // namespace

void BuildNinePartImage(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                        const TRect& sourceRect, const gfx::Bitmap& source, TPoint newLT,
                        TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                        int width, int height, DrawCentre drawCentre, gfx::Bitmap& destination) {
  BuildNinePartImageEx(lt, rt, lb, rb, clientRect, sourceRect, source, newLT, newRT, newLB, newRB,
                       newClientRect, width, height, drawCentre, BandModes{}, destination);
}

void BuildNinePartImageEx(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                          const TRect& sourceRect, const gfx::Bitmap& source, TPoint newLT,
                          TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                          int width, int height, DrawCentre drawCentre, BandModes stretch,
                          gfx::Bitmap& destination) {
  SizeDestination(destination, width, height);
  const NinePartCut cut = SaneCut(lt, rt, lb, rb, clientRect);
  if (!CanDraw(source, cut)) return;
  const NinePartCut target = SaneCut(newLT, newRT, newLB, newRB, newClientRect);
  PaintNinePart(destination, 0, 0, source, Sane(sourceRect), cut, target, width, height, stretch,
                drawCentre);
}

void BuildNinePartBorderStrips(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                               const TRect& sourceRect, const gfx::Bitmap& source, TPoint newLT,
                               TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                               int width, int height, BandModes stretch, gfx::Bitmap& top,
                               gfx::Bitmap& bottom, gfx::Bitmap& left, gfx::Bitmap& right) {
  BuildStrips(SaneCut(lt, rt, lb, rb, clientRect), Sane(sourceRect), source,
              SaneCut(newLT, newRT, newLB, newRB, newClientRect), Sane(width), Sane(height),
              stretch, top, bottom, left, right);
}

void BuildNinePartMaskStrips(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                             const TRect& sourceRect, const gfx::Bitmap& mask, TPoint newLT,
                             TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                             int width, int height, gfx::Bitmap& top, gfx::Bitmap& bottom,
                             gfx::Bitmap& left, gfx::Bitmap& right) {
  BuildStrips(SaneCut(lt, rt, lb, rb, clientRect), Sane(sourceRect), mask,
              SaneCut(newLT, newRT, newLB, newRB, newClientRect), Sane(width), Sane(height),
              BandModes{}, top, bottom, left, right);
}

void StretchNinePart(gfx::Bitmap& destination, const gfx::Bitmap& source, const TRect& sourceRect,
                     const TRect& clientRect) {
  if (destination.IsEmpty() || source.IsEmpty()) return;
  const int width = destination.Width();
  const int height = destination.Height();
  const TRect k = Sane(clientRect);
  const TRect s = Sane(sourceRect);
  // Source and destination edges of the three columns and three rows.
  const int sourceX[4] = {0, k.Left, k.Right, s.Width()};
  const int sourceY[4] = {0, k.Top, k.Bottom, s.Height()};
  const int rightMargin = s.Width() - k.Right;
  const int bottomMargin = s.Height() - k.Bottom;
  const int targetX[4] = {0, k.Left, width - rightMargin, width};
  const int targetY[4] = {0, k.Top, height - bottomMargin, height};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      CopyPiece(destination,
                TRect{targetX[column], targetY[row], targetX[column + 1], targetY[row + 1]}, source,
                TRect{sourceX[column], sourceY[row], sourceX[column + 1], sourceY[row + 1]}.Offset(
                    s.Left, s.Top));
    }
  }
}

void BuildHorzThreePartImage(int leftWidth, int rightWidth, const gfx::Bitmap& source,
                             TileMode middle, int width, const TRect& sourceRect,
                             gfx::Bitmap& destination) {
  const TRect s = Sane(sourceRect);
  const int height = s.Height();
  SizeDestination(destination, width, height);
  if (source.IsEmpty() || destination.IsEmpty()) return;
  const int a = std::max(Sane(leftWidth), 0);
  const int b = std::max(Sane(rightWidth), 0);
  if (a > 0)
    CopyPiece(destination, TRect{0, 0, a, height}, source,
              TRect{s.Left, s.Top, s.Left + a, s.Bottom});
  if (b > 0) {
    CopyPiece(destination, TRect{width - b, 0, width, height}, source,
              TRect{s.Right - b, s.Top, s.Right, s.Bottom});
  }
  // A middle of no width has nothing to repeat.
  const TRect from{s.Left + a, s.Top, s.Right - b, s.Bottom};
  if (from.Width() <= 0) return;
  FillMiddle(destination, TRect{a, 0, width - b, height}, source, from, middle, true);
}

void BuildVertThreePartImage(int topHeight, int bottomHeight, const gfx::Bitmap& source,
                             TileMode middle, int height, const TRect& sourceRect,
                             gfx::Bitmap& destination) {
  const TRect s = Sane(sourceRect);
  const int width = s.Width();
  SizeDestination(destination, width, height);
  if (source.IsEmpty() || destination.IsEmpty()) return;
  const int a = std::max(Sane(topHeight), 0);
  const int b = std::max(Sane(bottomHeight), 0);
  if (a > 0)
    CopyPiece(destination, TRect{0, 0, width, a}, source, TRect{s.Left, s.Top, s.Right, s.Top + a});
  if (b > 0) {
    CopyPiece(destination, TRect{0, height - b, width, height}, source,
              TRect{s.Left, s.Bottom - b, s.Right, s.Bottom});
  }
  const TRect from{s.Left, s.Top + a, s.Right, s.Bottom - b};
  if (from.Height() <= 0) return;
  FillMiddle(destination, TRect{0, a, width, height - b}, source, from, middle, false);
}

void TileImage(const TRect& tileRect, const TRect& fillRect, const gfx::Bitmap& source, int height,
               int width, const TRect& sourceRect, gfx::Bitmap& destination) {
  SizeDestination(destination, width, height);
  const TRect fill = Sane(fillRect);
  if (fill.Width() <= 0 || fill.Height() <= 0 || source.IsEmpty()) return;
  const TRect s = Sane(sourceRect);
  TileArea(destination, TRect{0, 0, fill.Width(), fill.Height()}, source,
           Sane(tileRect).Offset(s.Left, s.Top));
}

}  // namespace skin
