#include <algorithm>
#include <climits>
#include <unordered_map>

#include "core/Exception.h"
#include "core/Format.h"
#include "platform/VirtualKeys.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {

// The controls by window, for FindControl.
std::unordered_map<HWND, TWinControl*>& HandleMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being made: the class procedure hands the
// window's first message to it and puts the control's own procedure in.
TWinControl* CreationControl = nullptr;

const char* const ControlClassName = "OstvaneControl";
const char* const ControlClassNameSingleClicks = "OstvaneControlSingleClicks";

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

}  // namespace

TWinControl* FindControl(HWND window) {
  if (!window) return nullptr;
  auto found = HandleMap().find(window);
  return found == HandleMap().end() ? nullptr : found->second;
}

// ---- Construction -----------------------------------------------------

TWinControl::TWinControl(core::TComponent* owner) : TControl(owner) {
  FObjectInstance = MakeWindowProc([this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    TMessage m{message, wParam, lParam, 0};
    MainWndProc(m);
    return m.Result;
  });
}

TWinControl::~TWinControl() {
  if (Screen && Screen->ActiveControl() == this) Screen->SetActiveControl(nullptr);
  if (TCustomForm* form = GetParentForm(this)) {
    if (form != this) form->DefocusControl(this, true);
  }
  DestroyHandle();
  // Leave the parent while this is still a windowed control.
  if (Parent()) Parent()->RemoveControl(this);
  if (FHandle) {
    // A window that refused to go must not call into this object again.
    ::ui::SetWindowProc(FHandle, nullptr);
    HandleMap().erase(FHandle);
    FHandle = nullptr;
  }
  // Children that outlive their parent are left without one.
  while (!FWinControls.empty()) FWinControls.back()->SetParent(nullptr);
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

// ---- Children -----------------------------------------------------------

int TWinControl::ControlCount() const { return int(FControls.size() + FWinControls.size()); }

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw core::EListError(core::Format("List index out of bounds (%d)", index));
  if (index < int(FControls.size())) return FControls[std::size_t(index)];
  return FWinControls[std::size_t(index) - FControls.size()];
}

