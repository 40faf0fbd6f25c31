#include "skin/controls/SkinCtrls.StdLabel.h"

namespace skin {

namespace {

ui::TFontStyles ToStyles(gfx::FontStyle style) {
  ui::TFontStyles styles;
  if (gfx::HasStyle(style, gfx::FontStyle::Bold)) styles.Include(ui::fsBold);
  if (gfx::HasStyle(style, gfx::FontStyle::Italic)) styles.Include(ui::fsItalic);
  if (gfx::HasStyle(style, gfx::FontStyle::Underline)) styles.Include(ui::fsUnderline);
  if (gfx::HasStyle(style, gfx::FontStyle::StrikeOut)) styles.Include(ui::fsStrikeOut);
  return styles;
}

}  // namespace

TskSkinStdLabel::TskSkinStdLabel(core::TComponent* owner) : TCustomLabel(owner) { SetTransparent(true); }

TskSkinStdLabel::~TskSkinStdLabel() {
  if (FSkinData) RemoveFreeNotification(FSkinData);
}

void TskSkinStdLabel::SetSkinData(TskSkinData* value) {
  if (FSkinData) RemoveFreeNotification(FSkinData);
  FSkinData = value;
  if (FSkinData) {
    FSkinData->FreeNotification(this);
    ApplySkin();
  }
}

void TskSkinStdLabel::SetUseSkinFont(bool value) {
  FUseSkinFont = value;
  AdjustBounds();
  Invalidate();
}

void TskSkinStdLabel::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FSkinData) {
    FSkinData = nullptr;
    FSkinIndex = -1;
  }
}

void TskSkinStdLabel::FindSkinSection() {
  if (!FSkinData || FSkinData->Empty()) {
    FSkinIndex = -1;
    return;
  }
  FSkinIndex = FSkinData->FindControlIndex(FSkinDataName);
  if (FSkinIndex == -1) return;
  const auto* section =
      dynamic_cast<const TskDataSkinStdLabelControl*>(FSkinData->SkinControls()[std::size_t(FSkinIndex)].get());
  if (!section) return;
  FFontName = section->FontName;
  FFontColor = section->FontColor;
  FFontStyle = section->FontStyle;
  FFontHeight = section->FontHeight;
}

void TskSkinStdLabel::ApplySkin() {
  FindSkinSection();
  AdjustBounds();
  Invalidate();
}

// Without a section the default font (or Font when UseSkinFont is off);
// with one, the section's face over it (or Font) in the section's colour;
// the character set of the skin's texts when it has them.
void TskSkinStdLabel::GetDrawingFont(ui::TFont& font) {
  FindSkinSection();
  if (FSkinIndex == -1) {
    font.Assign(FUseSkinFont ? FDefaultFont : *Font());
  } else {
    font.Assign(*Font());
    if (FUseSkinFont) {
      font.SetName(FFontName);
      font.SetStyle(ToStyles(FFontStyle));
      font.SetHeight(FFontHeight);
    }
    font.SetColor(FFontColor);
  }
  font.SetCharset(FSkinData && FSkinData->ResourceStrData() ? FSkinData->ResourceStrData()->CharSet()
                                                             : FDefaultFont.Charset());
}

void TskSkinStdLabel::DoDrawText(gfx::Rect& rect, unsigned flags) {
  ui::TFont font;
  GetDrawingFont(font);
  Canvas()->SetFont(font);
  inherited::DoDrawText(rect, flags);
}

}  // namespace skin
