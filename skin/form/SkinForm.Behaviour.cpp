// What the system frame did and the skinned frame must give back: hit
// testing, the cursor, size limits, moving and sizing with snapping, the
// window states and roll-up, the tray, the system menu, translucency; and
// the routing of the mouse to the frame's objects.

#include <algorithm>

#include "skin/data/SkinUtils.h"
#include "skin/form/SkinForm.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/SystemMenu.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/Windows.h"

namespace skin {

using namespace ui;

namespace {

// Layered windows belong to the desktop generation the skin was made for.
bool LayeredWindowsAtShow() { return SystemMajorVersion == 5 && SystemMinorVersion <= 2; }

constexpr UINT_PTR AlphaTimerId = 1;

}  // namespace

std::vector<std::unique_ptr<TskActiveSkinObject>>& TskSkinForm::Objects() {
  return FSkinReady ? FObjectList : FDefaultButtons;
}

TRect TskSkinForm::ClientRectInWindow() const {
  if (FSkinReady) return FNewClRect;
  gfx::Rect bounds = WindowBounds();
  return TRect{3, DefaultCaptionHeight() + 3, bounds.Width() - 3, bounds.Height() - 3};
}

gfx::Point TskSkinForm::ToWindow(gfx::Point screen) const {
  gfx::Rect bounds = WindowBounds();
  return gfx::Point{screen.X - bounds.Left, screen.Y - bounds.Top};
}

int TskSkinForm::ObjectAt(gfx::Point point, bool captionOnly) const {
  const auto& list = FSkinReady ? FObjectList : FDefaultButtons;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TskActiveSkinObject& object = *list[i];
    if (!TakesPart(object) || !object.ObjectRect.Contains(point)) continue;
    if (captionOnly && !dynamic_cast<const TskSkinCaptionObject*>(&object)) continue;
    return int(i);
  }
  return -1;
}

// ---- Hover tracking ------------------------------------------------------------------------

// 1. Only an active window's objects become hot.
// 2. Remember the hot object.
// 3. The first object under the point that can be hot.
// 4. It becomes hot, unless another object holds the mouse.
// 5. Leave the old one, enter the new one.
void TskSkinForm::TestActive(int x, int y, bool track) {
  auto& list = Objects();
  // 1.
  if (list.empty() || !FormActive()) return;
  // 2.
  FOldActiveObject = FActiveObject;
  // 3.
  int found = -1;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TskActiveSkinObject& object = *list[i];
    if (TakesPart(object) && object.Enabled && object.ObjectRect.Contains(gfx::Point{x, y})) {
      found = int(i);
      break;
    }
  }
  // 4.
  FActiveObject = (found >= 0 && track) ? found : -1;
  if (FMouseCaptureObject >= 0 && FMouseCaptureObject != found) FActiveObject = -1;
  if (FActiveObject >= int(list.size())) FActiveObject = -1;
  if (FActiveObject == FOldActiveObject) return;
  // 5.
  std::weak_ptr<const bool> alive = FAlive;
  if (FOldActiveObject >= 0 && FOldActiveObject < int(list.size())) {
    TskActiveSkinObject& old = *list[FOldActiveObject];
    if (old.Enabled && old.Visible) {
      old.MouseLeave();
      if (alive.expired()) return;
      if (ShowObjectHint && FSkinHint && !old.Hint.empty()) FSkinHint->HideHint();
    }
  }
  if (FActiveObject >= 0 && FActiveObject < int(list.size())) {
    TskActiveSkinObject& now = *list[FActiveObject];
    if (now.Enabled && now.Visible) {
      now.MouseEnter();
      if (alive.expired()) return;
      if (FormActive() && ShowObjectHint && FSkinHint && !now.Hint.empty()) {
        gfx::Point cursor;
        GetCursorPos(cursor);
        FSkinHint->ActivateHint(cursor, now.Hint);
      }
    }
  }
}

void TskSkinForm::MouseTimerTick() {
  if (FInSizeMove) {
    FMouseTimer->SetEnabled(false);
    return;
  }
  gfx::Point cursor;
  GetCursorPos(cursor);
  const gfx::Point p = ToWindow(cursor);
  if (!ClientRectInWindow().Contains(p)) TestActive(p.X, p.Y, true);
  else if (FActiveObject >= 0) TestActive(-1, -1, true);
}

