#include "skin/controls/SkinCtrls.Control.h"

#include <algorithm>

#include "gfx/Canvas.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/SkinUtils.ParentBackground.h"
#include "skin/data/skEffBmp.h"
#include "ui/windowing/Windows.h"

namespace skin {

namespace {

// Skin cursor n is this platform cursor number plus n: the class library
// shows positive numbers as cursors a skin adds.
constexpr ui::TCursor FirstSkinCursor = 1;

}  // namespace

// ---- TskSkinControl ---------------------------------------------------------

TskSkinControl::TskSkinControl(core::TComponent* owner) : TCustomControl(owner) {
  // Every paint covers every pixel, so the window system never erases.
  SetControlStyle(ControlStyle() | ui::TControlStyle{ui::csOpaque});
}

TskSkinControl::~TskSkinControl() {
  if (FSkinData) RemoveFreeNotification(FSkinData);
}

void TskSkinControl::SetSkinData(TskSkinData* value) {
  if (FSkinData) RemoveFreeNotification(FSkinData);
  FSkinData = value;
  if (FSkinData) FSkinData->FreeNotification(this);
  if (FSkinData && !FSkinData->Empty() && !Designing()) ApplySkinChange();
}

void TskSkinControl::SetDrawDefault(bool value) {
  FDrawDefault = value;
  Invalidate();
}

void TskSkinControl::SetAlphaBlend(bool value) {
  FAlphaBlend = value;
  Invalidate();
}

void TskSkinControl::SetAlphaBlendValue(std::uint8_t value) {
  FAlphaBlendValue = value;
  Invalidate();
}

void TskSkinControl::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FSkinData) {
    FSkinData = nullptr;
    FSkinIndex = -1;
  }
}

void TskSkinControl::FindSkinSection() {
  if (!FSkinData || FSkinData->Empty()) {
    FSkinIndex = -1;
  } else {
    FSkinIndex = FSkinData->FindControlIndex(FSkinDataName);
  }
}

const TskDataSkinControl* TskSkinControl::Section() const {
  if (FSkinIndex < 0 || !FSkinData) return nullptr;
  const auto& controls = FSkinData->SkinControls();
  if (std::size_t(FSkinIndex) >= controls.size()) return nullptr;
  return controls[std::size_t(FSkinIndex)].get();
}

const gfx::Bitmap* TskSkinControl::ActivePicture(int index) const {
  if (!FSkinData || index < 0) return nullptr;
  const auto& pictures = FSkinData->ActivePictures();
  if (std::size_t(index) >= pictures.size()) return nullptr;
  return &pictures[std::size_t(index)];
}

int TskSkinControl::SkinCharSet(int fallback) const {
  if (FSkinData && FSkinData->ResourceStrData()) return FSkinData->ResourceStrData()->CharSet();
  return fallback;
}

void TskSkinControl::PrepareSkinChange() { FSkinIndex = -1; }

void TskSkinControl::ApplySkinCursor() {
  if (!FUseSkinCursor) return;
  SetCursor(FSkinCursorIndex == -1 ? ui::crDefault : FirstSkinCursor + FSkinCursorIndex);
}

void TskSkinControl::ApplySkinChange() {
  FindSkinSection();
  ApplySkinCursor();
  Invalidate();
}

void TskSkinControl::DrawDefaultImage(gfx::Bitmap&) {}
void TskSkinControl::DrawSkinImage(gfx::Bitmap&) {}

void TskSkinControl::BlendWithBackground(gfx::Bitmap& buffer, const gfx::Bitmap& background) const {
  const double k = std::clamp(1.0 - double(FAlphaBlendValue) / 255.0, 0.0, 1.0);
  TskEffectBmp front = TskEffectBmp::CreateFromBitmap(buffer);
  front.Morph(TskEffectBmp::CreateFromBitmap(background), k);
  buffer = front.ToBitmap();
}

void TskSkinControl::PresentBuffer(const gfx::Bitmap& buffer) {
  gfx::Canvas& canvas = Canvas()->Target();
  if (!FAlphaBlend) {
    canvas.Draw(0, 0, buffer);
    return;
  }
  gfx::Bitmap background;
  PaintParentBackground(*this, background);
  gfx::Bitmap blended = buffer;
  if (blended.Width() != background.Width() || blended.Height() != background.Height()) {
    // A fixed-size section may be smaller than the control: blend what it
    // covers over the background and show the background elsewhere.
    gfx::Bitmap sized = background;
    gfx::Canvas(sized).Draw(0, 0, blended);
    blended = sized;
  }
  BlendWithBackground(blended, background);
  canvas.Draw(0, 0, blended);
}

