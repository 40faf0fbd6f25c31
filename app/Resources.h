#pragma once

#include <string_view>

// What the program carries inside itself instead of reading files: the
// build turns the files of resources/ into generated sources that define
// these functions.
namespace app {

// The main window's stored layout (resources/Unit1.layout), UTF-8 text.
std::string_view StoredMainFormLayout();

}  // namespace app
