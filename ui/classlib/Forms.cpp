#include "ui/classlib/Forms.h"

#include <algorithm>
#include <functional>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/PathUtils.h"
#include "platform/VirtualKeys.h"
#include "ui/windowing/DefaultFrame.h"
#include "ui/classlib/Dialogs.h"
#include "ui/windowing/Input.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/WindowStyles.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace ui {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// A component that runs a callback when the component it watches starts
// going away: free notifications go out before the owned components are
// destroyed.
class TDestroyNotice : public core::TComponent {
 public:
  explicit TDestroyNotice(core::TComponent* owner) : core::TComponent(owner) {}
  core::TComponent* Watched = nullptr;
  std::function<void()> OnGone;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override {
    if (operation == core::opRemove && component == Watched && OnGone) {
      auto callback = std::move(OnGone);
      OnGone = nullptr;
      callback();
    }
  }
};

const char* const FormClassName = "OstvaneForm";
const char* const ApplicationClassName = "OstvaneApplication";

}  // namespace

// ---- TCustomForm ------------------------------------------------------------

TCustomForm::TCustomForm(core::TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetVisible(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  FIcon.OnChange = [this](TGraphic*) { Perform(CM_ICONCHANGED, 0, 0); };
  auto notice = core::CreateUnowned<TDestroyNotice>();
  notice->Watched = this;
  notice->OnGone = [this] { DoDestroy(); };
  FreeNotification(notice.get());
  FDestroyNotice = std::move(notice);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  FIcon.OnChange = nullptr;
  FDestroyNotice.reset();
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  // The window goes while the form is still whole: its handlers (and the
  // procedures others installed) see a complete form.
  DestroyHandle();
}

void TCustomForm::SetParent(TWinControl* parent) {
  // A form is a top-level window; parenting one inside a control is not
  // supported by this library.
  if (parent) throw core::EInvalidOperation(core::Format("Form '%s' cannot have a parent", Name()));
  TWinControl::SetParent(nullptr);
}

bool TCustomForm::Showing() const { return Visible(); }

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == FBorderIcons) return;
  FBorderIcons = icons;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == FFormStyle) return;
  FFormStyle = style;
  RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  if (HWND window = WindowHandle()) {
    if (IsIconic(window)) return wsMinimized;
    if (IsZoomed(window)) return wsMaximized;
    return IsWindowVisible(window) ? wsNormal : FWindowState;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState state) {
  FWindowState = state;
  HWND window = WindowHandle();
  if (!window || !Visible()) return;
  switch (state) {
    case wsNormal: ShowWindow(window, SW_RESTORE); break;
    case wsMinimized: ShowWindow(window, SW_MINIMIZE); break;
    case wsMaximized: ShowWindow(window, SW_SHOWMAXIMIZED); break;
  }
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WS_CLIPCHILDREN;
  params.ExStyle = 0;
  params.WndParent = nullptr;
  switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: params.Style |= WS_CAPTION; break;
    case bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      params.Style |= WS_POPUP | WS_CAPTION;
      params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      params.Style |= WS_CAPTION;
      params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      params.Style |= WS_CAPTION | WS_THICKFRAME;
      params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) params.Style |= WS_SYSMENU;
    bool framed = FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin;
    if (framed && FBorderIcons.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
    if (framed && FBorderIcons.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
  }
  if (FFormStyle == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  if (!Enabled()) params.Style |= WS_DISABLED;
  params.WinClassName = FormClassName;
  params.WindowClassStyle = CS_DBLCLKS;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (!FIcon.Empty()) {
    SetWindowIcon(WindowHandle(), FIcon.Picture());
  } else if (Application && !Application->Icon()->Empty()) {
    SetWindowIcon(WindowHandle(), Application->Icon()->Picture());
  }
}

gfx::Rect TCustomForm::ClientRect() const {
  // A layout being read sets the width and the height one at a time.
  if (FPendingClientWidth >= 0 || FPendingClientHeight >= 0) {
    gfx::Rect current = ComputedClientRect();
    return gfx::Rect{0, 0, FPendingClientWidth >= 0 ? FPendingClientWidth : current.Width(),
                     FPendingClientHeight >= 0 ? FPendingClientHeight : current.Height()};
  }
  return ComputedClientRect();
}

gfx::Rect TCustomForm::ComputedClientRect() const {
  if (WindowHandle()) return TWinControl::ClientRect();
  // Without a window the frame is the one the styles would give.
  TCreateParams params;
  const_cast<TCustomForm*>(this)->CreateParams(params);
  gfx::Rect client = DefaultClientRect(params.Style, params.ExStyle, gfx::Rect{0, 0, Width(), Height()});
  return gfx::Rect{0, 0, std::max(0, client.Width()), std::max(0, client.Height())};
}

void TCustomForm::SetClientSize(int width, int height) {
  if (ComponentState().Contains(core::csLoading)) {
    // The border style may still come; the size is applied when loaded.
    FPendingClientWidth = width;
    FPendingClientHeight = height;
    return;
  }
  if (WindowHandle()) {
    TWinControl::SetClientSize(width, height);
    return;
  }
  // The frame's thickness, measured on a window large enough to have a
  // client area at all.
  TCreateParams params;
  CreateParams(params);
  gfx::Rect probe{0, 0, 10000, 10000};
  gfx::Rect client = DefaultClientRect(params.Style, params.ExStyle, probe);
  SetBounds(Left(), Top(), width + probe.Width() - client.Width(), height + probe.Height() - client.Height());
}

void TCustomForm::Loaded() {
  // The stored client size wins over the stored outer size.
  core::TComponent::Loaded();
  if (FPendingClientWidth >= 0 || FPendingClientHeight >= 0) {
    int width = ClientWidth();
    int height = ClientHeight();
    FPendingClientWidth = FPendingClientHeight = -1;
    SetClientSize(width, height);
  }
  TWinControl::Loaded();
}

void TCustomForm::LoadLayout(std::string_view text) {
  ReadLayout(*this, text);
  DoCreate();
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HWND window = WindowHandle()) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    BringWindowToTop(window);
  }
}

