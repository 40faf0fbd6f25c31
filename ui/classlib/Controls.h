#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Set.h"
#include "gfx/Geometry.h"
#include "platform/CursorShape.h"
#include "ui/classlib/ControlMessages.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/Graphics.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowTypes.h"

// The control base of the class library.
//
// A control is a component (owned, named, loaded from a layout) that also
// has a parent control: the parent shows it, positions it inside its client
// area and passes it mouse input and paint. Two kinds exist:
// - windowless controls (TGraphicControl): no window of their own; their
//   parent's WM_PAINT paints them clipped to their bounds, and the parent
//   hands them the mouse messages over them;
// - windowed controls (TWinControl): a window of the window system (HWND),
//   made on demand once the parent has one (HandleNeeded), with keyboard
//   focus, tab order and child controls.
//
// Messages: every control has one message switch per class (Dispatch); a
// class overrides Dispatch, handles the messages it knows with one handler
// per message kind and passes the rest to inherited::Dispatch. A handler
// that wants the inherited behaviour as well calls inherited::Dispatch(m).
// What no class handles goes to DefaultHandler (for a windowed control: the
// window class's default procedure). WindowProc is the entry: Perform and
// the window's procedure call it; it can be replaced by another object's
// method (subclassing that survives re-creation of the window); the
// default is WndProc, which calls Dispatch.
//
// Creating a control in code:
//   auto* button = core::Create<TMyButton>(*form);   // owner: the form
//   button->SetParent(form);                         // shows inside it
//   button->SetBounds(8, 8, 75, 25);
//   button->OnClick = [&](core::TComponent*) { ... };
//
// Events: a handler may destroy the control that raised it (for example by
// Free). Code that fires an event checks TControlGuard afterwards and
// touches nothing of the control when it is gone.
namespace ui {

class TWinControl;
class TCustomForm;
class TPopupMenu;
template <class T>
class TPropertyList;

// ---- Small types ------------------------------------------------------

// Alignment inside the parent's client area. The parent places aligned
// children in the order top, bottom, left, right, client: each takes a
// strip of what the ones before left over.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// Edges that keep their distance to the parent's edges when the parent
// changes size. Left and right together stretch the control; neither keeps
// the control's centre at the same proportion of the parent's width.
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = core::TSet<TAnchorKind>;

enum TControlStyleItem {
  csAcceptsControls,  // may be the parent of controls in a layout
  csCaptureMouse,     // captures the mouse while a button is held on it
  csDesignInteractive,
  csClickEvents,      // a press and release over it is a click
  csFramed,
  csSetCaption,       // the caption follows the name while they are equal
  csOpaque,           // paints every pixel: no background erase below it
  csDoubleClicks,     // a second click is a double click
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,      // mouse events are not raised for it
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
};
using TControlStyle = core::TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,       // the left button went down on it and is still down
  csClicked,           // ... and the release will be a click
  csPalette,
  csReadingState,      // its layout is being read
  csAlignmentNeeded,   // a realignment was asked for while it was disabled
  csFocusing,          // focus is moving to it
  csCreating,          // its window is being made
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,  // its window is being destroyed
  csDocking,
};
using TControlState = core::TSet<TControlStateItem>;

// The pointer shape over a control, with the classic numbers; positive
// numbers are cursors a skin adds (shown as the arrow).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
platform::CursorShape CursorShapeOf(TCursor cursor);
bool CursorToIdent(TCursor cursor, std::string& name);
bool IdentToCursor(std::string_view name, TCursor& cursor);

// The shift state of a mouse message's wParam, and of the keyboard at the
// input message being handled.
TShiftState ShiftStateFromMouseKeys(WPARAM keys);
TShiftState KeyboardShiftState();

// What CreateWnd asks the window system for; CreateParams fills it.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  // The parent window (child controls) or owner window (forms).
  HWND WndParent = nullptr;
  // The window class: its name, class styles, background (none: the
  // control erases its own background) and pointer.
  std::string WinClassName;
  UINT WindowClassStyle = 0;
  std::optional<gfx::Color> WindowClassBackground;
};

