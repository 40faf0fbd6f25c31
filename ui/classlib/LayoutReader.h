#pragma once

#include <string_view>

#include "core/Component.h"

namespace ui {

// Reads a stored layout into root: root takes the properties of the
// layout's top object, and every nested object becomes a component owned
// by root (and, for controls, parented by the enclosing control).
//
// Order: components are made and their properties set in layout order while
// they are loading (csLoading); references between components ("PopupMenu
// = PopupMenu1") are resolved once all exist; event properties ("OnClick =
// StarClick") are bound to methods root's class registered by name; then
// every component's Loaded hook runs in creation order, root first.
//
// Raises core::EReadError with the line number for text that is not a
// layout, an unknown class or property, a value of the wrong kind, or a
// reference or method that does not exist. What was made before the error
// stays owned by root.
void ReadLayout(core::TComponent& root, std::string_view text);

}  // namespace ui
