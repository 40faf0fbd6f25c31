#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// The system's wide strings and the program's UTF-8. Bad input becomes
// U+FFFD either way.
std::wstring ToWide(std::string_view text);
std::string ToUtf8(std::wstring_view text);

}  // namespace platform::win32