// Tells whether a control survived the code that ran since the guard was
// made (an event handler may destroy its sender).
class TControlGuard {
 public:
  explicit TControlGuard(const class TControl* control);
  bool Destroyed() const { return FAlive.expired(); }
  bool Alive() const { return !FAlive.expired(); }

 private:
  std::weak_ptr<const bool> FAlive;
};

// A method of another object that takes a control's messages (WindowProc).
using TWndMethod = std::function<void(TMessage& message)>;

// ---- TControl ---------------------------------------------------------

class TControl : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(TPropertyList<TControl>& list);

  explicit TControl(core::TComponent* owner);
  ~TControl() override;

  // ---- Tree ----
  TWinControl* Parent() const { return FParent; }
  // Moves the control into parent's list of children (nullptr: none, the
  // control is then not shown). A control cannot be its own ancestor:
  // EInvalidOperation "Control '<name>' cannot be its own parent" (classic
  // wording for the same mistake).
  virtual void SetParent(TWinControl* parent);
  // True when control is this one or one of its descendants.
  bool IsAncestorOf(const TControl* control) const;

  // ---- Geometry (parent client coordinates; screen for a form) ----
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int left) { SetBounds(left, FTop, FWidth, FHeight); }
  void SetTop(int top) { SetBounds(FLeft, top, FWidth, FHeight); }
  void SetWidth(int width) { SetBounds(FLeft, FTop, width, FHeight); }
  void SetHeight(int height) { SetBounds(FLeft, FTop, FWidth, height); }
  gfx::Rect BoundsRect() const { return gfx::Rect::FromSize(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const gfx::Rect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // Every change of position or size comes here (the properties, the
  // alignment, the anchors, the layout reader), so an override sees them
  // all. The base stores the bounds, moves the window, asks the parent to
  // realign and raises OnResize when the size changed. Negative sizes
  // become 0.
  virtual void SetBounds(int left, int top, int width, int height);

  // The client area in the control's own coordinates, (0, 0) at its
  // top-left corner; a windowed control asks its window (frame excluded).
  virtual gfx::Rect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  // Changes the outer size so that the client area gets this size.
  virtual void SetClientSize(int width, int height);
  void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
  void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
  // The screen position of the client area's (0, 0).
  virtual gfx::Point ClientOrigin() const;
  gfx::Point ClientToScreen(gfx::Point point) const;
  gfx::Point ScreenToClient(gfx::Point point) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors anchors);

  // ---- State ----
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a form that is shown.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  // Sends CM_ENABLEDCHANGED.
  virtual void SetEnabled(bool enabled);

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle style) { FControlStyle = style; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState state) { FControlState = state; }

  // ---- Appearance ----
  // The font the control draws with. While ParentFont is true it follows
  // the parent's font; changing the font makes ParentFont false.
  TFont* Font() { return &FFont; }
  const TFont* Font() const { return &FFont; }
  void SetFont(const TFont& font) { FFont.Assign(font); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool parentFont);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool parentColor);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);

  // The caption or text (they are the same property under two names).
  // Reading goes through GetText, writing through WM_SETTEXT followed by
  // CM_TEXTCHANGED, so controls that keep their text elsewhere override
  // the message and GetText.
  std::string Text() const { return GetText(); }
  void SetText(const std::string& text);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& caption) { SetText(caption); }

  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool showHint);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool parentShowHint);

  // The menu a right click (or the menu key) opens; cleared when the menu
  // is destroyed.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  // ---- Messages ----
  // Sends a message to the control now, through WindowProc; works with or
  // without a window.
  LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  const TWndMethod& WindowProc() const { return FWindowProc; }
  // nullptr restores WndProc.
  void SetWindowProc(TWndMethod method);
  // The default WindowProc: mouse capture and enter/leave bookkeeping,
  // then Dispatch.
  virtual void WndProc(TMessage& message);
  // The message switch of the class (see the namespace comment).
  virtual void Dispatch(TMessage& message);
  // Messages no class handled. The base answers WM_GETTEXT and
  // WM_GETTEXTLENGTH from the stored text and leaves the rest at 0.
  virtual void DefaultHandler(TMessage& message);

  // ---- Painting ----
  // Marks the control for repainting (its parent's area for a windowless
  // one).
  virtual void Invalidate();
  // Paints what is marked now.
  virtual void Update();
  // Invalidate and Update.
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // ---- Mouse ----
  // The control gets every mouse message while true (a windowless control
  // through its parent's window).
  bool MouseCapture() const;
  void SetMouseCapture(bool capture);

  void BringToFront();
  void SendToBack();

  // ---- Events ----
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

  // The layout reader's hook: runs once everything of the layout exists.
  void Loaded() override;
  // With csSetCaption, a caption equal to the old name follows the name.
  void SetName(const std::string& name) override;

 protected:
  // ---- Raisers: each raises its event when assigned ----
  // Click also runs for keyboard clicks (a button's Enter or space).
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Resize();

  // The popup menu to open for a right click; the base answers PopupMenu.
  virtual TPopupMenu* GetPopupMenu() const;
  // Called with the text now stored; the base returns the stored text.
  virtual std::string GetText() const;
  // Asks the parent to realign its children (after a change of bounds,
  // alignment or visibility).
  void RequestAlign();
  // Records how the control is anchored in its parent now (the anchors
  // keep these distances when the parent changes size).
  void UpdateAnchorRules();
  // Moves the control as its anchors say for a parent client size.
  void AnchorTo(gfx::Size parentClientSize);
  // Sends CM_FONTCHANGED (a windowed control then tells its children).
  virtual void FontChanged();
  // Clears PopupMenu when the menu goes.
  void Notification(core::TComponent* component, core::TOperation operation) override;

  // ---- Message handlers (one per message kind) ----
  void WMLButtonDown(TMessage& message);
  void WMLButtonUp(TMessage& message);
  void WMLButtonDblClk(TMessage& message);
  void WMRButtonDown(TMessage& message);
  void WMRButtonUp(TMessage& message);
  void WMRButtonDblClk(TMessage& message);
  void WMMButtonDown(TMessage& message);
  void WMMButtonUp(TMessage& message);
  void WMMouseMove(TMessage& message);
  void WMContextMenu(TMessage& message);
  void WMSetText(TMessage& message);
  void WMCancelMode(TMessage& message);
  void CMEnabledChanged(TMessage& message);
  void CMVisibleChanged(TMessage& message);
  void CMFontChanged(TMessage& message);
  void CMColorChanged(TMessage& message);
  void CMParentFontChanged(TMessage& message);
  void CMParentColorChanged(TMessage& message);
  void CMParentShowHintChanged(TMessage& message);
  void CMTextChanged(TMessage& message);
  void CMMouseEnter(TMessage& message);
  void CMMouseLeave(TMessage& message);
  void CMHitTest(TMessage& message);

  // Mouse messages land here after the handlers decoded them.
  void DoMouseDown(TMouseButton button, WPARAM keys, gfx::Point point, bool doubleClick);
  void DoMouseUp(TMouseButton button, WPARAM keys, gfx::Point point);

  // The bounds as stored, without side effects (the window system told us
  // where the window is).
  void UpdateBoundsRect(const gfx::Rect& r);

  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;

 private:
  friend class TWinControl;
  friend class TControlGuard;
  void FontObjectChanged();
  // The records behind GetMouseControl and GetCaptureControl, changed
  // without any message.
  static void SetMouseControlRecord(TControl* control);
  static void SetCaptureControlRecord(TControl* control);
  void SetParentField(TWinControl* parent) { FParent = parent; }

  // Expires with the control (TControlGuard).
  std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);
  TWinControl* FParent = nullptr;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  // Anchor rules: the distances and size recorded by UpdateAnchorRules
  // and the parent client size they were recorded at.
  gfx::Point FAnchorRules;
  gfx::Size FOriginalParentSize;
  bool FAnchoring = false;
  bool FVisible = true;
  bool FEnabled = true;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  TFont FFont;
  bool FParentFont = true;
  bool FSettingParentFont = false;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TCursor FCursor = crDefault;
  std::string FText;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  TWndMethod FWindowProc;
};

