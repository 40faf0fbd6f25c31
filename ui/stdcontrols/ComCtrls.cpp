#include "ui/stdcontrols/ComCtrls.h"

#include <algorithm>
#include <numeric>

#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {

constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstRepeatDelay = 500;
constexpr UINT RepeatPeriod = 100;
constexpr TColor clHotLight = clSystemColor | 26;

gfx::Color Rgb(TColor color) { return ColorToRGB(color); }

// A picture turned a quarter: counter-clockwise (text reading upwards) or
// clockwise.
gfx::Bitmap Turn(const gfx::Bitmap& source, bool clockwise) {
  gfx::Bitmap turned(source.Height(), source.Width());
  for (int y = 0; y < source.Height(); ++y) {
    const gfx::Pixel* row = source.Row(y);
    for (int x = 0; x < source.Width(); ++x) {
      if (clockwise) {
        turned.Row(x)[source.Height() - 1 - y] = row[x];
      } else {
        turned.Row(source.Width() - 1 - x)[y] = row[x];
      }
    }
  }
  return turned;
}

}  // namespace

// ---- TUpDown ------------------------------------------------------------------

TUpDown::TUpDown(core::TComponent* owner) : TCustomControl(owner) {
  SetControlStyle((ControlStyle() - TControlStyle{csClickEvents, csDoubleClicks}) | TControlStyle{csOpaque});
  SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.WinClassName = "msctls_updown32";
  params.WindowClassStyle = 0;
}

void TUpDown::SetMin(int value) {
  FMin = value;
  if (FMax < FMin) FMax = FMin;
  FPosition = std::clamp(FPosition, FMin, FMax);
  Invalidate();
}

void TUpDown::SetMax(int value) {
  FMax = value;
  if (FMin > FMax) FMin = FMax;
  FPosition = std::clamp(FPosition, FMin, FMax);
  Invalidate();
}

void TUpDown::SetPosition(int value) {
  FPosition = std::clamp(value, FMin, FMax);
  Invalidate();
}

void TUpDown::SetOrientation(TUDOrientation value) {
  if (value == FOrientation) return;
  FOrientation = value;
  Invalidate();
}

gfx::Rect TUpDown::ButtonRect(TUDBtnType button) const {
  gfx::Rect r = ClientRect();
  if (FOrientation == udVertical) {
    int middle = r.Height() / 2;
    return button == btNext ? gfx::Rect{0, 0, r.Right, middle} : gfx::Rect{0, middle, r.Right, r.Bottom};
  }
  int middle = r.Width() / 2;
  return button == btNext ? gfx::Rect{middle, 0, r.Right, r.Bottom} : gfx::Rect{0, 0, middle, r.Bottom};
}

int TUpDown::ButtonAt(gfx::Point point) const {
  if (ButtonRect(btNext).Contains(point)) return btNext;
  if (ButtonRect(btPrev).Contains(point)) return btPrev;
  return -1;
}

bool TUpDown::Step(TUDBtnType button) {
  long long next = (long long)FPosition + (button == btNext ? FIncrement : -FIncrement);
  if (next > FMax) next = FWrap ? FMin : FMax;
  if (next < FMin) next = FWrap ? FMax : FMin;
  TControlGuard guard(this);
  if (next != FPosition) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (guard.Destroyed()) return false;
    if (allow) {
      FPosition = int(next);
      Invalidate();
      if (OnChange) OnChange(this);
      if (guard.Destroyed()) return false;
    }
  }
  if (OnClick) OnClick(this, button);
  return guard.Alive();
}