// ---- Mouse routing ---------------------------------------------------------------------------

void TskSkinForm::MouseButtonDown(TMessage& message, TMouseButton button) {
  const gfx::Point p = ToWindow(PointFromLParam(message.LParam));
  std::weak_ptr<const bool> alive = FAlive;
  TestActive(p.X, p.Y, true);
  if (alive.expired()) return;
  auto& list = Objects();
  if (FActiveObject < 0 || FActiveObject >= int(list.size())) return;
  TskActiveSkinObject& object = *list[FActiveObject];
  if (!dynamic_cast<TskSkinCaptionObject*>(&object)) SetCapture(Handle());
  FMouseCaptureObject = FActiveObject;
  object.MouseDown(p.X, p.Y, button);
  if (alive.expired()) return;
  if (LRESULT(message.WParam) == HTCAPTION) FMouseCaptureObject = -1;
}

void TskSkinForm::MouseButtonUp(TMessage& message, TMouseButton button, bool clientMessage) {
  auto& list = Objects();
  if (FMouseCaptureObject < 0 || FMouseCaptureObject >= int(list.size())) return;
  std::weak_ptr<const bool> alive = FAlive;
  gfx::Point screen = PointFromLParam(message.LParam);
  if (clientMessage) ClientToScreen(Handle(), screen);
  const gfx::Point p = ToWindow(screen);
  // The release point decides, not the last timer tick: a quick release
  // away from the held object must not run its command.
  TestActive(p.X, p.Y, true);
  if (alive.expired() || FMouseCaptureObject < 0) return;
  TskActiveSkinObject& object = *list[FMouseCaptureObject];
  if (!dynamic_cast<TskSkinCaptionObject*>(&object) && GetCapture() == Handle()) ReleaseCapture();
  if (clientMessage) object.MouseUp(-1, -1, button);
  else object.MouseUp(p.X, p.Y, button);
  if (alive.expired()) return;
  FMouseCaptureObject = -1;
}

void TskSkinForm::CaptionDoubleClick() {
  const bool maximizable = FBorderIcons.Contains(biMaximize);
  if (Sizeable && FSkinWindowState == wsMinimized) {
    SetSkinWindowState(wsNormal);
  } else if (Sizeable && FSkinWindowState != wsMaximized && !FRollUpState && maximizable) {
    SetSkinWindowState(wsMaximized);
  } else if (Sizeable && FSkinWindowState == wsMaximized && !FMaxRollUpState) {
    SetSkinWindowState(wsNormal);
  } else {
    RollUp(!FRollUpState);
  }
  FMouseCaptureObject = -1;
}

// ---- Hit testing -------------------------------------------------------------------------------

void TskSkinForm::WMNCHitTest(TMessage& message) {
  const gfx::Point p = ToWindow(PointFromLParam(message.LParam));
  message.Result = FSkinReady ? HitTest(p) : HitTestPlain(p);
  if (!FMouseTimer->Enabled() && message.Result == HTOBJECT) {
    TestActive(p.X, p.Y, true);
    FMouseTimer->SetEnabled(true);
  }
}

bool TskSkinForm::ProbeInShape(gfx::Point probe) const {
  const TRect& area = FNewMaskRectArea;
  if (area.Contains(probe)) return true;
  const gfx::Bitmap* strip = nullptr;
  gfx::Point at = probe;
  if (probe.Y < area.Top) {
    strip = &FMaskTopStrip;
  } else if (probe.Y >= area.Bottom) {
    strip = &FMaskBottomStrip;
    at.Y -= area.Bottom;
  } else if (probe.X < area.Left) {
    strip = &FMaskLeftStrip;
    at.Y -= area.Top;
  } else {
    strip = &FMaskRightStrip;
    at = gfx::Point{probe.X - area.Right, probe.Y - area.Top};
  }
  if (!strip->Bounds().Contains(at)) return false;
  return (strip->GetPixel(at.X, at.Y) & 0xFFFFFFu) == 0;
}