// ---- TWinControl ------------------------------------------------------

class TWinControl : public TControl {
 public:
  using inherited = TControl;
  static void DefineProperties(TPropertyList<TWinControl>& list);

  explicit TWinControl(core::TComponent* owner);
  ~TWinControl() override;

  // ---- Children ----
  // Windowless children first, then windowed ones, each in the order they
  // joined; a layout is written in this order.
  int ControlCount() const;
  TControl* Controls(int index) const;
  // The child (not this control) under a client point: visible ones only,
  // enabled ones unless allowDisabled, windowed ones only when
  // allowWinControls; the topmost wins.
  TControl* ControlAtPos(gfx::Point point, bool allowDisabled, bool allowWinControls = false) const;
  bool ContainsControl(const TControl* control) const;
  // Sends the message to each child until one sets Result.
  void Broadcast(TMessage& message);
  // Moves child to index among its kind (windowless or windowed).
  void SetChildOrder(TControl* child, int order);

  // ---- Window ----
  // The window, made now if needed (and the parent's before it).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys and makes the window again (new styles, a new class); the
  // bounds, text and visibility carry over, the children's windows are
  // made again too.
  void RecreateWnd();
  // The window procedure of the window's class, which DefaultHandler
  // calls (DefWindowProc for the library's own classes).
  const WNDPROC& DefWndProc() const { return FDefWndProc; }

