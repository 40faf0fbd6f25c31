#include "tray/TrayIcon.h"

#include <algorithm>
#include <utility>

#include "tray/MessageWindow.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/ImgList.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/NotifyIconBridge.h"
#include "ui/windowing/Windows.h"

namespace tray {

namespace {

constexpr ui::UINT WM_QUERYENDSESSION = 0x0011;
constexpr ui::UINT WM_ENDSESSION = 0x0016;

// Destroyed at program end if a tray icon was never freed.
std::unique_ptr<TTrayIconHandler> SharedHandler;

// The system's logo, for an empty icon previewed in a designer: four
// coloured squares.
gfx::Bitmap StockLogo() {
  gfx::Bitmap logo(32, 32);
  const gfx::Pixel colours[4] = {gfx::MakePixel(0xF2, 0x50, 0x22), gfx::MakePixel(0x7F, 0xBA, 0x00),
                                 gfx::MakePixel(0x00, 0xA4, 0xEF), gfx::MakePixel(0xFF, 0xB9, 0x00)};
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) logo.SetPixel(x, y, colours[(y / 16) * 2 + x / 16]);
  }
  return logo;
}

}  // namespace

ui::UINT TaskbarCreatedMessage() {
  static const ui::UINT message = ui::RegisterWindowMessage(ui::TaskbarCreatedMessageName);
  return message;
}

// ---- TTrayIconHandler ------------------------------------------------------

TTrayIconHandler* TTrayIconHandler::Instance() { return SharedHandler.get(); }

TTrayIconHandler& TTrayIconHandler::Acquire(TTrayIcon* icon) {
  if (!SharedHandler) {
    SharedHandler.reset(new TTrayIconHandler);
    SharedHandler->FHandle = CreateMessageWindow(&TTrayIconHandler::WindowProcedure);
  }
  ++SharedHandler->FUserCount;
  SharedHandler->FIcons.insert(icon->FIconKey);
  return *SharedHandler;
}

void TTrayIconHandler::Release(TTrayIcon* icon) {
  if (!SharedHandler) return;
  SharedHandler->FIcons.erase(icon->FIconKey);
  if (SharedHandler->FUserCount > 0) --SharedHandler->FUserCount;
  if (SharedHandler->FUserCount == 0) SharedHandler.reset();
}

TTrayIconHandler::~TTrayIconHandler() {
  ui::HWND window = FHandle;
  FHandle = nullptr;
  DestroyMessageWindow(window);
}

ui::LRESULT TTrayIconHandler::WindowProcedure(ui::HWND window, ui::UINT message, ui::WPARAM wParam,
                                              ui::LPARAM lParam) {
  switch (message) {
    case TrayCallbackMessage:
      if (SharedHandler && SharedHandler->FIcons.contains(wParam)) {
        reinterpret_cast<TTrayIcon*>(wParam)->HandleIconMessage(lParam);
      }
      return 0;
    // The window lives as long as the icons need it, whatever the system
    // asks of it.
    case ui::WM_DESTROY:
    case ui::WM_CLOSE:
    case WM_QUERYENDSESSION:
    case ui::WM_QUIT:
    case WM_ENDSESSION:
    case ui::WM_NCDESTROY:
      return 1;
    default:
      return ui::DefWindowProc(window, message, wParam, lParam);
  }
}

// ---- Construction and destruction ----------------------------------------