// The double-buffered paint:
// 1. nothing for a control without area;
// 2. the section again by name (the skin may have changed);
// 3. a buffer of the control's size;
// 4. the skinned look, or the default look when there is no section;
// 5. the buffer to the canvas, blended over the parent when asked;
// 6. the buffers go with the scope.
void TskSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;  // 1
  FindSkinSection();                            // 2
  gfx::Bitmap& buffer = FPaintBuffer;           // 3
  if (buffer.Width() != Width() || buffer.Height() != Height()) {
    buffer.SetSize(Width(), Height());
  } else if (FSkinIndex == -1) {
    buffer.Fill(0);  // the default look (or none) starts from a new buffer
  }
  if (FSkinIndex != -1) {                       // 4
    DrawSkinImage(buffer);
  } else if (FDrawDefault) {
    DrawDefaultImage(buffer);
  }
  PresentBuffer(buffer);  // 5
}

void TskSkinControl::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_PAINT: {
      const bool was = FInPaintMessage;
      FInPaintMessage = true;
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Alive()) FInPaintMessage = was;
      break;
    }
    // The paint covers every pixel.
    case ui::WM_ERASEBKGND: message.Result = 1; break;
    case ui::WM_WINDOWPOSCHANGED: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      // What shows through has moved too.
      if (guard.Alive() && FAlphaBlend) Invalidate();
      break;
    }
    case ui::CM_MOUSEENTER:
    case ui::CM_MOUSELEAVE:
      if (Designing()) break;
      inherited::Dispatch(message);
      break;
    default: inherited::Dispatch(message); break;
  }
}

// ---- TskSkinCustomControl ---------------------------------------------------

TskSkinCustomControl::TskSkinCustomControl(core::TComponent* owner) : TskSkinControl(owner) {
  FDefaultFont.SetName("宋体");
  FDefaultFont.SetHeight(14);
  FDefaultFont.OnChange = [this](ui::TGraphicsObject*) {
    DefaultFontChanged();
    if (FSkinIndex == -1) Invalidate();
  };
}

TskSkinCustomControl::~TskSkinCustomControl() { FDefaultFont.OnChange = nullptr; }

void TskSkinCustomControl::SetUseSkinFont(bool value) {
  FUseSkinFont = value;
  Invalidate();
}

void TskSkinCustomControl::SetDefaultWidth(int value) {
  FDefaultWidth = value;
  if (FSkinIndex == -1 && value > 0) SetWidth(value);
}

void TskSkinCustomControl::SetDefaultHeight(int value) {
  FDefaultHeight = value;
  if (FSkinIndex == -1 && value > 0) SetHeight(value);
}

void TskSkinCustomControl::SetDefaultFont(const ui::TFont& font) {
  // Assign raises the font's change notification, which repaints.
  FDefaultFont.Assign(font);
  DefaultFontChanged();
}

void TskSkinCustomControl::FindSkinSection() {
  TskSkinControl::FindSkinSection();
  if (FSkinIndex == -1) return;
  const auto* section = dynamic_cast<const TskDataSkinCustomControl*>(Section());
  if (!section) {
    FResizeMode = 0;
    FPicture = nullptr;
    FMaskPicture = nullptr;
    return;
  }
  FLTPoint = section->LeftTopPoint;
  FRTPoint = section->RightTopPoint;
  FLBPoint = section->LeftBottomPoint;
  FRBPoint = section->RightBottomPoint;
  FSkinRect = section->SkinRect;
  FClRect = section->ClientRect;
  FSkinCursorIndex = section->CursorIndex;
  FStretchEffect = section->StretchEffect;
  FPicture = ActivePicture(section->PictureIndex);
  FMaskPicture = ActivePicture(section->MaskPictureIndex);
  if (IsNullRect(FSkinRect)) {
    FResizeMode = -1;
  } else if (FRBPoint.X != 0 && FRBPoint.Y != 0) {
    FResizeMode = 1;
  } else if (FRTPoint.X != 0 || FRTPoint.Y != 0) {
    FResizeMode = 2;
  } else if (FLBPoint.X != 0 || FLBPoint.Y != 0) {
    FResizeMode = 3;
  } else {
    FResizeMode = 0;
  }
}

