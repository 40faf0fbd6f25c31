#pragma once

#include <string>
#include <string_view>

namespace core {

// Conversion between GBK (code page 936, the text of skin descriptions and
// of the user interface texts of the original platform) and UTF-8, the text
// of this program.
//
// Bad input never stops a conversion: each byte that does not start a valid
// character, each character that the target cannot hold, and an incomplete
// character at the end become one "?" and the conversion goes on with the
// rest. Raises EConvertError only when the system has no GBK converter.
std::string GbkToUtf8(std::string_view text);
std::string Utf8ToGbk(std::string_view text);

// Whether the system's iconv knows GBK.
bool IsGbkConversionAvailable();

}  // namespace core