  // ---- Focus and tab order ----
  // This control and its parents up to the form are visible and enabled
  // (the form itself may be hidden yet).
  virtual bool CanFocus() const;
  virtual bool Focused() const;
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // when CanFocus is false.
  virtual void SetFocus();
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool tabStop);
  // Windowed descendants in tab order (depth first, each parent before its
  // children).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next (or previous) control in tab order after current among the
  // descendants, wrapping round; only tab stops when checkTabStop, only
  // direct children when checkParent. nullptr when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  // Focuses FindNextControl's answer.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // ---- Alignment ----
  // Realignment waits while disabled (nesting counts) and runs once at
  // the last EnableAlign when one was asked for.
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void Realign();

  // ---- Painting ----
  // Paints the windowless children over the update area of context (from
  // first on, in order; nullptr: all).
  void PaintControls(HDC context, TControl* first);

  // ---- Events ----
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  void SetBounds(int left, int top, int width, int height) override;
  gfx::Rect ClientRect() const override;
  gfx::Point ClientOrigin() const override;
  bool Showing() const override;
  void SetParent(TWinControl* parent) override;
  void Invalidate() override;
  void Update() override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void WndProc(TMessage& message) override;
  void Loaded() override;

 protected:
  // ---- Window creation ----
  // Fills the parameters of the window: a visible child (WS_CHILD,
  // WS_CLIPSIBLINGS) of the parent's window at the control's bounds, in
  // the class "T" + the library's control class. Overrides change styles
  // and the class and call the base first. A control without a parent may
  // be a top-level window of its own: WS_POPUP instead of WS_CHILD, no
  // WndParent (or an owner), and WS_EX_TOPMOST | WS_EX_NOACTIVATE make a
  // popup above every window that never takes the activation or the focus
  // (a skin menu; an override-redirect window on X11). Its bounds are then
  // screen coordinates.
  virtual void CreateParams(TCreateParams& params);
  // Registers the class when needed and makes the window
  // (CreateWindowHandle). Overrides do their work after the base.
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  // Destroys the window (the children's first). The text stays.
  virtual void DestroyWnd();
  // CreateWnd, then the children's windows.
  virtual void CreateHandle();
  virtual void DestroyHandle();

  // Paints the control's own pixels into the paint context (after the
  // background was erased); the base does nothing.
  virtual void PaintWindow(HDC context);
  // The part of the client area the aligned children share; the base
  // leaves the whole client rectangle.
  virtual void AdjustClientRect(gfx::Rect& rect) const;
  // Places the aligned and anchored children inside rect; control is the
  // child whose change asked for it (it keeps its place among equals).
  virtual void AlignControls(TControl* control, gfx::Rect& rect);

  // ---- Raisers ----
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(int& key, TShiftState shift);
  virtual void KeyUp(int& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);

  // ---- Message handlers ----
  void WMPaint(TMessage& message);
  void WMEraseBkgnd(TMessage& message);
  void WMSetFocus(TMessage& message);
  void WMKillFocus(TMessage& message);
  void WMKeyDown(TMessage& message);
  void WMKeyUp(TMessage& message);
  void WMChar(TMessage& message);
  void WMSysKeyDown(TMessage& message);
  void WMSysChar(TMessage& message);
  void WMSetCursor(TMessage& message);
  void WMWindowPosChanged(TMessage& message);
  void WMSize(TMessage& message);
  void WMNCDestroy(TMessage& message);
  void WMMouseLeave(TMessage& message);
  void WMCaptureChanged(TMessage& message);
  void WMGetDlgCode(TMessage& message);
  void CMDialogKey(TMessage& message);
  void CMDialogChar(TMessage& message);
  void CMEnabledChanged(TMessage& message);
  void CMVisibleChanged(TMessage& message);
  void CMShowingChanged(TMessage& message);
  void CMFontChanged(TMessage& message);
  void CMColorChanged(TMessage& message);
  void CMEnter(TMessage& message);
  void CMExit(TMessage& message);
  void CMFocusChanged(TMessage& message);
  void CMRecreateWnd(TMessage& message);
  // Mouse messages of the window that belong to a windowless child (under
  // the pointer, or holding the capture) go to it; true when they did.
  bool IsControlMouseMsg(TMessage& message);
  // The control under the pointer changes: CM_MOUSELEAVE to the old one,
  // CM_MOUSEENTER to the new one.
  void UpdateMouseControl(TControl* control);

  // Tells the key to the form's shortcuts, then to the form's dialog
  // navigation; true when one of them took it.
  bool DoDialogKey(int key, LPARAM keyData);
  // KeyPreview first, then OnKeyDown; true when the key was swallowed.
  bool DoKeyDown(TMessage& message);
  bool DoKeyUp(TMessage& message);
  bool DoKeyPress(TMessage& message);

  HWND WindowHandle() const { return FHandle; }
  // True while RecreateWnd makes the window again (showing it again is no
  // new showing of the control).
  bool Recreating() const { return FRecreating; }

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void MainWndProc(TMessage& message);
  void AlignControlsNow(TControl* control);
  void UpdateShowing();
  void ApplyFocusToForm();

  HWND FHandle = nullptr;
  WNDPROC FObjectInstance;
  WNDPROC FDefWndProc;
  std::vector<TControl*> FControls;     // windowless children
  std::vector<TWinControl*> FWinControls;  // windowed children
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  int FAlignLevel = 0;
  bool FShowing = false;
  bool FRecreating = false;
  // The TabOrder a layout gave, applied once all siblings exist.
  int FStoredTabOrder = -1;
};