void TskSkinCustomControl::CalcSkinSize(int& width, int& height) {
  if (FResizeMode > 0) {
    const int dx = width - RectWidth(FSkinRect);
    const int dy = height - RectHeight(FSkinRect);
    FNewLTPoint = FLTPoint;
    switch (FResizeMode) {
      case 1:
        FNewRTPoint = TPoint{FRTPoint.X + dx, FRTPoint.Y};
        FNewLBPoint = TPoint{FLBPoint.X, FLBPoint.Y + dy};
        FNewRBPoint = TPoint{FRBPoint.X + dx, FRBPoint.Y + dy};
        FNewClRect = TRect{FClRect.Left, FClRect.Top, FClRect.Right + dx, FClRect.Bottom + dy};
        break;
      case 2:
        height = RectHeight(FSkinRect);
        FNewRTPoint = TPoint{FRTPoint.X + dx, FRTPoint.Y};
        FNewClRect = TRect{FClRect.Left, FClRect.Top, FClRect.Right + dx, FClRect.Bottom};
        break;
      case 3:
        width = RectWidth(FSkinRect);
        FNewLBPoint = TPoint{FLBPoint.X, FLBPoint.Y + dy};
        FNewClRect = TRect{FClRect.Left, FClRect.Top, FClRect.Right, FClRect.Bottom + dy};
        break;
      default: break;
    }
  } else if (FSkinIndex != -1 && FResizeMode == 0) {
    width = RectWidth(FSkinRect);
    height = RectHeight(FSkinRect);
    FNewClRect = FClRect;
  }
}

TRect TskSkinCustomControl::MoveSkinRect(const TRect& r) const {
  const int dx = Width() - RectWidth(FSkinRect);
  const int dy = Height() - RectHeight(FSkinRect);
  const int w = RectWidth(FSkinRect);
  const int h = RectHeight(FSkinRect);
  auto inside = [](const TRect& area, const TPoint& p) { return PointInRectInclusive(area, p); };
  auto within = [&](const TRect& area) { return inside(area, r.TopLeft()) && inside(area, r.BottomRight()); };
  TRect result = r;
  switch (FResizeMode) {
    case 1: {
      const TRect lt{0, 0, FLTPoint.X, FLTPoint.Y};
      const TRect rt{FRTPoint.X, 0, w, FRTPoint.Y};
      const TRect lb{0, FLBPoint.Y, FLBPoint.X, h};
      const TRect rb{FRBPoint.X, FRBPoint.Y, w, h};
      if (within(lt)) return r;
      if (within(rt)) return r.Offset(dx, 0);
      if (within(lb)) return r.Offset(0, dy);
      if (within(rb)) return r.Offset(dx, dy);
      const TPoint a = r.TopLeft();
      const TPoint b = r.BottomRight();
      if (inside(lt, a) && inside(rb, b)) {
        result.Right += dx;
        result.Bottom += dy;
      } else if (inside(lt, a) && inside(rt, b)) {
        result.Right += dx;
      } else if (inside(lb, a) && inside(rb, b)) {
        result.Right += dx;
        result = result.Offset(0, dy);
      } else if (inside(lt, a) && inside(lb, b)) {
        result.Bottom += dy;
      } else if (inside(rt, a) && inside(rb, b)) {
        result = result.Offset(dx, 0);
        result.Bottom += dy;
      }
      return result;
    }
    case 2:
      if (r.Left <= FLTPoint.X && r.Right >= FRTPoint.X) {
        result.Right += dx;
      } else if (r.Left >= FRTPoint.X && r.Right > FRTPoint.X) {
        result = r.Offset(dx, 0);
      }
      return result;
    case 3:
      if (r.Top <= FLTPoint.Y && r.Bottom >= FLBPoint.Y) {
        result.Bottom += dy;
      } else if (r.Top >= FLBPoint.Y && r.Bottom > FLBPoint.Y) {
        result = r.Offset(0, dy);
      }
      return result;
    default: return r;
  }
}

// 1. the section by name; 2. a new size with a section is adjusted to it;
// 3. the bounds through the class library; 4. region and look follow.
void TskSkinCustomControl::SetBounds(int left, int top, int width, int height) {
  FindSkinSection();  // 1
  const bool adjust = (width != Width() || height != Height()) && FSkinIndex != -1;
  if (adjust) {  // 2
    CalcSkinSize(width, height);
    if (FResizeMode == 0) FNewClRect = FClRect;
  }
  TskSkinControl::SetBounds(left, top, width, height);  // 3
  if (adjust) {  // 4
    UpdateWindowRegion();
    Invalidate();
  }
}

