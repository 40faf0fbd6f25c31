// Painting the frame: the skinned frame from four strips, the plain frame
// of a window without a skin, single objects, and the client background.

#include <algorithm>

#include "gfx/Canvas.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/skEffBmp.h"
#include "skin/form/SkinForm.h"
#include "ui/classlib/Graphics.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/Windows.h"

namespace skin {

using namespace ui;

namespace {

TileMode ModeOf(bool stretch) { return stretch ? TileMode::Stretch : TileMode::Tile; }

gfx::Bitmap WithInactiveEffect(const gfx::Bitmap& strip, TskInactiveEffect effect) {
  if (strip.IsEmpty()) return strip;
  TskEffectBmp picture = TskEffectBmp::CreateFromBitmap(strip);
  picture.ApplyInactiveEffect(effect);
  return picture.ToBitmap();
}

// Tiles tileRect of source over (0, 0, width, height) of canvas: as many
// whole copies as start inside, the canvas clips the last ones.
void Tile(gfx::Canvas& canvas, const gfx::Bitmap& source, const TRect& tileRect, int width, int height) {
  const int tileWidth = RectWidth(tileRect);
  const int tileHeight = RectHeight(tileRect);
  if (tileWidth < 1 || tileHeight < 1) return;
  for (int row = 0; row < height / tileHeight + 1; ++row) {
    for (int column = 0; column < width / tileWidth + 1; ++column) {
      canvas.CopyRect(TRect::FromSize(column * tileWidth, row * tileHeight, tileWidth, tileHeight), source, tileRect);
    }
  }
}

}  // namespace

bool TskSkinForm::FormActive() const {
  if (!FForm || !FForm->Active()) return false;
  return !Screen || Screen->ActiveForm() == FForm;
}

// ---- The skinned frame ------------------------------------------------------------------
//
// 1. Geometry and object places for the current size.
// 2. The window's context.
// 3. The source picture: active, or the skin's inactive one.
// 4. Four strips of the window's size cut from it.
// 5. Objects drawn into the strips, only where they differ from it.
// 6. The client area excluded.
// 7. The strips drawn, through the inactive effect when the skin asks.
// 8. The context released (WindowDC's end).
void TskSkinForm::PaintSkinFrame() {
  HWND window = Handle();
  if (!window || !FSkinReady || !FSD) return;
  // 2.
  WindowDC context(window, WindowDC::Area::Window);
  PaintSkinFrame(context.Canvas());
}

void TskSkinForm::PaintSkinFrame(gfx::Canvas& canvas) {
  if (!FSkinReady || !FSD) return;
  gfx::Rect bounds = WindowBounds();
  const int width = FFrameWidth > 0 ? FFrameWidth : bounds.Width();
  const int height = FFrameHeight > 0 ? FFrameHeight : bounds.Height();
  if (width < MinimumWidth() || height < MinimumHeight()) return;
  const TskDataSkinFormInfo& info = FSD->FormInfo();
  const bool active = FormActive();

  // 1.
  CalcFrameGeometry();
  PlaceObjects();
  // 3.
  const gfx::Bitmap& source = (active || FSD->InactivePicture().IsEmpty()) ? FSD->Picture() : FSD->InactivePicture();
  // 4. The strips of the bare picture only change with the size and the
  // source, so they are cut once for both and kept.
  StripCache& cache = FStripCache;
  if (!cache.Valid || cache.Width != width || cache.Height != height || cache.Source != &source) {
    BandModes modes{ModeOf(info.LeftStretch), ModeOf(info.TopStretch), ModeOf(info.RightStretch),
                    ModeOf(info.BottomStretch)};
    BuildNinePartBorderStrips(info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint, info.RightBottomPoint,
                              info.ClientRect, source.Bounds(), source, FNewLTPoint, FNewRTPoint, FNewLBPoint,
                              FNewRBPoint, FNewClRect, width, height, modes, cache.Top, cache.Bottom, cache.Left,
                              cache.Right);
    cache.Width = width;
    cache.Height = height;
    cache.Source = &source;
    cache.Valid = true;
  }
  const TRect topRect = TRect::FromSize(0, 0, cache.Top.Width(), cache.Top.Height());
  const TRect bottomRect = TRect::FromSize(0, height - cache.Bottom.Height(), cache.Bottom.Width(), cache.Bottom.Height());

  if (!active && info.AutoRenderingInactiveImage) {
    // 5. Objects go into copies of the strips, the bottom strip's with the
    // origin moved up to the client's bottom ...
    gfx::Bitmap top = cache.Top, bottom = cache.Bottom;
    {
      gfx::Canvas topCanvas(top);
      gfx::Canvas bottomCanvas(bottom);
      bottomCanvas.SetOrigin(0, -FNewClRect.Bottom);
      for (auto& object : FObjectList) {
        if (!TakesPart(*object)) continue;
        object->Draw(object->ObjectRect.Bottom <= FNewClRect.Top ? topCanvas : bottomCanvas, DrawAll::No);
      }
    }
    // 6. 7. ... which take the inactive effect before they are drawn.
    gfx::CanvasStateSaver saved(canvas);
    if (!FNewClRect.IsEmpty()) canvas.ExcludeClipRect(FNewClRect);
    canvas.Draw(0, 0, WithInactiveEffect(top, info.InactiveEffect));
    canvas.Draw(0, topRect.Bottom, WithInactiveEffect(cache.Left, info.InactiveEffect));
    canvas.Draw(width - cache.Right.Width(), topRect.Bottom, WithInactiveEffect(cache.Right, info.InactiveEffect));
    canvas.Draw(0, bottomRect.Top, WithInactiveEffect(bottom, info.InactiveEffect));
    return;
  }
  // 6. 7. Without an effect the strips go to the window as they are and
  // the objects are drawn over them, each clipped to its strip: the same
  // pixels as drawing into the strips first, without copying them.
  gfx::CanvasStateSaver saved(canvas);
  if (!FNewClRect.IsEmpty()) canvas.ExcludeClipRect(FNewClRect);
  canvas.Draw(0, 0, cache.Top);
  canvas.Draw(0, topRect.Bottom, cache.Left);
  canvas.Draw(width - cache.Right.Width(), topRect.Bottom, cache.Right);
  canvas.Draw(0, bottomRect.Top, cache.Bottom);
  // 5.
  for (auto& object : FObjectList) {
    if (!TakesPart(*object)) continue;
    gfx::CanvasStateSaver strip(canvas);
    canvas.IntersectClipRect(object->ObjectRect.Bottom <= FNewClRect.Top ? topRect : bottomRect);
    if (object->ObjectRect.Bottom <= FNewClRect.Top) {
      object->Draw(canvas, DrawAll::No);
    } else {
      // The bottom strip starts at the client's bottom, not at the
      // window's bottom less its height: the object keeps its place in it.
      canvas.MoveOrigin(0, bottomRect.Top - FNewClRect.Bottom);
      object->Draw(canvas, DrawAll::No);
    }
  }
}

// ---- The plain frame ---------------------------------------------------------------------

void TskSkinForm::CreateDefaultButtons() {
  for (TskStdCommand command : {TskStdCommand::cmClose, TskStdCommand::cmMaximize, TskStdCommand::cmMinimize,
                                TskStdCommand::cmRollUp, TskStdCommand::cmSysMenu, TskStdCommand::cmMinimizeToTray}) {
    FDefaultButtons.push_back(std::make_unique<TskSkinStdButtonObject>(*this, command));
  }
}

void TskSkinForm::PlaceDefaultButtons() {
  if (FDefaultButtons.empty()) CreateDefaultButtons();
  gfx::Rect bounds = WindowBounds();
  const int width = bounds.Width();
  const int size = DefaultButtonSize();
  FDefaultCaptionRect = TRect{3, 3, width - 3, DefaultCaptionHeight()};
  int right = width - 3;
  for (TskStdCommand command : {TskStdCommand::cmClose, TskStdCommand::cmMaximize, TskStdCommand::cmMinimize,
                                TskStdCommand::cmRollUp, TskStdCommand::cmMinimizeToTray, TskStdCommand::cmSysMenu}) {
    for (auto& object : FDefaultButtons) {
      auto& button = static_cast<TskSkinStdButtonObject&>(*object);
      if (button.Command != command) continue;
      bool shown = true;
      switch (command) {
        case TskStdCommand::cmMaximize: shown = FBorderIcons.Contains(biMaximize); break;
        case TskStdCommand::cmMinimize: shown = FBorderIcons.Contains(biMinimize); break;
        case TskStdCommand::cmRollUp: shown = FBorderIcons.Contains(biRollUp); break;
        case TskStdCommand::cmMinimizeToTray: shown = FBorderIcons.Contains(biMinimizeToTray); break;
        case TskStdCommand::cmSysMenu: shown = FBorderIcons.Contains(biSystemMenu); break;
        default: break;
      }
      button.Visible = shown;
      button.Enabled = !HideCaptionButtons;
      if (!shown) continue;
      if (command == TskStdCommand::cmSysMenu) {
        button.ObjectRect = TRect::FromSize(FDefaultCaptionRect.Left, 4, size, size);
        FDefaultCaptionRect.Left = button.ObjectRect.Right;
      } else {
        right -= size;
        button.ObjectRect = TRect::FromSize(right, 4, size, size);
      }
    }
  }
  // The caption ends where the row of buttons begins.
  FDefaultCaptionRect.Right = std::max(FDefaultCaptionRect.Left, right);
}

void TskSkinForm::PaintDefaultFrame() {
  HWND window = Handle();
  if (!window) return;
  PlaceDefaultButtons();
  gfx::Rect bounds = WindowBounds();
  const int width = bounds.Width();
  const int height = bounds.Height();
  const int captionHeight = DefaultCaptionHeight();
  const bool active = FormActive();
  if (width <= 6) return;

  gfx::Bitmap bar(width - 6, captionHeight);
  gfx::Canvas canvas(bar);
  canvas.SetBrush(ColorToRGB(clBtnFace));
  canvas.FillRect(bar.Bounds());
  // Bitmap x is window x - 3.
  const int captionLeft = FDefaultCaptionRect.Left;
  const int buttonsLeft = FDefaultCaptionRect.Right;
  if (captionHeight - 4 > 1) {
    for (int row = 2; row <= captionHeight - 4; ++row) {
      canvas.SetPen(ColorToRGB((row % 2 == 0) ? clBtnHighlight : clBtnShadow));
      canvas.MoveTo(captionLeft - 1 - 3, row);
      canvas.LineTo(buttonsLeft - 6 - 3, row);
    }
  }
  gfx::Font font = active ? DefCaptionFont : DefInActiveCaptionFont;
  if (FSD && FSD->ResourceStrData()) font.CharSet = FSD->ResourceStrData()->CharSet();
  canvas.SetFont(font);
  const std::string title = GetWindowText(window);
  const int room = buttonsLeft - captionLeft;
  if (!title.empty() && room > 0) {
    const std::string shown = TruncateTextToWidth(canvas, title, room);
    const gfx::Size extent = canvas.TextExtent(shown);
    const int boxWidth = extent.Width + 5;
    const int boxLeft = captionLeft + (room - boxWidth) / 2 - 3;
    canvas.FillRect(TRect{boxLeft, 0, boxLeft + boxWidth, captionHeight});
    canvas.Brush().Style = gfx::BrushStyle::Clear;
    canvas.TextOut(boxLeft + 3, (captionHeight - extent.Height) / 2, shown);
  }
  canvas.SetOrigin(-3, -3);
  for (auto& button : FDefaultButtons) {
    if (button->Visible) button->Draw(canvas, DrawAll::Yes);
  }

  WindowDC context(window, WindowDC::Area::Window);
  gfx::Canvas& target = context.Canvas();
  target.ExcludeClipRect(TRect{3, captionHeight + 3, width - 3, height - 3});
  target.Draw(3, 3, bar);
  TRect edge{0, 0, width, height};
  edge = target.Frame3D(edge, ColorToRGB(cl3DLight), ColorToRGB(cl3DDkShadow), 1);
  edge = target.Frame3D(edge, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow), 1);
  target.Frame3D(edge, ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), 1);
}

