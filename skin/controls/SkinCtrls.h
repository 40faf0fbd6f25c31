#pragma once

// The skinned controls unit: the control base and the panel, group box,
// button, check/radio box, standard label and scroll bar built on it.

#include "skin/controls/SkinCtrls.Button.h"
#include "skin/controls/SkinCtrls.Control.h"
#include "skin/controls/SkinCtrls.Panel.h"
#include "skin/controls/SkinCtrls.CheckRadio.h"
#include "skin/controls/SkinCtrls.ScrollBar.h"
#include "skin/controls/SkinCtrls.StdLabel.h"

namespace skin {
// Registers the skinned control classes for stored layouts (runs from the
// class library's registrar list; calling it again does nothing).
void RegisterSkinControls();
}  // namespace skin
