#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"
#include "ui/classlib/LayoutValue.h"

namespace ui {

namespace {

// ---- Reading ------------------------------------------------------------------

enum class TokenKind { End, Identifier, Integer, Float, String, Binary, Symbol };

struct Token {
  TokenKind Kind = TokenKind::End;
  std::string Text;
  std::int64_t Integer = 0;
  double Float = 0;
  std::vector<std::uint8_t> Bytes;
  char Symbol = 0;
  int Line = 1;
};

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

void AppendUtf8(std::string& text, std::uint32_t point) {
  if (point < 0x80) {
    text += char(point);
  } else if (point < 0x800) {
    text += char(0xC0 | (point >> 6));
    text += char(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    text += char(0xE0 | (point >> 12));
    text += char(0x80 | ((point >> 6) & 0x3F));
    text += char(0x80 | (point & 0x3F));
  } else {
    text += char(0xF0 | (point >> 18));
    text += char(0x80 | ((point >> 12) & 0x3F));
    text += char(0x80 | ((point >> 6) & 0x3F));
    text += char(0x80 | (point & 0x3F));
  }
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : FText(text) {}

  [[noreturn]] void Fail(const std::string& what, int line) const {
    throw core::EReadError(core::Format("Line %d: %s", line, what));
  }

  Token Next() {
    SkipBlanks();
    Token token;
    token.Line = FLine;
    if (FPosition >= FText.size()) return token;
    char c = FText[FPosition];
    if (IsIdentStart(c)) {
      std::size_t start = FPosition;
      // Dotted names: property paths and references to other forms.
      while (FPosition < FText.size() &&
             (IsIdentChar(FText[FPosition]) ||
              (FText[FPosition] == '.' && FPosition + 1 < FText.size() && IsIdentStart(FText[FPosition + 1])))) {
        ++FPosition;
      }
      token.Kind = TokenKind::Identifier;
      token.Text = std::string(FText.substr(start, FPosition - start));
      return token;
    }
    if (c == '\'' || c == '#') return ReadString(token);
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
        ((c == '-' || c == '+') && FPosition + 1 < FText.size() &&
         (std::isdigit(static_cast<unsigned char>(FText[FPosition + 1])) || FText[FPosition + 1] == '$'))) {
      return ReadNumber(token);
    }
    if (c == '{') return ReadBinary(token);
    if (std::string_view("=:[](),<>+").find(c) != std::string_view::npos) {
      ++FPosition;
      token.Kind = TokenKind::Symbol;
      token.Symbol = c;
      return token;
    }
    Fail(core::Format("Invalid character '%c'", c), FLine);
  }

 private:
  void SkipBlanks() {
    while (FPosition < FText.size()) {
      char c = FText[FPosition];
      if (c == '\n') {
        ++FLine;
        ++FPosition;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPosition;
      } else if (FPosition == 0 && FText.substr(0, 3) == "\xEF\xBB\xBF") {
        FPosition += 3;  // a byte order mark
      } else {
        break;
      }
    }
  }

  Token& ReadString(Token& token) {
    token.Kind = TokenKind::String;
    while (FPosition < FText.size()) {
      char c = FText[FPosition];
      if (c == '\'') {
        ++FPosition;
        for (;;) {
          if (FPosition >= FText.size() || FText[FPosition] == '\n') Fail("Unterminated string", token.Line);
          char d = FText[FPosition++];
          if (d == '\'') {
            if (FPosition < FText.size() && FText[FPosition] == '\'') {
              token.Text += '\'';
              ++FPosition;
              continue;
            }
            break;
          }
          token.Text += d;
        }
      } else if (c == '#') {
        ++FPosition;
        std::uint32_t code = 0;
        std::size_t start = FPosition;
        bool hex = FPosition < FText.size() && FText[FPosition] == '$';
        if (hex) ++FPosition;
        std::size_t digits = FPosition;
        while (FPosition < FText.size() &&
               (hex ? std::isxdigit(static_cast<unsigned char>(FText[FPosition]))
                    : std::isdigit(static_cast<unsigned char>(FText[FPosition])))) {
          code = code * (hex ? 16 : 10) + std::uint32_t(std::isdigit(static_cast<unsigned char>(FText[FPosition]))
                                                            ? FText[FPosition] - '0'
                                                            : (std::tolower(static_cast<unsigned char>(FText[FPosition])) - 'a' + 10));
          if (code > 0x10FFFF) Fail("Invalid character code", token.Line);
          ++FPosition;
        }
        if (FPosition == digits || FPosition == start) Fail("Invalid character code", token.Line);
        AppendUtf8(token.Text, code);
      } else {
        break;
      }
    }
    return token;
  }

  Token& ReadNumber(Token& token) {
    std::size_t start = FPosition;
    bool negative = false;
    if (FText[FPosition] == '-' || FText[FPosition] == '+') negative = FText[FPosition++] == '-';
    if (FText[FPosition] == '$') {
      ++FPosition;
      std::size_t digits = FPosition;
      std::uint64_t value = 0;
      while (FPosition < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPosition]))) {
        if (FPosition - digits >= 16) Fail("Number too large", token.Line);
        char d = FText[FPosition++];
        value = value * 16 + std::uint64_t(std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : std::tolower(d) - 'a' + 10);
      }
      if (FPosition == digits) Fail("Invalid number", token.Line);
      token.Kind = TokenKind::Integer;
      token.Integer = negative ? -std::int64_t(value) : std::int64_t(value);
      return token;
    }
    while (FPosition < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPosition]))) ++FPosition;
    bool isFloat = false;
    if (FPosition + 1 < FText.size() && FText[FPosition] == '.' && std::isdigit(static_cast<unsigned char>(FText[FPosition + 1]))) {
      isFloat = true;
      ++FPosition;
      while (FPosition < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPosition]))) ++FPosition;
    }
    if (FPosition < FText.size() && (FText[FPosition] == 'e' || FText[FPosition] == 'E')) {
      isFloat = true;
      ++FPosition;
      if (FPosition < FText.size() && (FText[FPosition] == '-' || FText[FPosition] == '+')) ++FPosition;
      while (FPosition < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPosition]))) ++FPosition;
    }
    std::string number(FText.substr(start, FPosition - start));
    if (number[0] == '+') number.erase(0, 1);
    if (isFloat) {
      token.Kind = TokenKind::Float;
      auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), token.Float);
      if (error != std::errc() || end != number.data() + number.size()) Fail("Invalid number", token.Line);
    } else {
      token.Kind = TokenKind::Integer;
      auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), token.Integer);
      if (error != std::errc() || end != number.data() + number.size()) Fail("Invalid number", token.Line);
    }
    return token;
  }

  Token& ReadBinary(Token& token) {
    ++FPosition;
    token.Kind = TokenKind::Binary;
    int high = -1;
    for (;;) {
      if (FPosition >= FText.size()) Fail("Unterminated binary data", token.Line);
      char c = FText[FPosition++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') continue;
      if (!std::isxdigit(static_cast<unsigned char>(c))) Fail("Invalid binary data", FLine);
      int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
      if (high < 0) {
        high = digit;
      } else {
        token.Bytes.push_back(std::uint8_t(high * 16 + digit));
        high = -1;
      }
    }
    if (high >= 0) Fail("Odd number of hex digits in binary data", token.Line);
    return token;
  }

  std::string_view FText;
  std::size_t FPosition = 0;
  int FLine = 1;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : FLexer(text) { Advance(); }

  TLayoutObject ParseRoot() {
    TLayoutObject root = ParseObject();
    if (FToken.Kind != TokenKind::End) FLexer.Fail("Text after the end of the layout", FToken.Line);
    return root;
  }

 private:
  void Advance() { FToken = FLexer.Next(); }

  bool IsKeyword(std::string_view word) const {
    return FToken.Kind == TokenKind::Identifier && core::SameText(FToken.Text, word);
  }

  void Expect(char symbol) {
    if (FToken.Kind != TokenKind::Symbol || FToken.Symbol != symbol) {
      FLexer.Fail(core::Format("'%c' expected", symbol), FToken.Line);
    }
    Advance();
  }

  std::string ExpectIdentifier(const char* what) {
    if (FToken.Kind != TokenKind::Identifier) FLexer.Fail(core::Format("%s expected", what), FToken.Line);
    std::string text = FToken.Text;
    Advance();
    return text;
  }

  TLayoutObject ParseObject() {
    TLayoutObject object;
    object.Line = FToken.Line;
    if (IsKeyword("inherited") || IsKeyword("inline")) {
      object.Inherited = true;
    } else if (!IsKeyword("object")) {
      FLexer.Fail("'object' expected", FToken.Line);
    }
    Advance();
    object.Name = ExpectIdentifier("Component name");
    if (FToken.Kind == TokenKind::Symbol && FToken.Symbol == ':') {
      Advance();
      object.ClassName = ExpectIdentifier("Class name");
    } else {
      // "object TButton" without a name.
      object.ClassName = object.Name;
      object.Name.clear();
    }
    if (++FDepth > 256) FLexer.Fail("Objects nested too deeply", object.Line);
    for (;;) {
      if (FToken.Kind == TokenKind::End) FLexer.Fail("'end' expected", FToken.Line);
      if (IsKeyword("end")) {
        Advance();
        break;
      }
      if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) {
        object.Children.push_back(ParseObject());
        continue;
      }
      if (!object.Children.empty()) FLexer.Fail("Property after a nested object", FToken.Line);
      object.Properties.push_back(ParseProperty());
    }
    --FDepth;
    return object;
  }

  TLayoutProperty ParseProperty() {
    TLayoutProperty property;
    property.Line = FToken.Line;
    std::string path = ExpectIdentifier("Property name");
    std::size_t start = 0;
    for (std::size_t dot = path.find('.'); ; dot = path.find('.', start)) {
      property.Path.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    Expect('=');
    property.Value = ParseValue();
    return property;
  }

  TLayoutValue ParseValue() {
    switch (FToken.Kind) {
      case TokenKind::Integer: {
        TLayoutValue value = TLayoutValue::MakeInteger(FToken.Integer);
        Advance();
        return value;
      }
      case TokenKind::Float: {
        TLayoutValue value = TLayoutValue::MakeFloat(FToken.Float);
        Advance();
        return value;
      }
      case TokenKind::String: {
        std::string text = FToken.Text;
        Advance();
        while (FToken.Kind == TokenKind::Symbol && FToken.Symbol == '+') {
          Advance();
          if (FToken.Kind != TokenKind::String) FLexer.Fail("String expected after '+'", FToken.Line);
          text += FToken.Text;
          Advance();
        }
        return TLayoutValue::MakeString(std::move(text));
      }
      case TokenKind::Identifier: {
        TLayoutValue value = TLayoutValue::MakeIdentifier(FToken.Text);
        Advance();
        return value;
      }
      case TokenKind::Binary: {
        TLayoutValue value = TLayoutValue::MakeBinary(std::move(FToken.Bytes));
        Advance();
        return value;
      }
      case TokenKind::Symbol:
        if (FToken.Symbol == '[') {
          Advance();
          std::vector<std::string> names;
          while (!(FToken.Kind == TokenKind::Symbol && FToken.Symbol == ']')) {
            if (!names.empty()) Expect(',');
            names.push_back(ExpectIdentifier("Set element"));
          }
          Advance();
          return TLayoutValue::MakeSet(std::move(names));
        }
        if (FToken.Symbol == '(') {
          Advance();
          std::vector<TLayoutValue> items;
          while (!(FToken.Kind == TokenKind::Symbol && FToken.Symbol == ')')) {
            if (FToken.Kind == TokenKind::End) FLexer.Fail("')' expected", FToken.Line);
            items.push_back(ParseValue());
          }
          Advance();
          return TLayoutValue::MakeList(std::move(items));
        }
        if (FToken.Symbol == '<') FLexer.Fail("Collections are not supported", FToken.Line);
        break;
      case TokenKind::End:
        break;
    }
    FLexer.Fail("Property value expected", FToken.Line);
  }

  Lexer FLexer;
  Token FToken;
  int FDepth = 0;
};

