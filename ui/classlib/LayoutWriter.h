#pragma once

#include <string>

#include "core/Component.h"
#include "ui/classlib/LayoutValue.h"

namespace ui {

// The stored layout of root: its published properties that differ from
// their defaults, then the components it writes inside itself (a form: its
// controls, each inside its parent, then its other components), each with
// their properties. Reading the text back into a fresh root of the same
// class and writing again gives the same text.
//
// Raises core::EWriteError for a component whose class was never
// registered by name.
std::string WriteLayout(core::TComponent& root);
// The same as a tree.
TLayoutObject DescribeLayout(core::TComponent& root);

}  // namespace ui
