// The frame component: taking the form over, the hook's three stages and
// its dispatch tables, the skin-change relay and the object list.
// Geometry, painting, the objects and the window behaviour are in the
// SkinForm.*.cpp parts.

#include "skin/form/SkinForm.h"

#include "core/Exception.h"
#include "skin/data/SkinBroadcast.h"
#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinUtils.h"
#include "ui/classlib/ExtCtrls.h"
#include "ui/classlib/Graphics.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Windows.h"

namespace skin {

using namespace ui;

namespace {

constexpr unsigned MorphInterval = 20;
constexpr unsigned MouseInterval = 50;
constexpr unsigned AnimateInterval = 25;

core::TComponentPtr<TTimer> MakeTimer(unsigned interval, std::function<void()> tick) {
  auto timer = core::CreateUnowned<TTimer>();
  timer->SetEnabled(false);
  timer->SetInterval(interval);
  timer->SetOnTimer([tick = std::move(tick)](core::TComponent*) { tick(); });
  return timer;
}

gfx::Font CaptionFont(gfx::Color color) {
  gfx::Font font;
  font.Name = "宋体";
  font.Style = gfx::FontStyle::Bold;
  font.Height = 14;
  font.Color = color;
  return font;
}

}  // namespace

void TskTrayIcon::ShowMainForm() {
  if (!Application) return;
  Application->Restore();
  if (TCustomForm* form = Application->MainForm()) {
    form->SetVisible(true);
    if (form->WindowState() == ui::wsMinimized) form->SetWindowState(ui::wsNormal);
  }
}

// ---- Taking over the form ---------------------------------------------------

TskSkinForm::TskSkinForm(core::TComponent* owner) : TComponent(owner) {
  DefCaptionFont = CaptionFont(ColorToRGB(clBtnText));
  DefInActiveCaptionFont = CaptionFont(ColorToRGB(clBtnShadow));
  DefMenuItemFont.Name = "宋体";
  FMorphTimer = MakeTimer(MorphInterval, [this] { MorphTimerTick(); });
  FMouseTimer = MakeTimer(MouseInterval, [this] { MouseTimerTick(); });
  // Animations are object kinds this frame does not make; the timer is
  // kept so the three timers start, stop and go together.
  FAnimateTimer = MakeTimer(AnimateInterval, [] {});
  FRestoreRect = TRect{};

  FForm = dynamic_cast<TCustomForm*>(owner);
  if (!FForm) throw core::EInvalidOperation("Invalid class typecast");
  FFormGuard = TControlGuard(FForm);
  FForm->SetBorderIcons(TBorderIcons{});
  // Main-menu accelerators would be matched here; this frame draws no
  // main menu, so it takes no shortcut.
  FForm->OnShortCut = [](TMessage&, bool&) {};
  FForm->SetAutoScroll(false);
  FillTrayMenu();
  FFormMenu = core::Create<TskSkinMenu>(*this);
  FFormMenu->SetForm(FForm);

  if (Designing()) return;
  FOldWindowProc = FForm->WindowProc();
  std::weak_ptr<const bool> alive = FAlive;
  FForm->SetWindowProc([this, alive](TMessage& message) {
    if (alive.expired()) return;
    SkinWindowProc(message);
  });
  // The new window loses WS_CAPTION at WM_NCCREATE (SkinWindowProc).
  if (FForm->HandleAllocated()) FForm->RecreateWnd();
}

TskSkinForm::~TskSkinForm() {
  FAlive.reset();
  StopTimers();
  if (FSD) FSD->RemoveFreeNotification(this);
  if (FMenusSkinData) FMenusSkinData->RemoveFreeNotification(this);
  if (FTrayIcon) FTrayIcon->RemoveFreeNotification(this);
  if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
  // A form being destroyed has already let its window go and is no longer
  // a control by the time its components are freed: it is left alone.
  if (!Designing() && FFormGuard.Alive() && !FForm->ComponentState().Contains(core::csDestroying)) {
    FForm->SetWindowProc(FOldWindowProc);
    if (HWND window = Handle()) {
      if (FFormRegion) SetWindowRgn(window, std::nullopt, true);
      SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  FFormRegion.reset();
  FObjectList.clear();
  FDefaultButtons.clear();
}

HWND TskSkinForm::Handle() const {
  if (!FForm || !FFormGuard.Alive() || !FForm->HandleAllocated()) return nullptr;
  return FForm->Handle();
}

gfx::Rect TskSkinForm::WindowBounds() const {
  gfx::Rect r;
  if (HWND window = Handle(); window && GetWindowRect(window, r)) return r;
  return FForm ? FForm->BoundsRect() : gfx::Rect{};
}

void TskSkinForm::SetSkinData(TskSkinData* value) {
  if (FSD == value) return;
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = value;
  if (FSD) FSD->FreeNotification(this);
  if (!Designing()) ApplySkin();
}

void TskSkinForm::SetMenusSkinData(TskSkinData* value) {
  if (FMenusSkinData) FMenusSkinData->RemoveFreeNotification(this);
  FMenusSkinData = value;
  if (FMenusSkinData) FMenusSkinData->FreeNotification(this);
}

void TskSkinForm::SetSkinHint(TskSkinHint* value) {
  if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
  FSkinHint = value;
  if (FSkinHint) FSkinHint->FreeNotification(this);
}

void TskSkinForm::Notification(core::TComponent* component, core::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FSD) {
    FSD = nullptr;
    // Objects point into the skin's pictures: they go with it.
    FSkinReady = false;
    FStripCache.Valid = false;
    StopTimers();
    FreeObjects();
  }
  if (component == FMenusSkinData) FMenusSkinData = nullptr;
  if (component == FTrayIcon) FTrayIcon = nullptr;
  if (component == FSkinHint) FSkinHint = nullptr;
}

bool TskSkinForm::SkinUsable() const {
  return SupportNCArea && FSD && !FSD->Empty() && !IsNullRect(FSD->FormInfo().ClientRect);
}

void TskSkinForm::StopTimers() {
  if (FMorphTimer) FMorphTimer->SetEnabled(false);
  if (FMouseTimer) FMouseTimer->SetEnabled(false);
  if (FAnimateTimer) FAnimateTimer->SetEnabled(false);
}

void TskSkinForm::EnableMorphTimer() { FMorphTimer->SetEnabled(true); }

void TskSkinForm::SendNCPaint() {
  if (HWND window = Handle()) SendMessage(window, WM_NCPAINT, 1, 0);
}

void TskSkinForm::CallOld(TMessage& message) {
  if (FOldWindowProc) FOldWindowProc(message);
}

// ---- The hook -----------------------------------------------------------------

void TskSkinForm::SkinWindowProc(TMessage& message) {
  std::weak_ptr<const bool> alive = FAlive;
  CloseMenusOnMessage(message);
  if (FirstDispatch(message) || alive.expired()) return;
  const int loops = FSizeMoveCount;
  CallOld(message);
  if (alive.expired()) return;
  SecondDispatch(message, loops != FSizeMoveCount ? SizeMoveRan::Yes : SizeMoveRan::No);
}

// Stage 1: the object hint and an open skin menu go when the window moves,
// sizes, loses the activation or is pressed anywhere, a child included.
void TskSkinForm::CloseMenusOnMessage(const TMessage& message) {
  switch (message.Msg) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE:
    case WM_MOUSEACTIVATE: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
      if (ShowObjectHint && FSkinHint) FSkinHint->HideHint();
      if (FFormMenu && FFormMenu->Visible()) FFormMenu->CloseAll();
      break;
    default: break;
  }
}

// Stage 2: true when the message is consumed (the form does not see it).
bool TskSkinForm::FirstDispatch(TMessage& message) {
  const bool framed = FForm->BorderStyle() != bsNone;
  switch (message.Msg) {
    case WM_NCCREATE:
      // Every new window of the form is made without the system caption.
      CallOld(message);
      if (HWND window = Handle()) SetWindowLong(window, GWL_STYLE, GetWindowLong(window, GWL_STYLE) & ~LONG_PTR(WS_CAPTION));
      return true;
    case WM_DESTROY:
      StopTimers();
      return false;
    case WM_SIZE: WMSize(message); return true;
    case WM_ACTIVATE: WMActivate(message); return true;
    case WM_SETTEXT: WMSetText(message); return true;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return true;
    case WM_SHOWWINDOW: WMShowWindow(message); return false;
    case WM_SETCURSOR: WMSetCursor(message); return false;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(message); return true;
    case WM_NCHITTEST: WMNCHitTest(message); return true;
    case WM_SYSCOMMAND:
      if ((message.WParam & SC_COMMAND_MASK) == SC_KEYMENU) {
        // Alt or F10: the frame draws no main menu to track, and the
        // system's window menu must not open either.
        message.Result = 0;
        return true;
      }
      return false;
    case WM_CONTEXTMENU: {
      // A right click on a caption object: the system menu at the pointer,
      // as a skin menu, in place of the window system's window menu.
      const gfx::Point screen = PointFromLParam(message.LParam);
      if (!FSkinReady || (screen.X == -1 && screen.Y == -1)) return false;
      if (SendMessage(Handle(), WM_NCHITTEST, 0, message.LParam) != HTCAPTION) return false;
      ShowSystemMenu(screen.X, screen.Y);
      return true;
    }
    case WM_TIMER:
      if (message.WParam != 1) return false;
      WMTimer(message);
      return true;
    case WM_SIZING: WMSizing(message); return true;
    case WM_MOVING: WMMoving(message); return true;
    case WM_ENTERSIZEMOVE: WMEnterSizeMove(); return false;
    case WM_EXITSIZEMOVE: WMExitSizeMove(); return false;
    case WM_NCCALCSIZE: WMNCCalcSize(message); return true;
    case WM_NCPAINT:
      if (framed) {
        if (FSkinReady) PaintSkinFrame();
        else PaintDefaultFrame();
      }
      message.Result = 0;
      return true;
    case WM_NCACTIVATE:
      message.Result = 1;
      if (framed) SendNCPaint();
      UpdateCaptionsActiveLook(true);
      return true;
    case WM_SYNCPAINT:
      if (!FRollUpState) return false;
      SendNCPaint();
      message.Result = 0;
      return true;
    case WMSKIN_BEFORECHANGE: WMSkinBeforeChange(message); return false;
    case WMSKIN_CHANGED: WMSkinChanged(message); return false;
    case WMSKIN_MENUCLOSED: WMSkinMenuClosed(); return false;
    case WMSKIN_RESSTRCHANGED: AssignDefaultHints(); return false;
    default: return false;
  }
}

// Stage 3: mouse over the frame, after the form's own handling (which ran
// the system's move or size loop for a caption or border press).
void TskSkinForm::SecondDispatch(TMessage& message, SizeMoveRan sizeMoveRan) {
  switch (message.Msg) {
    case WM_NCMOUSEMOVE: {
      auto& list = Objects();
      int index = FMouseCaptureObject >= 0 ? FMouseCaptureObject : FActiveObject;
      if (index >= 0 && index < int(list.size())) {
        gfx::Point p = ToWindow(PointFromLParam(message.LParam));
        list[index]->MouseMove(p.X, p.Y);
      }
      break;
    }
    case WM_MOUSEMOVE:
      // While an object holds the capture the window system sends client
      // messages and no hit tests: follow the pointer here, so that
      // leaving the held object is seen before a quick release.
      if (FMouseCaptureObject >= 0 && GetCapture() == Handle()) {
        gfx::Point screen = PointFromLParam(message.LParam);
        ClientToScreen(Handle(), screen);
        gfx::Point p = ToWindow(screen);
        TestActive(p.X, p.Y, true);
      }
      break;
    case WM_NCLBUTTONDOWN:
      // A press that ran the system's move or size loop is the loop's.
      if (sizeMoveRan == SizeMoveRan::Yes) {
        FInSizeMove = false;
        break;
      }
      MouseButtonDown(message, mbLeft);
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: MouseButtonDown(message, mbRight); break;
    case WM_NCLBUTTONDBLCLK: {
      MouseButtonDown(message, mbLeft);
      std::weak_ptr<const bool> alive = FAlive;
      auto& list = Objects();
      if (FActiveObject >= 0 && FActiveObject < int(list.size())) list[FActiveObject]->DblClick();
      if (alive.expired()) return;
      if (LRESULT(message.WParam) == HTCAPTION) CaptionDoubleClick();
      break;
    }
    case WM_NCLBUTTONUP: MouseButtonUp(message, mbLeft, false); break;
    case WM_NCRBUTTONUP: MouseButtonUp(message, mbRight, false); break;
    case WM_LBUTTONUP: MouseButtonUp(message, mbLeft, true); break;
    case WM_RBUTTONUP: MouseButtonUp(message, mbRight, true); break;
    case WM_LBUTTONDBLCLK:
      if (FMouseCaptureObject >= 0) MouseButtonUp(message, mbLeft, true);
      break;
    default: break;
  }
}

// ---- First-dispatch rows ----------------------------------------------------------

void TskSkinForm::WMSize(TMessage& message) {
  if (FInSizeMove && FFullDragWindows) {
    // The frame followed WM_SIZING already.
    if (!LogoBitMap.IsEmpty()) FForm->Invalidate();
    CallOld(message);
    return;
  }
  CallOld(message);
  gfx::Rect bounds = WindowBounds();
  FFrameWidth = bounds.Width();
  FFrameHeight = bounds.Height();
  if (FSkinReady && FSD && FFrameWidth >= MinimumWidth() && FFrameHeight >= MinimumHeight()) {
    UpdateFrame(Rebuild::Yes);
  }
  if (FAlphaBlend && FAlphaBlendValue != 255) {
    SendNCPaint();
    FForm->Invalidate();
  }
}

void TskSkinForm::WMActivate(TMessage& message) {
  std::weak_ptr<const bool> alive = FAlive;
  CallOld(message);
  if (alive.expired()) return;
  // The objects lose their hover first, so the repaint shows them normal.
  TestActive(-1, -1, true);
  ResetObjects();
  SendNCPaint();
  UpdateCaptionsActiveLook(true);
}

void TskSkinForm::WMSetText(TMessage& message) {
  CallOld(message);
  if (FForm->BorderStyle() == bsNone) return;
  SendNCPaint();
  if (!FSkinReady) return;
  const std::string text = GetWindowText(Handle());
  for (auto& object : FObjectList) {
    if (auto* caption = dynamic_cast<TskSkinCaptionObject*>(object.get()); caption && caption->DefaultCaption) {
      caption->SetCaptionText(text);
    }
  }
}

void TskSkinForm::WMEraseBkgnd(TMessage& message) {
  PaintClientBackground(reinterpret_cast<HDC>(message.WParam));
  message.Result = 1;
}

void TskSkinForm::WMSkinBeforeChange(TMessage& message) {
  auto* source = reinterpret_cast<TskSkinData*>(message.WParam);
  if (source && source == FSD) {
    FSkinReady = false;
    FStripCache.Valid = false;
    StopTimers();
    FreeObjects();
    // Until a new skin comes (a failed load sends nothing more) the window
    // has the plain frame: no region, the plain client area.
    UpdateRegion(Stretch::Yes);
    if (HWND window = Handle()) {
      SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      SendNCPaint();
    }
  }
  RelaySkinChange(*FForm, WMSKIN_BEFORECHANGE, source);
}

void TskSkinForm::WMSkinChanged(TMessage& message) {
  auto* source = reinterpret_cast<TskSkinData*>(message.WParam);
  std::weak_ptr<const bool> alive = FAlive;
  if (source && source == FSD) ApplySkin();
  if (alive.expired()) return;
  RelaySkinChange(*FForm, WMSKIN_CHANGED, source);
}

void TskSkinForm::WMSkinMenuClosed() {
  if (FMouseCaptureObject >= 0 && FMouseCaptureObject < int(FObjectList.size())) {
    if (auto* button = dynamic_cast<TskSkinButtonObject*>(FObjectList[FMouseCaptureObject].get());
        button && button->Down && !button->MenuItem.empty()) {
      button->SetDown(false);
    }
    FMouseCaptureObject = -1;
    // No release will come for that object now: its capture goes too.
    if (GetCapture() == Handle()) ReleaseCapture();
  }
  if (OnSkinMenuClose) OnSkinMenuClose(this);
}

// ---- Object list ----------------------------------------------------------------------

void TskSkinForm::FreeObjects() {
  FObjectList.clear();
  FActiveObject = FOldActiveObject = FMouseCaptureObject = -1;
}

void TskSkinForm::BuildObjectList() {
  FreeObjects();
  if (!FSD) return;
  for (const auto& data : FSD->SkinObjects()) {
    const TskDataSkinObject* raw = data.get();
    std::unique_ptr<TskActiveSkinObject> object;
    // Most derived data classes first: a standard button is a button too.
    if (dynamic_cast<const TskDataSkinMainMenuBarButton*>(raw)) {
      continue;
    } else if (auto* std = dynamic_cast<const TskDataSkinStdButton*>(raw)) {
      object = std::make_unique<TskSkinStdButtonObject>(*this, std);
    } else if (auto* button = dynamic_cast<const TskDataSkinButton*>(raw)) {
      object = std::make_unique<TskSkinButtonObject>(*this, button);
    } else if (auto* caption = dynamic_cast<const TskDataSkinCaption*>(raw)) {
      object = std::make_unique<TskSkinCaptionObject>(*this, caption);
    } else if (dynamic_cast<const TskDataUserObject*>(raw)) {
      object = std::make_unique<TskUserObject>(*this, raw);
    }
    // Menu items, main-menu-bar entries and the object kinds this frame
    // does not draw (gauges, switches, labels ...) make no object.
    if (object) FObjectList.push_back(std::move(object));
  }
  AfterObjectsBuilt();
}

namespace {

bool CommandAllowed(TskStdCommand command, TskBorderIcons icons) {
  switch (command) {
    case TskStdCommand::cmMinimizeToTray: return icons.Contains(biMinimizeToTray);
    case TskStdCommand::cmRollUp: return icons.Contains(biRollUp);
    case TskStdCommand::cmMaximize: return icons.Contains(biMaximize);
    case TskStdCommand::cmMinimize: return icons.Contains(biMinimize);
    case TskStdCommand::cmSysMenu: return icons.Contains(biSystemMenu);
    default: return true;
  }
}

}  // namespace

void TskSkinForm::AfterObjectsBuilt() {
  const std::string text = Handle() ? GetWindowText(Handle()) : FForm->Caption();
  bool anyDefaultCaption = false;
  for (auto& object : FObjectList) {
    if (auto* button = dynamic_cast<TskSkinStdButtonObject*>(object.get())) {
      if (HideCaptionButtons || !CommandAllowed(button->Command, FBorderIcons)) {
        button->Enabled = false;
        // A look of its own would leave nothing behind; one that is part
        // of the frame picture stays, so the picture has no hole.
        button->Visible = !button->SkinRectInAPicture;
      }
      if (button->Command == TskStdCommand::cmDefault) {
        bool active = false;
        if (OnActivateCustomObject) OnActivateCustomObject(button->IDName, active);
        button->Visible = active;
      }
    } else if (auto* caption = dynamic_cast<TskSkinCaptionObject*>(object.get())) {
      if (caption->DefaultCaption) {
        caption->CaptionText = text;
        anyDefaultCaption = true;
      }
    }
  }
  if (!anyDefaultCaption) {
    for (auto& object : FObjectList) {
      if (auto* caption = dynamic_cast<TskSkinCaptionObject*>(object.get())) {
        caption->DefaultCaption = true;
        caption->CaptionText = text;
        break;
      }
    }
  }
  AssignDefaultHints();
}

std::string TskSkinForm::ResourceString(const char* key, const char* builtIn) const {
  if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->GetResStr(key);
  return builtIn;
}

void TskSkinForm::AssignDefaultHints() {
  if (!UseDefaultObjectHint || !FSD) return;
  for (auto& object : FObjectList) {
    auto* button = dynamic_cast<TskSkinStdButtonObject*>(object.get());
    if (!button) continue;
    switch (button->Command) {
      case TskStdCommand::cmClose: button->Hint = ResourceString("CLOSEBUTTON_HINT", "关闭"); break;
      case TskStdCommand::cmMaximize: button->Hint = ResourceString("MAXBUTTON_HINT", "最大化"); break;
      case TskStdCommand::cmMinimize: button->Hint = ResourceString("MINBUTTON_HINT", "最小化"); break;
      case TskStdCommand::cmSysMenu: button->Hint = ResourceString("MENUBUTTON_HINT", "系统菜单"); break;
      case TskStdCommand::cmRollUp: button->Hint = ResourceString("ROLLUPBUTTON_HINT", "卷起"); break;
      case TskStdCommand::cmMinimizeToTray:
        button->Hint = ResourceString("TRAYBUTTON_HINT", "最小化到系统托盘区");
        break;
      default: break;
    }
  }
}

bool TskSkinForm::TakesPart(const TskActiveSkinObject& object) const {
  // In the non-client mode the roll-up objects belong to the client-area
  // mode's rolled-up look only.
  return !object.RollUp && object.Visible;
}

void TskSkinForm::ResetObjects() {
  for (auto& object : Objects()) {
    if (dynamic_cast<TskSkinCaptionObject*>(object.get())) continue;
    object->Active = false;
    object->MouseIn = false;
    object->MorphKf = 0;
    if (auto* button = dynamic_cast<TskSkinButtonObject*>(object.get())) button->Down = false;
  }
}

void TskSkinForm::UpdateCaptionsActiveLook(bool update) {
  const bool active = FormActive();
  for (auto& object : FObjectList) {
    auto* caption = dynamic_cast<TskSkinCaptionObject*>(object.get());
    if (!caption) continue;
    if (update && TakesPart(*caption)) {
      caption->Active = active;
      // Without an active look the frame repaint of the activation shows
      // the caption already.
      if (!IsNullRect(caption->ActiveSkinRect) && caption->ActivePicture) caption->Changed();
    } else if (caption->MorphApplies()) {
      caption->MorphKf = active ? 1 : 0;
    }
  }
  if (active) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeActivate) {
    OnDeActivate(this);
  }
}

// ---- Timers -------------------------------------------------------------------------

void TskSkinForm::MorphTimerTick() {
  bool stepped = false;
  for (auto& object : FObjectList) {
    if (!object->MorphApplies() || !object->NeedsMorphStep()) continue;
    stepped = true;
    object->MorphKf += object->Active ? 0.2 : -0.2;
    if (object->MorphKf > 1) object->MorphKf = 1;
    if (object->MorphKf < 0) object->MorphKf = 0;
    RedrawObject(*object);
  }
  if (!stepped) FMorphTimer->SetEnabled(false);
}

}  // namespace skin
