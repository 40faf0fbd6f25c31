#pragma once

#include <string>
#include <string_view>

namespace gfx {

// The replacement character that stands in for bytes that are not UTF-8.
constexpr char32_t ReplacementCharacter = U'\uFFFD';

// Decodes UTF-8. Each maximal ill-formed sequence (a stray continuation
// byte, a truncated sequence, an overlong form, a surrogate, a value past
// U+10FFFF) becomes one U+FFFD, so any byte string decodes.
std::u32string DecodeUtf8(std::string_view text);

// Encodes code points; values that are not characters become U+FFFD.
std::string EncodeUtf8(std::u32string_view text);

}  // namespace gfx
