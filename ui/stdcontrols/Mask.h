#pragma once

#include <string>

#include "ui/stdcontrols/StdCtrls.h"

// The masked edit: the single-line edit the skinned edits derive from.
namespace ui {

// A single-line edit with an input mask. The program's edits use no mask,
// so the mask is kept (and written back to layouts) but does not yet
// filter or format what is typed; filtering is done by KeyPress/OnKeyPress
// and MaxLength, as the numeric edits do.
class TCustomMaskEdit : public TCustomEdit {
 public:
  using inherited = TCustomEdit;

  explicit TCustomMaskEdit(core::TComponent* owner);

  const std::string& EditMask() const { return FEditMask; }
  void SetEditMask(const std::string& mask) { FEditMask = mask; }
  // The text with the mask's literals; without a mask, the text.
  std::string EditText() const { return Text(); }
  void SetEditText(const std::string& text) { SetText(text); }
  // True while a mask is set.
  bool IsMasked() const { return !FEditMask.empty(); }

  static void DefineProperties(TPropertyList<TCustomMaskEdit>& list);

 private:
  std::string FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
 public:
  using inherited = TCustomMaskEdit;
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace ui
