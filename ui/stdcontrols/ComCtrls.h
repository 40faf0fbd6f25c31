#pragma once

#include <vector>

#include "gfx/Canvas.h"
#include "gfx/Geometry.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Events.h"
#include "ui/stdcontrols/StdCtrls.h"

// The page control with its tab sheets, and the up-down buttons, in the
// classic look.
namespace ui {

// Tab control messages, with the classic numbers.
constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
// wParam: visible tab index, lParam: gfx::Rect* receiving the item
// rectangle (client coordinates). Result FALSE for a bad index.
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
// lParam: TCHitTestInfo*; result: the visible tab index or -1.
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
// wParam FALSE: lParam's window rectangle becomes the display rectangle;
// TRUE: the other way round.
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
// lParam: width | height << 16 of the items (0: the default).
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;

struct TCHitTestInfo {
  gfx::Point Point;
};

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

using TTabChangingEvent = TMethod<void(core::TComponent* Sender, bool& AllowChange)>;
using TUDClickEvent = TMethod<void(core::TComponent* Sender, TUDBtnType Button)>;

class TPageControl;

// ---- TUpDown ----------------------------------------------------------------

// Two arrow buttons that step Position between Min and Max. Holding a
// button repeats: once at the press, then after 500 ms every 100 ms while
// the pointer stays on it. The window class is the classic
// "msctls_updown32", which a skinned page control looks for.
class TUpDown : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TUpDown(core::TComponent* owner);

  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);
  int Position() const { return FPosition; }
  // Clamped to [Min, Max]; raises no event.
  void SetPosition(int value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int value) { FIncrement = value; }
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation value);
  // Stepping past one end goes to the other.
  bool Wrap() const { return FWrap; }
  void SetWrap(bool value) { FWrap = value; }

  // The button rectangles (btNext: up or right).
  gfx::Rect ButtonRect(TUDBtnType button) const;

  // Before a step; AllowChange false keeps the position.
  TTabChangingEvent OnChanging;
  // After a step changed the position.
  TNotifyEvent OnChange;
  TUDClickEvent OnClick;

  void Dispatch(TMessage& message) override;
  static void DefineProperties(TPropertyList<TUpDown>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // One step by the button (OnChanging, Position, OnChange, OnClick);
  // false when the control was destroyed meanwhile.
  virtual bool Step(TUDBtnType button);

 private:
  int ButtonAt(gfx::Point point) const;

  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  bool FWrap = false;
  int FHeldButton = -1;
  bool FHeldHot = false;
  bool FRepeating = false;
};

// ---- TTabSheet --------------------------------------------------------------

// One page of a page control: a child of it that shows while it is the
// active page, with its caption on a tab.
class TTabSheet : public TWinControl {
 public:
  using inherited = TWinControl;

  explicit TTabSheet(core::TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const;
  void SetPageControl(TPageControl* pageControl);
  // The place among the page control's pages.
  int PageIndex() const;
  void SetPageIndex(int index);
  // The place among the visible tabs; -1 while the tab is hidden.
  int TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value) { FImageIndex = value; }

  void Dispatch(TMessage& message) override;
  static void DefineProperties(TPropertyList<TTabSheet>& list);

 private:
  bool FTabVisible = true;
  int FImageIndex = -1;
};

// ---- TPageControl -------------------------------------------------------------

