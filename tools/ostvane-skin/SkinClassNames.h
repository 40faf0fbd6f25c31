#pragma once

#include <string_view>

namespace skintool {

// The class a [SKINOBJECTS] or [SKINCONTROLS] kind word makes; empty for a
// word outside the tables.
std::string_view SkinObjectClassName(std::string_view kind);
std::string_view SkinControlClassName(std::string_view kind);

}  // namespace skintool
