// The tray icon's input: the area's notices, the click decision, the
// pointer-leave poll, icon cycling, the popup menu and the window hooks.

#include <memory>

#include "platform/VirtualKeys.h"
#include "tray/TrayIcon.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/ImgList.h"
#include "ui/windowing/Input.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowStyles.h"
#include "ui/windowing/Windows.h"

namespace tray {

namespace {

// lParam of WM_SHOWWINDOW when the owner of the window is being minimised.
constexpr ui::LPARAM SW_PARENTCLOSING = 1;

ui::TShiftState GetKeyShiftState() {
  ui::TShiftState shift;
  if (ui::GetAsyncKeyState(platform::VK_SHIFT) & 0x8000) shift.Include(ui::ssShift);
  if (ui::GetAsyncKeyState(platform::VK_CONTROL) & 0x8000) shift.Include(ui::ssCtrl);
  if (ui::GetAsyncKeyState(platform::VK_MENU) & 0x8000) shift.Include(ui::ssAlt);
  return shift;
}

ui::TShiftState With(ui::TShiftState shift, ui::TShiftStateItem item) {
  shift.Include(item);
  return shift;
}

}  // namespace

// The area's notices. The click logic, in the order the area sends a click
// and a double click (down, up, double click, up):
//
//   notice        without OnDblClick          with OnDblClick
//   down          MouseDown, held             start the delay timer, MouseDown, held
//   up            Click, MouseUp              pending, MouseUp
//   double click  -                           DblClick, double click seen
//   delay tick    -                           Click if pending and no double click seen
//
// So a single click gives OnClick at the release without OnDblClick, and
// one double-click time after the press with it; a double click gives
// OnDblClick alone.
void TTrayIcon::HandleIconMessage(ui::LPARAM notice) {
  const auto code = ui::UINT(notice);
  switch (code) {
    case platform::NIN_BALLOONSHOW:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      return;
    case platform::NIN_BALLOONHIDE:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      return;
    case platform::NIN_BALLOONTIMEOUT:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      return;
    case platform::NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      return;
    default:
      break;
  }
  if (!FEnabled) return;

  gfx::Point cursor;
  ui::GetCursorPos(cursor);
  const int x = cursor.X;
  const int y = cursor.Y;
  const ui::TShiftState shift = GetKeyShiftState();
  std::weak_ptr<const bool> alive = FAlive;

  switch (code) {
    case ui::WM_MOUSEMOVE:
      if (FWantEnterExitEvents && FPointerOutside) {
        FireMouseEnter();
        if (alive.expired()) return;
        FPointerOutside = false;
      }
      FireMouseMove(shift, x, y);
      if (alive.expired()) return;
      FLastPointerX = x;
      FLastPointerY = y;
      break;
    case ui::WM_LBUTTONDOWN:
      if (OnDblClick) {
        FClickDelayTimer->SetPeriod(ui::GetDoubleClickTime());
        FClickDelayTimer->SetRunning(true);
      }
      FireMouseDown(ui::mbLeft, With(shift, ui::ssLeft), x, y);
      if (alive.expired()) return;
      FLeftButtonHeld = true;
      if (FLeftPopup) PopupAtCursor();
      break;
    case ui::WM_LBUTTONUP:
      if (FLeftButtonHeld) FClickPending = true;
      if (FLeftButtonHeld && !FClickDelayTimer->Running()) {
        FLeftButtonHeld = false;
        FClickPending = false;
        FireClick();
        if (alive.expired()) return;
      }
      FLeftButtonHeld = false;
      FireMouseUp(ui::mbLeft, With(shift, ui::ssLeft), x, y);
      break;
    case ui::WM_LBUTTONDBLCLK:
      FClickPending = false;
      FDoubleClickSeen = true;
      FireDblClick();
      if (alive.expired()) return;
      ClickDefaultMenuItem();
      break;
    case ui::WM_RBUTTONDOWN:
      FireMouseDown(ui::mbRight, With(shift, ui::ssRight), x, y);
      if (alive.expired()) return;
      PopupAtCursor();
      break;
    case ui::WM_RBUTTONUP:
      FireMouseUp(ui::mbRight, With(shift, ui::ssRight), x, y);
      break;
    case ui::WM_MBUTTONDOWN:
      FireMouseDown(ui::mbMiddle, With(shift, ui::ssMiddle), x, y);
      break;
    case ui::WM_MBUTTONUP:
      FireMouseUp(ui::mbMiddle, With(shift, ui::ssMiddle), x, y);
      break;
    default:
      break;
  }
}

void TTrayIcon::ClickDelayTick(TSimpleTimer*) {
  FClickDelayTimer->SetRunning(false);
  if (!FDoubleClickSeen && FClickPending) {
    FClickPending = false;
    std::weak_ptr<const bool> alive = FAlive;
    FireClick();
    if (alive.expired()) return;
  }
  FDoubleClickSeen = false;
}

void TTrayIcon::LeavePollTick(TSimpleTimer*) {
  if (FPointerOutside) return;
  gfx::Point cursor;
  if (!ui::GetCursorPos(cursor)) return;
  // Every move over the icon is reported and refreshes the position, so a
  // pointer that moved without a report has left the icon.
  if (cursor.X != FLastPointerX || cursor.Y != FLastPointerY) {
    FPointerOutside = true;
    FireMouseExit();
  }
}

void TTrayIcon::IconCycleTick(TSimpleTimer*) {
  if (!FIconList) return;
  const int count = FIconList->Count();
  // A list emptied meanwhile has nothing to show.
  if (count == 0) return;
  if (FIconIndex >= count) FIconIndex = count - 1;
  FIconList->GetIcon(FIconIndex, FIcon);
  const int next = FIconIndex < count - 1 ? FIconIndex + 1 : 0;
  std::weak_ptr<const bool> alive = FAlive;
  FireCycle(next);
  if (alive.expired() || !FIconList) return;
  SetIconIndex(FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0);
}

// ---- Popup menu -------------------------------------------------------------

void TTrayIcon::PopupAtCursor() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  gfx::Point cursor;
  if (!ui::GetCursorPos(cursor)) return;
  std::weak_ptr<const bool> alive = FAlive;
  if (ui::Application) {
    ui::SetForegroundWindow(ui::Application->Handle());
    ui::Application->ProcessMessages();
    // The messages may have taken the menu or this icon away.
    if (alive.expired() || !FPopupMenu) return;
  }
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(cursor.X, cursor.Y);
  if (alive.expired()) return;
  if (dynamic_cast<ui::TWinControl*>(Owner()) && FOwnerWindow) {
    ui::PostMessage(FOwnerWindow, ui::WM_NULL, 0, 0);
  }
}