// Tabs along one side and the active page in the rest. The tab geometry,
// the display area and the painting are the classic tab control's; a
// derived class may adjust each item rectangle and the display rectangle
// and replace the painting of the strip and of each tab.
//
// Geometry (tpTop; the other positions turn it): tabs of TabHeight rows
// (text height + 6 by default) start 2 pixels in; the strip is rows x
// height + 2 deep; the page frame is the rest and the display rectangle
// lies 4 pixels inside the frame. The selected tab grows 2 pixels to each
// side and outwards and covers the frame's edge. With MultiLine the tabs
// break into rows (stretched to the width when there is more than one), the
// row of the selected tab next to the page; otherwise one row scrolls with
// the up-down buttons that appear when the tabs do not fit.
class TPageControl : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TPageControl(core::TComponent* owner);
  ~TPageControl() override;

  // ---- Pages ----
  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  // Shows the page (nullptr: none); raises no event.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The active page's place among the visible tabs (-1: none).
  int TabIndex() const;
  void SetTabIndex(int index);
  // The next (or previous) page with a visible tab after the active one,
  // wrapping round, as the user's Ctrl+Tab does (events included).
  void SelectNextPage(bool goForward);
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // The page of a visible tab index.
  TTabSheet* PageOfTab(int tabIndex) const;
  int VisibleTabCount() const;

  // ---- Look ----
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool value);
  // Item size (0: from the font and the caption).
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle value) { FStyle = value; }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value) { FHotTrack = value; }
  // The tab under the pointer (-1: none).
  int HotTab() const { return FHotTab; }
  // The first tab shown in single-line mode.
  int FirstVisibleTab() const { return FFirstVisibleTab; }
  int RowCount();

  // ---- Geometry (client coordinates) ----
  // The item rectangle of a visible tab (TCM_GETITEMRECT); empty for a
  // bad index.
  gfx::Rect TabRect(int index);
  // The area the pages fill (TCM_ADJUSTRECT of the client rectangle).
  gfx::Rect DisplayRect();
  // The visible tab at a client point, -1 for none (TCM_HITTEST).
  int IndexOfTabAt(int x, int y);
  // The scroll buttons of single-line mode (nullptr while all tabs fit).
  TUpDown* ScrollUpDown() const { return FUpDown; }

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  static void DefineProperties(TPropertyList<TPageControl>& list);

 protected:
  // Hooks for a control with another look. Each item rectangle and the
  // display rectangle pass through these after the classic geometry.
  virtual void AdjustTabRect(int index, gfx::Rect& rect);
  virtual void AdjustDisplayRect(gfx::Rect& rect);
  // Paints the background and the page frame (the tabs come after).
  virtual void PaintTabStrip(gfx::Canvas& canvas);
  // Paints one visible tab into its item rectangle; the active one is
  // painted last and may grow past it.
  virtual void PaintTab(gfx::Canvas& canvas, int index, const gfx::Rect& rect, bool hot, bool active);
  // The tab under the pointer changed; the base repaints the two tabs.
  virtual void HotTabChanged(int previous, int current);
  // Creates, places or frees the up-down of single-line mode.
  virtual void ArrangeUpDown();
  // Asks OnChanging; false keeps the page.
  virtual bool CanChange();
  // Raises OnChange.
  virtual void Change();

  void AdjustClientRect(gfx::Rect& rect) const override;
  void Paint() override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

  // The tabs' layout is computed again at the next use.
  void InvalidateTabs();

 private:
  friend class TTabSheet;
  struct TabLayout {
    std::vector<gfx::Rect> Rects;  // per visible tab, before adjustment
    int Rows = 1;
    int ItemHeight = 0;
    gfx::Rect Frame;
  };
  const TabLayout& Layout();
  void ComputeLayout();
  int ItemHeight();
  int ItemWidth(const TTabSheet* page);
  void InsertPage(TTabSheet* page);
  void RemovePage(const core::TComponent* page);
  // The user's change of page: OnChanging, the page, OnChange.
  void ChangeActivePage(TTabSheet* page);
  void ShowActivePage();
  void ScrollActiveTabIntoView();
  void SetHotTab(int index);
  void PaintTabBitmap(gfx::Canvas& canvas, int index, const gfx::Rect& rect, bool hot, bool active);
  void CMDialogKey(TMessage& message);
  void WMLButtonDown(TMessage& message);
  void WMKeyDown(TMessage& message);

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TTabPosition FTabPosition = tpTop;
  bool FMultiLine = false;
  int FTabHeight = 0;
  int FTabWidth = 0;
  TTabStyle FStyle = tsTabs;
  bool FHotTrack = false;
  int FHotTab = -1;
  int FFirstVisibleTab = 0;
  TUpDown* FUpDown = nullptr;
  TabLayout FLayout;
  bool FLayoutValid = false;
};

}  // namespace ui