// ---- Single objects ---------------------------------------------------------------------

void TskSkinForm::RedrawObject(TskActiveSkinObject& object) {
  HWND window = Handle();
  if (!window || !TakesPart(object) || FForm->BorderStyle() == bsNone) return;
  if (!FSkinReady) {
    // A plain button is redrawn with the whole plain frame.
    SendNCPaint();
    return;
  }
  WindowDC context(window, WindowDC::Area::Window);
  object.Draw(context.Canvas(), DrawAll::Yes);
}

// ---- Client background ----------------------------------------------------------------------

void TskSkinForm::PaintClientBackground(HDC context) {
  HWND window = Handle();
  if (!context || !window) return;
  gfx::Canvas& canvas = CanvasOf(context);
  gfx::Rect client;
  GetClientRect(window, client);
  bool painted = false;
  if (FSD && !FSD->Empty()) {
    const TskDataSkinFormInfo& info = FSD->FormInfo();
    if (info.BGPictureIndex == -1) {
      if (!IsNullRect(info.ClientRect)) {
        Tile(canvas, FSD->Picture(), info.ClientRect, client.Width(), client.Height());
        painted = true;
      }
    } else if (info.BGPictureIndex >= 0 && info.BGPictureIndex < int(FSD->ActivePictures().size())) {
      const gfx::Bitmap& picture = FSD->ActivePictures()[std::size_t(info.BGPictureIndex)];
      Tile(canvas, picture, picture.Bounds(), client.Width(), client.Height());
      painted = true;
    }
  }
  if (!painted) {
    canvas.SetBrush(ColorToRGB(clBtnFace));
    canvas.FillRect(client);
  }
  if (!LogoBitMap.IsEmpty()) {
    const int x = (client.Width() - LogoBitMap.Width()) / 2;
    const int y = (client.Height() - LogoBitMap.Height()) / 2;
    if (LogoBitMapTransparent) canvas.DrawTransparent(x, y, LogoBitMap);
    else canvas.Draw(x, y, LogoBitMap);
  }
}

