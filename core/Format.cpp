#include "core/Format.h"

#include "core/Exception.h"

namespace core {

namespace {

[[noreturn]] void RaiseFormatError(std::string_view pattern) {
  throw EConvertError("Format '" + std::string(pattern) + "' invalid or incompatible with argument");
}

std::string Digits(std::uint64_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

}  // namespace

std::string FormatArgs(std::string_view pattern, std::initializer_list<TFormatArg> args) {
  std::string result;
  result.reserve(pattern.size() + 16);
  auto next = args.begin();
  std::size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i++];
    if (c != '%') {
      result += c;
      continue;
    }
    if (i >= pattern.size()) RaiseFormatError(pattern);
    if (pattern[i] == '%') {
      result += '%';
      ++i;
      continue;
    }
    bool leftJustify = false;
    bool zeroPad = false;
    for (; i < pattern.size() && (pattern[i] == '-' || pattern[i] == '0'); ++i) {
      if (pattern[i] == '-') leftJustify = true;
      else zeroPad = true;
    }
    std::size_t width = 0;
    for (; i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9'; ++i)
      width = width * 10 + std::size_t(pattern[i] - '0');
    int precision = -1;
    if (i < pattern.size() && pattern[i] == '.') {
      precision = 0;
      for (++i; i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9'; ++i)
        precision = precision * 10 + (pattern[i] - '0');
    }
    if (i >= pattern.size() || next == args.end() || width > 4096 || precision > 4096)
      RaiseFormatError(pattern);
    char directive = pattern[i++];
    const TFormatArg& arg = *next++;

    std::string text;
    switch (directive) {
      case 's':
        if (arg.ArgKind() == TFormatArg::Kind::Integer) RaiseFormatError(pattern);
        if (arg.ArgKind() == TFormatArg::Kind::Character)
          text.assign(1, static_cast<char>(arg.Integer()));
        else
          text.assign(arg.Text());
        if (precision >= 0 && text.size() > std::size_t(precision)) text.resize(std::size_t(precision));
        break;
      case 'c':
        if (arg.ArgKind() == TFormatArg::Kind::Text) RaiseFormatError(pattern);
        text.assign(1, static_cast<char>(arg.Integer()));
        break;
      case 'd':
      case 'u':
      case 'x':
      case 'X': {
        if (arg.ArgKind() == TFormatArg::Kind::Text) RaiseFormatError(pattern);
        std::int64_t value = arg.Integer();
        bool negative = directive == 'd' && value < 0;
        std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value)
                                           : static_cast<std::uint64_t>(value);
        text = directive == 'd' || directive == 'u' ? Digits(magnitude, 10, false)
                                                    : Digits(magnitude, 16, directive == 'X');
        if (precision >= 0 && text.size() < std::size_t(precision))
          text.insert(0, std::size_t(precision) - text.size(), '0');
        if (zeroPad && !leftJustify && text.size() + (negative ? 1 : 0) < width)
          text.insert(0, width - text.size() - (negative ? 1 : 0), '0');
        if (negative) text.insert(text.begin(), '-');
        break;
      }
      default:
        RaiseFormatError(pattern);
    }
    if (text.size() < width) {
      if (leftJustify)
        text.append(width - text.size(), ' ');
      else
        text.insert(0, width - text.size(), ' ');
    }
    result += text;
  }
  return result;
}

}  // namespace core
