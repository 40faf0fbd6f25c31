#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/Strings.h"
#include "gfx/Canvas.h"
#include "gfx/Geometry.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/Graphics.h"

// The standard controls in the classic desktop look: push button, check
// box, radio button, group box, scroll bar, label, single-line edit and
// memo. They paint themselves (there is no native control underneath);
// the messages they answer keep the classic numbers, so that a skinned
// class can subclass them the way it would subclass the platform's own.
namespace ui {

// ---- Messages of the standard controls --------------------------------

// Edit messages. Positions are character (code point) offsets into the
// text, a line break counting as two characters (CR LF).
constexpr UINT EM_GETSEL = 0x00B0;  // wParam, lParam: int* start, end (may be null); result start | end << 16
constexpr UINT EM_SETSEL = 0x00B1;  // wParam start, lParam end; -1 as start removes the selection
constexpr UINT EM_SCROLL = 0x00B5;  // wParam: SB_LINEUP ... SB_PAGEDOWN
constexpr UINT EM_LINESCROLL = 0x00B6;  // wParam: characters right, lParam: lines down
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
// The number of lines as displayed (wrapped lines count each row).
constexpr UINT EM_GETLINECOUNT = 0x00BA;
// wParam: a line of the text (not a wrapped row); -1 the caret's line.
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;  // wParam: a character position
constexpr UINT EM_REPLACESEL = 0x00C2;  // wParam: can undo, lParam: const char* UTF-8
constexpr UINT EM_LIMITTEXT = 0x00C5;   // wParam: the limit, 0 for none
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;  // wParam: a character position, -1 the caret's
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
// The first row shown (wrapped rows count).
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
// wParam: EC_LEFTMARGIN | EC_RIGHTMARGIN, lParam: left | right << 16.
constexpr UINT EM_SETMARGINS = 0x00D3;
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;

// Button messages.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WPARAM BST_INDETERMINATE = 2;

// Scroll request codes of WM_HSCROLL and WM_VSCROLL (low word of wParam;
// the high word carries the position for SB_THUMBPOSITION and
// SB_THUMBTRACK).
constexpr WPARAM SB_LINEUP = 0;
constexpr WPARAM SB_LINELEFT = 0;
constexpr WPARAM SB_LINEDOWN = 1;
constexpr WPARAM SB_LINERIGHT = 1;
constexpr WPARAM SB_PAGEUP = 2;
constexpr WPARAM SB_PAGELEFT = 2;
constexpr WPARAM SB_PAGEDOWN = 3;
constexpr WPARAM SB_PAGERIGHT = 3;
constexpr WPARAM SB_THUMBPOSITION = 4;
constexpr WPARAM SB_THUMBTRACK = 5;
constexpr WPARAM SB_TOP = 6;
constexpr WPARAM SB_LEFT = 6;
constexpr WPARAM SB_BOTTOM = 7;
constexpr WPARAM SB_RIGHT = 7;
constexpr WPARAM SB_ENDSCROLL = 8;

// ---- Small types --------------------------------------------------------

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// ScrollPos may be changed by the handler; the bar then moves there.
using TScrollEvent = TMethod<void(core::TComponent* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// ---- Classic drawing ------------------------------------------------------

// The pieces of the classic look that several controls share. Colours are
// the system colours of ui/Graphics.h, resolved when drawn.
namespace classic {

enum class FrameKind {
  Raised,        // a button: light top-left, dark bottom-right, two rings
  Sunken,        // an edit or check box: the reverse
  Pressed,       // a pushed button: dark frame, shadow inside
  Etched,        // a group box line: shadow, then highlight
  RaisedSingle,  // one ring, highlight and shadow (a tab, a thumb)
};

// Draws the frame on the outermost pixels of r and returns the rectangle
// inside it.
gfx::Rect DrawFrame(gfx::Canvas& canvas, const gfx::Rect& r, FrameKind kind);
// The dotted focus rectangle, every other pixel of r's outline.
void DrawFocusRect(gfx::Canvas& canvas, const gfx::Rect& r, TColor color = clBtnText);
// A filled arrow glyph (a triangle of `size` rows) centred in r and
// pointing in direction 0 up, 1 right, 2 down, 3 left.
void DrawArrow(gfx::Canvas& canvas, const gfx::Rect& r, int direction, TColor color, int size = 4);
// Text the classic way for a disabled control: the text once in the
// highlight colour one pixel right and down, then in the shadow colour at
// its place. The canvas's font (colour aside) is used.
void DrawEmbossedText(gfx::Canvas& canvas, std::string_view text, gfx::Rect rect, unsigned format);
// The character that "&x" marks in a caption, 0 when there is none.
char32_t AcceleratorOf(std::string_view caption);
// True when key is the caption's accelerator (letters compare without case).
bool IsAccelerator(char32_t key, std::string_view caption);

}  // namespace classic

// ---- Buttons ------------------------------------------------------------

// What the push button, check box and radio button share: a press with the
// mouse or the space bar that completes with a release over the control.
//
//   input                  condition             effect
//   left press             enabled               take the focus; tracking; Pressed
//   move                   tracking              Pressed := pointer inside
//   left release           tracking              Pressed := false; ButtonActivated when inside
//   Space down             focused               space held; Pressed
//   Space up               space held            Pressed := false; ButtonActivated
//   focus lost / cancel                          tracking and space released, no activation
//
// Painting reads Pressed() (and Focused(), MouseInControl(), Enabled())
// only.
class TButtonControl : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TButtonControl(core::TComponent* owner);

  bool Pressed() const { return FPressed; }
  bool MouseInControl() const { return FMouseInControl; }
  void Dispatch(TMessage& message) override;

 protected:
  // A completed press: the button clicks, a check box toggles.
  virtual void ButtonActivated() = 0;
  // The look changed (pressed, hot, focus); the base repaints.
  virtual void StateChanged();
  void SetPressed(bool pressed);

 private:
  void WMLButtonDown(TMessage& message);
  void WMLButtonUp(TMessage& message);
  void WMMouseMove(TMessage& message);
  void WMKeyDown(TMessage& message);
  void WMKeyUp(TMessage& message);
  void WMKillFocus(TMessage& message);
  void CMDialogChar(TMessage& message);

  bool FTracking = false;
  bool FSpaceDown = false;
  bool FPressed = false;
  bool FMouseInControl = false;
};

// A push button. Clicking copies ModalResult into the form's (which ends a
// modal form) and raises OnClick. The default button answers Enter while
// the focus is not on another button; the cancel button answers Escape.
class TButton : public TButtonControl {
 public:
  using inherited = TButtonControl;

