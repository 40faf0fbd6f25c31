#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>

#include "core/Component.h"
#include "platform/NotifyIcon.h"
#include "tray/BalloonKind.h"
#include "tray/SimpleTimer.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/Graphics.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {
class TImageList;
class TPopupMenu;
template <class T>
class TPropertyList;
}  // namespace ui

namespace tray {

// NextIndex: the picture of IconList the icon shows after this step.
using TCycleEvent = ui::TMethod<void(core::TComponent* Sender, int NextIndex)>;
// Setting ShowMainForm to false starts the program in the tray.
using TStartupEvent = ui::TMethod<void(core::TComponent* Sender, bool& ShowMainForm)>;

// The message every icon's notices arrive with on the shared window.
constexpr ui::UINT TrayCallbackMessage = 0x0800;  // WM_USER + 0x400
// The message that says the notification area started again and lost its
// icons (0 when the system cannot announce it).
ui::UINT TaskbarCreatedMessage();

// The flags of every ordinary shell call: callback message, icon, tip.
constexpr std::uint32_t DefaultShellFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
// The longest texts the record carries, in characters.
constexpr std::size_t MaxTipLength = 127;
constexpr std::size_t MaxBalloonTextLength = 255;
constexpr std::size_t MaxBalloonTitleLength = 63;

// An icon in the notification area, owned by a form. It keeps the icon
// there (again after the area restarts), turns the area's mouse and balloon
// notices into events, shows balloon messages, can step the icon through
// the pictures of an image list, reports the pointer entering and leaving
// the icon, and can send the main window to the tray when it is minimised.
//
// Shell calls report success and nothing else: nothing here raises or shows
// an error for them. While the layout is being read no shell call is made;
// the loading hook adds the icon once every property is known.
//
// Event handlers may destroy the component; it touches nothing of itself
// after an event whose handler did.
class TTrayIcon : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(ui::TPropertyList<TTrayIcon>& list);

  explicit TTrayIcon(core::TComponent* owner);
  ~TTrayIcon() override;

