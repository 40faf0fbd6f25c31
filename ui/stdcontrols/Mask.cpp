#include "ui/stdcontrols/Mask.h"

#include "ui/classlib/Properties.h"

namespace ui {

TCustomMaskEdit::TCustomMaskEdit(core::TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::DefineProperties(TPropertyList<TCustomMaskEdit>& list) {
  list.Property("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask, std::string());
}

}  // namespace ui