  explicit TButton(core::TComponent* owner);

  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  // The button Enter presses now: the focused button, or the default one
  // while the focus is on a control that is not a button.
  bool Active() const { return FActive; }

  // Clicks the button as the user would (modal result, then OnClick).
  void Click() override;
  void Dispatch(TMessage& message) override;
  static void DefineProperties(TPropertyList<TButton>& list);

 protected:
  void ButtonActivated() override;
  void Paint() override;
  void CreateWnd() override;

 private:
  void CMDialogKey(TMessage& message);
  void CMFocusChanged(TMessage& message);

  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

// A check box: a box with a tick and the caption right of it. A click (or
// Space) goes unchecked -> checked -> (grayed when AllowGrayed) ->
// unchecked. Every change of State, by the user or the program, raises
// OnClick.
class TCustomCheckBox : public TButtonControl {
 public:
  using inherited = TButtonControl;

  explicit TCustomCheckBox(core::TComponent* owner);

  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState state);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool value) { FAllowGrayed = value; }
  // Where the caption goes: taRightJustify (the default) right of the box.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

  void Dispatch(TMessage& message) override;
  static void DefineProperties(TPropertyList<TCustomCheckBox>& list);

 protected:
  // The user's toggle.
  virtual void Toggle();
  // State changed (by the user or the program): the base raises OnClick.
  virtual void CheckedChanged();
  void ButtonActivated() override { Toggle(); }
  void Paint() override;
  // The box, and the caption as painted (the focus goes round it); the
  // canvas measures with its current font.
  gfx::Rect BoxRect() const;
  gfx::Rect CaptionRect(gfx::Canvas& canvas) const;

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
 public:
  using inherited = TCustomCheckBox;
  using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the radio buttons of the same
// parent. A click only checks; OnClick is raised when it becomes checked.
class TRadioButton : public TCustomCheckBox {
 public:
  using inherited = TCustomCheckBox;
  explicit TRadioButton(core::TComponent* owner);

 protected:
  void Toggle() override;
  // Checking unchecks the siblings, then OnClick; unchecking is silent.
  void CheckedChanged() override;
  void Paint() override;
};

// A frame with a caption that groups controls.
class TCustomGroupBox : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TCustomGroupBox(core::TComponent* owner);
  static void DefineProperties(TPropertyList<TCustomGroupBox>& list);

 protected:
  // The client area without the caption line and the frame.
  void AdjustClientRect(gfx::Rect& rect) const override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
 public:
  using inherited = TCustomGroupBox;
  using TCustomGroupBox::TCustomGroupBox;
};

// ---- Scroll bar -----------------------------------------------------------