void TUpDown::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed() || !Enabled()) return;
      FHeldButton = ButtonAt(PointFromLParam(message.LParam));
      FHeldHot = true;
      if (FHeldButton < 0) return;
      Invalidate();
      if (!Step(TUDBtnType(FHeldButton))) return;
      if (HandleAllocated()) {
        FRepeating = true;
        SetTimer(Handle(), RepeatTimer, FirstRepeatDelay);
      }
      break;
    }
    case WM_MOUSEMOVE:
      if (FHeldButton >= 0) {
        bool hot = ButtonRect(TUDBtnType(FHeldButton)).Contains(PointFromLParam(message.LParam));
        if (hot != FHeldHot) {
          FHeldHot = hot;
          Invalidate();
        }
      }
      inherited::Dispatch(message);
      break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      if (FRepeating && HandleAllocated()) KillTimer(Handle(), RepeatTimer);
      FRepeating = false;
      if (FHeldButton >= 0) Invalidate();
      FHeldButton = -1;
      inherited::Dispatch(message);
      break;
    case WM_TIMER:
      if (message.WParam != RepeatTimer) {
        inherited::Dispatch(message);
        break;
      }
      if (FHeldButton < 0) {
        KillTimer(Handle(), RepeatTimer);
        FRepeating = false;
        break;
      }
      SetTimer(Handle(), RepeatTimer, RepeatPeriod);
      // Off the button the repeat pauses and goes on when it comes back.
      if (FHeldHot) Step(TUDBtnType(FHeldButton));
      break;
    default: inherited::Dispatch(message); break;
  }
}

void TUpDown::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  for (TUDBtnType button : {btNext, btPrev}) {
    gfx::Rect r = ButtonRect(button);
    if (r.IsEmpty()) continue;
    canvas.SetBrush(Rgb(clBtnFace));
    canvas.FillRect(r);
    bool down = FHeldButton == button && FHeldHot;
    gfx::Rect glyph = r;
    if (down) {
      canvas.FrameRect(r, Rgb(clBtnShadow));
      glyph = glyph.Offset(1, 1);
    } else {
      classic::DrawFrame(canvas, r, classic::FrameKind::Raised);
    }
    int direction = FOrientation == udVertical ? (button == btNext ? 0 : 2) : (button == btNext ? 1 : 3);
    int size = std::max(2, std::min(r.Width(), r.Height()) / 4);
    classic::DrawArrow(canvas, glyph, direction, Enabled() ? clBtnText : clBtnShadow, size);
  }
}

// ---- TTabSheet ------------------------------------------------------------------

TTabSheet::TTabSheet(core::TComponent* owner) : TWinControl(owner) {
  SetControlStyle(ControlStyle() | TControlStyle{csAcceptsControls});
  SetVisible(false);
  SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
  // Leave the page control while still a page, so it can show another.
  if (Parent()) SetParent(nullptr);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

int TTabSheet::PageIndex() const {
  TPageControl* control = PageControl();
  if (!control) return -1;
  auto found = std::find(control->FPages.begin(), control->FPages.end(), this);
  return found == control->FPages.end() ? -1 : int(found - control->FPages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  TPageControl* control = PageControl();
  int current = PageIndex();
  if (!control || current < 0) return;
  index = std::clamp(index, 0, control->PageCount() - 1);
  control->FPages.erase(control->FPages.begin() + current);
  control->FPages.insert(control->FPages.begin() + index, this);
  control->InvalidateTabs();
  control->ArrangeUpDown();
  control->Invalidate();
}

int TTabSheet::TabIndex() const {
  TPageControl* control = PageControl();
  if (!control || !FTabVisible) return -1;
  int index = 0;
  for (TTabSheet* page : control->FPages) {
    if (page == this) return index;
    if (page->TabVisible()) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == FTabVisible) return;
  FTabVisible = value;
  TPageControl* control = PageControl();
  if (!control) return;
  if (!value && control->ActivePage() == this) {
    TTabSheet* next = control->FindNextPage(this, true, true);
    control->SetActivePage(next != this ? next : nullptr);
  }
  control->InvalidateTabs();
  control->ArrangeUpDown();
  control->Realign();
  control->Invalidate();
}

void TTabSheet::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
      inherited::Dispatch(message);
      if (TPageControl* control = PageControl()) {
        control->InvalidateTabs();
        control->ArrangeUpDown();
        control->Realign();
        control->Invalidate();
      }
      break;
    default: inherited::Dispatch(message); break;
  }
}

// ---- TPageControl -------------------------------------------------------------------

TPageControl::TPageControl(core::TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() | TControlStyle{csOpaque});
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  // Pages owned elsewhere outlive us: they leave without a page control.
  FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return FPages[std::size_t(index)];
}

int TPageControl::ActivePageIndex() const {
  auto found = std::find(FPages.begin(), FPages.end(), FActivePage);
  return found == FPages.end() ? -1 : int(found - FPages.begin());
}

void TPageControl::SetActivePageIndex(int index) { SetActivePage(Pages(index)); }

int TPageControl::TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }

void TPageControl::SetTabIndex(int index) { SetActivePage(PageOfTab(index)); }

int TPageControl::VisibleTabCount() const {
  return int(std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* page) { return page->TabVisible(); }));
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* page : FPages) {
    if (!page->TabVisible()) continue;
    if (tabIndex-- == 0) return page;
  }
  return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  if (FPages.empty()) return nullptr;
  int count = PageCount();
  auto found = std::find(FPages.begin(), FPages.end(), current);
  int start = found == FPages.end() ? (goForward ? count - 1 : 0) : int(found - FPages.begin());
  int index = start;
  for (int step = 0; step < count; ++step) {
    index = goForward ? (index + 1) % count : (index - 1 + count) % count;
    TTabSheet* page = FPages[std::size_t(index)];
    if (!checkTabVisible || page->TabVisible()) return page;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* page = FindNextPage(FActivePage, goForward, true);
  if (page && page != FActivePage) ChangeActivePage(page);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() != this) return;
  if (page == FActivePage) return;
  TCustomForm* form = GetParentForm(this);
  TTabSheet* old = FActivePage;
  // The focus leaves a page that goes out of sight.
  if (form && old && old->ContainsControl(form->ActiveControl()) && CanFocus()) SetFocus();
  FActivePage = page;
  ShowActivePage();
  ScrollActiveTabIntoView();
  InvalidateTabs();
  ArrangeUpDown();
  Realign();
  Invalidate();
}

void TPageControl::ShowActivePage() {
  for (TTabSheet* page : std::vector<TTabSheet*>(FPages)) {
    if (page != FActivePage) page->SetVisible(false);
  }
  if (FActivePage) {
    FActivePage->BringToFront();
    FActivePage->SetVisible(true);
  }
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
  if (page == FActivePage) return;
  TControlGuard guard(this);
  if (!CanChange() || guard.Destroyed()) return;
  SetActivePage(page);
  if (guard.Destroyed()) return;
  Change();
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(FPages.begin(), FPages.end(), page) != FPages.end()) return;
  FPages.push_back(page);
  page->FreeNotification(this);
  InvalidateTabs();
  if (!FActivePage && page->TabVisible()) {
    SetActivePage(page);
  } else {
    page->SetVisible(false);
    ArrangeUpDown();
    Invalidate();
  }
}

// Called while the page may be half destroyed: compare, do not call it.
void TPageControl::RemovePage(const core::TComponent* page) {
  auto found = std::find_if(FPages.begin(), FPages.end(),
                            [page](TTabSheet* p) { return static_cast<const core::TComponent*>(p) == page; });
  if (found == FPages.end()) return;
  bool wasActive = *found == FActivePage;
  int index = int(found - FPages.begin());
  FPages.erase(found);
  InvalidateTabs();
  if (wasActive) {
    FActivePage = nullptr;
    TTabSheet* next = nullptr;
    for (int i = index; i < PageCount() && !next; ++i) {
      if (FPages[std::size_t(i)]->TabVisible()) next = FPages[std::size_t(i)];
    }
    for (int i = index - 1; i >= 0 && !next; --i) {
      if (FPages[std::size_t(i)]->TabVisible()) next = FPages[std::size_t(i)];
    }
    if (next && !ComponentState().Contains(core::csDestroying)) SetActivePage(next);
  }
  if (!ComponentState().Contains(core::csDestroying)) {
    ArrangeUpDown();
    Invalidate();
  }
}

void TPageControl::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FUpDown) FUpDown = nullptr;
  RemovePage(component);
}

// ---- Look ----

void TPageControl::SetTabPosition(TTabPosition value) {
  if (value == FTabPosition) return;
  FTabPosition = value;
  InvalidateTabs();
  ArrangeUpDown();
  Realign();
  Invalidate();
}

void TPageControl::SetMultiLine(bool value) {
  if (value == FMultiLine) return;
  FMultiLine = value;
  FFirstVisibleTab = 0;
  InvalidateTabs();
  ArrangeUpDown();
  Realign();
  Invalidate();
}

void TPageControl::SetTabHeight(int value) {
  FTabHeight = std::max(0, value);
  InvalidateTabs();
  ArrangeUpDown();
  Realign();
  Invalidate();
}

