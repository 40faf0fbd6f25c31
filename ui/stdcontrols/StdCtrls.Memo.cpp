#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui {

namespace {

constexpr int BarThickness = 17;

}  // namespace

// ---- TMemoStrings ---------------------------------------------------------

int TMemoStrings::Count() const {
  int lines = FMemo.BufferLineCount();
  // A trailing line break does not start another line.
  if (lines > 0 && FMemo.BufferLine(lines - 1).empty()) --lines;
  return lines;
}

std::string TMemoStrings::Get(int index) const {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  return FMemo.BufferLine(index);
}

void TMemoStrings::Put(int index, const std::string& text) {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  Changing();
  // The memo's OnChange may free the memo, and these lines with it.
  TControlGuard guard(&FMemo);
  FMemo.BufferPutLine(index, text);
  if (guard.Alive()) Changed();
}

void TMemoStrings::Insert(int index, const std::string& text) {
  if (index < 0 || index > Count()) RaiseIndexError(index);
  Changing();
  // The memo's OnChange may free the memo, and these lines with it.
  TControlGuard guard(&FMemo);
  FMemo.BufferInsertLine(index, text);
  if (guard.Alive()) Changed();
}

void TMemoStrings::Delete(int index) {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  Changing();
  // The memo's OnChange may free the memo, and these lines with it.
  TControlGuard guard(&FMemo);
  FMemo.BufferDeleteLine(index);
  if (guard.Alive()) Changed();
}

void TMemoStrings::Clear() {
  Changing();
  // The memo's OnChange may free the memo, and these lines with it.
  TControlGuard guard(&FMemo);
  FMemo.BufferClear();
  if (guard.Alive()) Changed();
}

// ---- TCustomMemo ------------------------------------------------------------

TCustomMemo::TCustomMemo(core::TComponent* owner) : TCustomEdit(owner), FLines(*this) {
  SetMultiLine(true);
  SetWantKeys(FWantReturns, FWantTabs);
  SetAutoSelect(false);
  SetWordWrap(true);
  SetBounds(Left(), Top(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetWantReturns(bool value) {
  FWantReturns = value;
  SetWantKeys(FWantReturns, FWantTabs);
}

void TCustomMemo::SetWantTabs(bool value) {
  FWantTabs = value;
  SetWantKeys(FWantReturns, FWantTabs);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  bool vertical = value == ssVertical || value == ssBoth;
  bool horizontal = value == ssHorizontal || value == ssBoth;
  auto make = [this](TScrollBarKind kind) {
    auto* bar = core::Create<TScrollBar>(*this);
    bar->SetKind(kind);
    bar->SetTabStop(false);
    bar->SetParent(this);
    bar->OnChange = [this, kind](core::TComponent* sender) {
      if (FUpdatingBars) return;
      int position = static_cast<TScrollBar*>(sender)->Position();
      if (kind == sbVertical) {
        ScrollToRow(position);
      } else {
        Perform(WM_HSCROLL, MakeWParam(int(SB_THUMBPOSITION), position), 0);
      }
    };
    return bar;
  };
  if (vertical && !FVerticalBar) FVerticalBar = make(sbVertical);
  if (!vertical && FVerticalBar) {
    TScrollBar* bar = FVerticalBar;
    FVerticalBar = nullptr;
    bar->Free();
  }
  if (horizontal && !FHorizontalBar) FHorizontalBar = make(sbHorizontal);
  if (!horizontal && FHorizontalBar) {
    TScrollBar* bar = FHorizontalBar;
    FHorizontalBar = nullptr;
    bar->Free();
  }
  // The text area changed: wrap and scroll again.
  Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
}

void TCustomMemo::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FVerticalBar) FVerticalBar = nullptr;
  if (component == FHorizontalBar) FHorizontalBar = nullptr;
}

gfx::Rect TCustomMemo::TextArea() const {
  gfx::Rect area = inherited::TextArea();
  if (FVerticalBar) area.Right = std::max(area.Left, area.Right - BarThickness);
  if (FHorizontalBar) area.Bottom = std::max(area.Top, area.Bottom - BarThickness);
  return area;
}

void TCustomMemo::ScrollChanged() {
  inherited::ScrollChanged();
  UpdateScrollBars();
}

void TCustomMemo::UpdateScrollBars() {
  if (!FVerticalBar && !FHorizontalBar) return;
  if (FUpdatingBars) return;
  FUpdatingBars = true;
  gfx::Rect client = ClientRect();
  int barWidth = FVerticalBar ? BarThickness : 0;
  int barHeight = FHorizontalBar ? BarThickness : 0;
  if (FVerticalBar) {
    FVerticalBar->SetBounds(client.Right - BarThickness, client.Top, BarThickness, client.Height() - barHeight);
    int visible = VisibleRowCount();
    int rows = RowCount();
    bool scrollable = rows > visible;
    FVerticalBar->SetParams(FirstVisibleRow(), 0, std::max(0, rows - 1));
    FVerticalBar->SetPageSize(scrollable ? visible : 0);
    FVerticalBar->SetLargeChange(std::max(1, visible));
    FVerticalBar->SetPosition(FirstVisibleRow());
    FVerticalBar->SetEnabled(scrollable && Enabled());
  }
  if (FHorizontalBar) {
    FHorizontalBar->SetBounds(client.Left, client.Bottom - BarThickness, client.Width() - barWidth, BarThickness);
    // Lines are not measured as a whole (that would cost a pass over
    // the text): the bar offers four widths of room past the scroll.
    int width = std::max(1, TextArea().Width());
    int scroll = HorizontalScroll();
    FHorizontalBar->SetParams(scroll, 0, std::max(width * 4, scroll + width));
    FHorizontalBar->SetLargeChange(width);
    FHorizontalBar->SetSmallChange(8);
    FHorizontalBar->SetEnabled(!WordWrap() && Enabled());
  }
  FUpdatingBars = false;
}

}  // namespace ui