// 1. Neither rolled up nor minimised:
//    a. a hot object off the caption and the client keeps the mouse;
//    b. near the shape's edge (probes b pixels away fall outside it) the
//       hit-test points choose the corner or edge to size by;
//    c. the client area.
// 2. Caption objects move the window; every other pixel is an object's.
LRESULT TskSkinForm::HitTest(gfx::Point p) {
  gfx::Rect bounds = WindowBounds();
  const int width = bounds.Width();
  const int height = bounds.Height();
  const int x = p.X;
  const int y = p.Y;
  // 1.
  if (!FRollUpState && FSkinWindowState != wsMinimized) {
    // a.
    if (FActiveObject >= 0 && ObjectAt(p, true) < 0 && !FNewClRect.Contains(p) && !FInSizeMove) return HTOBJECT;
    // b.
    if (FSkinWindowState != wsMaximized && Sizeable) {
      const int b = FSD->FormInfo().BorderWidth;
      const gfx::Point probes[] = {{x - b, y}, {x, y - b}, {x + b, y}, {x, y + b}};
      bool nearEdge = false;
      if (FSD->Mask().IsEmpty()) {
        const TRect window{0, 0, width, height};
        for (gfx::Point probe : probes) nearEdge = nearEdge || !window.Contains(probe);
      } else if (!FNewMaskRectArea.Contains(p)) {
        for (gfx::Point probe : probes) nearEdge = nearEdge || !ProbeInShape(probe);
      }
      if (!nearEdge) {
        if (FNewClRect.Contains(p)) return HTCLIENT;
        return ObjectAt(p, true) >= 0 ? HTCAPTION : HTOBJECT;
      }
      const TPoint lt = FNewHitTestLTPoint, rt = FNewHitTestRTPoint;
      const TPoint lb = FNewHitTestLBPoint, rb = FNewHitTestRBPoint;
      if (x <= lt.X && y <= lt.Y) return HTTOPLEFT;
      if (x >= rt.X && y <= rt.Y) return HTTOPRIGHT;
      if (x <= lb.X && y >= lb.Y) return HTBOTTOMLEFT;
      if (x >= rb.X && y >= rb.Y) return HTBOTTOMRIGHT;
      if (TRect{lt.X, 0, rt.X, FNewClRect.Top}.Contains(p)) return HTTOP;
      if (TRect{lb.X, FNewClRect.Bottom, rb.X, height}.Contains(p)) return HTBOTTOM;
      if (TRect{0, lt.Y, FNewClRect.Left, lb.Y}.Contains(p)) return HTLEFT;
      if (TRect{FNewClRect.Right, rt.Y, width, rb.Y}.Contains(p)) return HTRIGHT;
    }
    // c.
    if (FNewClRect.Contains(p)) return HTCLIENT;
  }
  // 2.
  return ObjectAt(p, true) >= 0 ? HTCAPTION : HTOBJECT;
}

LRESULT TskSkinForm::HitTestPlain(gfx::Point p) {
  PlaceDefaultButtons();
  gfx::Rect bounds = WindowBounds();
  const int width = bounds.Width();
  const int height = bounds.Height();
  const int x = p.X;
  const int y = p.Y;
  const bool borders = FSkinWindowState == wsNormal && !FRollUpState && Sizeable;
  if (borders) {
    if (ObjectAt(p, false) >= 0) return HTOBJECT;
    if (x <= 2 && y <= 2) return HTTOPLEFT;
    if (x >= width - 2 && y <= 2) return HTTOPRIGHT;
    if (x <= 2 && y >= height - 2) return HTBOTTOMLEFT;
    if (x >= width - 2 && y >= height - 2) return HTBOTTOMRIGHT;
    if (x <= 2) return HTLEFT;
    if (y <= 2) return HTTOP;
    if (x >= width - 2) return HTRIGHT;
    if (y >= height - 2) return HTBOTTOM;
  }
  if (FDefaultCaptionRect.Contains(p)) return HTCAPTION;
  if (TRect{3, DefaultCaptionHeight() + 3, width - 3, height - 3}.Contains(p)) return HTCLIENT;
  return HTOBJECT;
}