void TTrayIcon::ClickDefaultMenuItem() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup() || FLeftPopup) return;
  ui::TMenuItem* items = FPopupMenu->Items();
  if (!items) return;
  for (int i = 0; i < items->Count(); ++i) {
    ui::TMenuItem* item = items->Items(i);
    if (item->Default()) {
      item->Click();
      return;
    }
  }
}

// ---- Main window ------------------------------------------------------------

bool TTrayIcon::StartupShowsMainForm() {
  bool showMainForm = true;
  if (OnStartup) OnStartup(this, showMainForm);
  return showMainForm;
}

void TTrayIcon::HideMainWindow() {
  if (!dynamic_cast<ui::TWinControl*>(Owner())) return;
  if (!ui::Application || !ui::Application->MainForm()) return;
  ui::Application->MainForm()->SetVisible(false);
  HideAppButton();
}

void TTrayIcon::HideAppButton() {
  if (!ui::Application) return;
  ui::HWND appWindow = ui::Application->Handle();
  if (ui::IsWindowVisible(appWindow)) ui::ShowWindow(appWindow, ui::SW_HIDE);
}

void TTrayIcon::SendToTray() {
  std::weak_ptr<const bool> alive = FAlive;
  HideMainWindow();
  if (alive.expired()) return;
  SetIconVisible(true);
}

// ---- Hooks ------------------------------------------------------------------

ui::LRESULT TTrayIcon::OwnerWindowHook(ui::HWND window, ui::UINT message, ui::WPARAM wParam,
                                       ui::LPARAM lParam) {
  // The saved procedure is read before anything runs that may free this.
  const ui::WNDPROC saved = FOwnerHook->SavedOwnerProc;
  if (message == ui::WM_SHOWWINDOW && wParam == 1 && lParam == 0) {
    if (ui::Application) ui::SetForegroundWindow(ui::Application->Handle());
    ui::SetForegroundWindow(window);
  } else {
    const bool parentClosing = message == ui::WM_SHOWWINDOW && wParam == 0 && lParam == SW_PARENTCLOSING &&
                               !(ui::Application && ui::Application->Terminated());
    const bool minimise = message == ui::WM_SYSCOMMAND && wParam == ui::SC_MINIMIZE;
    if ((parentClosing || minimise) && FMinimizeToTray && OnMinimizeToTray) {
      std::weak_ptr<const bool> alive = FAlive;
      OnMinimizeToTray(this);
      if (!alive.expired()) SendToTray();
      return 1;
    }
  }
  return ui::CallWindowProc(saved, window, message, wParam, lParam);
}

bool TTrayIcon::AppWindowHook(ui::TMessage& message) {
  std::weak_ptr<const bool> alive = FAlive;
  switch (message.Msg) {
    case ui::WM_SIZE:
      if (message.WParam == ui::SIZE_MINIMIZED && FMinimizeToTray) SendToTray();
      break;
    case ui::WM_WINDOWPOSCHANGED:
      if (FWatchMdiStartup && ui::Application && ui::Application->MainForm()) {
        if (ui::Application->MainForm()->FormStyle() == ui::fsMDIForm) {
          if (!StartupShowsMainForm()) {
            if (alive.expired()) return false;
            HideAppButton();
          }
          if (alive.expired()) return false;
        }
        FWatchMdiStartup = false;
      }
      break;
    case ui::WM_SYSCOMMAND:
      if (message.WParam == ui::SC_RESTORE && ui::Application && ui::Application->MainForm()) {
        ui::Application->MainForm()->SetVisible(true);
      }
      break;
    default:
      break;
  }
  if (alive.expired()) return false;
  const ui::UINT taskbarCreated = TaskbarCreatedMessage();
  if (taskbarCreated != 0 && message.Msg == taskbarCreated && FIconVisible) AddToTray();
  return false;
}

}  // namespace tray