void TPageControl::SetTabWidth(int value) {
  FTabWidth = std::max(0, value);
  InvalidateTabs();
  ArrangeUpDown();
  Realign();
  Invalidate();
}

void TPageControl::InvalidateTabs() { FLayoutValid = false; }

int TPageControl::RowCount() { return Layout().Rows; }

// ---- Geometry ----

int TPageControl::ItemHeight() {
  if (FTabHeight > 0) return FTabHeight;
  return gfx::MeasureFont(Font()->ToGfxFont()).Height + 6;
}

int TPageControl::ItemWidth(const TTabSheet* page) {
  if (FTabWidth > 0) return FTabWidth;
  gfx::Font font = Font()->ToGfxFont();
  // The caption's width without its "&" prefixes, and 6 pixels each side.
  gfx::Bitmap scratch(1, 1);
  gfx::Canvas canvas(scratch);
  canvas.SetFont(font);
  gfx::Rect r{0, 0, 0, 0};
  std::string caption = page->Caption();
  canvas.DrawText(caption.empty() ? " " : caption, r, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
  return r.Width() + 12;
}

const TPageControl::TabLayout& TPageControl::Layout() {
  if (!FLayoutValid) ComputeLayout();
  return FLayout;
}

void TPageControl::ComputeLayout() {
  FLayoutValid = true;
  TabLayout& layout = FLayout;
  layout.Rects.clear();
  gfx::Rect client = ClientRect();
  int width = client.Width();
  int height = client.Height();
  bool horizontal = FTabPosition == tpTop || FTabPosition == tpBottom;
  int length = horizontal ? width : height;
  int available = std::max(1, length - 4);
  int itemHeight = ItemHeight();
  layout.ItemHeight = itemHeight;

  std::vector<TTabSheet*> tabs;
  for (TTabSheet* page : FPages) {
    if (page->TabVisible()) tabs.push_back(page);
  }
  std::vector<int> widths;
  for (TTabSheet* page : tabs) widths.push_back(ItemWidth(page));

  // Rows of tab indexes; tabs on the side always break into rows.
  bool multi = FMultiLine || !horizontal;
  std::vector<std::vector<int>> rows;
  if (multi) {
    int used = 0;
    for (int i = 0; i < int(tabs.size()); ++i) {
      if (rows.empty() || (used + widths[std::size_t(i)] > available && !rows.back().empty())) {
        rows.emplace_back();
        used = 0;
      }
      rows.back().push_back(i);
      used += widths[std::size_t(i)];
    }
    // Several rows are stretched to the whole length.
    if (rows.size() > 1) {
      for (auto& row : rows) {
        int sum = 0;
        for (int i : row) sum += widths[std::size_t(i)];
        int extra = available - sum;
        int each = extra / int(row.size());
        for (std::size_t k = 0; k < row.size(); ++k) {
          widths[std::size_t(row[k])] += each + (k + 1 == row.size() ? extra - each * int(row.size()) : 0);
        }
      }
    }
    // The row of the active tab moves next to the page.
    int active = TabIndex();
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (std::find(rows[r].begin(), rows[r].end(), active) != rows[r].end()) {
        std::rotate(rows.begin(), rows.begin() + std::ptrdiff_t(r), rows.end());
        break;
      }
    }
  } else {
    rows.emplace_back();
    for (int i = 0; i < int(tabs.size()); ++i) rows.back().push_back(i);
  }
  if (rows.empty()) rows.emplace_back();
  int rowCount = int(rows.size());
  layout.Rows = rowCount;
  int depth = rowCount * itemHeight + 2;
  layout.Rects.assign(tabs.size(), gfx::Rect{});

  int scroll = 0;
  if (!multi) {
    FFirstVisibleTab = std::clamp(FFirstVisibleTab, 0, std::max(0, int(tabs.size()) - 1));
    for (int i = 0; i < FFirstVisibleTab; ++i) scroll += widths[std::size_t(i)];
  }
  for (int position = 0; position < rowCount; ++position) {
    // Position 0 lies next to the page; across runs from the outer edge.
    int across0 = 2 + (rowCount - 1 - position) * itemHeight;
    int across1 = across0 + itemHeight;
    int along = 2 - scroll;
    for (int i : rows[std::size_t(position)]) {
      int along0 = along;
      int along1 = along + widths[std::size_t(i)];
      along = along1;
      gfx::Rect r;
      switch (FTabPosition) {
        case tpTop: r = gfx::Rect{along0, across0, along1, across1}; break;
        case tpBottom: r = gfx::Rect{along0, height - across1, along1, height - across0}; break;
        case tpLeft: r = gfx::Rect{across0, along0, across1, along1}; break;
        case tpRight: r = gfx::Rect{width - across1, along0, width - across0, along1}; break;
      }
      layout.Rects[std::size_t(i)] = r;
    }
  }
  switch (FTabPosition) {
    case tpTop: layout.Frame = gfx::Rect{0, depth, width, height}; break;
    case tpBottom: layout.Frame = gfx::Rect{0, 0, width, height - depth}; break;
    case tpLeft: layout.Frame = gfx::Rect{depth, 0, width, height}; break;
    case tpRight: layout.Frame = gfx::Rect{0, 0, width - depth, height}; break;
  }
}