// A stand-alone scroll bar: two arrows, the track and the thumb.
//
//   press on          effect now                       repeat (500 ms, then every 50 ms)
//   an arrow          step by SmallChange              while the pointer stays on that arrow
//   the track         page by LargeChange              while the thumb has not reached the pointer
//   the thumb         drag: Position follows the pointer (scTrack), scPosition at release
// Every step goes through Scroll (OnScroll may change or veto the new
// position) and then Position (OnChange when it changed).
class TScrollBar : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TScrollBar(core::TComponent* owner);
  ~TScrollBar() override;

  TScrollBarKind Kind() const { return FKind; }
  // Swaps width and height when the bar turns (outside loading).
  void SetKind(TScrollBarKind kind);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int PageSize() const { return FPageSize; }
  int SmallChange() const { return FSmallChange; }
  int LargeChange() const { return FLargeChange; }
  void SetMin(int value) { SetParams(FPosition, value, std::max(value, FMax)); }
  void SetMax(int value) { SetParams(FPosition, std::min(FMin, value), value); }
  // Clamped into [Min, Max - PageSize + 1] (or [Min, Max] without a page).
  void SetPosition(int value) { SetParams(value, FMin, FMax); }
  // At most Max - Min + 1.
  void SetPageSize(int value);
  void SetSmallChange(int value) { FSmallChange = value; }
  void SetLargeChange(int value) { FLargeChange = value; }
  // Sets the three at once; OnChange only when the position changed.
  // Raises EInvalidOperation "Scrollbar property out of range" for
  // max < min.
  void SetParams(int position, int min, int max);
  // The highest position the thumb can reach.
  int MaxPosition() const;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  // The parts in client coordinates, as painted now.
  gfx::Rect DecreaseArrowRect() const;
  gfx::Rect IncreaseArrowRect() const;
  gfx::Rect TrackRect() const;
  gfx::Rect ThumbRect() const;

  void Dispatch(TMessage& message) override;
  static void DefineProperties(TPropertyList<TScrollBar>& list);

 protected:
  // Raises OnScroll; the handler may change position.
  virtual void Scroll(TScrollCode code, int& position);
  // Raises OnChange.
  virtual void Change();
  void Paint() override;

 private:
  enum class Part { None, DecreaseArrow, IncreaseArrow, PageDecrease, PageIncrease, Thumb };
  int AlongLength() const;
  int Thickness() const;
  int ArrowLength() const;
  int ThumbLength() const;
  Part PartAt(gfx::Point point) const;
  // One step of the part held (an arrow or a page); false when a page
  // step is not wanted any more (the thumb reached the pointer).
  bool Step(Part part);
  // Scroll, then Position; false when the bar was destroyed meanwhile.
  bool ScrollTo(TScrollCode code, int position);
  int PositionFromThumb(int thumbStart) const;
  void StartRepeat();
  void StopRepeat();
  void WMLButtonDown(TMessage& message);
  void WMLButtonUp(TMessage& message);
  void WMMouseMove(TMessage& message);
  void WMTimer(TMessage& message);
  void WMKeyDown(TMessage& message);
  void CancelTracking();

  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FPageSize = 0;
  int FSmallChange = 1;
  int FLargeChange = 1;
  Part FHeldPart = Part::None;
  bool FHeldPartHot = false;
  gfx::Point FLastPoint;
  int FDragOffset = 0;
  int FDragThumbStart = 0;
  bool FRepeating = false;
};

// ---- Label ----------------------------------------------------------------

// Windowless text. "&x" underlines x and makes it the accelerator of
// FocusControl (unless ShowAccelChar is off).
class TCustomLabel : public TGraphicControl {
 public:
  using inherited = TGraphicControl;

