// The frame's skin objects: the base with its looks and morph, buttons and
// standard buttons with their press rules and commands, the caption, and
// the program-drawn user object.

#include <algorithm>

#include "gfx/Canvas.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/skEffBmp.h"
#include "skin/form/SkinForm.h"
#include "ui/classlib/Graphics.h"
#include "ui/windowing/Windows.h"

namespace skin {

using namespace ui;

// ---- Base -----------------------------------------------------------------------------

TskActiveSkinObject::TskActiveSkinObject(TskSkinForm& parent, const TskDataSkinObject* data) : FParent(parent) {
  SD = parent.SkinData();
  if (!data || !SD) return;
  IDName = data->SectionName;
  Hint = data->Hint;
  SkinRectInAPicture = data->SkinRectInAPicture;
  SkinRect = data->SkinRect;
  ActiveSkinRect = data->ActiveSkinRect;
  InActiveSkinRect = data->InactiveSkinRect;
  Morphing = data->Morphing;
  MorphKind = data->MorphKind;
  CursorIndex = data->CursorIndex;
  RollUp = data->RollUp;
  ObjectRect = SkinRect;
  const auto& pictures = SD->ActivePictures();
  if (data->ActivePictureIndex >= 0 && data->ActivePictureIndex < int(pictures.size())) {
    ActivePicture = &pictures[std::size_t(data->ActivePictureIndex)];
  } else {
    ActiveSkinRect = TRect{};
  }
  Picture = RollUp ? &SD->RollUpPicture() : &SD->Picture();
}

bool TskActiveSkinObject::MorphApplies() const {
  return Morphing && SD && SD->EnableSkinEffects() && ActivePicture && !IsNullRect(ActiveSkinRect);
}

bool TskActiveSkinObject::NeedsMorphStep() const { return (Active && MorphKf < 1) || (!Active && MorphKf > 0); }

void TskActiveSkinObject::Changed() {
  if (MorphApplies()) FParent.EnableMorphTimer();
  else FParent.RedrawObject(*this);
}

const gfx::Bitmap* TskActiveSkinObject::NormalPicture() const {
  return SkinRectInAPicture ? ActivePicture : Picture;
}

void TskActiveSkinObject::CopyLook(gfx::Canvas& canvas, const gfx::Bitmap* source, const TRect& sourceRect) const {
  if (!source || IsNullRect(sourceRect)) return;
  canvas.CopyRect(ObjectRect, *source, sourceRect);
}

void TskActiveSkinObject::DrawMorph(gfx::Canvas& canvas, const gfx::Bitmap& normal, const TRect& normalRect,
                                    const gfx::Bitmap& active, const TRect& activeRect) const {
  const int width = RectWidth(ObjectRect);
  const int height = RectHeight(ObjectRect);
  if (width < 1 || height < 1) return;
  gfx::Bitmap from(width, height), to(width, height);
  gfx::Canvas(from).CopyRect(from.Bounds(), normal, normalRect);
  gfx::Canvas(to).CopyRect(to.Bounds(), active, activeRect);
  TskEffectBmp blend = TskEffectBmp::CreateFromBitmap(from);
  blend.ApplyMorph(MorphKind, TskEffectBmp::CreateFromBitmap(to), MorphKf);
  canvas.Draw(ObjectRect.Left, ObjectRect.Top, blend.ToBitmap());
}

// 1. inactive look, 2. morph between normal and active, 3. active look,
// 4. normal look (only when asked for, or when it is not in the frame
// picture).
void TskActiveSkinObject::Draw(gfx::Canvas& canvas, DrawAll drawAll) {
  if (Enabled && !FParent.FormActive() && ActivePicture && !IsNullRect(InActiveSkinRect)) {
    CopyLook(canvas, ActivePicture, InActiveSkinRect);
    return;
  }
  if (MorphApplies() && NeedsMorphStep() && NormalPicture()) {
    DrawMorph(canvas, *NormalPicture(), SkinRect, *ActivePicture, ActiveSkinRect);
    return;
  }
  if (Active && ActivePicture && !IsNullRect(ActiveSkinRect)) {
    CopyLook(canvas, ActivePicture, ActiveSkinRect);
    return;
  }
  if (drawAll == DrawAll::No && !SkinRectInAPicture) return;
  CopyLook(canvas, NormalPicture(), SkinRect);
}

void TskActiveSkinObject::MouseDown(int x, int y, TMouseButton button) {
  if (FParent.OnMouseDownEvent) FParent.OnMouseDownEvent(IDName, x, y, button, ObjectRect);
}

void TskActiveSkinObject::MouseUp(int x, int y, TMouseButton button) {
  if (MouseIn && FParent.OnMouseUpEvent) FParent.OnMouseUpEvent(IDName, x, y, button, ObjectRect);
}

void TskActiveSkinObject::MouseMove(int x, int y) {
  if (FParent.OnMouseMoveEvent) FParent.OnMouseMoveEvent(IDName, x, y, ObjectRect);
}

void TskActiveSkinObject::MouseEnter() {
  MouseIn = true;
  Active = true;
  if (!IsNullRect(ActiveSkinRect)) Changed();
  if (FParent.OnMouseEnterEvent) FParent.OnMouseEnterEvent(IDName);
}

void TskActiveSkinObject::MouseLeave() {
  MouseIn = false;
  Active = false;
  if (!IsNullRect(ActiveSkinRect)) Changed();
  if (FParent.OnMouseLeaveEvent) FParent.OnMouseLeaveEvent(IDName);
}

void TskUserObject::Draw(gfx::Canvas& canvas, DrawAll) {
  if (FParent.OnPaintEvent) FParent.OnPaintEvent(IDName, canvas, ObjectRect);
}

// ---- Buttons ---------------------------------------------------------------------------
//
// Press rules of a button (no group, no menu); "command" is the standard
// button's action, which needs Active, i.e. the pointer still over it:
//
//   state     | event                      | next state      | effect
//   ----------+----------------------------+-----------------+-------------------
//   normal    | pointer enters             | hot             | active look
//   hot       | left down                  | pressed, held   | pressed look, capture
//   hot       | pointer leaves             | normal          | normal look
//   pressed   | pointer leaves (held)      | pressed, away   | normal look
//   away      | pointer comes back         | pressed         | pressed look
//   pressed   | left up                    | hot             | command
//   away      | left up                    | normal          | nothing
//   any       | another button enters      | unchanged       | (only the held one can be hot)
//   any       | form deactivated           | normal          | normal look
//
// A grouped button stays down until another of its group goes down; one
// with a menu stays down while its menu is open.

TskSkinButtonObject::TskSkinButtonObject(TskSkinForm& parent, const TskDataSkinButton* data)
    : TskActiveSkinObject(parent, data) {
  if (!data) return;
  DownRect = data->DownRect;
  DisableSkinRect = data->DisableSkinRect;
  GroupIndex = data->GroupIndex;
}

void TskSkinButtonObject::Draw(gfx::Canvas& canvas, DrawAll drawAll) {
  if (!Enabled && ActivePicture && !IsNullRect(DisableSkinRect)) {
    CopyLook(canvas, ActivePicture, DisableSkinRect);
    return;
  }
  if (Down && ActivePicture && !IsNullRect(DownRect) && (GroupIndex != -1 || MouseIn)) {
    CopyLook(canvas, ActivePicture, DownRect);
    return;
  }
  TskActiveSkinObject::Draw(canvas, drawAll);
}

void TskSkinButtonObject::SetDown(bool value) {
  Down = value;
  if (!value) {
    if (GroupIndex != -1 || !MenuItem.empty()) Active = false;
    Changed();
    return;
  }
  if (IsNullRect(DownRect)) return;
  if (MorphApplies()) MorphKf = 1;
  FParent.RedrawObject(*this);
  if (GroupIndex == -1) return;
  for (const auto& object : FParent.ObjectList()) {
    auto* other = dynamic_cast<TskSkinButtonObject*>(object.get());
    if (other && other != this && other->GroupIndex == GroupIndex && other->Down) {
      other->SetDown(false);
      break;
    }
  }
}

void TskSkinButtonObject::ShowMenu() {
  gfx::Rect bounds;
  GetWindowRect(FParent.Form().Handle(), bounds);
  FParent.PopupFrameMenu(MenuItem, ObjectRect.Offset(bounds.Left, bounds.Top));
}

void TskSkinButtonObject::MouseDown(int x, int y, TMouseButton button) {
  if (!Enabled) return;
  if (button == mbLeft && !Down) {
    SetDown(true);
    if (!MenuItem.empty()) {
      ShowMenu();
      return;
    }
  }
  TskActiveSkinObject::MouseDown(x, y, button);
}

void TskSkinButtonObject::MouseUp(int x, int y, TMouseButton button) {
  if (!Enabled) return;
  if (button == mbLeft && MenuItem.empty() && Down && GroupIndex == -1) SetDown(false);
  TskActiveSkinObject::MouseUp(x, y, button);
}

void TskSkinButtonObject::MouseEnter() {
  MouseIn = true;
  Active = true;
  if (Down && !IsNullRect(DownRect)) {
    if (GroupIndex == -1) FParent.RedrawObject(*this);
  } else if (!IsNullRect(ActiveSkinRect)) {
    Changed();
  }
  if (FParent.OnMouseEnterEvent) FParent.OnMouseEnterEvent(IDName);
}

void TskSkinButtonObject::MouseLeave() {
  MouseIn = false;
  const bool pressedLook = Down && !IsNullRect(DownRect);
  if (!(pressedLook && (!MenuItem.empty() || GroupIndex != -1))) {
    Active = false;
    if (Down && MorphApplies()) MorphKf = 1;
    if (!IsNullRect(ActiveSkinRect) || (!IsNullRect(DownRect) && GroupIndex == -1)) Changed();
  }
  if (FParent.OnMouseLeaveEvent) FParent.OnMouseLeaveEvent(IDName);
}

// ---- Standard buttons ----------------------------------------------------------------------

TskSkinStdButtonObject::TskSkinStdButtonObject(TskSkinForm& parent, const TskDataSkinStdButton* data)
    : TskSkinButtonObject(parent, data) {
  SkinSupport = true;
  if (!data) return;
  Command = data->Command;
  RestoreRect = data->RestoreRect;
  RestoreActiveRect = data->RestoreActiveRect;
  RestoreDownRect = data->RestoreDownRect;
  RestoreInActiveRect = data->RestoreInactiveRect;
}

TskSkinStdButtonObject::TskSkinStdButtonObject(TskSkinForm& parent, TskStdCommand command)
    : TskSkinButtonObject(parent, nullptr) {
  SD = nullptr;
  SkinSupport = false;
  Command = command;
  // The plain look has a pressed state of its own.
  DownRect = TRect{0, 0, 1, 1};
}

bool TskSkinStdButtonObject::InAlternativeState() const {
  switch (Command) {
    case TskStdCommand::cmMaximize: return FParent.SkinWindowState() == wsMaximized;
    case TskStdCommand::cmMinimize: return FParent.SkinWindowState() == wsMinimized;
    case TskStdCommand::cmRollUp: return FParent.RollUpState();
    default: return false;
  }
}

bool TskSkinStdButtonObject::ShowsIcon() const {
  return Command == TskStdCommand::cmSysMenu && FParent.ShowIcon && (SkinRectInAPicture || !SkinSupport);
}

void TskSkinStdButtonObject::Draw(gfx::Canvas& canvas, DrawAll drawAll) {
  if (!SkinSupport) {
    DrawPlain(canvas);
    return;
  }
  if (ShowsIcon()) {
    canvas.StretchDraw(ObjectRect, FParent.SmallIcon());
    MorphKf = 0;
    return;
  }
  if (InAlternativeState() && !IsNullRect(RestoreRect) && Enabled && ActivePicture) {
    if (!FParent.FormActive() && !IsNullRect(RestoreInActiveRect)) {
      CopyLook(canvas, ActivePicture, RestoreInActiveRect);
    } else if (Down && MouseIn && !IsNullRect(RestoreDownRect)) {
      CopyLook(canvas, ActivePicture, RestoreDownRect);
    } else if (Morphing && SD && SD->EnableSkinEffects() && !IsNullRect(RestoreActiveRect) && NeedsMorphStep()) {
      DrawMorph(canvas, *ActivePicture, RestoreRect, *ActivePicture, RestoreActiveRect);
    } else if (Active && !IsNullRect(RestoreActiveRect)) {
      CopyLook(canvas, ActivePicture, RestoreActiveRect);
    } else {
      CopyLook(canvas, ActivePicture, RestoreRect);
    }
    return;
  }
  TskSkinButtonObject::Draw(canvas, drawAll);
}

void TskSkinStdButtonObject::DrawPlain(gfx::Canvas& canvas) {
  const int width = RectWidth(ObjectRect);
  const int height = RectHeight(ObjectRect);
  if (width < 1 || height < 1) return;
  if (ShowsIcon()) {
    canvas.StretchDraw(ObjectRect, FParent.SmallIcon());
    return;
  }
  gfx::Bitmap look(width, height);
  gfx::Canvas c(look);
  const bool pressed = Down && MouseIn;
  if (pressed || MouseIn) {
    c.SetBrush(pressed ? gfx::MakeColor(133, 146, 181) : gfx::MakeColor(182, 189, 210));
    c.FillRect(look.Bounds());
    c.FrameRect(look.Bounds(), ColorToRGB(clNavy));
  } else {
    c.SetBrush(ColorToRGB(clBtnFace));
    c.FillRect(look.Bounds());
  }
  const gfx::Color ink = ColorToRGB(Enabled ? clBtnText : clBtnShadow);
  c.SetPen(ink);
  const int x = pressed ? width / 2 - 4 : width / 2 - 5;
  const int y = pressed ? height / 2 - 3 : height / 2 - 4;
  auto line = [&](int x1, int y1, int x2, int y2) {
    c.MoveTo(x + x1, y + y1);
    c.LineTo(x + x2, y + y2);
  };
  auto frame = [&](int l, int t, int r, int b) { c.FrameRect(TRect{x + l, y + t, x + r, y + b}, ink); };
  switch (Command) {
    case TskStdCommand::cmClose:
      line(1, 1, 9, 9);
      line(9, 1, 1, 9);
      line(2, 1, 10, 9);
      line(8, 1, 0, 9);
      break;
    case TskStdCommand::cmMaximize:
    case TskStdCommand::cmMinimize:
      if (InAlternativeState()) {
        frame(2, 0, 10, 6);
        frame(2, 0, 10, 2);
        frame(0, 4, 7, 10);
        frame(0, 4, 7, 6);
      } else if (Command == TskStdCommand::cmMaximize) {
        frame(0, 0, 11, 10);
        frame(0, 0, 11, 2);
      } else {
        line(1, 8, 9, 8);
        line(1, 9, 9, 9);
      }
      break;
    case TskStdCommand::cmSysMenu: frame(1, 3, 9, 6); break;
    case TskStdCommand::cmRollUp:
      for (int i = 0; i <= 4; ++i) {
        const int row = FParent.RollUpState() ? 6 - i : 2 + i;
        line(5 - i, row, 5 + i, row);
      }
      break;
    case TskStdCommand::cmMinimizeToTray:
      // A window going down into the notification area.
      line(1, 9, 10, 9);
      line(1, 10, 10, 10);
      frame(6, 5, 10, 8);
      break;
    default: break;
  }
  canvas.Draw(ObjectRect.Left, ObjectRect.Top, look);
}

void TskSkinStdButtonObject::MouseDown(int, int, TMouseButton button) {
  if (!Enabled || button != mbLeft || Down) return;
  SetDown(true);
  if (Command == TskStdCommand::cmSysMenu) {
    MenuItem = FParent.SysMenuButtonMenu();
    ShowMenu();
  }
}

void TskSkinStdButtonObject::MouseUp(int x, int y, TMouseButton button) {
  std::weak_ptr<const bool> alive = FParent.AliveToken();
  if (Command == TskStdCommand::cmClose) {
    // Released first: closing may free the frame and this object.
    const bool run = Active && button == mbLeft && Enabled;
    TskSkinButtonObject::MouseUp(x, y, button);
    if (run && !alive.expired()) DoCommand();
    return;
  }
  if (Active && button == mbLeft && Enabled) DoCommand();
  if (alive.expired()) return;
  TskSkinButtonObject::MouseUp(x, y, button);
}

void TskSkinStdButtonObject::DblClick() {
  if (Command != TskStdCommand::cmSysMenu) return;
  // The press of the double click opened the menu again: it goes first,
  // and with it the button's pressed look.
  if (TskSkinMenu* menu = FParent.FormMenu(); menu && menu->Visible()) menu->CloseAll();
  FParent.CloseForm();
}

bool TskSkinStdButtonObject::NeedsMorphStep() const {
  if (ShowsIcon()) return false;
  return TskSkinButtonObject::NeedsMorphStep();
}

void TskSkinStdButtonObject::DoCommand() {
  switch (Command) {
    case TskStdCommand::cmClose: FParent.CloseForm(); break;
    case TskStdCommand::cmMaximize:
      FParent.SetSkinWindowState(FParent.SkinWindowState() == wsMaximized ? wsNormal : wsMaximized);
      break;
    case TskStdCommand::cmMinimize:
      if (FParent.AlwaysMinimizeToTray) FParent.MinimizeToTray();
      else FParent.SetSkinWindowState(FParent.SkinWindowState() == wsMinimized ? wsNormal : wsMinimized);
      break;
    case TskStdCommand::cmRollUp: FParent.RollUp(!FParent.RollUpState()); break;
    case TskStdCommand::cmMinimizeToTray: FParent.MinimizeToTray(); break;
    default: break;
  }
}

// ---- Caption ---------------------------------------------------------------------------------

TskSkinCaptionObject::TskSkinCaptionObject(TskSkinForm& parent, const TskDataSkinCaption* data)
    : TskActiveSkinObject(parent, data) {
  if (!data) return;
  DefaultCaption = data->DefaultCaption;
  TextRect = data->TextRect;
  FontName = data->FontName;
  FontHeight = data->FontHeight;
  FontStyle = data->FontStyle;
  FontColor = data->FontColor;
  ActiveFontColor = data->ActiveFontColor;
  Alignment = data->Alignment;
  Shadow = data->Shadow;
  ShadowColor = data->ShadowColor;
  ActiveShadowColor = data->ActiveShadowColor;
  Light = data->Light;
  LightColor = data->LightColor;
  ActiveLightColor = data->ActiveLightColor;
  FrameRect = data->FrameRect;
  ActiveFrameRect = data->ActiveFrameRect;
  FrameTextRect = data->FrameTextRect;
  FrameLeftOffset = data->FrameLeftOffset;
  FrameRightOffset = data->FrameRightOffset;
}

void TskSkinCaptionObject::MouseDown(int x, int y, TMouseButton button) { TskActiveSkinObject::MouseDown(x, y, button); }
void TskSkinCaptionObject::MouseUp(int x, int y, TMouseButton button) { TskActiveSkinObject::MouseUp(x, y, button); }

void TskSkinCaptionObject::MouseEnter() {
  MouseIn = true;
  if (FParent.OnMouseEnterEvent) FParent.OnMouseEnterEvent(IDName);
}

void TskSkinCaptionObject::MouseLeave() {
  MouseIn = false;
  if (FParent.OnMouseLeaveEvent) FParent.OnMouseLeaveEvent(IDName);
}

void TskSkinCaptionObject::SetCaptionText(const std::string& text) {
  CaptionText = text;
  FParent.RedrawObject(*this);
}

// The text rectangle relative to the object: it grows with the object.
TRect TskSkinCaptionObject::CurrentTextRect() const {
  TRect r = TextRect;
  r.Right += RectWidth(ObjectRect) - RectWidth(SkinRect);
  if (!IsNullRect(FrameRect)) {
    r = r.Offset(FrameTextRect.Left, FrameTextRect.Top);
    r.Right += FrameTextRect.Right - RectWidth(FrameRect);
  }
  return r;
}

void TskSkinCaptionObject::DrawText(gfx::Canvas& canvas, const TRect& r, bool active) const {
  const std::string text = GetWindowText(FParent.Form().Handle());
  if (text.empty() || IsNullRect(TextRect)) return;
  gfx::Font font;
  font.Name = FontName;
  font.Height = FontHeight;
  font.Style = FontStyle;
  font.Color = active ? ActiveFontColor : FontColor;
  font.CharSet = (SD && SD->ResourceStrData()) ? SD->ResourceStrData()->CharSet() : FParent.DefCaptionFont.CharSet;
  canvas.SetFont(font);
  const std::string shown = TruncateTextToWidth(canvas, text, RectWidth(r));
  const gfx::Size extent = canvas.TextExtent(shown);
  const int y = r.Top + RectHeight(r) / 2 - extent.Height / 2;
  int x = r.Left;
  if (Alignment == TAlignment::taRightJustify) x = r.Right - extent.Width;
  else if (Alignment == TAlignment::taCenter) x = r.Left + RectWidth(r) / 2 - extent.Width / 2;
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  if (!IsNullRect(FrameRect) && ActivePicture) {
    const TRect& look = (active && !IsNullRect(ActiveFrameRect)) ? ActiveFrameRect : FrameRect;
    gfx::Bitmap frame;
    BuildHorzThreePartImage(FrameLeftOffset, FrameRightOffset, *ActivePicture, TileMode::Stretch,
                            RectWidth(FrameRect) + extent.Width - RectWidth(FrameTextRect), look, frame);
    canvas.Draw(x - FrameTextRect.Left, y - FrameTextRect.Top, frame);
  }
  if (Light) {
    canvas.Font().Color = active ? ActiveLightColor : LightColor;
    canvas.TextOut(x - 1, y - 1, shown);
  }
  if (Shadow) {
    canvas.Font().Color = active ? ActiveShadowColor : ShadowColor;
    canvas.TextOut(x + 1, y + 1, shown);
  }
  canvas.Font().Color = active ? ActiveFontColor : FontColor;
  canvas.TextOut(x, y, shown);
}

gfx::Bitmap TskSkinCaptionObject::BuildLook(const gfx::Bitmap& source, const TRect& sourceRect, bool active) const {
  gfx::Bitmap look(std::max(1, RectWidth(ObjectRect)), std::max(1, RectHeight(ObjectRect)));
  gfx::Canvas c(look);
  c.CopyRect(look.Bounds(), source, sourceRect);
  DrawText(c, CurrentTextRect(), active);
  return look;
}

void TskSkinCaptionObject::Draw(gfx::Canvas& canvas, DrawAll drawAll) {
  Active = FParent.FormActive();
  const TskDataSkinFormInfo* info = SD ? &SD->FormInfo() : nullptr;
  const bool autoInactive = info && info->AutoRenderingInactiveImage;
  auto inactive = [&](gfx::Bitmap& look) {
    TskEffectBmp picture = TskEffectBmp::CreateFromBitmap(look);
    picture.ApplyInactiveEffect(info->InactiveEffect);
    look = picture.ToBitmap();
  };
  if (ActivePicture && !IsNullRect(ActiveSkinRect) && (Active || MorphKf > 0)) {
    gfx::Bitmap look = BuildLook(*ActivePicture, ActiveSkinRect, true);
    if (MorphApplies() && MorphKf < 1 && Picture) {
      gfx::Bitmap normal = BuildLook(*Picture, SkinRect, false);
      TskEffectBmp blend = TskEffectBmp::CreateFromBitmap(normal);
      blend.ApplyMorph(MorphKind, TskEffectBmp::CreateFromBitmap(look), MorphKf);
      look = blend.ToBitmap();
      if (autoInactive && !Active) inactive(look);
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, look);
    return;
  }
  if (drawAll == DrawAll::Yes && Picture) {
    gfx::Bitmap look = BuildLook(*Picture, SkinRect, Active);
    if (autoInactive && !Active) inactive(look);
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, look);
    return;
  }
  // The background is part of the frame picture: only the text.
  DrawText(canvas, CurrentTextRect().Offset(ObjectRect.Left, ObjectRect.Top), Active);
}

}  // namespace skin
