#pragma once

// The skinned single-line edits.
//
// TskCustomEdit is the masked edit with the skinned context menu; Enter
// and Escape never reach the edit engine. TskSkinCustomEdit draws the
// frame around the edit engine's client area from the "edit" section in
// the non-client area (and an optional button at the right), and takes
// its fonts and colours from the section. TskSkinNumericEdit accepts
// numbers only and keeps them inside MinValue..MaxValue.
//
//   window            +----------------------------------+------+
//   (skin height,     | LOffset |  middle (tiled or     |ROffset|
//    then stretched   |         |  stretched)           |      |
//    to the height)   +----------------------------------+------+
//   EditRect = clientrect, its right edge moved with the width; the
//   edit engine's client area is exactly EditRect.

#include <memory>
#include <string>

#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinData.Controls.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinTypes.h"
#include "ui/stdcontrols/Mask.h"

namespace ui {
class TMenuItem;
template <class T>
class TPropertyList;
}

namespace skin {

class TskSkinPopupMenu;

// The edit menu of the skinned edits and the memo for a WM_CONTEXTMENU:
// Undo, Cut, Copy, Paste, Delete and Select All, enabled for the edit's
// state, captions from the skin's texts; menu (owned by the edit) is made
// again for each request. A point outside the client area goes to the
// default handling.
void OpenSkinEditMenu(ui::TCustomEdit& edit, TskSkinPopupMenu*& menu, TskSkinData* skin, ui::TMessage& message);

class TskCustomEdit : public ui::TCustomMaskEdit {
 public:
  using inherited = ui::TCustomMaskEdit;

  explicit TskCustomEdit(core::TComponent* owner);
  ~TskCustomEdit() override;

  // Draw the text on what lies beneath (re-creates the window).
  bool EditTransparent() const { return FEditTransparent; }
  void SetEditTransparent(bool value);

  // The context menu made for the last request; none before the first.
  TskSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }
  // The skin of the menu's captions and look; the skinned edits answer
  // their SkinData.
  virtual TskSkinData* MenuSkinData() const { return nullptr; }

  ui::TNotifyEvent OnEditCancelMode;

  void Dispatch(ui::TMessage& message) override;

 protected:
  void GetTextColors(ui::TEditColors& colors) override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  void WMContextMenu(ui::TMessage& message);

  bool FEditTransparent = false;
  TskSkinPopupMenu* FSysPopupMenu = nullptr;
};

class TskSkinCustomEdit : public TskCustomEdit, public SkinChangeReceiver {
 public:
  using inherited = TskCustomEdit;
  static void DefineProperties(ui::TPropertyList<TskSkinCustomEdit>& list);

  explicit TskSkinCustomEdit(core::TComponent* owner);
  ~TskSkinCustomEdit() override;

  TskSkinData* SkinData() const { return FSkinData; }
  // Applies the skin at once unless it is none or empty.
  void SetSkinData(TskSkinData* value);
  const std::string& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool value);
  ui::TFont* DefaultFont() { return &FDefaultFont; }
  void SetDefaultFont(const ui::TFont& font) { FDefaultFont.Assign(font); }
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int value);
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int value);
  // A button at the right of the frame (re-creates the window).
  bool ButtonMode() const { return FButtonMode; }
  void SetButtonMode(bool value);
  bool ButtonDown() const { return FButtonDown; }
  bool ButtonActive() const { return FButtonActive; }
  bool MouseIn() const { return FMouseIn; }
  int SkinIndex() const { return FSkinIndex; }

  // In window coordinates, for the window's current size.
  const TRect& EditRect() const { return FEditRect; }
  const TRect& ButtonRect() const { return FButtonRect; }

  ui::TNotifyEvent OnButtonClick;
  ui::TNotifyEvent OnMouseEnter;
  ui::TNotifyEvent OnMouseLeave;

  // Looks the section up by name and copies what the edit draws from.
  void FindSkinSection();
  // Section, font, colours, size, frame.
  virtual void ApplySkinChange();

  TskSkinData* SkinChangeSource() const override { return FSkinData; }
  void SkinBeforeChange() override { FSkinIndex = -1; }
  void SkinChanged() override { ApplySkinChange(); }

  TskSkinData* MenuSkinData() const override { return FSkinData; }
  void Dispatch(ui::TMessage& message) override;

 protected:
  void AdjustNonClientArea(gfx::Rect& windowRect) const override;
  void PaintNonClient(gfx::Canvas& canvas, gfx::Size windowSize) override;
  void GetTextColors(ui::TEditColors& colors) override;
  void Notification(core::TComponent* component, core::TOperation operation) override;
  const TskDataSkinEditControl* Section() const;

 private:
  // EditRect and ButtonRect for a window of width x height.
  void CalcGeometry(int width, int height, TRect& editRect, TRect& buttonRect) const;
  void UpdateGeometry();
  void RepaintFrame();
  void FontFromSection();
  void WMNCHitTest(ui::TMessage& message);
  void WMNCMouse(ui::TMessage& message);

  TskSkinData* FSkinData = nullptr;
  std::string FSkinDataName{"edit"};
  int FSkinIndex = -1;
  bool FUseSkinFont = true;
  ui::TFont FDefaultFont;
  int FDefaultWidth = 0;
  int FDefaultHeight = 0;
  bool FButtonMode = false;
  bool FButtonDown = false;
  bool FButtonActive = false;
  bool FMouseIn = false;
  TRect FEditRect;
  TRect FButtonRect;
};

class TskSkinEdit : public TskSkinCustomEdit {
 public:
  using inherited = TskSkinCustomEdit;
  using TskSkinCustomEdit::TskSkinCustomEdit;
};

enum TValueType { vtInteger, vtFloat };

class TskSkinNumericEdit : public TskSkinCustomEdit {
 public:
  using inherited = TskSkinCustomEdit;

  static void DefineProperties(ui::TPropertyList<TskSkinNumericEdit>& list);
  explicit TskSkinNumericEdit(core::TComponent* owner);

  double MinValue() const { return FMinValue; }
  void SetMinValue(double value) { FMinValue = value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double value) { FMaxValue = value; }
  double Value() const { return FValue; }
  // Clamped; the text shows the formatted value.
  void SetValue(double value);
  int Decimal() const { return FDecimal; }
  void SetDecimal(int value) { FDecimal = value; }
  TValueType ValueType() const { return FValueType; }
  void SetValueType(TValueType value) { FValueType = value; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double value) { FIncrement = value; }
  bool SupportUpDownKeys() const { return FSupportUpDownKeys; }
  void SetSupportUpDownKeys(bool value) { FSupportUpDownKeys = value; }

  // MinValue..MaxValue, or v itself when the two are equal.
  double Clamp(double v) const;
  std::string Format(double v) const;
  // A number as this edit reads it (see the source).
  bool IsValidNumber(const std::string& text) const;

  void Dispatch(ui::TMessage& message) override;

 protected:
  void Change() override;

 private:
  bool KeyAccepted(char32_t key) const;
  void SetTextUnchecked(const std::string& text);

  double FMinValue = 0;
  double FMaxValue = 0;
  double FValue = 0;
  int FDecimal = 2;
  TValueType FValueType = vtInteger;
  double FIncrement = 1.0;
  bool FSupportUpDownKeys = false;
  bool FStopCheck = false;
  bool FFromEdit = false;
};

}  // namespace skin