gfx::Rect TPageControl::TabRect(int index) {
  gfx::Rect r;
  Perform(TCM_GETITEMRECT, WPARAM(index), ToLParam(&r));
  return r;
}

gfx::Rect TPageControl::DisplayRect() {
  gfx::Rect r = ClientRect();
  Perform(TCM_ADJUSTRECT, 0, ToLParam(&r));
  return r;
}

void TPageControl::AdjustClientRect(gfx::Rect& rect) const {
  rect = const_cast<TPageControl*>(this)->DisplayRect();
}

void TPageControl::AdjustTabRect(int, gfx::Rect&) {}

void TPageControl::AdjustDisplayRect(gfx::Rect&) {}

int TPageControl::IndexOfTabAt(int x, int y) {
  TCHitTestInfo info{gfx::Point{x, y}};
  return int(Perform(TCM_HITTEST, 0, ToLParam(&info)));
}

// ---- Single-line scrolling ----

void TPageControl::ScrollActiveTabIntoView() {
  if (FMultiLine || !(FTabPosition == tpTop || FTabPosition == tpBottom)) return;
  int active = TabIndex();
  if (active < 0) return;
  if (active < FFirstVisibleTab) {
    FFirstVisibleTab = active;
    InvalidateTabs();
    return;
  }
  // Scroll on until the active tab's right edge is in sight.
  const TabLayout& layout = Layout();
  int limit = ClientWidth() - 2 - (FUpDown ? FUpDown->Width() : 0);
  while (FFirstVisibleTab < active && layout.Rects[std::size_t(active)].Right > limit) {
    ++FFirstVisibleTab;
    InvalidateTabs();
    Layout();
  }
}

void TPageControl::ArrangeUpDown() {
  if (ComponentState().Contains(core::csDestroying) || ComponentState().Contains(core::csLoading)) return;
  bool horizontal = FTabPosition == tpTop || FTabPosition == tpBottom;
  int count = VisibleTabCount();
  int total = 0;
  for (TTabSheet* page : FPages) {
    if (page->TabVisible()) total += ItemWidth(page);
  }
  int available = ClientWidth() - 4;
  bool needed = !FMultiLine && horizontal && count > 1 && total > available;
  if (!needed) {
    if (FUpDown) {
      TUpDown* upDown = FUpDown;
      FUpDown = nullptr;
      upDown->Free();
    }
    if (FFirstVisibleTab != 0) {
      FFirstVisibleTab = 0;
      InvalidateTabs();
      Invalidate();
    }
    return;
  }
  int itemHeight = ItemHeight();
  if (!FUpDown) {
    FUpDown = core::Create<TUpDown>(*this);
    FUpDown->SetOrientation(udHorizontal);
    FUpDown->SetParent(this);
    FUpDown->OnChange = [this](core::TComponent* sender) {
      int position = static_cast<TUpDown*>(sender)->Position();
      Perform(WM_HSCROLL, MakeWParam(int(SB_THUMBPOSITION), position), 0);
    };
  }
  int upDownWidth = 2 * itemHeight;
  // The last first tab: the one from which the rest fits beside the buttons.
  std::vector<int> widths;
  for (TTabSheet* page : FPages) {
    if (page->TabVisible()) widths.push_back(ItemWidth(page));
  }
  int lastFirst = count - 1;
  int rest = 0;
  for (int i = count - 1; i >= 0; --i) {
    rest += widths[std::size_t(i)];
    if (rest > available - upDownWidth) break;
    lastFirst = i;
  }
  FUpDown->SetMax(std::max(0, lastFirst));
  FFirstVisibleTab = std::min(FFirstVisibleTab, std::max(0, lastFirst));
  FUpDown->SetPosition(FFirstVisibleTab);
  int top = FTabPosition == tpTop ? 2 : ClientHeight() - 2 - itemHeight;
  FUpDown->SetBounds(ClientWidth() - upDownWidth, top, upDownWidth, itemHeight);
}

