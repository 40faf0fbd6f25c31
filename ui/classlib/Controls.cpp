#include "ui/classlib/Controls.h"

#include <algorithm>
#include <array>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"
#include "platform/VirtualKeys.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/Input.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {

TControl* CaptureControl = nullptr;
TControl* MouseControl = nullptr;

struct CursorName {
  TCursor Cursor;
  const char* Name;
  platform::CursorShape Shape;
};

constexpr std::array<CursorName, 23> CursorNames{{
    {crDefault, "crDefault", platform::CursorShape::Arrow},
    {crNone, "crNone", platform::CursorShape::Arrow},
    {crArrow, "crArrow", platform::CursorShape::Arrow},
    {crCross, "crCross", platform::CursorShape::Cross},
    {crIBeam, "crIBeam", platform::CursorShape::IBeam},
    {crSizeNESW, "crSizeNESW", platform::CursorShape::SizeNESW},
    {crSizeNS, "crSizeNS", platform::CursorShape::SizeNS},
    {crSizeNWSE, "crSizeNWSE", platform::CursorShape::SizeNWSE},
    {crSizeWE, "crSizeWE", platform::CursorShape::SizeWE},
    {crUpArrow, "crUpArrow", platform::CursorShape::UpArrow},
    {crHourGlass, "crHourGlass", platform::CursorShape::Wait},
    {crDrag, "crDrag", platform::CursorShape::Arrow},
    {crNoDrop, "crNoDrop", platform::CursorShape::No},
    {crHSplit, "crHSplit", platform::CursorShape::SizeWE},
    {crVSplit, "crVSplit", platform::CursorShape::SizeNS},
    {crMultiDrag, "crMultiDrag", platform::CursorShape::Arrow},
    {crSQLWait, "crSQLWait", platform::CursorShape::Wait},
    {crNo, "crNo", platform::CursorShape::No},
    {crAppStart, "crAppStart", platform::CursorShape::AppStarting},
    {crHelp, "crHelp", platform::CursorShape::Arrow},
    {crHandPoint, "crHandPoint", platform::CursorShape::Arrow},
    {crSizeAll, "crSizeAll", platform::CursorShape::SizeAll},
    {-23, "crSize", platform::CursorShape::SizeAll},
}};

}  // namespace

// ---- Small types ------------------------------------------------------

platform::CursorShape CursorShapeOf(TCursor cursor) {
  for (const CursorName& entry : CursorNames) {
    if (entry.Cursor == cursor) return entry.Shape;
  }
  return platform::CursorShape::Arrow;
}

bool CursorToIdent(TCursor cursor, std::string& name) {
  for (const CursorName& entry : CursorNames) {
    if (entry.Cursor == cursor) {
      name = entry.Name;
      return true;
    }
  }
  return false;
}

bool IdentToCursor(std::string_view name, TCursor& cursor) {
  for (const CursorName& entry : CursorNames) {
    if (core::SameText(entry.Name, name)) {
      cursor = entry.Cursor;
      return true;
    }
  }
  return false;
}

TShiftState ShiftStateFromMouseKeys(WPARAM keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift.Include(ssShift);
  if (keys & MK_CONTROL) shift.Include(ssCtrl);
  if (keys & MK_LBUTTON) shift.Include(ssLeft);
  if (keys & MK_RBUTTON) shift.Include(ssRight);
  if (keys & MK_MBUTTON) shift.Include(ssMiddle);
  if (GetKeyState(platform::VK_MENU) < 0) shift.Include(ssAlt);
  return shift;
}