void TWinControl::InsertControl(TControl* control) {
  control->SetParentField(this);
  if (auto* winControl = dynamic_cast<TWinControl*>(control)) {
    FWinControls.push_back(winControl);
    FTabList.push_back(winControl);
  } else {
    FControls.push_back(control);
  }
  TControlGuard guard(this);
  if (!control->ComponentState().Contains(core::csReading)) {
    if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (control->ParentShowHint()) control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  if (auto* winControl = dynamic_cast<TWinControl*>(control)) {
    if (FHandle && !winControl->FHandle) winControl->CreateHandle();
  } else {
    control->Invalidate();
  }
  if (guard.Destroyed()) return;
  Perform(CM_CONTROLCHANGE, WPARAM(control), 1);
  if (control->Align() != alNone) AlignControlsNow(control);
}

void TWinControl::RemoveControl(TControl* control) {
  TControlGuard guard(this);
  Perform(CM_CONTROLCHANGE, WPARAM(control), 0);
  if (guard.Destroyed()) return;
  if (TControl* capture = GetCaptureControl(); capture && control->IsAncestorOf(capture)) SetCaptureControl(nullptr);
  if (TControl* mouse = GetMouseControl(); mouse && control->IsAncestorOf(mouse)) UpdateMouseControl(nullptr);
  // Compared by address: a control on its way out is no longer a
  // TWinControl to dynamic_cast.
  auto windowed = std::find(FWinControls.begin(), FWinControls.end(), control);
  if (windowed != FWinControls.end()) {
    TWinControl* winControl = *windowed;
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(winControl, true);
    if (!control->ComponentState().Contains(core::csDestroying) || winControl->FHandle) winControl->DestroyHandle();
    std::erase(FWinControls, winControl);
    std::erase(FTabList, winControl);
  } else {
    control->Invalidate();
    std::erase(FControls, control);
  }
  control->SetParentField(nullptr);
  if (control->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent()) {
    if (c == this) return true;
  }
  return false;
}

TControl* TWinControl::ControlAtPos(gfx::Point point, bool allowDisabled, bool allowWinControls) const {
  auto hit = [&](TControl* control) {
    if (!control->Visible() || (!allowDisabled && !control->Enabled())) return false;
    if (!control->BoundsRect().Contains(point)) return false;
    gfx::Point local{point.X - control->Left(), point.Y - control->Top()};
    return control->Perform(CM_HITTEST, 0, PointToLParam(local)) != 0;
  };
  // Windowed controls lie above windowless ones; the last added is on top.
  if (allowWinControls) {
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it) {
      if (hit(*it)) return *it;
    }
  }
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    if (hit(*it)) return *it;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  std::vector<TControl*> children(FControls.begin(), FControls.end());
  children.insert(children.end(), FWinControls.begin(), FWinControls.end());
  TControlGuard guard(this);
  for (TControl* child : children) {
    if (guard.Destroyed()) return;
    // A handler may have removed a later child.
    if (std::find(FControls.begin(), FControls.end(), child) == FControls.end() &&
        std::find(FWinControls.begin(), FWinControls.end(), child) == FWinControls.end()) {
      continue;
    }
    TWndMethod method = child->WindowProc();
    method(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::SetChildOrder(TControl* child, int order) {
  auto move = [order](auto& list, auto* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) return;
    list.erase(found);
    int index = std::clamp(order, 0, int(list.size()));
    list.insert(list.begin() + index, item);
  };
  if (auto* winControl = dynamic_cast<TWinControl*>(child)) {
    move(FWinControls, winControl);
  } else {
    move(FControls, child);
  }
}

// ---- Window -------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (Parent()) Parent()->HandleNeeded();
  if (!FHandle) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = GetText();
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (FTabStop) params.Style |= WS_TABSTOP;
  params.X = FLeft;
  params.Y = FTop;
  params.Width = FWidth;
  params.Height = FHeight;
  params.WndParent = Parent() ? Parent()->FHandle : nullptr;
  bool doubleClicks = ControlStyle().Contains(csDoubleClicks);
  params.WinClassName = doubleClicks ? ControlClassName : ControlClassNameSingleClicks;
  params.WindowClassStyle = doubleClicks ? CS_DBLCLKS : 0;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent) {
    throw core::EInvalidOperation(core::Format("Control '%s' has no parent window", Name()));
  }
  WindowClass windowClass;
  windowClass.Name = params.WinClassName;
  windowClass.Style = params.WindowClassStyle;
  windowClass.Background = params.WindowClassBackground;
  // The class procedure hands each new window to the control being made.
  windowClass.Procedure = MakeWindowProc([](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    TWinControl* control = CreationControl;
    if (!control) return DefWindowProc(window, message, wParam, lParam);
    CreationControl = nullptr;
    control->FHandle = window;
    HandleMap()[window] = control;
    ::ui::SetWindowProc(window, control->FObjectInstance);
    return CallWindowProc(control->FObjectInstance, window, message, wParam, lParam);
  });
  RegisterClass(windowClass);  // false when registered already: fine
  FControlState.Include(csCreating);
  CreationControl = this;
  try {
    CreateWindowHandle(params);
  } catch (...) {
    CreationControl = nullptr;
    FControlState.Exclude(csCreating);
    throw;
  }
  CreationControl = nullptr;
  FControlState.Exclude(csCreating);
  if (!FHandle) throw core::EInvalidOperation(core::Format("Error creating window for '%s'", Name()));
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  CreateWindowEx(params.ExStyle, params.WinClassName, params.Caption, params.Style, params.X, params.Y,
                 params.Width, params.Height, params.WndParent, this);
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  // The window system may have adjusted the bounds (size limits).
  gfx::Rect r;
  if (FHandle && GetWindowRect(FHandle, r)) {
    if (Parent() && Parent()->FHandle) {
      gfx::Point topLeft = MapWindowPoint(nullptr, Parent()->FHandle, r.TopLeft());
      r = gfx::Rect::FromSize(topLeft.X, topLeft.Y, r.Width(), r.Height());
    }
    UpdateBoundsRect(r);
  }
  std::vector<TWinControl*> children = FWinControls;
  for (TWinControl* child : children) {
    if (FHandle && std::find(FWinControls.begin(), FWinControls.end(), child) != FWinControls.end()) {
      child->CreateHandle();
    }
  }
  // Handles come in creation order; the windows' stacking follows the
  // list (later children above).
}