// ---- Messages ----

void TPageControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(message); break;
    case WM_MOUSEMOVE: {
      gfx::Point point = PointFromLParam(message.LParam);
      SetHotTab(IndexOfTabAt(point.X, point.Y));
      inherited::Dispatch(message);
      break;
    }
    case CM_MOUSELEAVE:
      if (FromLParam<TControl>(message.LParam) == this) SetHotTab(-1);
      inherited::Dispatch(message);
      break;
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case WM_GETDLGCODE: message.Result = DLGC_WANTARROWS; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      inherited::Dispatch(message);
      Invalidate();
      break;
    case WM_SIZE: {
      InvalidateTabs();
      TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      ArrangeUpDown();
      Invalidate();
      break;
    }
    case CM_FONTCHANGED:
      inherited::Dispatch(message);
      InvalidateTabs();
      ArrangeUpDown();
      Realign();
      Invalidate();
      break;
    case CM_CONTROLCHANGE: {
      auto* child = reinterpret_cast<TControl*>(message.WParam);
      if (message.LParam) {
        if (auto* page = dynamic_cast<TTabSheet*>(child)) InsertPage(page);
      } else {
        RemovePage(child);
      }
      inherited::Dispatch(message);
      break;
    }
    default: inherited::Dispatch(message); break;
  }
}

// The "native" tab control.
void TPageControl::DefaultHandler(TMessage& message) {
  switch (message.Msg) {
    case TCM_GETITEMCOUNT: message.Result = VisibleTabCount(); return;
    case TCM_GETROWCOUNT: message.Result = Layout().Rows; return;
    case TCM_GETCURSEL: message.Result = TabIndex(); return;
    case TCM_SETCURSEL: {
      message.Result = TabIndex();
      SetTabIndex(int(message.WParam));
      return;
    }
    case TCM_SETITEMSIZE:
      FTabWidth = LoWord(std::uintptr_t(message.LParam));
      FTabHeight = HiWord(std::uintptr_t(message.LParam));
      InvalidateTabs();
      ArrangeUpDown();
      Realign();
      Invalidate();
      return;
    case TCM_GETITEMRECT: {
      auto* r = FromLParam<gfx::Rect>(message.LParam);
      int index = int(message.WParam);
      const TabLayout& layout = Layout();
      if (!r || index < 0 || index >= int(layout.Rects.size())) {
        if (r) *r = gfx::Rect{};
        message.Result = 0;
        return;
      }
      *r = layout.Rects[std::size_t(index)];
      AdjustTabRect(index, *r);
      message.Result = 1;
      return;
    }
    case TCM_ADJUSTRECT: {
      auto* r = FromLParam<gfx::Rect>(message.LParam);
      if (!r) return;
      gfx::Rect client = ClientRect();
      gfx::Rect display = Layout().Frame.Inflate(-4, -4);
      AdjustDisplayRect(display);
      int left = display.Left - client.Left;
      int top = display.Top - client.Top;
      int right = client.Right - display.Right;
      int bottom = client.Bottom - display.Bottom;
      if (message.WParam) {
        *r = gfx::Rect{r->Left - left, r->Top - top, r->Right + right, r->Bottom + bottom};
      } else {
        *r = gfx::Rect{r->Left + left, r->Top + top, std::max(r->Left + left, r->Right - right),
                       std::max(r->Top + top, r->Bottom - bottom)};
      }
      return;
    }
    case TCM_HITTEST: {
      auto* info = FromLParam<TCHitTestInfo>(message.LParam);
      message.Result = -1;
      if (!info) return;
      int count = int(Layout().Rects.size());
      // The active tab stands out over its neighbours.
      int active = TabIndex();
      if (active >= 0 && TabRect(active).Inflate(2, 2).Contains(info->Point)) {
        message.Result = active;
        return;
      }
      for (int i = 0; i < count; ++i) {
        gfx::Rect r = TabRect(i);
        if (r.Contains(info->Point) && !(FUpDown && FUpDown->BoundsRect().Contains(info->Point))) {
          message.Result = i;
          return;
        }
      }
      return;
    }
    case WM_HSCROLL:
      if (LoWord(message.WParam) == SB_THUMBPOSITION) {
        int first = HiWord(message.WParam);
        if (FUpDown) first = std::min(first, FUpDown->Max());
        if (first != FFirstVisibleTab) {
          FFirstVisibleTab = std::max(0, first);
          InvalidateTabs();
          Invalidate();
        }
        if (FUpDown && FUpDown->Position() != FFirstVisibleTab) FUpDown->SetPosition(FFirstVisibleTab);
      }
      return;
    case WM_KEYDOWN: WMKeyDown(message); return;
    default: inherited::DefaultHandler(message); return;
  }
}