TTrayIcon::TTrayIcon(core::TComponent* owner) : core::TComponent(owner) {
  FIconKey = reinterpret_cast<std::uintptr_t>(this);
  TTrayIconHandler& handler = TTrayIconHandler::Acquire(this);
  FWatchMdiStartup = true;
  FEnabled = true;
  FShowHint = true;
  FApplyingPreview = false;

  FIcon.OnChange = [this](ui::TGraphic*) { UpdateInTray(); };

  FShellData = platform::NotifyIconData{};
  FShellData.Owner = reinterpret_cast<std::uintptr_t>(handler.Handle());
  FShellData.Id = FIconKey;
  FShellData.Flags = DefaultShellFlags;
  FShellData.CallbackMessage = TrayCallbackMessage;

  FIconCycleTimer = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer* t) { IconCycleTick(t); });
  FClickDelayTimer = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer* t) { ClickDelayTick(t); });
  FLeavePollTimer = std::make_unique<TSimpleTimer>(20, [this](TSimpleTimer* t) { LeavePollTick(t); });

  FPointerOutside = true;
  SetDesignPreview(FDesignPreview);

  if (Designing()) return;
  if (ui::Application) {
    // The application window exists from the start in a running program;
    // the hook only sees what reaches it.
    ui::Application->Handle();
    FAppHookId = ui::Application->HookMainWindow([this](ui::TMessage& message) { return AppWindowHook(message); });
  }
  if (auto* control = dynamic_cast<ui::TWinControl*>(owner)) {
    FOwnerWindow = control->Handle();
    if (FOwnerWindow) {
      FOwnerHook = std::make_shared<OwnerHookState>();
      FOwnerHook->Icon = this;
      FOwnerHookProc = ui::MakeWindowProc(
          [state = FOwnerHook](ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
            if (state->Icon) return state->Icon->OwnerWindowHook(window, message, wParam, lParam);
            return ui::CallWindowProc(state->SavedOwnerProc, window, message, wParam, lParam);
          });
      FOwnerHook->SavedOwnerProc = ui::SetWindowProc(FOwnerWindow, FOwnerHookProc);
    }
  }
}

TTrayIcon::~TTrayIcon() {
  try {
    SetIconVisible(false);
    SetDesignPreview(false);
    FIconCycleTimer.reset();
    FClickDelayTimer.reset();
    FLeavePollTimer.reset();
    FIcon.OnChange = nullptr;
  } catch (...) {
    // Nothing of the above may keep the hooks in place.
  }
  if (!Designing()) {
    if (FAppHookId && ui::Application) ui::Application->UnhookMainWindow(FAppHookId);
    FAppHookId = 0;
    if (FOwnerHook) {
      FOwnerHook->Icon = nullptr;
      // Hooks come out in the reverse order they went in: only the
      // outermost one can put the saved procedure back.
      if (ui::GetWindowProc(FOwnerWindow) == FOwnerHookProc) {
        ui::SetWindowProc(FOwnerWindow, FOwnerHook->SavedOwnerProc);
      }
    }
  }
  TTrayIconHandler::Release(this);
}

bool TTrayIcon::Designing() const { return ComponentState().Contains(core::csDesigning); }

void TTrayIcon::Loaded() {
  core::TComponent::Loaded();
  std::weak_ptr<const bool> alive = FAlive;
  if (dynamic_cast<ui::TWinControl*>(Owner()) && !Designing()) {
    if (!StartupShowsMainForm()) {
      if (alive.expired()) return;
      if (ui::Application) ui::Application->SetShowMainForm(false);
      HideMainWindow();
    }
    if (alive.expired()) return;
  }
  UpdateInTray();
  SetIconVisible(FIconVisible);
  SetCycleIcons(FCycleIcons);
  SetWantEnterExitEvents(FWantEnterExitEvents);
  SetShellVersion();
}

void TTrayIcon::Notification(core::TComponent* component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FIconList) {
    FIconList = nullptr;
    SetIconIndex(0);
  }
  if (component == FPopupMenu) FPopupMenu = nullptr;
}

// ---- Properties -------------------------------------------------------------

void TTrayIcon::SetDesignPreview(bool value) {
  FDesignPreview = value;
  FApplyingPreview = true;
  if (Designing()) {
    if (FIcon.Empty() && WantsDefaultIcon()) FIcon.SetPicture(StockLogo());
    SetIconVisible(value);
  }
  FApplyingPreview = false;
}

void TTrayIcon::SetIconList(ui::TImageList* list) {
  if (FIconList != list) {
    if (FIconList) FIconList->RemoveFreeNotification(this);
    FIconList = list;
    if (FIconList) FIconList->FreeNotification(this);
  }
  SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool value) {
  FCycleIcons = value;
  if (value) {
    SetIconIndex(0);
    FIconCycleTimer->SetPeriod(FCycleInterval);
    FIconCycleTimer->SetRunning(true);
  } else {
    FIconCycleTimer->SetRunning(false);
  }
}

void TTrayIcon::SetCycleInterval(std::uint32_t value) {
  FCycleInterval = value;
  SetCycleIcons(FCycleIcons);
}

void TTrayIcon::SetHint(const std::string& value) {
  FHint = value;
  UpdateInTray();
}

void TTrayIcon::SetShowHint(bool value) {
  FShowHint = value;
  UpdateInTray();
}