void TCustomForm::ApplyPosition() {
  if (FPositioned) return;
  FPositioned = true;
  gfx::Rect area;
  switch (FPosition) {
    case poScreenCenter:
      // The primary screen as a whole, task bar included.
      area = Screen ? gfx::Rect{0, 0, Screen->Width(), Screen->Height()} : gfx::Rect{};
      break;
    case poDesktopCenter:
      area = Screen ? Screen->DesktopRect() : gfx::Rect{};
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* center = Application ? Application->MainForm() : nullptr;
      if (FPosition == poOwnerFormCenter) {
        if (auto* ownerForm = dynamic_cast<TCustomForm*>(Owner())) center = ownerForm;
      }
      if (center && center != this && center->Visible()) {
        area = center->BoundsRect();
      } else {
        area = Screen ? Screen->WorkAreaRect() : gfx::Rect{};
      }
      break;
    }
    default:
      return;
  }
  if (area.IsEmpty()) return;
  int left = area.Left + (area.Width() - Width()) / 2;
  int top = area.Top + (area.Height() - Height()) / 2;
  SetBounds(left, top, Width(), Height());
}

void TCustomForm::CMShowingChanged(TMessage&) {
  HWND window = WindowHandle();
  if (!window) return;
  TControlGuard guard(this);
  if (Visible()) {
    if (FFormState.Contains(fsShowing)) return;
    if (!Recreating()) {
      FFormState.Include(fsShowing);
      DoShow();
      if (guard.Destroyed()) return;
      FFormState.Exclude(fsShowing);
    }
    if (!Visible() || !(window = WindowHandle())) return;
    ApplyPosition();
    if (!FActiveControl) {
      if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
    }
    switch (FWindowState) {
      case wsMinimized: ShowWindow(window, SW_SHOWMINIMIZED); break;
      case wsMaximized: ShowWindow(window, SW_SHOWMAXIMIZED); break;
      default: ShowWindow(window, SW_SHOWNORMAL); break;
    }
    FFormState.Include(fsVisible);
  } else {
    DoHide();
    if (guard.Destroyed()) return;
    if ((window = WindowHandle())) ShowWindow(window, SW_HIDE);
    FFormState.Exclude(fsVisible);
  }
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  TControlGuard guard(this);
  if (!CloseQuery() || guard.Destroyed()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (guard.Destroyed() || action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::CloseModal() {
  TControlGuard guard(this);
  TCloseAction action = caHide;
  if (!CloseQuery()) {
    action = caNone;
  } else if (guard.Alive()) {
    DoClose(action);
  }
  if (guard.Alive() && action == caNone) FModalResult = mrNone;
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal)) {
    throw core::EInvalidOperation("Cannot make a visible window modal");
  }
  if (!Application) throw core::EInvalidOperation("ShowModal needs an application");
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState.Include(fsModal);
  HWND previous = GetActiveWindow();
  // The other forms take no input while this one is up.
  std::vector<HWND> disabled;
  if (Screen) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* form = Screen->Forms(i);
      HWND window = form->WindowHandle();
      if (form == this || !window || !IsWindowVisible(window) || !IsWindowEnabled(window)) continue;
      EnableWindow(window, false);
      disabled.push_back(window);
    }
  }
  TControlGuard guard(this);
  FModalResult = mrNone;
  TModalResult result = mrCancel;
  try {
    Show();
    while (guard.Alive()) {
      Application->HandleMessage();
      if (guard.Destroyed()) break;
      if (Application->Terminated()) {
        FModalResult = mrCancel;
      } else if (FModalResult != mrNone) {
        CloseModal();
      }
      if (guard.Alive() && FModalResult != mrNone) break;
    }
  } catch (...) {
    for (HWND window : disabled) EnableWindow(window, true);
    if (guard.Alive()) FFormState.Exclude(fsModal);
    throw;
  }
  for (HWND window : disabled) EnableWindow(window, true);
  if (guard.Alive()) {
    result = FModalResult;
    Hide();
    if (guard.Alive()) FFormState.Exclude(fsModal);
  }
  if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  return result;
}