// The modifiers of the key message being handled: a test (or a busy
// program) may have released the keys since, so the asynchronous state
// would be wrong here.
TShiftState KeyboardShiftState() {
  TShiftState shift;
  if (GetKeyState(platform::VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(platform::VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (GetKeyState(platform::VK_MENU) < 0) shift.Include(ssAlt);
  return shift;
}

TControlGuard::TControlGuard(const TControl* control) {
  if (control) FAlive = control->FAlive;
}

// ---- Helpers ----------------------------------------------------------

TCustomForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  const TControl* top = control;
  while (top->Parent()) top = top->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

TControl* GetCaptureControl() { return CaptureControl; }

void SetCaptureControl(TControl* control) {
  if (!control) {
    CaptureControl = nullptr;
    ReleaseCapture();
    return;
  }
  HWND window = nullptr;
  if (auto* winControl = dynamic_cast<TWinControl*>(control)) {
    window = winControl->Handle();
  } else if (control->Parent()) {
    window = control->Parent()->Handle();
  }
  if (!window) return;
  CaptureControl = control;
  SetCapture(window);
  // SetCapture's WM_CAPTURECHANGED to the previous holder may have
  // cleared it; this control holds it now.
  CaptureControl = control;
}

TControl* GetMouseControl() { return MouseControl; }

void TControl::SetMouseControlRecord(TControl* control) { MouseControl = control; }

void TControl::SetCaptureControlRecord(TControl* control) { CaptureControl = control; }

TControl* FindVCLWindow(gfx::Point screen) {
  TWinControl* control = FindControl(WindowFromPoint(screen));
  if (!control) return nullptr;
  gfx::Point client = control->ScreenToClient(screen);
  TControl* child = control->ControlAtPos(client, false);
  return child ? child : control;
}

// ---- TControl ---------------------------------------------------------

TControl::TControl(core::TComponent* owner) : core::TComponent(owner) {
  FWindowProc = [this](TMessage& message) { WndProc(message); };
  FFont.OnChange = [this](TGraphicsObject*) { FontObjectChanged(); };
}

// Every notice of the control's end leaves from here: guards expire, the
// capture and the pointer bookkeeping forget it, the parent drops it (and
// with it the form's focus records).
TControl::~TControl() {
  FAlive.reset();
  FFont.OnChange = nullptr;
  if (CaptureControl == this) SetCaptureControl(nullptr);
  if (MouseControl == this) MouseControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
  FParent = nullptr;
}

bool TControl::IsAncestorOf(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent()) {
    if (c == this) return true;
  }
  return false;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent && IsAncestorOf(parent)) {
    throw core::EInvalidOperation(core::Format("Control '%s' cannot be its own parent", Name()));
  }
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::UpdateBoundsRect(const gfx::Rect& r) {
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool sized = width != FWidth || height != FHeight;
  // A windowless control repaints where it was and where it goes.
  Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Invalidate();
  UpdateAnchorRules();
  TControlGuard guard(this);
  RequestAlign();
  if (guard.Destroyed()) return;
  if (sized && !ComponentState().Contains(core::csLoading)) Resize();
}

gfx::Rect TControl::ClientRect() const { return gfx::Rect{0, 0, FWidth, FHeight}; }

void TControl::SetClientSize(int width, int height) {
  gfx::Rect client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + width, FHeight - client.Height() + height);
}

gfx::Point TControl::ClientOrigin() const {
  if (!FParent) return gfx::Point{FLeft, FTop};
  gfx::Point origin = FParent->ClientOrigin();
  return gfx::Point{origin.X + FLeft, origin.Y + FTop};
}

gfx::Point TControl::ClientToScreen(gfx::Point point) const {
  gfx::Point origin = ClientOrigin();
  return gfx::Point{point.X + origin.X, point.Y + origin.Y};
}

gfx::Point TControl::ScreenToClient(gfx::Point point) const {
  gfx::Point origin = ClientOrigin();
  return gfx::Point{point.X - origin.X, point.Y - origin.Y};
}

void TControl::SetAlign(TAlign align) {
  if (align == FAlign) return;
  TAlign old = FAlign;
  FAlign = align;
  // An aligned control keeps the default anchors.
  if (align != alNone && align != alCustom) FAnchors = TAnchors{akLeft, akTop};
  if (old != alNone || align != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
  if (anchors == FAnchors) return;
  FAnchors = anchors;
  UpdateAnchorRules();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControlsNow(this);
}

void TControl::UpdateAnchorRules() {
  if (FAnchoring || ComponentState().Contains(core::csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop} || !FParent) {
    FOriginalParentSize = gfx::Size{};
    return;
  }
  if (FAnchors.Contains(akRight)) {
    FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  } else {
    FAnchorRules.X = FLeft + FWidth / 2;
  }
  if (FAnchors.Contains(akBottom)) {
    FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
  } else {
    FAnchorRules.Y = FTop + FHeight / 2;
  }
  gfx::Rect client = FParent->ClientRect();
  FOriginalParentSize = gfx::Size{client.Width(), client.Height()};
}

void TControl::AnchorTo(gfx::Size parentClientSize) {
  if (FOriginalParentSize.Width == 0 && FOriginalParentSize.Height == 0) return;
  if (ComponentState().Contains(core::csLoading)) return;
  int left = FLeft;
  int top = FTop;
  int width = FWidth;
  int height = FHeight;
  if (FOriginalParentSize.Width > 0) {
    if (FAnchors.Contains(akRight)) {
      int kept = FOriginalParentSize.Width - FAnchorRules.X;
      if (FAnchors.Contains(akLeft)) {
        width = parentClientSize.Width - kept;
      } else {
        left = parentClientSize.Width - kept;
      }
    } else if (!FAnchors.Contains(akLeft)) {
      left = int(static_cast<long long>(FAnchorRules.X) * parentClientSize.Width / FOriginalParentSize.Width) - width / 2;
    }
  }
  if (FOriginalParentSize.Height > 0) {
    if (FAnchors.Contains(akBottom)) {
      int kept = FOriginalParentSize.Height - FAnchorRules.Y;
      if (FAnchors.Contains(akTop)) {
        height = parentClientSize.Height - kept;
      } else {
        top = parentClientSize.Height - kept;
      }
    } else if (!FAnchors.Contains(akTop)) {
      top = int(static_cast<long long>(FAnchorRules.Y) * parentClientSize.Height / FOriginalParentSize.Height) - height / 2;
    }
  }
  FAnchoring = true;
  SetBounds(left, top, width, height);
  FAnchoring = false;
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  TControlGuard guard(this);
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
  if (guard.Alive()) RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::FontObjectChanged() {
  if (!FSettingParentFont) FParentFont = false;
  FontChanged();
}

void TControl::FontChanged() { Perform(CM_FONTCHANGED, 0, 0); }

void TControl::SetParentFont(bool parentFont) {
  if (parentFont == FParentFont) return;
  FParentFont = parentFont;
  if (FParent && parentFont && !ComponentState().Contains(core::csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
  if (color == FColor) {
    FParentColor = false;
    return;
  }
  FColor = color;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor == FParentColor) return;
  FParentColor = parentColor;
  if (FParent && parentColor && !ComponentState().Contains(core::csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool showHint) {
  if (showHint == FShowHint && !FParentShowHint) return;
  FShowHint = showHint;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool parentShowHint) {
  if (parentShowHint == FParentShowHint) return;
  FParentShowHint = parentShowHint;
  if (FParent && parentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

std::string TControl::GetText() const { return FText; }

void TControl::SetText(const std::string& text) {
  if (GetText() == text) return;
  TControlGuard guard(this);
  Perform(WM_SETTEXT, 0, ToLParam(text.c_str()));
  if (guard.Alive()) Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const std::string& name) {
  bool followName = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(core::csLoading) &&
                    Name() == GetText();
  if (auto* ownerControl = dynamic_cast<TControl*>(Owner())) {
    if (ownerControl->ComponentState().Contains(core::csLoading)) followName = false;
  }
  core::TComponent::SetName(name);
  if (followName) SetText(name);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

TPopupMenu* TControl::GetPopupMenu() const { return FPopupMenu; }

void TControl::Notification(core::TComponent* component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation == core::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
  core::TComponent::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
  }
  UpdateAnchorRules();
}

// ---- Messages ---------------------------------------------------------

LRESULT TControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
  TMessage m{message, wParam, lParam, 0};
  // A copy: the method may replace itself or destroy the control.
  TWndMethod method = FWindowProc;
  method(m);
  return m.Result;
}

void TControl::SetWindowProc(TWndMethod method) {
  if (method) {
    FWindowProc = std::move(method);
  } else {
    FWindowProc = [this](TMessage& message) { WndProc(message); };
  }
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FControlState.Include(csLButtonDown);
      break;
    case WM_LBUTTONUP:
      FControlState.Exclude(csLButtonDown);
      break;
    default:
      break;
  }
  Dispatch(message);
}

void TControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(message); break;
    case WM_LBUTTONUP: WMLButtonUp(message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(message); break;
    case WM_RBUTTONUP: WMRButtonUp(message); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(message); break;
    case WM_MBUTTONDOWN: WMMButtonDown(message); break;
    case WM_MBUTTONUP: WMMButtonUp(message); break;
    case WM_MOUSEMOVE: WMMouseMove(message); break;
    case WM_CONTEXTMENU: WMContextMenu(message); break;
    case WM_SETTEXT: WMSetText(message); break;
    case WM_CANCELMODE: WMCancelMode(message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); break;
    case CM_FONTCHANGED: CMFontChanged(message); break;
    case CM_COLORCHANGED: CMColorChanged(message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(message); break;
    case CM_TEXTCHANGED: CMTextChanged(message); break;
    case CM_MOUSEENTER: CMMouseEnter(message); break;
    case CM_MOUSELEAVE: CMMouseLeave(message); break;
    case CM_HITTEST: CMHitTest(message); break;
    default: DefaultHandler(message); break;
  }
}

void TControl::DefaultHandler(TMessage& message) {
  switch (message.Msg) {
    case WM_GETTEXTLENGTH: message.Result = LRESULT(GetText().size()); break;
    case WM_GETTEXT: {
      char* buffer = FromLParam<char>(message.LParam);
      if (!buffer || message.WParam == 0) break;
      std::string text = GetText();
      std::size_t count = std::min<std::size_t>(text.size(), std::size_t(message.WParam) - 1);
      while (count > 0 && count < text.size() && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) --count;
      std::copy_n(text.data(), count, buffer);
      buffer[count] = '\0';
      message.Result = LRESULT(count);
      break;
    }
    default: break;
  }
}

void TControl::DoMouseDown(TMouseButton button, WPARAM keys, gfx::Point point, bool doubleClick) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TShiftState shift = ShiftStateFromMouseKeys(keys);
  if (doubleClick) shift.Include(ssDouble);
  MouseDown(button, shift, point.X, point.Y);
}

void TControl::DoMouseUp(TMouseButton button, WPARAM keys, gfx::Point point) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(button, ShiftStateFromMouseKeys(keys), point.X, point.Y);
}

// Press and release (left button):
//   press:   capture the mouse (csCaptureMouse), arm the click
//            (csClickEvents), OnMouseDown
//   release: release the capture, a click when armed and released over
//            the control, then OnMouseUp
//   double:  as a press, with OnDblClick before OnMouseDown
void TControl::WMLButtonDown(TMessage& message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(mbLeft, message.WParam, PointFromLParam(message.LParam), false);
}

void TControl::WMLButtonDblClk(TMessage& message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  TControlGuard guard(this);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  if (guard.Destroyed()) return;
  DoMouseDown(mbLeft, message.WParam, PointFromLParam(message.LParam), true);
}

void TControl::WMLButtonUp(TMessage& message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  gfx::Point point = PointFromLParam(message.LParam);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(point)) {
      TControlGuard guard(this);
      Click();
      if (guard.Destroyed()) return;
    }
  }
  DoMouseUp(mbLeft, message.WParam, point);
}

void TControl::WMRButtonDown(TMessage& message) {
  DoMouseDown(mbRight, message.WParam, PointFromLParam(message.LParam), false);
}

void TControl::WMRButtonUp(TMessage& message) {
  TControlGuard guard(this);
  DoMouseUp(mbRight, message.WParam, PointFromLParam(message.LParam));
  if (guard.Destroyed()) return;
  // The window's default procedure turns the release into WM_CONTEXTMENU.
  DefaultHandler(message);
}

void TControl::WMRButtonDblClk(TMessage& message) {
  DoMouseDown(mbRight, message.WParam, PointFromLParam(message.LParam), true);
}

void TControl::WMMButtonDown(TMessage& message) {
  DoMouseDown(mbMiddle, message.WParam, PointFromLParam(message.LParam), false);
}

void TControl::WMMButtonUp(TMessage& message) {
  DoMouseUp(mbMiddle, message.WParam, PointFromLParam(message.LParam));
}

void TControl::WMMouseMove(TMessage& message) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  gfx::Point point = PointFromLParam(message.LParam);
  MouseMove(ShiftStateFromMouseKeys(message.WParam), point.X, point.Y);
}

void TControl::WMContextMenu(TMessage& message) {
  gfx::Point point = PointFromLParam(message.LParam);
  // (-1, -1) is the keyboard's request: open at the control's centre.
  bool fromKeyboard = point.X == -1 && point.Y == -1;
  TPopupMenu* menu = GetPopupMenu();
  // A right click on the frame (a form's caption opens the window menu
  // there) is not for the control's own menu.
  if (!menu || !menu->AutoPopup() || (!fromKeyboard && !ClientRect().Contains(ScreenToClient(point)))) {
    DefaultHandler(message);
    return;
  }
  if (fromKeyboard) point = ClientToScreen(gfx::Point{FWidth / 2, FHeight / 2});
  menu->SetPopupComponent(this);
  message.Result = 1;
  menu->Popup(point.X, point.Y);
}

void TControl::WMSetText(TMessage& message) {
  const char* text = FromLParam<const char>(message.LParam);
  FText = text ? text : "";
  message.Result = 1;
  DefaultHandler(message);
  message.Result = 1;
}

void TControl::WMCancelMode(TMessage& message) {
  if (MouseCapture()) SetMouseCapture(false);
  FControlState.Exclude(csClicked);
  DefaultHandler(message);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) {
  // A windowless control shows or leaves its area of the parent.
  if (FParent && FParent->HandleAllocated()) {
    gfx::Rect r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, true);
  }
  if (!FVisible) {
    if (CaptureControl == this) SetCaptureControl(nullptr);
    if (MouseControl == this) MouseControl = nullptr;
  }
}

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage& message) {
  if (!FParentFont || !FParent) return;
  FSettingParentFont = true;
  // A font handed down in the message wins over the parent's own.
  if (message.WParam) {
    FFont.Assign(*FromLParam<TFont>(message.LParam));
  } else {
    FFont.Assign(*FParent->Font());
  }
  FSettingParentFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  TColor color = FParent->Color();
  if (color == FColor) return;
  FColor = color;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
}

