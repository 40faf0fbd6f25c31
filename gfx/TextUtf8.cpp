#include "gfx/TextUtf8.h"

#include <cstdint>

namespace gfx {

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    auto byte = [&](std::size_t k) { return std::uint8_t(text[k]); };
    std::uint8_t lead = byte(i);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    int length;
    char32_t value;
    // The allowed range of the second byte narrows for E0, ED, F0 and F4:
    // that is what rules out overlong forms, surrogates and values past
    // U+10FFFF without decoding them first.
    std::uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      value = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      value = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out.push_back(ReplacementCharacter);
      ++i;
      continue;
    }
    std::size_t k = 1;
    bool complete = true;
    for (; k < std::size_t(length); ++k) {
      if (i + k >= n) {
        complete = false;
        break;
      }
      std::uint8_t b = byte(i + k);
      std::uint8_t lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
      if (b < lo || b > hi) {
        complete = false;
        break;
      }
      value = (value << 6) | (b & 0x3F);
    }
    if (!complete) {
      // The lead byte and the valid continuation bytes so far form one
      // ill-formed sequence; the byte that broke it is looked at again.
      out.push_back(ReplacementCharacter);
      i += k;
      continue;
    }
    out.push_back(value);
    i += std::size_t(length);
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = ReplacementCharacter;
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | (c >> 12)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (c >> 18)));
      out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace gfx