void TCustomForm::Release() {
  if (HWND window = Handle()) PostMessage(window, CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) {
  if (Owner()) Free();
}

void TCustomForm::CMIconChanged(TMessage&) {
  if (HWND window = WindowHandle()) SetWindowIcon(window, FIcon.Picture());
}

// ---- Focus --------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  if (ComponentState().Contains(core::csLoading) || !control) {
    FActiveControl = control;
    return;
  }
  FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control) return;
  if (!control->CanFocus()) throw core::EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = control == this ? nullptr : control;
  HWND window = WindowHandle();
  if (window && GetActiveWindow() == window) {
    if (HWND target = control->Handle()) ::ui::SetFocus(target);
  }
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (!control) return;
  if (FActiveControl && control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
  if (FFocusedControl && control->ContainsControl(FFocusedControl)) {
    FFocusedControl = nullptr;
    if (Screen && Screen->ActiveControl() && control->ContainsControl(Screen->ActiveControl())) {
      Screen->SetActiveControl(nullptr);
    }
    HWND window = WindowHandle();
    bool dying = ComponentState().Contains(core::csDestroying);
    if (window && !dying && !removing) {
      HWND focus = GetFocus();
      if (focus && (control->HandleAllocated() && (focus == control->Handle() || IsChild(control->Handle(), focus)))) {
        ::ui::SetFocus(window);
      }
    }
  }
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == FFocusedControl) return true;
  TControlGuard guard(this);
  TWinControl* old = FFocusedControl;
  FFocusedControl = control;
  if (control != this) FActiveControl = control;
  if (Screen) Screen->SetActiveControl(control);
  // OnExit from the old control up to the common parent, OnEnter from the
  // common parent down to the new one.
  std::vector<TWinControl*> exits;
  for (TWinControl* c = old; c && c != this && !c->ContainsControl(control); c = c->Parent()) exits.push_back(c);
  std::vector<TWinControl*> enters;
  for (TWinControl* c = control; c && c != this && !(old && c->ContainsControl(old)); c = c->Parent()) {
    enters.push_back(c);
  }
  for (TWinControl* c : exits) {
    TControlGuard exiting(c);
    c->Perform(CM_EXIT, 0, 0);
    if (guard.Destroyed()) return false;
    if (FFocusedControl != control) return false;
  }
  for (auto it = enters.rbegin(); it != enters.rend(); ++it) {
    (*it)->Perform(CM_ENTER, 0, 0);
    if (guard.Destroyed()) return false;
    if (FFocusedControl != control) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, LPARAM(control));
  return guard.Alive() && FFocusedControl == control;
}