void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMMouseEnter(TMessage&) {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage&) {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::CMHitTest(TMessage& message) { message.Result = 1; }

// ---- Raisers ----------------------------------------------------------

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// ---- Painting and mouse -------------------------------------------------

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  gfx::Rect r = BoundsRect();
  InvalidateRect(FParent->Handle(), &r, !FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

bool TControl::MouseCapture() const { return CaptureControl == this; }

void TControl::SetMouseCapture(bool capture) {
  if (capture == MouseCapture()) return;
  SetCaptureControl(capture ? this : nullptr);
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto* winControl = dynamic_cast<TWinControl*>(this);
  FParent->SetChildOrder(this, winControl ? int(FParent->FWinControls.size()) - 1 : int(FParent->FControls.size()) - 1);
  if (winControl && winControl->HandleAllocated()) {
    SetWindowPos(winControl->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto* winControl = dynamic_cast<TWinControl*>(this);
  FParent->SetChildOrder(this, 0);
  if (winControl && winControl->HandleAllocated()) {
    SetWindowPos(winControl->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

// ---- Windowless controls and custom-painted ones -----------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::FreeHandle() {
  if (!FOwnContext) return;
  if (Handle() == FOwnContext) SetHandle(nullptr);
  ReleaseDC(FWindow, FOwnContext);
  FOwnContext = nullptr;
  FWindow = nullptr;
}

void TControlCanvas::CreateHandle() {
  FreeHandle();
  if (!FControl) return;
  if (auto* winControl = dynamic_cast<TWinControl*>(FControl)) {
    FWindow = winControl->Handle();
    FOwnContext = GetDC(FWindow);
  } else if (TWinControl* parent = FControl->Parent()) {
    FWindow = parent->Handle();
    FOwnContext = GetDC(FWindow);
    if (FOwnContext) {
      gfx::Canvas& canvas = FOwnContext->Canvas();
      canvas.MoveOrigin(FControl->Left(), FControl->Top());
      canvas.IntersectClipRect(gfx::Rect{0, 0, FControl->Width(), FControl->Height()});
    }
  }
  SetHandle(FOwnContext);
}

TGraphicControl::TGraphicControl(core::TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: WMPaint(message); break;
    default: TControl::Dispatch(message); break;
  }
}

void TGraphicControl::Paint() {}

void TGraphicControl::WMPaint(TMessage& message) {
  HDC context = reinterpret_cast<HDC>(message.WParam);
  if (!context) return;
  FCanvas->FreeHandle();
  FCanvas->SetHandle(context);
  TControlGuard guard(this);
  Paint();
  if (guard.Alive()) FCanvas->SetHandle(nullptr);
}

TCustomControl::TCustomControl(core::TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC context) {
  FCanvas->FreeHandle();
  FCanvas->SetHandle(context);
  TControlGuard guard(this);
  Paint();
  if (guard.Alive()) FCanvas->SetHandle(nullptr);
}

}  // namespace ui
