#pragma once

// How a skin change reaches the skinned controls of a window. The skinned
// frame (skin/form) relays the skin messages to the controls of its form,
// and the controls (skin/controls) live above the frame: so the frame knows
// only this interface, which a skin-aware control implements and the relay
// finds by a cast.

namespace ui {
class TWinControl;
}

namespace skin {

class TskSkinData;

class SkinChangeReceiver {
 public:
  // The skin data the control draws from, or none.
  virtual TskSkinData* SkinChangeSource() const = 0;
  // WMSKIN_BEFORECHANGE: the old skin is about to be freed; forget every
  // section and picture taken from it. Only the control base needs this
  // (the other skin-aware classes look their section up at each paint).
  virtual void SkinBeforeChange() {}
  // WMSKIN_CHANGED: the new skin is loaded; look the section up again,
  // adapt size and region, repaint. May change the control's bounds.
  virtual void SkinChanged() = 0;

 protected:
  ~SkinChangeReceiver() = default;
};

// Relays WMSKIN_BEFORECHANGE or WMSKIN_CHANGED (other messages are
// ignored) to every receiver among root's descendants whose source is
// source (every receiver when source is none). Each control is visited
// before its own children, children in their parent's order. A receiver's
// handler may change bounds but must not destroy controls.
void RelaySkinChange(ui::TWinControl& root, unsigned message, const TskSkinData* source);

}  // namespace skin