void TCustomForm::SetWindowFocus() {
  HWND window = WindowHandle();
  if (!window) return;
  if (!FActiveControl || !FActiveControl->CanFocus()) {
    FActiveControl = FindNextControl(nullptr, true, true, false);
  }
  if (FActiveControl && FActiveControl->CanFocus()) {
    ::ui::SetFocus(FActiveControl->Handle());
  } else {
    ::ui::SetFocus(window);
  }
}

bool TCustomForm::IsShortCut(TMessage& message) {
  TControlGuard guard(this);
  bool handled = false;
  if (OnShortCut) OnShortCut(message, handled);
  if (handled || guard.Destroyed()) return true;
  int key = int(message.WParam);
  TShiftState shift = KeyboardShiftState();
  // The popup menus of the focused control and its parents, then the
  // form's main menus.
  for (TControl* c = FFocusedControl; c; c = c->Parent()) {
    if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(key, shift)) return true;
    if (guard.Destroyed()) return true;
  }
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* menu = dynamic_cast<TMainMenu*>(Components(i))) {
      if (menu->IsShortCut(key, shift)) return true;
      if (guard.Destroyed()) return true;
    }
  }
  return false;
}

// ---- Messages -----------------------------------------------------------------

void TCustomForm::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE: WMClose(message); break;
    case WM_ACTIVATE: WMActivate(message); break;
    case WM_SYSCOMMAND: WMSysCommand(message); break;
    case WM_SETFOCUS: WMSetFocus(message); break;
    case WM_ACTIVATEAPP:
      if (Application && Application->MainForm() == this) Application->SetActive(message.WParam != 0);
      DefaultHandler(message);
      break;
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(message); break;
    case CM_RELEASE: CMRelease(message); break;
    case CM_ICONCHANGED: CMIconChanged(message); break;
    default: TWinControl::Dispatch(message); break;
  }
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TMessage& message) {
  bool active = LoWord(message.WParam) != WA_INACTIVE;
  FActive = active;
  TControlGuard guard(this);
  if (active) {
    // A minimised form keeps the focus where it was until restored.
    if (!HiWord(message.WParam)) SetWindowFocus();
    if (guard.Destroyed()) return;
    if (Screen) Screen->SetActiveForm(this);
    if (guard.Destroyed()) return;
    Activate();
  } else {
    Deactivate();
  }
}

void TCustomForm::WMSetFocus(TMessage& message) {
  // The form's own window got the focus: hand it to the active control.
  if (FActiveControl && FActiveControl->CanFocus() && FActiveControl != this) {
    ::ui::SetFocus(FActiveControl->Handle());
    return;
  }
  FFocusedControl = this;
  DefaultHandler(message);
}

void TCustomForm::WMSysCommand(TMessage& message) {
  WPARAM command = message.WParam & SC_COMMAND_MASK;
  if (Application && Application->MainForm() == this) {
    if (command == SC_MINIMIZE) {
      Application->Minimize();
      return;
    }
    if (command == SC_RESTORE && IsIconic(WindowHandle())) {
      Application->Restore();
      return;
    }
  }
  DefaultHandler(message);
}

void TCustomForm::CMDialogKey(TMessage& message) {
  int key = int(message.WParam);
  TShiftState shift = KeyboardShiftState();
  switch (key) {
    case platform::VK_TAB:
      if (!shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        SelectNext(FActiveControl, !shift.Contains(ssShift), true);
        message.Result = 1;
        return;
      }
      break;
    case platform::VK_LEFT:
    case platform::VK_RIGHT:
    case platform::VK_UP:
    case platform::VK_DOWN:
      // Arrows move among the controls of one parent (a group).
      if (FActiveControl && FActiveControl->Parent()) {
        FActiveControl->Parent()->SelectNext(FActiveControl, key == platform::VK_RIGHT || key == platform::VK_DOWN,
                                              false);
        message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::Dispatch(message);
}

void TCustomForm::PaintWindow(HDC context) {
  if (!OnPaint) return;
  FCanvas->FreeHandle();
  FCanvas->SetHandle(context);
  TControlGuard guard(this);
  OnPaint(this);
  if (guard.Alive()) FCanvas->SetHandle(nullptr);
}

void TCustomForm::Notification(core::TComponent* component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FActiveControl) FActiveControl = nullptr;
  if (component == FFocusedControl) FFocusedControl = nullptr;
}

// ---- Raisers ------------------------------------------------------------------

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (FDestroyNotified) return;
  FDestroyNotified = true;
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

// ---- TScreen ----------------------------------------------------------------

TScreen::TScreen(core::TComponent* owner) : core::TComponent(owner) {}

TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) throw core::EListError(core::Format("List index out of bounds (%d)", index));
  return FForms[std::size_t(index)];
}