// ---- Writing ------------------------------------------------------------------

constexpr std::size_t StringPieceBytes = 64;
constexpr std::size_t BinaryLineBytes = 32;  // 64 hex digits

std::string Indent(int level) { return std::string(std::size_t(level) * 2, ' '); }

// One piece of a string: printable runs in quotes, control characters as
// #NNN.
std::string QuotePiece(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(int(u));
      continue;
    }
    if (!quoted) out += '\'';
    quoted = true;
    out += c;
    if (c == '\'') out += '\'';
  }
  if (quoted) out += '\'';
  if (out.empty()) out = "''";
  return out;
}

std::string FormatString(const std::string& text, int level) {
  if (text.size() <= StringPieceBytes) return QuotePiece(text);
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = std::min(text.size(), start + StringPieceBytes);
    // Never cut a UTF-8 character.
    while (end < text.size() && end > start + 1 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    if (start > 0) out += " +\n" + Indent(level + 1);
    out += QuotePiece(std::string_view(text).substr(start, end - start));
    start = end;
  }
  return out;
}

std::string FormatFloat(double value) {
  char buffer[64];
  if (std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.18f", value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.17e", value);
  }
  return buffer;
}

std::string FormatValue(const TLayoutValue& value, int level);

std::string FormatBinary(const std::vector<std::uint8_t>& bytes, int level) {
  static const char* const Hex = "0123456789ABCDEF";
  if (bytes.empty()) return "{}";
  std::string out = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % BinaryLineBytes == 0) out += "\n" + Indent(level + 1);
    out += Hex[bytes[i] >> 4];
    out += Hex[bytes[i] & 0x0F];
  }
  return out + "}";
}