  explicit TCustomLabel(core::TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  // The label takes the size of its text (the height only with WordWrap).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  // Without a background the parent shows through.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);

  void Dispatch(TMessage& message) override;
  static void DefineProperties(TPropertyList<TCustomLabel>& list);

 protected:
  // Draws the caption into rect with the DT_ flags on Canvas (its font is
  // set), or, with DT_CALCRECT, only measures it into rect. Overrides
  // change the font or the colours and call the base (or draw
  // themselves). Disabled labels draw embossed.
  virtual void DoDrawText(gfx::Rect& rect, unsigned flags);
  // The caption as drawn (the base: Caption).
  virtual std::string GetLabelText() const;
  // Sizes the label to its text when AutoSize is on.
  virtual void AdjustBounds();
  void Paint() override;
  void Loaded() override;
  void Notification(core::TComponent* component, core::TOperation operation) override;
  // The DT_ flags of the label's alignment, word wrap and prefixes.
  unsigned DrawTextFlags() const;

 private:
  void CMDialogChar(TMessage& message);

  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  TWinControl* FFocusControl = nullptr;
  bool FAdjusting = false;
};

class TLabel : public TCustomLabel {
 public:
  using inherited = TCustomLabel;
  using TCustomLabel::TCustomLabel;
};

// ---- Edit and memo --------------------------------------------------------

// The colours an edit draws its text with. The base answers from Color and
// Font (grey text when disabled) and then lets the parent change them
// (WM_CTLCOLOREDIT, wParam: this record, lParam: the edit's window).
struct TEditColors {
  gfx::Color Text = 0;
  // None: the text is drawn on what the background erase left.
  std::optional<gfx::Color> Background;
  gfx::Color SelectionText = 0xFFFFFF;
  gfx::Color SelectionBackground = 0;
};

// The edit engine: text, caret, selection, clipboard, one level of undo,
// scrolling and the keyboard and mouse rules of the classic edit. It is
// the "native" edit of this class library: its work happens in
// DefaultHandler, so a class derived from it sees every message first in
// Dispatch and can keep it from the edit (a key filter, a read-only memo
// dropping WM_CUT). Text is UTF-8 outside and whole characters inside:
// the caret never stands inside a character.
//
// A single-line edit keeps one line (pasted text stops at its first line
// break); a multi-line one (the memo) keeps lines, wraps them to the width
// when WordWrap is on and scrolls by rows.
class TCustomEdit : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TCustomEdit(core::TComponent* owner);
  ~TCustomEdit() override;

  // ---- Selection ----
  int SelStart() const;
  void SetSelStart(int position);
  int SelLength() const;
  void SetSelLength(int length);
  std::string SelText() const;
  // Replaces the selection (undoable).
  void SetSelText(const std::string& text);
  void SelectAll();
  void ClearSelection();

  // ---- Clipboard and undo ----
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  bool CanUndo() const;
  void ClearUndo();
  void Clear() { SetText(""); }

  // ---- Behaviour ----
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  // Characters at most (0: no limit); typing and pasting stop there.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  // Shown instead of every character (0: the text itself); copying is
  // refused while it is set.
  char32_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value);
  // Select the whole text when the focus arrives by the keyboard.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  // The selection is shown only while focused.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  // The height follows the font (single-line edits).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }
  // Pixels between the client edge and the text (EM_SETMARGINS).
  int LeftMargin() const { return FLeftMargin; }
  int RightMargin() const { return FRightMargin; }
  void SetMargins(int left, int right);

  // ---- Rows (multi-line) ----
  // Rows as displayed, wrapped ones included (EM_GETLINECOUNT).
  int RowCount() const;
  // The first row shown (EM_GETFIRSTVISIBLELINE).
  int FirstVisibleRow() const;
  // Full rows the client area shows (at least 1).
  int VisibleRowCount() const;
  // Scrolls so that row is the first shown (clamped; EM_LINESCROLL).
  void ScrollToRow(int row);
  // Pixels the text is scrolled to the left.
  int HorizontalScroll() const;
  // The caret's line and column (characters) in the text.
  gfx::Point CaretPos() const;
  void SetCaretPos(gfx::Point position);
  // The caret's rectangle in client coordinates (one pixel wide).
  gfx::Rect CaretRect() const;
  // The character position nearest a client point.
  int CharPosFromPoint(gfx::Point point) const;

  TNotifyEvent OnChange;

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  static void DefineProperties(TPropertyList<TCustomEdit>& list);

 protected:
  // Raised after every change of the text, by the user or the program.
  virtual void Change();
  // The client rectangle for a window rectangle: the base insets it by the
  // 2-pixel sunken border when BorderStyle is bsSingle (WM_NCCALCSIZE).
  virtual void AdjustNonClientArea(gfx::Rect& windowRect) const;
  // Paints the frame around the client area (WM_NCPAINT); canvas origin at
  // the window's top-left corner.
  virtual void PaintNonClient(gfx::Canvas& canvas, gfx::Size windowSize);
  // The colours of the text (see TEditColors).
  virtual void GetTextColors(TEditColors& colors);
  // The edit's text, lines joined by CR LF.
  std::string GetText() const override;
  // Where the text goes in the client area (the margins and, in a memo,
  // the scroll bars taken off).
  virtual gfx::Rect TextArea() const;

  void CreateWnd() override;
  void DestroyWnd() override;
  void Paint() override;
  void Loaded() override;

  // For the memo.
  void SetMultiLine(bool multiLine);
  bool MultiLine() const { return FMultiLine; }
  void SetWordWrapMode(bool wordWrap);
  bool WordWrapMode() const { return FWordWrap; }
  void SetWantKeys(bool wantReturns, bool wantTabs);
  // Changes of the lines from the memo's string list.
  int BufferLineCount() const;
  std::string BufferLine(int index) const;
  void BufferPutLine(int index, std::string_view text);
  void BufferInsertLine(int index, std::string_view text);
  void BufferDeleteLine(int index);
  void BufferClear();
  // A scroll or layout change the memo's scroll bars follow.
  virtual void ScrollChanged();

 private:
  struct State;

  void WMChar(TMessage& message);
  void WMKeyDown(TMessage& message);
  void WMLButtonDown(TMessage& message);
  void WMLButtonDblClk(TMessage& message);
  void WMMouseMove(TMessage& message);
  void WMLButtonUp(TMessage& message);
  void WMSetFocus(TMessage& message);
  void WMKillFocus(TMessage& message);
  void WMTimer(TMessage& message);
  void WMNCCalcSize(TMessage& message);
  void WMNCPaint(TMessage& message);
  void WMGetDlgCode(TMessage& message);
  void WMMouseWheel(TMessage& message);
  void WMScroll(TMessage& message);
  void WMSetCursor(TMessage& message);
  void CMFontChanged(TMessage& message);
  void CMEnabledChanged(TMessage& message);

  // After an edit: the caret shown, repaint, OnChange.
  void TextChanged();
  // After a caret move: scroll it into view, restart its blink, repaint.
  void CaretMoved();
  void UpdateAutoSize();
  void RestartCaretBlink();
  void StopCaretBlink();

  std::unique_ptr<State> FState;
  bool FMultiLine = false;
  bool FWordWrap = false;
  bool FWantReturns = false;
  bool FWantTabs = false;
  bool FReadOnly = false;
  int FMaxLength = 0;
  char32_t FPasswordChar = 0;
  TEditCharCase FCharCase = ecNormal;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FAutoSize = true;
  TBorderStyle FBorderStyle = bsSingle;
  TAlignment FAlignment = taLeftJustify;
  bool FModified = false;
  int FLeftMargin = 1;
  int FRightMargin = 1;
  bool FSelectingWithMouse = false;
};