bool TScreen::HasForm(const TCustomForm* form) const {
  return std::find(FForms.begin(), FForms.end(), form) != FForms.end();
}

std::vector<TCustomForm*> TScreen::FormsOwnerFirst(const core::TComponent* owner) const {
  TCustomForm* first = nullptr;
  for (const core::TComponent* c = owner; c && !first; c = c->Owner()) {
    if (auto* form = dynamic_cast<const TCustomForm*>(c)) {
      first = const_cast<TCustomForm*>(form);
    } else if (auto* control = dynamic_cast<const TControl*>(c)) {
      first = GetParentForm(control);
    }
  }
  if (first && !HasForm(first)) first = nullptr;
  std::vector<TCustomForm*> forms;
  if (first) forms.push_back(first);
  for (TCustomForm* form : FForms) {
    if (form != first) forms.push_back(form);
  }
  return forms;
}

void TScreen::AddForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(FForms, form);
  if (FActiveForm == form) FActiveForm = nullptr;
  if (FActiveControl == form) FActiveControl = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) {
  if (form == FActiveForm) return;
  FActiveForm = form;
  if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  FActiveControl = control;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

int TScreen::Width() const {
  gfx::Rect r;
  GetScreenArea(ScreenArea::Whole, r);
  return r.Width();
}

int TScreen::Height() const {
  gfx::Rect r;
  GetScreenArea(ScreenArea::Whole, r);
  return r.Height();
}

gfx::Rect TScreen::WorkAreaRect() const {
  gfx::Rect r;
  GetScreenArea(ScreenArea::WorkArea, r);
  return r;
}

gfx::Rect TScreen::DesktopRect() const { return GetVirtualScreen(); }

int TScreen::MonitorCount() const {
  WindowSystem* system = WindowSystem::Current();
  return system ? int(system->Platform().Monitors().size()) : 0;
}

TMonitor TScreen::Monitors(int index) const {
  WindowSystem* system = WindowSystem::Current();
  std::vector<platform::Monitor> monitors;
  if (system) monitors = system->Platform().Monitors();
  if (index < 0 || index >= int(monitors.size())) {
    throw core::EListError(core::Format("List index out of bounds (%d)", index));
  }
  const platform::Monitor& monitor = monitors[std::size_t(index)];
  return TMonitor{index, monitor.Bounds, monitor.WorkArea, monitor.Primary};
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  // The pointer changes at once, not at the next move.
  if (cursor != crDefault) ::ui::SetCursor(CursorShapeOf(cursor));
}

// ---- TApplication -------------------------------------------------------------

TApplication::TApplication(core::TComponent* owner) : core::TComponent(owner) {
  if (Application) throw core::EInvalidOperation("An application exists already");
  Application = this;
  FScreen = core::CreateUnowned<TScreen>();
  Screen = FScreen.get();
  if (WindowSystem* system = WindowSystem::Current()) {
    std::string file = core::ExtractFileName(system->Platform().ProgramFilePath());
    std::string extension = core::ExtractFileExt(file);
    FTitle = file.substr(0, file.size() - extension.size());
    // Exceptions from windows that are not controls reach the error box
    // through the window system's loops too.
    system->SetErrorHandler([](std::exception_ptr error) {
      if (!Application) std::rethrow_exception(error);
      try {
        std::rethrow_exception(error);
      } catch (...) {
        Application->HandleException(nullptr);
      }
    });
  }
}

TApplication::~TApplication() {
  // Forms first (each hears OnDestroy as it goes), while the screen and
  // the application still exist.
  DestroyComponents();
  FMainForm = nullptr;
  if (FHandle) {
    HWND window = FHandle;
    FHandle = nullptr;
    DestroyWindow(window);
  }
  if (WindowSystem* system = WindowSystem::Current()) system->SetErrorHandler(nullptr);
  FScreen.reset();
  Screen = nullptr;
  Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  FTitle = title;
  if (FHandle) SetWindowText(FHandle, title);
}

std::string TApplication::ExeName() const {
  WindowSystem* system = WindowSystem::Current();
  return system ? system->Platform().ProgramFilePath() : std::string();
}

void TApplication::Notification(core::TComponent* component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation == core::opRemove && component == FMainForm) FMainForm = nullptr;
}