void TTrayIcon::SetIcon(const ui::TIcon& icon) {
  auto notify = std::move(FIcon.OnChange);
  FIcon.OnChange = nullptr;
  FIcon.Assign(icon);
  FIcon.OnChange = std::move(notify);
  UpdateInTray();
}

void TTrayIcon::SetIconVisible(bool value) {
  if (value) {
    AddToTray();
  } else {
    RemoveFromTray();
  }
}

void TTrayIcon::SetIconIndex(int value) {
  if (FIconList) {
    const int count = FIconList->Count();
    // An index past the end shows the last picture; an empty list (or a
    // negative index) has none to show, and the index stays at 0.
    if (value >= count) value = count - 1;
    if (value < 0) value = 0;
    FIconIndex = value;
    if (count > 0) FIconList->GetIcon(value, FIcon);
  } else {
    FIconIndex = 0;
  }
  UpdateInTray();
}

void TTrayIcon::SetPopupMenu(ui::TPopupMenu* menu) {
  if (FPopupMenu == menu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = menu;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TTrayIcon::SetWantEnterExitEvents(bool value) {
  FWantEnterExitEvents = value;
  FLeavePollTimer->SetRunning(value);
}

// ---- Shell calls ------------------------------------------------------------

bool TTrayIcon::PrepareShellData() {
  const bool allowed = !Designing() || FApplyingPreview || FDesignPreview;
  if (!allowed) return false;
  // The layout is still being read: the loading hook makes the calls once
  // every property is known.
  if (ComponentState().Contains(core::csLoading)) return false;
  FShellData.Icon = FIcon.Picture();
  if (!FHint.empty() && FShowHint) {
    FShellData.Tip = platform::CutNotifyText(FHint, MaxTipLength);
  } else {
    FShellData.Tip.clear();
  }
  return true;
}

bool TTrayIcon::AddToTray() {
  if (!FApplyingPreview) FIconVisible = true;
  if (Designing() && !FApplyingPreview) return false;
  if (!PrepareShellData()) return false;
  return ui::Shell_NotifyIcon(platform::NIM_ADD, FShellData);
}

bool TTrayIcon::RemoveFromTray() {
  if (!FApplyingPreview) FIconVisible = false;
  if (Designing() && !FApplyingPreview) return false;
  if (!PrepareShellData()) return false;
  return ui::Shell_NotifyIcon(platform::NIM_DELETE, FShellData);
}

bool TTrayIcon::UpdateInTray() {
  if (!PrepareShellData()) return false;
  return ui::Shell_NotifyIcon(platform::NIM_MODIFY, FShellData);
}

bool TTrayIcon::WantsDefaultIcon() { return true; }

void TTrayIcon::SetShellVersion() {
  FShellData.Version = platform::NotifyIconClassicVersion;
  ui::Shell_NotifyIcon(platform::NIM_SETVERSION, FShellData);
}

bool TTrayIcon::HideBalloonMessage() {
  FShellData.Flags |= platform::NIF_INFO;
  FShellData.Info.clear();
  const bool result = UpdateInTray();
  // Later updates do not carry the balloon fields again.
  FShellData.Flags = DefaultShellFlags;
  return result;
}

bool TTrayIcon::ShowBalloonMessage(const std::string& Title, const std::string& Text, TBalloonKind Kind,
                                   std::uint8_t TimeoutSeconds) {
  HideBalloonMessage();
  FShellData.Flags |= platform::NIF_INFO;
  FShellData.Info = platform::CutNotifyText(Text, MaxBalloonTextLength);
  FShellData.InfoTitle = platform::CutNotifyText(Title, MaxBalloonTitleLength);
  FShellData.Timeout = std::uint32_t(TimeoutSeconds) * 1000;
  FShellData.InfoKind = platform::TBalloonKind(Kind);
  const bool result = UpdateInTray();
  FShellData.Flags = DefaultShellFlags;
  return result;
}

// ---- Event raisers ----------------------------------------------------------

void TTrayIcon::FireClick() {
  if (OnClick) OnClick(this);
}

void TTrayIcon::FireDblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::FireCycle(int NextIndex) {
  if (OnCycle) OnCycle(this, NextIndex);
}

void TTrayIcon::FireMouseDown(ui::TMouseButton Button, ui::TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TTrayIcon::FireMouseUp(ui::TMouseButton Button, ui::TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TTrayIcon::FireMouseMove(ui::TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TTrayIcon::FireMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TTrayIcon::FireMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}

}  // namespace tray