void TskSkinForm::WMSetCursor(TMessage& message) {
  if (!UseFormCursorInNCArea) return;
  const LRESULT hit = std::int16_t(LoWord(std::uintptr_t(message.LParam)));
  const bool sizing = hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
  if (hit != HTCLIENT && !sizing) {
    message.LParam = MakeLParam(int(HTCLIENT), HiWord(std::uintptr_t(message.LParam)));
  }
}

// ---- Size limits, moving and sizing ------------------------------------------------------------------

void TskSkinForm::WMGetMinMaxInfo(TMessage& message) {
  auto* info = FromLParam<MinMaxInfo>(message.LParam);
  gfx::Rect area;
  GetMonitorArea(Handle(), MaximizeOnFullScreen ? ScreenArea::Whole : ScreenArea::WorkArea, area);
  int maxWidth = area.Width();
  int maxHeight = area.Height();
  if (MaxWidth > 0) maxWidth = std::min(maxWidth, MaxWidth);
  if (MaxHeight > 0) maxHeight = std::min(maxHeight, MaxHeight);
  info->MinTrackSize = gfx::Point{MinimumWidth(), MinimumHeight()};
  info->MaxTrackSize = gfx::Point{maxWidth, maxHeight};
  CallOld(message);
}

void TskSkinForm::WMEnterSizeMove() {
  ResetObjects();
  FMouseTimer->SetEnabled(false);
  FActiveObject = FMouseCaptureObject = -1;
  FInSizeMove = true;
  ++FSizeMoveCount;
  bool full = true;
  if (SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full)) FFullDragWindows = full;
}

void TskSkinForm::WMExitSizeMove() {
  FMouseTimer->SetEnabled(false);
  FActiveObject = FOldActiveObject = FMouseCaptureObject = -1;
  // Cleared here rather than at the next button press: a loop started
  // from the keyboard is followed by no press, and the frame must follow
  // WM_SIZE again at once.
  FInSizeMove = false;
  if (FSD && !FSD->Empty()) SendNCPaint();
}

void TskSkinForm::WMSizing(TMessage& message) {
  CallOld(message);
  if (!FInSizeMove || !FFullDragWindows) return;
  const gfx::Rect* r = FromLParam<gfx::Rect>(message.LParam);
  FFrameWidth = r->Width();
  FFrameHeight = r->Height();
  if (FSkinReady && FFrameWidth >= MinimumWidth() && FFrameHeight >= MinimumHeight()) UpdateFrame(Rebuild::Yes);
}

void TskSkinForm::WMMoving(TMessage& message) {
  auto* r = FromLParam<gfx::Rect>(message.LParam);
  const gfx::Rect bounds = WindowBounds();
  if (FSkinWindowState == wsMaximized) {
    *r = bounds;
  } else if (Magnetic) {
    gfx::Rect area;
    GetMonitorArea(Handle(), ScreenArea::WorkArea, area);
    const int m = MagneticSize;
    const int width = bounds.Width();
    const int height = bounds.Height();
    int left = r->Left;
    int top = r->Top;
    // Strict on both sides: exactly m pixels away does not snap.
    if (area.Left - m < left && left < area.Left + m) left = area.Left;
    if (area.Top - m < top && top < area.Top + m) top = area.Top;
    if (area.Right - m < left + width && left + width < area.Right + m) left = area.Right - width;
    if (area.Bottom - m < top + height && top + height < area.Bottom + m) top = area.Bottom - height;
    *r = TRect{left, top, left + width, top + height};
  }
  CallOld(message);
  message.Result = 1;
}

// ---- Window states ------------------------------------------------------------------------------

gfx::Rect TskSkinForm::MaximizedBounds() const {
  const gfx::Rect bounds = WindowBounds();
  const gfx::Rect monitor = MonitorBoundsNear(bounds, ScreenArea::Whole);
  const gfx::Rect work = MonitorBoundsNear(bounds, ScreenArea::WorkArea);
  gfx::Rect target = MaximizeOnFullScreen ? monitor : work;
  gfx::Rect primary;
  GetScreenArea(ScreenArea::Whole, primary);
  // With no task bar on the primary monitor (or one that hides), a window
  // one pixel smaller leaves the edge where the bar shows up.
  if (work.Width() == monitor.Width() && work.Height() == monitor.Height() && monitor == primary) {
    target = target.Inflate(-1, -1);
  }
  return target;
}

