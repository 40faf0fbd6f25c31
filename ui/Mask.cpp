#include "ui/Mask.h"

#include "ui/Properties.h"

namespace ui {

TCustomMaskEdit::TCustomMaskEdit(core::TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::DefineProperties(TPropertyList<TCustomMaskEdit>& list) {
  list.Property("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask, std::string());
}

}  // namespace ui