  // ---- Properties ----
  // Only meaningful inside a visual designer: shows the icon there.
  bool DesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(bool value);
  // Pictures for cycling and IconIndex; setting it selects picture 0.
  ui::TImageList* IconList() const { return FIconList; }
  void SetIconList(ui::TImageList* list);
  // Steps through IconList every CycleInterval milliseconds, from 0.
  bool CycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool value);
  std::uint32_t CycleInterval() const { return FCycleInterval; }
  // Restarts cycling at picture 0 when it is on.
  void SetCycleInterval(std::uint32_t value);
  // False ignores every mouse notice (balloon notices still raise events).
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  // False shows no tooltip whatever Hint says.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  // The picture shown; every change of it updates the tray.
  ui::TIcon* Icon() { return &FIcon; }
  void SetIcon(const ui::TIcon& icon);
  bool IconVisible() const { return FIconVisible; }
  // true adds the icon to the area, false removes it.
  void SetIconVisible(bool value);
  int IconIndex() const { return FIconIndex; }
  // Shows that picture of IconList (an index past the end shows the last
  // one); 0 without a list.
  void SetIconIndex(int value);
  ui::TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(ui::TPopupMenu* menu);
  // The left button opens PopupMenu too.
  bool LeftPopup() const { return FLeftPopup; }
  void SetLeftPopup(bool value) { FLeftPopup = value; }
  // Reports OnMouseEnter and OnMouseExit (by polling the pointer every
  // 20 ms, since the area reports moves only).
  bool WantEnterExitEvents() const { return FWantEnterExitEvents; }
  void SetWantEnterExitEvents(bool value);
  // Minimising the main window hides it and shows the icon.
  bool MinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }

  // ---- Events ----
  ui::TNotifyEvent OnClick;
  // Assigned, it delays OnClick by one double-click time, so that a double
  // click gives OnDblClick alone.
  ui::TNotifyEvent OnDblClick;
  // X, Y: the pointer on the screen.
  ui::TMouseEvent OnMouseDown;
  ui::TMouseEvent OnMouseUp;
  ui::TMouseMoveEvent OnMouseMove;
  ui::TNotifyEvent OnMouseEnter;
  ui::TNotifyEvent OnMouseExit;
  TCycleEvent OnCycle;
  ui::TNotifyEvent OnBalloonHintShow;
  ui::TNotifyEvent OnBalloonHintHide;
  ui::TNotifyEvent OnBalloonHintTimeout;
  ui::TNotifyEvent OnBalloonHintClick;
  ui::TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

  // ---- Operations ----
  // Replaces a shown balloon by this one: Title cut to 63 characters, Text
  // to 255, shown for TimeoutSeconds. False when the area refused it (for
  // example while the icon is not in the area).
  bool ShowBalloonMessage(const std::string& Title, const std::string& Text, TBalloonKind Kind,
                          std::uint8_t TimeoutSeconds);
  // Removes a shown balloon; false when the area refused.
  bool HideBalloonMessage();

  // Answers whether an empty icon gets the system's logo in a designer.
  virtual bool WantsDefaultIcon();
  // Each makes one shell call and answers whether it succeeded. AddToTray
  // and RemoveFromTray also set IconVisible; UpdateInTray sends the current
  // record whether or not the icon is in the area.
  virtual bool AddToTray();
  virtual bool RemoveFromTray();
  virtual bool UpdateInTray();

  // The record the shell calls carry, and the icon's id in it (this
  // object's address).
  const platform::NotifyIconData& ShellData() const { return FShellData; }
  std::uintptr_t IconKey() const { return FIconKey; }

  void Loaded() override;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

  // ---- Event raisers; each calls its event when assigned ----
  virtual void FireClick();
  virtual void FireDblClick();
  virtual void FireCycle(int NextIndex);
  virtual void FireMouseDown(ui::TMouseButton Button, ui::TShiftState Shift, int X, int Y);
  virtual void FireMouseUp(ui::TMouseButton Button, ui::TShiftState Shift, int X, int Y);
  virtual void FireMouseMove(ui::TShiftState Shift, int X, int Y);
  virtual void FireMouseEnter();
  virtual void FireMouseExit();
  // Hides the main window, then shows the icon.
  virtual void SendToTray();

 private:
  friend class TTrayIconHandler;
  // What the owner window's hook needs. The hook holds it, so a hook that
  // cannot be taken out of the chain (a later hook sits in front of it)
  // still passes messages on after the tray icon is gone.
  struct OwnerHookState {
    TTrayIcon* Icon = nullptr;
    ui::WNDPROC SavedOwnerProc;
  };

  bool Designing() const;
  bool PrepareShellData();
  void SetShellVersion();
  // A notice of the area about this icon (the callback's lParam).
  void HandleIconMessage(ui::LPARAM notice);
  void PopupAtCursor();
  void ClickDefaultMenuItem();
  // Timer ticks.
  void IconCycleTick(TSimpleTimer* Sender);
  void ClickDelayTick(TSimpleTimer* Sender);
  void LeavePollTick(TSimpleTimer* Sender);
  // Hooks of the owner's window and the application's window.
  ui::LRESULT OwnerWindowHook(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);
  bool AppWindowHook(ui::TMessage& message);
  void HideMainWindow();
  void HideAppButton();
  bool StartupShowsMainForm();

  // ---- Published values ----
  bool FDesignPreview = false;
  ui::TImageList* FIconList = nullptr;
  bool FCycleIcons = false;
  std::uint32_t FCycleInterval = 0;
  bool FEnabled = true;
  std::string FHint;
  bool FShowHint = true;
  ui::TIcon FIcon;
  bool FIconVisible = false;
  int FIconIndex = 0;
  ui::TPopupMenu* FPopupMenu = nullptr;
  bool FLeftPopup = false;
  bool FWantEnterExitEvents = false;
  bool FMinimizeToTray = false;

  // ---- Internal state ----
  std::uintptr_t FIconKey = 0;
  bool FLeftButtonHeld = false;
  bool FClickPending = false;
  std::unique_ptr<TSimpleTimer> FIconCycleTimer;
  std::unique_ptr<TSimpleTimer> FClickDelayTimer;
  std::unique_ptr<TSimpleTimer> FLeavePollTimer;
  int FLastPointerX = 0;
  int FLastPointerY = 0;
  bool FPointerOutside = true;
  bool FDoubleClickSeen = false;
  bool FApplyingPreview = false;
  bool FWatchMdiStartup = true;
  // The owner's window and its procedure before the hook; the hook reaches
  // this object through the shared state, which forgets it when it goes.
  ui::HWND FOwnerWindow = nullptr;
  std::shared_ptr<OwnerHookState> FOwnerHook;
  ui::WNDPROC FOwnerHookProc;
  int FAppHookId = 0;
  platform::NotifyIconData FShellData;
  // Expires with the object: code that fired an event checks it before
  // touching the object again.
  std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);
};

// Lets stored layouts create TTrayIcon. Safe to call more than once.
void RegisterTrayClasses();

// The hidden window every tray icon's notices arrive at, shared by all
// instances: the first one creates it, the last one destroys it. The
// notice's wParam is the icon's id, which is the instance itself.
class TTrayIconHandler {
 public:
  // The shared handler, nullptr while no tray icon exists.
  static TTrayIconHandler* Instance();

  std::uint32_t UserCount() const { return FUserCount; }
  ui::HWND Handle() const { return FHandle; }

  ~TTrayIconHandler();
  TTrayIconHandler(const TTrayIconHandler&) = delete;
  TTrayIconHandler& operator=(const TTrayIconHandler&) = delete;

 private:
  friend class TTrayIcon;
  TTrayIconHandler() = default;

  static TTrayIconHandler& Acquire(TTrayIcon* icon);
  static void Release(TTrayIcon* icon);
  static ui::LRESULT WindowProcedure(ui::HWND window, ui::UINT message, ui::WPARAM wParam,
                                     ui::LPARAM lParam);

  std::uint32_t FUserCount = 0;
  ui::HWND FHandle = nullptr;
  // The live icons: a notice naming none of them is ignored.
  std::unordered_set<std::uintptr_t> FIcons;
};

}  // namespace tray
