#pragma once

// The skinned memo: the class library's memo without its own scroll bars,
// the "memo" section's border in the non-client area, its fonts and
// colours, an optional background from the skin picture, and an external
// skinned scroll bar kept in step with the lines both ways.

#include <cstdint>
#include <string>

#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinData.Controls.h"
#include "skin/data/SkinData.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui {
template <class T>
class TPropertyList;
}

namespace skin {

class TskSkinPopupMenu;
class TskSkinScrollBar;

class TskSkinMemo : public ui::TCustomMemo, public SkinChangeReceiver {
 public:
  using inherited = ui::TCustomMemo;
  static void DefineProperties(ui::TPropertyList<TskSkinMemo>& list);

  explicit TskSkinMemo(core::TComponent* owner);
  ~TskSkinMemo() override;

  TskSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TskSkinData* value);
  const std::string& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool value) { FUseSkinFont = value; }
  ui::TFont* DefaultFont() { return &FDefaultFont; }
  void SetDefaultFont(const ui::TFont& font) { FDefaultFont.Assign(font); }
  // The client background from the skin picture (the text then lies on it).
  bool BitMapBG() const { return FBitMapBG; }
  void SetBitMapBG(bool value);
  // With BitMapBG, the background blended with what lies behind.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(std::uint8_t value);
  bool MouseIn() const { return FMouseIn; }
  int SkinIndex() const { return FSkinIndex; }

  // The linked bar: its range follows the lines, its position scrolls the
  // memo (the memo takes over its OnChange).
  TskSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TskSkinScrollBar* bar);
  // Range, page and position of the bar from the rows now.
  void UpdateScrollBar();

  TskSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

  ui::TNotifyEvent OnMouseEnter;
  ui::TNotifyEvent OnMouseLeave;

  void FindSkinSection();
  void ApplySkinChange();
  TskSkinData* SkinChangeSource() const override { return FSkinData; }
  void SkinBeforeChange() override { FSkinIndex = -1; }
  void SkinChanged() override { ApplySkinChange(); }

  void Dispatch(ui::TMessage& message) override;

 protected:
  const TskDataSkinMemoControl* Section() const;
  void AdjustNonClientArea(gfx::Rect& windowRect) const override;
  void PaintNonClient(gfx::Canvas& canvas, gfx::Size windowSize) override;
  void GetTextColors(ui::TEditColors& colors) override;
  void Change() override;
  // The skin's background first with BitMapBG, then the text.
  void Paint() override;
  void ScrollChanged() override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  const gfx::Bitmap* Picture() const;
  bool Hot() const { return FMouseIn || Focused(); }
  void HotChanged();
  void PaintBackground(gfx::Canvas& canvas);
  void BarChanged();
  int RowHeight();
  void RepaintFrame();

  TskSkinData* FSkinData = nullptr;
  std::string FSkinDataName{"memo"};
  int FSkinIndex = -1;
  bool FUseSkinFont = true;
  ui::TFont FDefaultFont;
  bool FBitMapBG = false;
  bool FTransparent = false;
  std::uint8_t FAlphaBlendValue = 0;
  bool FMouseIn = false;
  bool FDown = false;
  TskSkinScrollBar* FVScrollBar = nullptr;
  TskSkinPopupMenu* FSysPopupMenu = nullptr;
  // The height of "Wq" in the font it was measured for.
  int FRowHeight = -1;
  gfx::Font FRowHeightFont;
  bool FUpdatingBar = false;
};

}  // namespace skin
