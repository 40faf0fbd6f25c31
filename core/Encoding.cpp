#include "core/Encoding.h"

#include <iconv.h>

#include <cerrno>

#include "core/Exception.h"

namespace core {

namespace {

constexpr const char* GbkName = "GBK";

// An iconv descriptor that closes itself.
class TConverter {
 public:
  TConverter(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
  ~TConverter() {
    if (Valid()) iconv_close(FHandle);
  }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;
  bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }
  iconv_t Handle() const { return FHandle; }

 private:
  iconv_t FHandle;
};

// Length of the UTF-8 character that starts with lead, 1 for a byte that
// cannot start one (so that it is skipped alone).
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Converts text, putting "?" in place of what cannot be converted. When
// the input is at fault (EILSEQ, EINVAL), skip decides how many bytes
// belong to the bad character: a whole UTF-8 character for text from UTF-8,
// so that an unconvertible character gives one "?", one byte otherwise, so
// that the bytes after a bad GBK lead byte are read again on their own.
template <class Skip>
std::string Convert(std::string_view text, const char* to, const char* from, Skip skip) {
  TConverter converter(to, from);
  if (!converter.Valid()) throw EConvertError(std::string("No converter from ") + from + " to " + to);

  std::string result;
  result.reserve(text.size() * 3 / 2 + 8);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char block[1024];
  while (inLeft > 0) {
    char* out = block;
    std::size_t outLeft = sizeof block;
    std::size_t status = iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
    result.append(block, std::size_t(out - block));
    if (status != std::size_t(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ: bad or unconvertible character; EINVAL: incomplete at the end.
    std::size_t bad = errno == EINVAL ? inLeft : skip(in, inLeft);
    if (bad > inLeft) bad = inLeft;
    in += bad;
    inLeft -= bad;
    result += '?';
    iconv(converter.Handle(), nullptr, nullptr, nullptr, nullptr);
  }
  // Flush any shift state (none for these encodings, but it costs nothing).
  char* out = block;
  std::size_t outLeft = sizeof block;
  iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft);
  result.append(block, std::size_t(out - block));
  return result;
}

}  // namespace

std::string GbkToUtf8(std::string_view text) {
  return Convert(text, "UTF-8", GbkName, [](const char*, std::size_t) { return std::size_t(1); });
}

std::string Utf8ToGbk(std::string_view text) {
  return Convert(text, GbkName, "UTF-8", [](const char* bytes, std::size_t left) {
    std::size_t length = Utf8Length(static_cast<unsigned char>(bytes[0]));
    if (length > left) return std::size_t(1);
    for (std::size_t i = 1; i < length; ++i)
      if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) return std::size_t(1);
    return length;
  });
}

bool IsGbkConversionAvailable() {
  TConverter toUtf8("UTF-8", GbkName);
  TConverter fromUtf8(GbkName, "UTF-8");
  return toUtf8.Valid() && fromUtf8.Valid();
}

}  // namespace core