// ---- Small icon ---------------------------------------------------------------------------

const gfx::Bitmap& TskSkinForm::SmallIcon() {
  if (!FSmallIcon.IsEmpty()) return FSmallIcon;
  int width = GetSystemMetrics(SM_CXSMICON);
  int height = GetSystemMetrics(SM_CYSMICON);
  if (width == 0) width = GetSystemMetrics(SM_CXSIZE);
  if (height == 0) height = GetSystemMetrics(SM_CYSIZE);
  width = std::max(width, 1);
  height = std::max(height, 1);
  gfx::Bitmap source;
  if (!FForm->Icon()->Empty()) source = FForm->Icon()->Picture();
  else if (Application && !Application->Icon()->Empty()) source = Application->Icon()->Picture();
  FSmallIcon = gfx::Bitmap(width, height);
  gfx::Canvas canvas(FSmallIcon);
  if (!source.IsEmpty()) {
    canvas.StretchDraw(FSmallIcon.Bounds(), source);
  } else {
    // The system's application icon: a small window.
    canvas.SetBrush(ColorToRGB(clWhite));
    canvas.FillRect(FSmallIcon.Bounds());
    canvas.SetPen(ColorToRGB(clBlack));
    canvas.SetBrush(ColorToRGB(clWhite));
    canvas.Rectangle(TRect{1, 2, width - 1, height - 2});
    canvas.SetBrush(ColorToRGB(clNavy));
    canvas.FillRect(TRect{2, 3, width - 2, 5});
  }
  return FSmallIcon;
}

}  // namespace skin