void TskSkinCustomControl::ApplySkinChange() {
  for (auto& entry : FComposed) entry.first.Picture = nullptr;
  FindSkinSection();
  ApplySkinCursor();
  bool sizeChanged = false;
  if (FSkinIndex == -1) {
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else {
    int width = Width();
    int height = Height();
    CalcSkinSize(width, height);
    if (width != Width()) {
      SetWidth(width);
      sizeChanged = true;
    }
    if (height != Height()) {
      SetHeight(height);
      sizeChanged = true;
    }
  }
  if (!sizeChanged || FSkinIndex == -1) {
    UpdateWindowRegion();
    Invalidate();
  }
}

void TskSkinCustomControl::UpdateWindowRegion() {
  std::optional<gfx::Region> region;
  const bool wanted = FMaskPicture && FSkinIndex != -1;
  if (!wanted) {
    if (!FSkinRegion) return;
  } else if (FResizeMode == 0) {
    region = MaskToRegion(*FMaskPicture);
  } else if (FResizeMode > 0) {
    // CalcSkinSize moved only the points of the directions the image
    // stretches in; the others stay where the section has them.
    const TPoint newRT = FResizeMode != 3 ? FNewRTPoint : FRTPoint;
    const TPoint newLB = FResizeMode != 2 ? FNewLBPoint : FLBPoint;
    const TPoint newRB = FResizeMode == 1 ? FNewRBPoint : FRBPoint;
    region = BuildNinePartRegion(FLTPoint, FRTPoint, FLBPoint, FRBPoint, FClRect,
                                 TRect{0, 0, RectWidth(FSkinRect), RectHeight(FSkinRect)}, *FMaskPicture,
                                 FLTPoint, newRT, newLB, newRB, FNewClRect, Width(), Height());
  }
  FSkinRegion = region;
  if (HandleAllocated()) ui::SetWindowRgn(Handle(), region, true);
}

void TskSkinCustomControl::DrawDefaultImage(gfx::Bitmap& buffer) {
  gfx::Canvas canvas(buffer);
  canvas.SetBrush(ui::ColorToRGB(ui::clBtnFace));
  canvas.FillRect(ClientRect());
}

void TskSkinCustomControl::PrepareSkinChange() {
  TskSkinControl::PrepareSkinChange();
  for (auto& entry : FComposed) entry.first.Picture = nullptr;
}

void TskSkinCustomControl::ComposeSkinImage(gfx::Bitmap& buffer, const TRect& sourceRect, int width,
                                            int height) const {
  if (!FPicture) return;
  const SkinComposition key{sourceRect, width, height, FPicture, FPicture->Data(), FResizeMode, FStretchEffect,
                        FLTPoint, FRTPoint, FLBPoint, FRBPoint, FNewLTPoint, FNewRTPoint, FNewLBPoint, FNewRBPoint,
                        FClRect, FNewClRect};
  for (const auto& [cached, image] : FComposed) {
    if (cached.Picture && cached == key) {
      buffer = image;
      return;
    }
  }
  ComposeSkinImageNow(buffer, sourceRect, width, height);
  FComposed[FNextComposed] = {key, buffer};
  FNextComposed = (FNextComposed + 1) % CachedCompositions;
}

void TskSkinCustomControl::ComposeSkinImageNow(gfx::Bitmap& buffer, const TRect& sourceRect, int width,
                                               int height) const {
  const TileMode middle = FStretchEffect ? TileMode::Stretch : TileMode::Tile;
  switch (FResizeMode) {
    case 0: {
      buffer.SetSize(RectWidth(sourceRect), RectHeight(sourceRect));
      gfx::Canvas(buffer).CopyRect(buffer.Bounds(), *FPicture, sourceRect);
      break;
    }
    case 1:
      BuildNinePartImage(FLTPoint, FRTPoint, FLBPoint, FRBPoint, FClRect, sourceRect, *FPicture, FNewLTPoint,
                         FNewRTPoint, FNewLBPoint, FNewRBPoint, FNewClRect, width, height, DrawCentre::Yes,
                         buffer);
      break;
    case 2:
      BuildHorzThreePartImage(FLTPoint.X, RectWidth(sourceRect) - FRTPoint.X, *FPicture, middle, width,
                              sourceRect, buffer);
      break;
    case 3:
      BuildVertThreePartImage(FLTPoint.Y, RectHeight(sourceRect) - FLBPoint.Y, *FPicture, middle, height,
                              sourceRect, buffer);
      break;
    default: break;
  }
}

void TskSkinCustomControl::DrawSkinImage(gfx::Bitmap& buffer) {
  // The points follow the size the control has now.
  int width = Width();
  int height = Height();
  CalcSkinSize(width, height);
  ComposeSkinImage(buffer, FSkinRect, Width(), Height());
}

gfx::Font TskSkinCustomControl::PlainFont() const {
  gfx::Font font = FDefaultFont.ToGfxFont();
  font.CharSet = SkinCharSet(font.CharSet);
  return font;
}

gfx::Font TskSkinCustomControl::SectionFont(const std::string& name, int height, gfx::FontStyle style) const {
  gfx::Font font = PlainFont();
  if (FUseSkinFont) {
    font.Name = name;
    font.Height = height;
    font.Style = style;
  }
  return font;
}

}  // namespace skin