std::string FormatValue(const TLayoutValue& value, int level) {
  switch (value.Kind) {
    case TLayoutValue::TKind::Integer: return std::to_string(value.Integer);
    case TLayoutValue::TKind::Float: return FormatFloat(value.Float);
    case TLayoutValue::TKind::String: return FormatString(value.Text, level);
    case TLayoutValue::TKind::Identifier: return value.Text;
    case TLayoutValue::TKind::Set: {
      std::string out = "[";
      for (std::size_t i = 0; i < value.Names.size(); ++i) out += (i ? ", " : "") + value.Names[i];
      return out + "]";
    }
    case TLayoutValue::TKind::Binary: return FormatBinary(value.Bytes, level);
    case TLayoutValue::TKind::List: {
      if (value.Items.empty()) return "()";
      std::string out = "(";
      for (const TLayoutValue& item : value.Items) out += "\n" + Indent(level + 1) + FormatValue(item, level + 1);
      return out + ")";
    }
  }
  return "";
}

void FormatObject(const TLayoutObject& object, int level, std::string& out) {
  out += Indent(level) + (object.Inherited ? "inherited " : "object ");
  out += object.Name.empty() ? object.ClassName : object.Name + ": " + object.ClassName;
  out += "\n";
  for (const TLayoutProperty& property : object.Properties) {
    std::string path;
    for (std::size_t i = 0; i < property.Path.size(); ++i) path += (i ? "." : "") + property.Path[i];
    out += Indent(level + 1) + path + " = " + FormatValue(property.Value, level + 1) + "\n";
  }
  for (const TLayoutObject& child : object.Children) FormatObject(child, level + 1, out);
  out += Indent(level) + "end\n";
}

}  // namespace

TLayoutObject ParseLayout(std::string_view text) { return Parser(text).ParseRoot(); }

std::string FormatLayout(const TLayoutObject& object) {
  std::string out;
  FormatObject(object, 0, out);
  return out;
}

}  // namespace ui