void TPageControl::WMLButtonDown(TMessage& message) {
  gfx::Point point = PointFromLParam(message.LParam);
  int index = IndexOfTabAt(point.X, point.Y);
  TControlGuard guard(this);
  if (index >= 0) {
    if (CanFocus() && !Focused()) {
      SetFocus();
      if (guard.Destroyed()) return;
    }
    ChangeActivePage(PageOfTab(index));
    if (guard.Destroyed()) return;
    SetHotTab(IndexOfTabAt(point.X, point.Y));
  }
  inherited::Dispatch(message);
}

void TPageControl::WMKeyDown(TMessage& message) {
  int count = VisibleTabCount();
  int current = TabIndex();
  int target = current;
  switch (int(message.WParam)) {
    case platform::VK_LEFT:
    case platform::VK_UP: target = current - 1; break;
    case platform::VK_RIGHT:
    case platform::VK_DOWN: target = current + 1; break;
    case platform::VK_HOME: target = 0; break;
    case platform::VK_END: target = count - 1; break;
    default: inherited::DefaultHandler(message); return;
  }
  if (target >= 0 && target < count && target != current) ChangeActivePage(PageOfTab(target));
}

void TPageControl::CMDialogKey(TMessage& message) {
  if (int(message.WParam) == platform::VK_TAB) {
    TShiftState shift = KeyboardShiftState();
    TWinControl* focused = FindControl(GetFocus());
    if (shift.Contains(ssCtrl) && focused && (focused == this || ContainsControl(focused))) {
      SelectNextPage(!shift.Contains(ssShift));
      message.Result = 1;
      return;
    }
  }
  inherited::Dispatch(message);
}

void TPageControl::SetHotTab(int index) {
  if (index == FHotTab) return;
  int previous = FHotTab;
  FHotTab = index;
  HotTabChanged(previous, index);
}

void TPageControl::HotTabChanged(int previous, int current) {
  if (!HandleAllocated()) return;
  for (int index : {previous, current}) {
    if (index < 0) continue;
    gfx::Rect r = TabRect(index).Inflate(2, 2);
    InvalidateRect(Handle(), &r, false);
  }
}

// ---- Painting ----

void TPageControl::PaintTabStrip(gfx::Canvas& canvas) {
  canvas.SetBrush(Rgb(Color()));
  canvas.FillRect(ClientRect());
  gfx::Rect frame = Layout().Frame;
  if (!frame.IsEmpty()) classic::DrawFrame(canvas, frame, classic::FrameKind::Raised);
}

void TPageControl::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  PaintTabStrip(canvas);
  int count = int(Layout().Rects.size());
  int active = TabIndex();
  {
    gfx::CanvasStateSaver saver(canvas);
    // The up-down covers the tabs it scrolls.
    if (FUpDown) canvas.ExcludeClipRect(FUpDown->BoundsRect());
    for (int i = 0; i < count; ++i) {
      if (i != active) PaintTab(canvas, i, TabRect(i), i == FHotTab, false);
    }
    if (active >= 0) PaintTab(canvas, active, TabRect(active), active == FHotTab, true);
  }
}

