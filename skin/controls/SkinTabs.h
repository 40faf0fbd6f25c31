#pragma once

// The skinned page control and its pages. The page control keeps the
// class library's tab logic (layout, selection, keyboard, the up-down of
// single-line mode) and replaces the painting, the item geometry and the
// hot tracking with the "tab" section's.
//
//   tpTop:      [tab][TAB][tab]          tabs from tabrect / activetabrect /
//               +-------------------+    focustabrect / mouseintabrect,
//               | frame: nine parts |    three parts along x; mirrored for
//               | without centre    |    tpBottom, turned for tpLeft/Right;
//               +-------------------+    the strip under them tiled from
//                                        tabsbgrect.

#include <string>

#include "skin/controls/SkinBoxCtrls.UpDown.h"
#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinData.Controls.h"
#include "skin/data/SkinData.h"
#include "ui/stdcontrols/ComCtrls.h"

namespace ui {
template <class T>
class TPropertyList;
}

namespace skin {

class TskSkinPageControl;

class TskSkinCustomTabSheet : public ui::TTabSheet {
 public:
  using inherited = ui::TTabSheet;
  explicit TskSkinCustomTabSheet(core::TComponent* owner);

  void Dispatch(ui::TMessage& message) override;

 protected:
  // The sheet's background from its page control's section.
  void PaintSheetBackground(gfx::Canvas& canvas);
};

class TskSkinTabSheet : public TskSkinCustomTabSheet {
 public:
  using inherited = TskSkinCustomTabSheet;
  using TskSkinCustomTabSheet::TskSkinCustomTabSheet;
};

class TskSkinPageControl : public ui::TPageControl, public SkinChangeReceiver {
 public:
  using inherited = ui::TPageControl;
  static void DefineProperties(ui::TPropertyList<TskSkinPageControl>& list);

  explicit TskSkinPageControl(core::TComponent* owner);
  ~TskSkinPageControl() override;

  TskSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TskSkinData* value);
  const std::string& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool value) { FUseSkinFont = value; }
  ui::TFont* DefaultFont() { return &FDefaultFont; }
  void SetDefaultFont(const ui::TFont& font) { FDefaultFont.Assign(font); }
  int DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(int value);
  int SkinIndex() const { return FSkinIndex; }
  // The tab under the pointer among the visible tabs, and its page.
  int HotTabIndex() const { return FHotTab; }
  int HotPage() const { return FHotPage; }
  // The skinned up-down of single-line mode while tabs are cut off.
  TskSkinUpDown* SkinScrollUpDown() const { return FScrollUpDown; }

  // Looks the section up by name and copies it; -1 without one.
  void FindSkinSection();
  // Section, font, item size, repaint.
  void ApplySkinChange();

  TskSkinData* SkinChangeSource() const override { return FSkinData; }
  void SkinBeforeChange() override { FSkinIndex = -1; }
  void SkinChanged() override { ApplySkinChange(); }

  void Dispatch(ui::TMessage& message) override;

  // For the sheets: the section, nullptr without one, and its picture.
  const TskDataSkinTabControl* Section() const;
  const gfx::Bitmap* Picture() const;
  const gfx::Bitmap* ActivePicture(int index) const;

 protected:
  void AdjustTabRect(int index, gfx::Rect& rect) override;
  void AdjustDisplayRect(gfx::Rect& rect) override;
  // Hot tracking is ours (see UpdateHotTab): the base's is unused.
  void HotTabChanged(int, int) override {}
  void Notification(core::TComponent* component, core::TOperation operation) override;
  // Single-line mode scrolls with a skinned up-down instead of the
  // class library's one.
  void ArrangeUpDown() override;
  void Paint() override;
  // One tab's picture composed and drawn at rect's top-left corner.
  virtual void DrawTab(gfx::Canvas& canvas, int tabIndex, const gfx::Rect& rect, bool hot, bool active);

 private:
  void DrawDefaultBackground(gfx::Canvas& canvas);
  void DrawSkinBackground(gfx::Canvas& canvas);
  void UpdateHotTab(int x, int y);
  // Redraws one visible tab on the window (not -1, the active tab or
  // past the end).
  void RedrawTab(int tabIndex, bool hot);
  void ResetHotTab();
  void SetItemHeightFrom(int height);
  int CountClippedTabs();
  int CountTabsLeftOfView();

  int FHotPage = -1;
  int FPrevHotPage = -1;
  int FHotTab = -1;
  int FPrevHotTab = -1;
  bool FUseSkinFont = true;
  TskSkinData* FSkinData = nullptr;
  std::string FSkinDataName{"tab"};
  int FSkinIndex = -1;
  ui::TFont FDefaultFont;
  int FDefaultItemHeight = 20;
  TskSkinUpDown* FScrollUpDown = nullptr;
};

}  // namespace skin
