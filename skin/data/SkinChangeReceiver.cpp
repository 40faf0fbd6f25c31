#include "skin/data/SkinChangeReceiver.h"

#include "skin/data/SkinBroadcast.h"
#include "ui/classlib/Controls.h"

namespace skin {

namespace {

void Visit(ui::TWinControl& parent, unsigned message, const TskSkinData* source) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    ui::TControl* control = parent.Controls(i);
    if (auto* receiver = dynamic_cast<SkinChangeReceiver*>(control)) {
      if (!source || receiver->SkinChangeSource() == source) {
        if (message == WMSKIN_BEFORECHANGE) {
          receiver->SkinBeforeChange();
        } else {
          receiver->SkinChanged();
        }
      }
    }
    if (auto* windowed = dynamic_cast<ui::TWinControl*>(control)) Visit(*windowed, message, source);
  }
}

}  // namespace

void RelaySkinChange(ui::TWinControl& root, unsigned message, const TskSkinData* source) {
  if (message != WMSKIN_BEFORECHANGE && message != WMSKIN_CHANGED) return;
  Visit(root, message, source);
}

}  // namespace skin