// A classic tab: light on its outer and leading edges, dark on the
// trailing ones, open towards the page. The active one grows by 2 pixels
// to the sides and outwards and covers the frame's edge.
void TPageControl::PaintTab(gfx::Canvas& canvas, int index, const gfx::Rect& itemRect, bool hot, bool active) {
  gfx::Rect r = itemRect;
  if (active) {
    switch (FTabPosition) {
      case tpTop: r = gfx::Rect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}; break;
      case tpBottom: r = gfx::Rect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}; break;
      case tpLeft: r = gfx::Rect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}; break;
      case tpRight: r = gfx::Rect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}; break;
    }
  }
  if (r.IsEmpty()) return;
  gfx::Color light = Rgb(clBtnHighlight);
  gfx::Color shadow = Rgb(clBtnShadow);
  gfx::Color dark = Rgb(cl3DDkShadow);
  canvas.SetBrush(Rgb(Color()));
  canvas.FillRect(r);
  auto line = [&](int x0, int y0, int x1, int y1, gfx::Color color) {
    canvas.SetBrush(color);
    canvas.FillRect(gfx::Rect{x0, y0, x1, y1});
  };
  int l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
  switch (FTabPosition) {
    case tpTop:
      line(l, t + 2, l + 1, b, light);
      line(l + 1, t + 1, l + 2, t + 2, light);
      line(l + 2, t, rr - 2, t + 1, light);
      line(rr - 2, t + 1, rr - 1, b, shadow);
      line(rr - 1, t + 2, rr, b, dark);
      break;
    case tpBottom:
      line(l, t, l + 1, b - 2, light);
      line(l + 2, b - 2, rr - 2, b - 1, shadow);
      line(l + 2, b - 1, rr - 2, b, dark);
      line(rr - 2, t, rr - 1, b - 1, shadow);
      line(rr - 1, t, rr, b - 2, dark);
      break;
    case tpLeft:
      line(l + 2, t, rr, t + 1, light);
      line(l + 1, t + 1, l + 2, t + 2, light);
      line(l, t + 2, l + 1, b - 2, light);
      line(l + 1, b - 2, rr, b - 1, shadow);
      line(l + 2, b - 1, rr, b, dark);
      break;
    case tpRight:
      line(l, t, rr - 2, t + 1, light);
      line(rr - 2, t + 1, rr - 1, b - 1, shadow);
      line(rr - 1, t + 2, rr, b - 2, dark);
      line(l, b - 2, rr - 2, b - 1, shadow);
      line(l, b - 1, rr - 2, b, dark);
      break;
  }
  PaintTabBitmap(canvas, index, r, hot, active);
}

// The caption, turned with the tabs on the sides.
void TPageControl::PaintTabBitmap(gfx::Canvas& canvas, int index, const gfx::Rect& r, bool hot, bool active) {
  TTabSheet* page = PageOfTab(index);
  if (!page) return;
  bool horizontal = FTabPosition == tpTop || FTabPosition == tpBottom;
  gfx::Rect inner = r.Inflate(-3, -3);
  if (inner.IsEmpty()) return;
  int along = horizontal ? inner.Width() : inner.Height();
  int across = horizontal ? inner.Height() : inner.Width();
  gfx::Bitmap picture(along, across);
  gfx::Canvas text(picture);
  text.SetBrush(Rgb(Color()));
  text.FillRect(picture.Bounds());
  gfx::Font font = Font()->ToGfxFont();
  font.Color = Rgb(hot && FHotTrack && !active ? clHotLight : Font()->Color());
  text.SetFont(font);
  text.Brush().Style = gfx::BrushStyle::Clear;
  gfx::Rect box = picture.Bounds();
  unsigned format = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
  std::string caption = page->Caption();
  if (page->Enabled()) {
    text.DrawText(caption, box, format);
  } else {
    classic::DrawEmbossedText(text, caption, box, format);
  }
  if (active && Focused()) {
    gfx::Rect measured{0, 0, 0, 0};
    text.DrawText(caption.empty() ? " " : caption, measured, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
    int w = std::min(box.Width(), measured.Width() + 4);
    int h = std::min(box.Height(), measured.Height() + 2);
    classic::DrawFocusRect(text, gfx::Rect::FromSize((box.Width() - w) / 2, (box.Height() - h) / 2, w, h));
  }
  if (FTabPosition == tpLeft) picture = Turn(picture, false);
  if (FTabPosition == tpRight) picture = Turn(picture, true);
  canvas.Draw(inner.Left, inner.Top, picture);
}

}  // namespace ui