void TWinControl::DestroyWnd() {
  if (FHandle) DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  FControlState.Include(csDestroyingHandle);
  std::vector<TWinControl*> children = FWinControls;
  for (TWinControl* child : children) child->DestroyHandle();
  DestroyWnd();
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  bool wasFocused = Focused();
  bool wasShown = FHandle && IsWindowVisible(FHandle);
  TControlGuard guard(this);
  FRecreating = true;
  DestroyHandle();
  if (guard.Alive() && !FHandle) CreateHandle();
  if (guard.Destroyed()) return;
  // A window created hidden (a form) shows again as it was.
  if (wasShown && FHandle && !IsWindowVisible(FHandle)) Perform(CM_SHOWINGCHANGED, 0, 0);
  if (guard.Destroyed()) return;
  FRecreating = false;
  if (wasFocused && FHandle && CanFocus()) ::ui::SetFocus(FHandle);
}

void TWinControl::UpdateShowing() {
  if (FHandle) return;
  if ((Parent() && Parent()->FHandle) || (!Parent() && dynamic_cast<TCustomForm*>(this))) {
    if (Showing()) CreateHandle();
  }
}

void TWinControl::MainWndProc(TMessage& message) {
  try {
    TWndMethod method = WindowProc();
    method(message);
  } catch (...) {
    if (!Application) throw;
    Application->HandleException(this);
  }
}

// ---- Geometry -----------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  if (!FHandle) {
    TControl::SetBounds(left, top, width, height);
    // Without a window no WM_SIZE comes: realign the children here.
    Realign();
    return;
  }
  TControlGuard guard(this);
  // WM_WINDOWPOSCHANGED stores the new bounds and WM_SIZE realigns.
  SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (guard.Destroyed()) return;
  UpdateAnchorRules();
  RequestAlign();
}

gfx::Rect TWinControl::ClientRect() const {
  gfx::Rect r;
  if (FHandle && GetClientRect(FHandle, r)) return r;
  return TControl::ClientRect();
}

gfx::Point TWinControl::ClientOrigin() const {
  if (FHandle) {
    gfx::Point origin;
    ::ui::ClientToScreen(FHandle, origin);
    return origin;
  }
  return TControl::ClientOrigin();
}

bool TWinControl::Showing() const { return Visible() && Parent() && Parent()->Showing(); }

void TWinControl::SetParent(TWinControl* parent) { TControl::SetParent(parent); }

void TWinControl::AdjustClientRect(gfx::Rect&) const {}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControlsNow(nullptr); }

