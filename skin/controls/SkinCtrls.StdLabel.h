#pragma once

// A windowless text label whose font comes from the skin's "stdlabel"
// section; it draws only text, so the skinned parent shows through.

#include <string>

#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinData.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace skin {

class TskSkinStdLabel : public ui::TCustomLabel, public SkinChangeReceiver {
 public:
  using inherited = ui::TCustomLabel;
  static void DefineProperties(ui::TPropertyList<TskSkinStdLabel>& list);

  explicit TskSkinStdLabel(core::TComponent* owner);
  ~TskSkinStdLabel() override;

  TskSkinData* SkinData() const { return FSkinData; }
  // Applies the skin at once when not none.
  void SetSkinData(TskSkinData* value);
  const std::string& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool value);
  ui::TFont* DefaultFont() { return &FDefaultFont; }
  // Copies the font; no repaint.
  void SetDefaultFont(const ui::TFont& font) { FDefaultFont.Assign(font); }
  int SkinIndex() const { return FSkinIndex; }

  // The section again, the size when AutoSize is on, a repaint.
  void ApplySkin();

  TskSkinData* SkinChangeSource() const override { return FSkinData; }
  void SkinBeforeChange() override { FSkinIndex = -1; }
  void SkinChanged() override { ApplySkin(); }

  // The font the text is drawn in now (for tests and the paint).
  void GetDrawingFont(ui::TFont& font);

 protected:
  void DoDrawText(gfx::Rect& rect, unsigned flags) override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  void FindSkinSection();

  int FSkinIndex = -1;
  TskSkinData* FSkinData = nullptr;
  std::string FSkinDataName{"stdlabel"};
  ui::TFont FDefaultFont;
  bool FUseSkinFont = true;
  std::string FFontName;
  gfx::FontStyle FFontStyle = gfx::FontStyle::None;
  int FFontHeight = 14;
  gfx::Color FFontColor = 0;
};

}  // namespace skin