// ---- Windowless and custom-painted controls -----------------------------

// A canvas that gets its context from a control's window when it draws
// outside a paint (and releases it at FreeHandle).
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : FControl(control) {}
  ~TControlCanvas() override;
  // Releases a context this canvas got itself.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HWND FWindow = nullptr;
  HDC FOwnContext = nullptr;
};

// A control without a window, painted by its parent.
class TGraphicControl : public TControl {
 public:
  using inherited = TControl;

  explicit TGraphicControl(core::TComponent* owner);
  ~TGraphicControl() override;

  // Valid inside Paint: the parent's paint context, origin at this
  // control's top-left corner, clipped to its bounds.
  TCanvas* Canvas() { return FCanvas.get(); }
  void Dispatch(TMessage& message) override;

 protected:
  // Draws the control; the base does nothing.
  virtual void Paint();
  void WMPaint(TMessage& message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
 public:
  using inherited = TWinControl;

  explicit TCustomControl(core::TComponent* owner);
  ~TCustomControl() override;

  TCanvas* Canvas() { return FCanvas.get(); }

 protected:
  // Draws the control on Canvas (the paint context); the base does
  // nothing.
  virtual void Paint();
  void PaintWindow(HDC context) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// ---- Helpers ----------------------------------------------------------

// The control whose window this is; nullptr for other windows.
TWinControl* FindControl(HWND window);
// The deepest control (windowless ones included) under a screen point.
TControl* FindVCLWindow(gfx::Point screen);
// The form a control sits on (its topmost parent when that is a form).
TCustomForm* GetParentForm(const TControl* control);
// The control holding the mouse capture (see TControl::MouseCapture).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control the pointer is over, as the last mouse move saw it.
TControl* GetMouseControl();

}  // namespace ui