void TWinControl::AlignControlsNow(TControl* control) {
  if (FAlignLevel > 0 || ComponentState().Contains(core::csLoading) ||
      ComponentState().Contains(core::csDestroying)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  ++FAlignLevel;
  TControlGuard guard(this);
  try {
    gfx::Rect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(control, rect);
  } catch (...) {
    if (guard.Alive()) --FAlignLevel;
    throw;
  }
  if (guard.Destroyed()) return;
  --FAlignLevel;
  FControlState.Exclude(csAlignmentNeeded);
}

namespace {

// Whether c1 goes before c2 among the children of one alignment: the
// topmost first for alTop, the bottommost first for alBottom, and so on.
bool InsertBefore(const TControl* c1, const TControl* c2, TAlign align) {
  switch (align) {
    case alTop: return c1->Top() < c2->Top();
    case alBottom: return c1->Top() + c1->Height() > c2->Top() + c2->Height();
    case alLeft: return c1->Left() < c2->Left();
    case alRight: return c1->Left() + c1->Width() > c2->Left() + c2->Width();
    default: return false;
  }
}

void PlaceAligned(TControl* control, TAlign align, gfx::Rect& rect) {
  int width = rect.Width();
  if (width < 0 || align == alLeft || align == alRight) width = control->Width();
  int height = rect.Height();
  if (height < 0 || align == alTop || align == alBottom) height = control->Height();
  int left = rect.Left;
  int top = rect.Top;
  switch (align) {
    case alTop: rect.Top += height; break;
    case alBottom:
      rect.Bottom -= height;
      top = rect.Bottom;
      break;
    case alLeft: rect.Left += width; break;
    case alRight:
      rect.Right -= width;
      left = rect.Right;
      break;
    default: break;
  }
  control->SetBounds(left, top, width, height);
  // A control that keeps a size of its own (a skinned scroll bar keeps its
  // skin's width) leaves the rest of the strip to the others.
  int dw = width - control->Width();
  int dh = height - control->Height();
  if (dw == 0 && dh == 0) return;
  switch (align) {
    case alTop: rect.Top -= dh; break;
    case alBottom: rect.Bottom += dh; break;
    case alLeft: rect.Left -= dw; break;
    case alRight: rect.Right += dw; break;
    case alClient:
      rect.Right += dw;
      rect.Bottom += dh;
      break;
    default: break;
  }
}

}  // namespace

void TWinControl::AlignControls(TControl* control, gfx::Rect& rect) {
  TControlGuard guard(this);
  bool designing = ComponentState().Contains(core::csDesigning);
  auto takesPart = [&](TControl* c, TAlign align) {
    return c->Align() == align && (c->Visible() || designing);
  };
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    if (control && control->Parent() == this && takesPart(control, align)) list.push_back(control);
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c == control || !takesPart(c, align)) continue;
      std::size_t j = 0;
      while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
      list.insert(list.begin() + std::ptrdiff_t(j), c);
    }
    for (TControl* c : list) {
      PlaceAligned(c, align, rect);
      if (guard.Destroyed()) return;
    }
  }
  gfx::Rect client = ClientRect();
  gfx::Size size{client.Width(), client.Height()};
  std::vector<TControl*> anchored;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() == alNone && c->Anchors() != TAnchors{akLeft, akTop}) anchored.push_back(c);
  }
  for (TControl* c : anchored) {
    c->AnchorTo(size);
    if (guard.Destroyed()) return;
  }
}

