#include "iconv.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

enum class Charset { Utf8, Gbk };

struct Converter {
  Charset To;
  Charset From;
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool CharsetOf(const char* name, Charset& charset) {
  if (!name) return false;
  if (SameName(name, "UTF-8") || SameName(name, "UTF8")) {
    charset = Charset::Utf8;
    return true;
  }
  if (SameName(name, "GBK") || SameName(name, "CP936")) {
    charset = Charset::Gbk;
    return true;
  }
  return false;
}

constexpr UINT GbkCodePage = 936;

// Reads one character; the bytes it took, 0 with errno set when the input
// is bad (EILSEQ) or ends inside the character (EINVAL).
std::size_t DecodeUtf8(const unsigned char* in, std::size_t left, char32_t& c) {
  const unsigned char lead = in[0];
  std::size_t length;
  char32_t minimum;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    errno = EILSEQ;
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= left) {
      errno = EINVAL;
      return 0;
    }
    if ((in[i] & 0xC0) != 0x80) {
      errno = EILSEQ;
      return 0;
    }
    c = (c << 6) | (in[i] & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    errno = EILSEQ;
    return 0;
  }
  return length;
}

std::size_t DecodeGbk(const unsigned char* in, std::size_t left, char32_t& c) {
  const unsigned char lead = in[0];
  if (lead < 0x80) {
    c = lead;
    return 1;
  }
  // 0x80 alone is the euro sign, as in code page 936.
  if (lead == 0x80) {
    c = 0x20AC;
    return 1;
  }
  if (lead == 0xFF) {
    errno = EILSEQ;
    return 0;
  }
  if (left < 2) {
    errno = EINVAL;
    return 0;
  }
  const unsigned char trail = in[1];
  if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
    errno = EILSEQ;
    return 0;
  }
  wchar_t wide[2] = {};
  const int units = MultiByteToWideChar(GbkCodePage, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(in), 2,
                                        wide, 2);
  if (units == 1 && wide[0] != 0xFFFD) {
    c = wide[0];
    return 2;
  }
  errno = EILSEQ;
  return 0;
}

// Writes c; the bytes written, 0 with errno set when it has no form in the
// charset (EILSEQ) or does not fit (E2BIG).
std::size_t EncodeUtf8(char32_t c, unsigned char* out, std::size_t left) {
  unsigned char bytes[4];
  std::size_t length;
  if (c < 0x80) {
    bytes[0] = static_cast<unsigned char>(c), length = 1;
  } else if (c < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    length = 2;
  } else if (c < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    length = 3;
  } else {
    bytes[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
    bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    bytes[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    length = 4;
  }
  if (length > left) {
    errno = E2BIG;
    return 0;
  }
  std::memcpy(out, bytes, length);
  return length;
}

std::size_t EncodeGbk(char32_t c, unsigned char* out, std::size_t left) {
  if (c < 0x80) {
    if (left < 1) {
      errno = E2BIG;
      return 0;
    }
    out[0] = static_cast<unsigned char>(c);
    return 1;
  }
  if (c > 0xFFFF) {
    errno = EILSEQ;
    return 0;
  }
  const wchar_t wide = static_cast<wchar_t>(c);
  char bytes[4] = {};
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(GbkCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                         nullptr, &usedDefault);
  if (length < 1 || length > 2 || usedDefault) {
    errno = EILSEQ;
    return 0;
  }
  if (left < std::size_t(length)) {
    errno = E2BIG;
    return 0;
  }
  std::memcpy(out, bytes, std::size_t(length));
  return std::size_t(length);
}

}  // namespace

extern "C" iconv_t iconv_open(const char* to, const char* from) {
  Charset target, source;
  if (!CharsetOf(to, target) || !CharsetOf(from, source)) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  return new Converter{target, source};
}

extern "C" int iconv_close(iconv_t converter) {
  delete static_cast<Converter*>(converter);
  return 0;
}

extern "C" std::size_t iconv(iconv_t handle, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
  // Neither charset has a shift state: resetting and flushing do nothing.
  if (!in || !*in) return 0;
  const Converter& converter = *static_cast<Converter*>(handle);
  while (*inLeft > 0) {
    const auto* source = reinterpret_cast<const unsigned char*>(*in);
    char32_t c = 0;
    const std::size_t read = converter.From == Charset::Utf8 ? DecodeUtf8(source, *inLeft, c)
                                                             : DecodeGbk(source, *inLeft, c);
    if (read == 0) return std::size_t(-1);
    auto* target = reinterpret_cast<unsigned char*>(*out);
    const std::size_t written = converter.To == Charset::Utf8 ? EncodeUtf8(c, target, *outLeft)
                                                              : EncodeGbk(c, target, *outLeft);
    if (written == 0) return std::size_t(-1);
    *in += read;
    *inLeft -= read;
    *out += written;
    *outLeft -= written;
  }
  return 0;
}