void TskSkinForm::SetSkinWindowState(TskWindowState state) {
  if (state == FSkinWindowState) return;
  const bool mainForm = Application && Application->MainForm() == FForm;
  if (state == wsMinimized && mainForm) {
    // The application goes down as a whole; the frame keeps its state.
    FMouseTimer->SetEnabled(false);
    Application->Minimize();
    return;
  }
  std::weak_ptr<const bool> alive = FAlive;
  const gfx::Rect bounds = WindowBounds();
  FSkinWindowState = state;
  switch (state) {
    case wsMinimized: {
      FMouseTimer->SetEnabled(false);
      if (IsNullRect(FRestoreRect)) FRestoreRect = bounds;
      // Parked in the first free slot from the work area's bottom left.
      gfx::Rect area;
      GetMonitorArea(Handle(), ScreenArea::WorkArea, area);
      const int width = MinimumWidth();
      const int height = MinimumHeight();
      int x = area.Left;
      int y = area.Bottom - height;
      auto taken = [&](int sx, int sy) {
        if (!Screen) return false;
        for (int i = 0; i < Screen->FormCount(); ++i) {
          TCustomForm* other = Screen->Forms(i);
          if (other != FForm && other->Left() == sx && other->Top() == sy && other->Width() == width) return true;
        }
        return false;
      };
      while (taken(x, y)) {
        x += width;
        if (x + width > area.Right) {
          x = area.Left;
          y -= height;
        }
      }
      FForm->SetBounds(x, y, width, height);
      break;
    }
    case wsMaximized: {
      FMouseTimer->SetEnabled(false);
      if (IsNullRect(FRestoreRect)) FRestoreRect = bounds;
      const gfx::Rect target = MaximizedBounds();
      FForm->SetBounds(target.Left, target.Top, target.Width(), target.Height());
      // The objects moved under a still pointer: hover follows it again.
      if (!alive.expired()) FMouseTimer->SetEnabled(true);
      break;
    }
    case wsNormal: {
      FMaxRollUpState = false;
      if (!IsNullRect(FRestoreRect)) {
        FForm->SetBounds(FRestoreRect.Left, FRestoreRect.Top, RectWidth(FRestoreRect), RectHeight(FRestoreRect));
      }
      if (alive.expired()) return;
      FMouseTimer->SetEnabled(true);
      const gfx::Rect now = WindowBounds();
      if (now.Width() == bounds.Width() && now.Height() == bounds.Height()) NudgeSize();
      if (HWND window = Handle()) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      FRestoreRect = TRect{};
      break;
    }
  }
  if (!alive.expired()) SendNCPaint();
}