// ---- Focus and tab order ------------------------------------------------

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form) return Visible() && Enabled();
  // The form itself may still be hidden: focus then waits for it.
  for (const TControl* c = this; c && c != form; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw core::EInvalidOperation("Cannot focus a disabled or invisible window");
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else if (HWND window = Handle()) {
    ::ui::SetFocus(window);
  }
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->FTabList;
  auto found = std::find(list.begin(), list.end(), this);
  return found == list.end() ? -1 : int(found - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (ComponentState().Contains(core::csLoading)) {
    FStoredTabOrder = order;
    return;
  }
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  auto found = std::find(list.begin(), list.end(), this);
  if (found == list.end()) return;
  list.erase(found);
  int index = order < 0 ? int(list.size()) : std::min(order, int(list.size()));
  list.insert(list.begin() + index, this);
}

void TWinControl::SetTabStop(bool tabStop) {
  if (tabStop == FTabStop) return;
  FTabStop = tabStop;
  if (FHandle) {
    LONG_PTR style = GetWindowLong(FHandle, GWL_STYLE);
    SetWindowLong(FHandle, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* child : FTabList) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int count = int(list.size());
  auto found = std::find(list.begin(), list.end(), current);
  int start = found == list.end() ? (goForward ? count - 1 : 0) : int(found - list.begin());
  int index = start;
  for (int step = 0; step < count; ++step) {
    index = goForward ? (index + 1) % count : (index - 1 + count) % count;
    TWinControl* candidate = list[std::size_t(index)];
    if (candidate == current) break;
    if ((!checkTabStop || candidate->TabStop()) && (!checkParent || candidate->Parent() == this) &&
        candidate->CanFocus()) {
      return candidate;
    }
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

// ---- Painting -------------------------------------------------------------

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC context, TControl* first) {
  if (!context) return;
  std::vector<TControl*> controls = FControls;
  auto start = first ? std::find(controls.begin(), controls.end(), first) : controls.begin();
  if (start == controls.end()) start = controls.begin();
  TControlGuard guard(this);
  gfx::Canvas& canvas = context->Canvas();
  for (auto it = start; it != controls.end(); ++it) {
    TControl* control = *it;
    if (std::find(FControls.begin(), FControls.end(), control) == FControls.end()) continue;
    bool visible = control->Visible() || ComponentState().Contains(core::csDesigning);
    if (!visible || control->Width() <= 0 || control->Height() <= 0) continue;
    if (!canvas.RectVisible(control->BoundsRect())) continue;
    gfx::CanvasStateSaver saver(canvas);
    canvas.MoveOrigin(control->Left(), control->Top());
    canvas.IntersectClipRect(gfx::Rect{0, 0, control->Width(), control->Height()});
    control->Perform(WM_PAINT, WPARAM(context), 0);
    if (guard.Destroyed()) return;
  }
}

// ---- Messages -------------------------------------------------------------

void TWinControl::WndProc(TMessage& message) {
  if (IsMouseMessage(message.Msg)) {
    if (message.Msg == WM_MOUSEMOVE) {
      gfx::Point point = PointFromLParam(message.LParam);
      TControl* under = this;
      if (GetCapture() != FHandle || !GetCaptureControl()) {
        if (TControl* child = ControlAtPos(point, false)) under = child;
      } else if (GetCaptureControl()->Parent() == this) {
        under = GetCaptureControl();
      }
      TControlGuard guard(this);
      UpdateMouseControl(under);
      if (guard.Destroyed()) return;
    }
    if (message.Msg != WM_MOUSEWHEEL && IsControlMouseMsg(message)) return;
  }
  TControl::WndProc(message);
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
  TControl* target = nullptr;
  gfx::Point point = PointFromLParam(message.LParam);
  if (FHandle && GetCapture() == FHandle) {
    TControl* capture = GetCaptureControl();
    if (capture && capture != this && capture->Parent() == this) target = capture;
  } else {
    target = ControlAtPos(point, false);
  }
  if (!target) return false;
  UINT msg = message.Msg;
  // Without csDoubleClicks a second click is another press.
  if (!target->ControlStyle().Contains(csDoubleClicks)) {
    if (msg == WM_LBUTTONDBLCLK) msg = WM_LBUTTONDOWN;
    if (msg == WM_RBUTTONDBLCLK) msg = WM_RBUTTONDOWN;
    if (msg == WM_MBUTTONDBLCLK) msg = WM_MBUTTONDOWN;
  }
  gfx::Point local{point.X - target->Left(), point.Y - target->Top()};
  message.Result = target->Perform(msg, message.WParam, PointToLParam(local));
  return true;
}

void TWinControl::UpdateMouseControl(TControl* control) {
  TControl* old = GetMouseControl();
  if (control == old) return;
  SetMouseControlRecord(control);
  if (old) {
    TControlGuard guard(control);
    old->Perform(CM_MOUSELEAVE, 0, LPARAM(old));
    if (control && guard.Destroyed()) return;
  }
  if (control) {
    control->Perform(CM_MOUSEENTER, 0, LPARAM(control));
    // Ask for the leave message of the window the pointer is over.
    HWND window = nullptr;
    if (auto* winControl = dynamic_cast<TWinControl*>(control)) {
      window = winControl->FHandle;
    } else if (control->Parent()) {
      window = control->Parent()->FHandle;
    }
    if (window) {
      TrackMouseEventInfo info{TME_LEAVE, window, 0};
      TrackMouseEvent(info);
    }
  }
}

void TWinControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: WMPaint(message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(message); break;
    case WM_SETFOCUS: WMSetFocus(message); break;
    case WM_KILLFOCUS: WMKillFocus(message); break;
    case WM_KEYDOWN: WMKeyDown(message); break;
    case WM_KEYUP: WMKeyUp(message); break;
    case WM_CHAR: WMChar(message); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(message); break;
    case WM_SYSCHAR: WMSysChar(message); break;
    case WM_SYSKEYUP: TControl::Dispatch(message); break;
    case WM_SETCURSOR: WMSetCursor(message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); break;
    case WM_SIZE: WMSize(message); break;
    case WM_NCDESTROY: WMNCDestroy(message); break;
    case WM_MOUSELEAVE: WMMouseLeave(message); break;
    case WM_CAPTURECHANGED: WMCaptureChanged(message); break;
    case WM_GETDLGCODE: WMGetDlgCode(message); break;
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case CM_DIALOGCHAR: CMDialogChar(message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(message); break;
    case CM_FONTCHANGED: CMFontChanged(message); break;
    case CM_COLORCHANGED: CMColorChanged(message); break;
    case CM_ENTER: CMEnter(message); break;
    case CM_EXIT: CMExit(message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(message); break;
    case CM_RECREATEWND: CMRecreateWnd(message); break;
    case WM_CONTEXTMENU: {
      // A windowless child under the point has the first say.
      gfx::Point screen = PointFromLParam(message.LParam);
      if (FHandle && !(screen.X == -1 && screen.Y == -1)) {
        gfx::Point client = ScreenToClient(screen);
        if (TControl* child = ControlAtPos(client, false)) {
          message.Result = child->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
          if (message.Result) break;
        }
      }
      TControl::Dispatch(message);
      break;
    }
    default: TControl::Dispatch(message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!FHandle) {
    TControl::DefaultHandler(message);
    return;
  }
  if (FDefWndProc) {
    message.Result = CallWindowProc(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam);
  } else {
    message.Result = DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
  }
}

void TWinControl::WMPaint(TMessage& message) {
  HDC given = reinterpret_cast<HDC>(message.WParam);
  TControlGuard guard(this);
  if (given) {
    PaintWindow(given);
    if (guard.Alive()) PaintControls(given, nullptr);
    return;
  }
  if (!FHandle) return;
  HWND window = FHandle;
  PaintStruct paint;
  HDC context = BeginPaint(window, paint);
  PaintWindow(context);
  if (guard.Alive()) PaintControls(context, nullptr);
  EndPaint(window, paint);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
  HDC context = reinterpret_cast<HDC>(message.WParam);
  if (!context) return;
  gfx::Canvas& canvas = context->Canvas();
  gfx::CanvasStateSaver saver(canvas);
  canvas.SetBrush(ColorToRGB(Color()));
  canvas.FillRect(ClientRect());
  message.Result = 1;
}

void TWinControl::WMSetFocus(TMessage& message) {
  TControlGuard guard(this);
  if (TCustomForm* form = GetParentForm(this)) {
    if (form != this && !form->SetFocusedControl(this)) return;
  }
  if (guard.Alive()) DefaultHandler(message);
}

void TWinControl::WMKillFocus(TMessage& message) { DefaultHandler(message); }

bool TWinControl::DoDialogKey(int key, LPARAM keyData) {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  TControlGuard guard(this);
  TMessage shortCut{WM_KEYDOWN, WPARAM(key), keyData, 0};
  if (form->IsShortCut(shortCut)) return true;
  if (guard.Destroyed()) return true;
  LRESULT mask = 0;
  switch (key) {
    case platform::VK_TAB: mask = DLGC_WANTTAB; break;
    case platform::VK_LEFT:
    case platform::VK_RIGHT:
    case platform::VK_UP:
    case platform::VK_DOWN: mask = DLGC_WANTARROWS; break;
    case platform::VK_RETURN:
    case platform::VK_ESCAPE:
    case platform::VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (!mask) return false;
  if (Perform(CM_WANTSPECIALKEY, WPARAM(key), 0) != 0) return false;
  if (guard.Destroyed()) return true;
  if (Perform(WM_GETDLGCODE, 0, 0) & mask) return false;
  if (guard.Destroyed()) return true;
  return form->Perform(CM_DIALOGKEY, WPARAM(key), keyData) != 0;
}

bool TWinControl::DoKeyDown(TMessage& message) {
  TControlGuard guard(this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(message)) return true;
  if (guard.Destroyed()) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  int key = int(message.WParam);
  KeyDown(key, KeyboardShiftState());
  if (guard.Destroyed()) return true;
  message.WParam = WPARAM(key);
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& message) {
  TControlGuard guard(this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(message)) return true;
  if (guard.Destroyed()) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  int key = int(message.WParam);
  KeyUp(key, KeyboardShiftState());
  if (guard.Destroyed()) return true;
  message.WParam = WPARAM(key);
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& message) {
  TControlGuard guard(this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(message)) return true;
  if (guard.Destroyed()) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  char32_t key = char32_t(message.WParam);
  KeyPress(key);
  if (guard.Destroyed()) return true;
  message.WParam = WPARAM(key);
  return key == 0;
}

// A key goes, in this order, to: the form's shortcuts, the form's dialog
// navigation (unless the control wants the key, WM_GETDLGCODE), the form's
// OnKeyDown when KeyPreview, the control's OnKeyDown, and the window's
// default procedure.
void TWinControl::WMKeyDown(TMessage& message) {
  TControlGuard guard(this);
  // The character of a key the form took is not typed.
  if (DoDialogKey(int(message.WParam), message.LParam)) {
    SwallowCharOfKey(int(message.WParam));
    return;
  }
  if (guard.Destroyed() || DoKeyDown(message)) return;
  DefaultHandler(message);
}

void TWinControl::WMSysKeyDown(TMessage& message) {
  TControlGuard guard(this);
  TCustomForm* form = GetParentForm(this);
  if (form && form->IsShortCut(message)) {
    SwallowCharOfKey(int(message.WParam));
    return;
  }
  if (guard.Destroyed() || DoKeyDown(message)) return;
  DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
  if (DoKeyUp(message)) return;
  DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message) {
  TControlGuard guard(this);
  if (DoKeyPress(message) || guard.Destroyed()) return;
  // A control that takes no characters lets the form try its
  // accelerators (a button's "&S" with S alone).
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    if (guard.Destroyed()) return;
    if (TCustomForm* form = GetParentForm(this)) {
      if (form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) return;
    }
  }
  if (guard.Alive()) DefaultHandler(message);
}

void TWinControl::WMSysChar(TMessage& message) {
  TControlGuard guard(this);
  if (TCustomForm* form = GetParentForm(this)) {
    if (form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) return;
  }
  if (guard.Alive()) DefaultHandler(message);
}

void TWinControl::WMSetCursor(TMessage& message) {
  if (HandleFromParam(message.WParam) == FHandle && LRESULT(std::int16_t(LoWord(std::uintptr_t(message.LParam)))) == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      gfx::Point screen;
      GetCursorPos(screen);
      TControl* control = ControlAtPos(ScreenToClient(screen), false);
      cursor = control ? control->Cursor() : Cursor();
      if (cursor == crDefault && control) cursor = Cursor();
    }
    if (cursor != crDefault) {
      ::ui::SetCursor(CursorShapeOf(cursor));
      message.Result = 1;
      return;
    }
  }
  DefaultHandler(message);
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
  if (FHandle) {
    gfx::Rect r;
    if (GetWindowRect(FHandle, r)) {
      if (Parent() && Parent()->FHandle) {
        gfx::Point topLeft = MapWindowPoint(nullptr, Parent()->FHandle, r.TopLeft());
        r = gfx::Rect::FromSize(topLeft.X, topLeft.Y, r.Width(), r.Height());
      }
      UpdateBoundsRect(r);
    }
  }
  DefaultHandler(message);
}

void TWinControl::WMSize(TMessage& message) {
  TControlGuard guard(this);
  DefaultHandler(message);
  if (guard.Destroyed()) return;
  Realign();
  if (guard.Destroyed()) return;
  if (!ComponentState().Contains(core::csLoading)) Resize();
}

void TWinControl::WMNCDestroy(TMessage& message) {
  HWND window = FHandle;
  DefaultHandler(message);
  if (window) HandleMap().erase(window);
  if (FHandle == window) FHandle = nullptr;
  if (TControl* mouse = GetMouseControl(); mouse && (mouse == this || mouse->Parent() == this)) {
    SetMouseControlRecord(nullptr);
  }
}

void TWinControl::WMMouseLeave(TMessage& message) {
  TControl* mouse = GetMouseControl();
  if (mouse && (mouse == this || (mouse->Parent() == this && !dynamic_cast<TWinControl*>(mouse)))) {
    UpdateMouseControl(nullptr);
    return;
  }
  DefaultHandler(message);
}

void TWinControl::WMCaptureChanged(TMessage& message) {
  TControl* capture = GetCaptureControl();
  if (capture && (capture == this || capture->Parent() == this) && HandleFromParam(WPARAM(message.LParam)) != FHandle) {
    SetCaptureControlRecord(nullptr);
    capture->Perform(CM_CANCELMODE, 0, 0);
  }
  DefaultHandler(message);
}

void TWinControl::WMGetDlgCode(TMessage& message) { DefaultHandler(message); }

void TWinControl::CMDialogKey(TMessage& message) { Broadcast(message); }

void TWinControl::CMDialogChar(TMessage& message) { Broadcast(message); }

void TWinControl::CMEnabledChanged(TMessage& message) {
  if (!Enabled()) {
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, false);
  }
  if (FHandle) EnableWindow(FHandle, Enabled());
  TControl::CMEnabledChanged(message);
}

void TWinControl::CMVisibleChanged(TMessage& message) {
  if (!Visible()) {
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, false);
  }
  TControlGuard guard(this);
  if (!FHandle) {
    UpdateShowing();
    if (guard.Destroyed()) return;
  }
  if (FHandle) Perform(CM_SHOWINGCHANGED, 0, 0);
  (void)message;
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (!FHandle) return;
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMFontChanged(TMessage& message) {
  TControl::CMFontChanged(message);
  TMessage notice{CM_PARENTFONTCHANGED, 0, 0, 0};
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
  TControlGuard guard(this);
  for (TControl* child : children) {
    child->Perform(notice.Msg, 0, 0);
    if (guard.Destroyed()) return;
  }
}

void TWinControl::CMColorChanged(TMessage& message) {
  TControl::CMColorChanged(message);
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
  TControlGuard guard(this);
  for (TControl* child : children) {
    child->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (guard.Destroyed()) return;
  }
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }

void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMFocusChanged(TMessage& message) { Broadcast(message); message.Result = 0; }

void TWinControl::Loaded() {
  TControl::Loaded();
  // Children that stored a tab order get their places now that all of
  // them exist (setting them one by one while they were read would have
  // clamped the early ones).
  std::stable_sort(FTabList.begin(), FTabList.end(), [](const TWinControl* a, const TWinControl* b) {
    int keyA = a->FStoredTabOrder >= 0 ? a->FStoredTabOrder : INT_MAX;
    int keyB = b->FStoredTabOrder >= 0 ? b->FStoredTabOrder : INT_MAX;
    return keyA < keyB;
  });
  for (TWinControl* child : FTabList) child->FStoredTabOrder = -1;
  Realign();
}

// ---- Raisers --------------------------------------------------------------

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::ApplyFocusToForm() {}

}  // namespace ui