class TEdit : public TCustomEdit {
 public:
  using inherited = TCustomEdit;
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo: reading and changing them reads and changes the
// memo. A trailing line break does not start another line (text "a\r\n"
// is one line), and Add keeps the text ending with a line break, as the
// classic memo does; appending costs the same however long the memo is.
// Every change raises the memo's OnChange, inside BeginUpdate/EndUpdate
// too (as the classic memo does); a handler may free the memo on a change
// of one line, not in the middle of SetText or Assign.
class TMemoStrings : public core::TStrings {
 public:
  explicit TMemoStrings(TCustomMemo& memo) : FMemo(memo) {}

  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  TCustomMemo& FMemo;
};

// A multi-line edit. Appending a line while the caret stands at the end
// of the text moves the caret to the new end and scrolls it into view.
class TCustomMemo : public TCustomEdit {
 public:
  using inherited = TCustomEdit;

  explicit TCustomMemo(core::TComponent* owner);
  ~TCustomMemo() override;

  core::TStrings* Lines() { return &FLines; }
  const core::TStrings* Lines() const { return &FLines; }
  void SetLines(const core::TStrings& lines) { FLines.Assign(lines); }
  bool WordWrap() const { return WordWrapMode(); }
  void SetWordWrap(bool value) { SetWordWrapMode(value); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value);

  // The built-in scroll bars (nullptr while ScrollBars does not ask for
  // them).
  TScrollBar* VerticalBar() const { return FVerticalBar; }
  TScrollBar* HorizontalBar() const { return FHorizontalBar; }

  static void DefineProperties(TPropertyList<TCustomMemo>& list);

 protected:
  gfx::Rect TextArea() const override;
  void ScrollChanged() override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  friend class TMemoStrings;
  void UpdateScrollBars();

  TMemoStrings FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TScrollBar* FVerticalBar = nullptr;
  TScrollBar* FHorizontalBar = nullptr;
  bool FUpdatingBars = false;
};

class TMemo : public TCustomMemo {
 public:
  using inherited = TCustomMemo;
  using TCustomMemo::TCustomMemo;
};

// Registers the standard and common control classes (buttons, check and
// radio boxes, group box, scroll bar, label, edit, masked edit, memo, page
// control, tab sheet, up-down) so that stored layouts can create them.
// Safe to call more than once; runs by itself in every program that links
// the standard controls.
void RegisterStandardControls();

}  // namespace ui