void TskSkinForm::RollUp(bool value) {
  if (!FBorderIcons.Contains(biRollUp) || FSkinWindowState == wsMinimized) return;
  if (FRollUpState && FSkinWindowState == wsMaximized && !FMaxRollUpState) return;
  if (value == FRollUpState) return;
  if (FSkinWindowState == wsMaximized) FMaxRollUpState = value;
  const gfx::Rect bounds = WindowBounds();
  if (value) FRollUpSavedHeight = bounds.Height();
  FRollUpState = value;
  std::weak_ptr<const bool> alive = FAlive;
  FForm->SetBounds(FForm->Left(), FForm->Top(), bounds.Width(), value ? MinimumHeight() : FRollUpSavedHeight);
  if (alive.expired()) return;
  SendNCPaint();
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

// ---- Tray ------------------------------------------------------------------------------------------

void TskSkinForm::FillTrayMenu() {
  FTrayMenu.clear();
  FTrayMenu.push_back({"TRAY_SKF_RESTORE", ResourceString("MI_RESTORECAPTION", "恢复(&R)"), "",
                       [this] { RestoreFromTray(); }});
  FTrayMenu.push_back({"", "-", "", nullptr});
  FTrayMenu.push_back({"TRAY_SKF_CLOSE", ResourceString("MI_CLOSECAPTION", "关闭(&C)"),
                       FForm->FormStyle() == fsMDIChild ? "Ctrl+F4" : "Alt+F4", [this] { CloseForm(); }});
}

void TskSkinForm::SetTrayIcon(TskTrayIcon* value) {
  if (FTrayIcon) FTrayIcon->RemoveFreeNotification(this);
  FTrayIcon = value;
  if (!FTrayIcon) return;
  FTrayIcon->FreeNotification(this);
  if (!AlwaysShowInTray) FTrayIcon->SetIconVisible(false);
  if (FTrayIcon->PopupMenu.empty()) FTrayIcon->PopupMenu = FTrayMenu;
  if (!FTrayIcon->OnDblClick) {
    std::weak_ptr<const bool> alive = FAlive;
    FTrayIcon->OnDblClick = [this, alive](core::TComponent*) {
      if (!alive.expired()) RestoreFromTray();
    };
  }
}

void TskSkinForm::MinimizeToTray() {
  if (!FTrayIcon) return;
  FTrayIcon->MinimizeToTray = true;
  if (Application) Application->Minimize();
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TskSkinForm::RestoreFromTray() {
  if (!FTrayIcon) return;
  FTrayIcon->MinimizeToTray = false;
  FTrayIcon->ShowMainForm();
  if (Application) Application->Restore();
  if (FTrayIcon && !AlwaysShowInTray) FTrayIcon->SetIconVisible(false);
  if (OnRestoreFromTray) OnRestoreFromTray(this);
}

// ---- System menu -------------------------------------------------------------------------------------

TskFrameMenu TskSkinForm::SysMenuButtonMenu() {
  const bool minimized = FSkinWindowState == wsMinimized;
  const bool maximized = FSkinWindowState == wsMaximized;
  TskFrameMenu standard;
  if (FBorderIcons.Contains(biMinimize) && !minimized) {
    standard.push_back({"SKF_MINITEM", ResourceString("MI_MINCAPTION", "最小化(&N)"), "", [this] {
                          if (AlwaysMinimizeToTray) MinimizeToTray();
                          else SetSkinWindowState(wsMinimized);
                        }});
  }
  if (FBorderIcons.Contains(biMaximize) && !maximized) {
    standard.push_back({"SKF_MAXITEM", ResourceString("MI_MAXCAPTION", "最大化(&X)"), "",
                        [this] { SetSkinWindowState(wsMaximized); }});
  }
  if (maximized || minimized || FRollUpState) {
    standard.push_back({"SKF_RESTORE", ResourceString("MI_RESTORECAPTION", "恢复(&R)"), "", [this] {
                          if ((FRollUpState && FMaxRollUpState) || (FRollUpState && FSkinWindowState == wsNormal)) {
                            RollUp(false);
                          } else {
                            SetSkinWindowState(wsNormal);
                          }
                        }});
  }
  if (FBorderIcons.Contains(biRollUp) && !FRollUpState && !minimized) {
    standard.push_back({"SKF_ROLLUP", ResourceString("MI_ROLLUPCAPTION", "卷起(&L)"), "", [this] { RollUp(true); }});
  }
  if (FBorderIcons.Contains(biMinimizeToTray)) {
    standard.push_back({"SKF_MINTOTRAY", ResourceString("MI_MINTOTRAYCAPTION", "最小化到系统托盘区(&T)"), "",
                        [this] { MinimizeToTray(); }});
  }
  if (!standard.empty()) standard.push_back({"", "-", "", nullptr});
  standard.push_back({"SKF_CLOSE", ResourceString("MI_CLOSECAPTION", "关闭(&C)"),
                      FForm->FormStyle() == fsMDIChild ? "Ctrl+F4" : "Alt+F4", [this] { CloseForm(); }});
  if (SystemMenu.empty()) {
    FSysMenuItems = standard;
    return FSysMenuItems;
  }
  TskFrameMenu items;
  if (UseDefaultSysMenu) {
    items = standard;
    for (const TskFrameMenuItem& item : SystemMenu) {
      const std::string& n = item.Name;
      if (n == "SKF_MINITEM" || n == "SKF_MAXITEM" || n == "SKF_CLOSE" || n == "SKF_MINTOTRAY" || n == "SKF_ROLLUP" ||
          n == "SKF_RESTORE") {
        continue;
      }
      items.push_back(item);
    }
  } else {
    items = SystemMenu;
  }
  return items;
}

void TskSkinForm::ShowSystemMenu(int x, int y) { PopupFrameMenu(SysMenuButtonMenu(), TRect{x, y, x, y}); }

// The frame's menus open through its skin menu, in the skin of the menus
// (or the frame's). The form is the opening control, so that every close,
// Esc included, reaches the frame as WMSKIN_MENUCLOSED.
void TskSkinForm::PopupFrameMenu(const TskFrameMenu& menu, const TRect& screenRect) {
  if (!Handle() || menu.empty() || !FFormMenu) return;
  if (FFormMenu->Visible()) FFormMenu->CloseAll();
  if (FMenuRoot) FMenuRoot->Free();
  FMenuRoot = core::Create<ui::TMenuItem>(*this);
  for (const TskFrameMenuItem& entry : menu) {
    auto* item = core::Create<ui::TMenuItem>(*this);
    item->SetCaption(entry.Caption);
    if (!entry.Name.empty() && !FindComponent(entry.Name)) item->SetName(entry.Name);
    if (!entry.ShortCut.empty()) item->SetShortCut(ui::TextToShortCut(entry.ShortCut));
    if (entry.OnClick) item->OnClick = [click = entry.OnClick](core::TComponent*) { click(); };
    FMenuRoot->Add(item);
  }
  std::weak_ptr<const bool> alive = FAlive;
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
  if (alive.expired()) return;
  // What the press that opened the menu captured is the menu's now.
  if (GetCapture() == Handle()) ReleaseCapture();
  FFormMenu->Popup(FForm, FMenusSkinData ? FMenusSkinData : FSD, TskPopupDirection::Down, FMenuRoot, screenRect, 0);
}

void TskSkinForm::CloseForm() {
  if (FForm) FForm->Close();
}

// ---- Translucency -----------------------------------------------------------------------------------

void TskSkinForm::SetLayered(bool layered) {
  HWND window = Handle();
  if (!window) return;
  const LONG_PTR ex = GetWindowLong(window, GWL_EXSTYLE);
  SetWindowLong(window, GWL_EXSTYLE, layered ? (ex | LONG_PTR(WS_EX_LAYERED)) : (ex & ~LONG_PTR(WS_EX_LAYERED)));
}

void TskSkinForm::SetAlphaBlend(bool value) {
  FAlphaBlend = value;
  if (Designing() || ComponentState().Contains(core::csLoading) || !Handle()) return;
  SetLayered(value);
  if (value) SetLayeredWindowAttributes(Handle(), 0, FAlphaBlendValue, LWA_ALPHA);
}

void TskSkinForm::SetAlphaBlendValue(std::uint8_t value) {
  FAlphaBlendValue = value;
  if (FAlphaBlend && Handle() && !Designing()) SetLayeredWindowAttributes(Handle(), 0, value, LWA_ALPHA);
}

void TskSkinForm::WMShowWindow(TMessage& message) {
  CallOld(message);
  HWND window = Handle();
  if (!window) return;
  if (message.WParam) {
    if ((FAlphaBlend || AlphaBlendAnimation) && LayeredWindowsAtShow()) {
      SetLayered(true);
      SetLayeredWindowAttributes(window, 0, 0, LWA_ALPHA);
      SetTimer(window, AlphaTimerId, 1);
    }
    NudgeSize();
  } else if (FAlphaBlend) {
    SetLayered(false);
  }
}

void TskSkinForm::WMTimer(TMessage& message) {
  HWND window = Handle();
  KillTimer(window, AlphaTimerId);
  const int target = (FAlphaBlend || !AlphaBlendAnimation) ? FAlphaBlendValue : 255;
  if (AlphaBlendAnimation) {
    std::weak_ptr<const bool> alive = FAlive;
    ProcessMessages();
    if (alive.expired() || !IsWindow(window)) return;
    for (int alpha = 5;; alpha += 5) {
      const int value = std::min(alpha, target);
      SetLayeredWindowAttributes(window, 0, std::uint8_t(value), LWA_ALPHA);
      if (value >= target) break;
    }
  } else if (target != 255) {
    SetLayeredWindowAttributes(window, 0, std::uint8_t(target), LWA_ALPHA);
  }
  if (target == 255) SetLayered(false);
  message.Result = 0;
}

}  // namespace skin