HWND TApplication::Handle() {
  if (FHandle) return FHandle;
  WindowClass windowClass;
  windowClass.Name = ApplicationClassName;
  RegisterClass(windowClass);
  FHandle = CreateWindowEx(0, ApplicationClassName, FTitle, 0, 0, 0, 0, 0, HWND_MESSAGE);
  if (FHandle) {
    SetWindowProc(FHandle, MakeWindowProc([this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      TMessage m{message, wParam, lParam, 0};
      WndProc(m);
      return m.Result;
    }));
  }
  return FHandle;
}

int TApplication::HookMainWindow(TWindowHook hook) {
  int id = FNextHookId++;
  FHooks.push_back(Hook{id, std::move(hook)});
  return id;
}

void TApplication::UnhookMainWindow(int id) {
  std::erase_if(FHooks, [id](const Hook& hook) { return hook.Id == id; });
}

void TApplication::WndProc(TMessage& message) {
  // Hooks first, the last installed first; one that handles it ends it.
  std::vector<Hook> hooks = FHooks;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    if (it->Function && it->Function(message)) return;
  }
  switch (message.Msg) {
    case WM_SYSCOMMAND:
      if ((message.WParam & SC_COMMAND_MASK) == SC_RESTORE) {
        Restore();
        return;
      }
      if ((message.WParam & SC_COMMAND_MASK) == SC_MINIMIZE) {
        Minimize();
        return;
      }
      break;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    default:
      break;
  }
  if (FHandle) message.Result = DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
}

void TApplication::Run() {
  if (FMainForm && FShowMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

bool TApplication::ProcessMessage(TMsg& message) {
  if (!PeekMessage(message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.Message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(message, handled);
  if (!handled) {
    TranslateMessage(message);
    DispatchMessage(message);
  }
  return true;
}

void TApplication::Idle() {
  if (OnIdle) OnIdle(this);
  if (!FTerminated) WaitMessage();
}

void TApplication::HandleMessage() {
  TMsg message;
  try {
    if (!ProcessMessage(message)) Idle();
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::ProcessMessages() {
  TMsg message;
  for (;;) {
    try {
      if (!ProcessMessage(message)) return;
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() {
  if (WindowSystem::Current()) PostQuitMessage(0);
}

void TApplication::Minimize() {
  TControlGuard guard(FMainForm);
  if (FMainForm && FMainForm->WindowHandle()) ShowWindow(FMainForm->WindowHandle(), SW_MINIMIZE);
  // The application window's hooks (the tray icon) see the change.
  if (HWND window = Handle()) SendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->WindowHandle()) {
    HWND window = FMainForm->WindowHandle();
    if (!IsWindowVisible(window)) FMainForm->SetVisible(true);
    ShowWindow(window, SW_RESTORE);
  }
  if (HWND window = Handle()) SendMessage(window, WM_SIZE, SIZE_RESTORED, 0);
  if (OnRestore) OnRestore(this);
}

void TApplication::SetActive(bool active) {
  if (active == FActive) return;
  FActive = active;
  if (active && OnActivate) OnActivate(this);
  if (!active && OnDeactivate) OnDeactivate(this);
}

void TApplication::HandleException(core::TComponent* sender) {
  std::exception_ptr error = std::current_exception();
  if (!error) return;
  // An error while the error box is up is not shown again.
  if (FHandlingException) return;
  FHandlingException = true;
  try {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      if (OnException) {
        OnException(sender, e);
      } else {
        ShowException(e);
      }
    } catch (...) {
      std::runtime_error unknown("Unknown error");
      if (OnException) {
        OnException(sender, unknown);
      } else {
        ShowException(unknown);
      }
    }
  } catch (...) {
    // The handler of an error failed too; the loop still goes on.
  }
  FHandlingException = false;
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = error.what();
  // As the classic box: a message not ending in punctuation gets a full
  // stop.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  ::ui::MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  return ::ui::MessageBox(text, caption.empty() ? FTitle : caption, flags);
}

}  // namespace ui
