#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// One value of a stored layout as the text writes it: a number, a string
// ('text'), an identifier (True, clBtnFace, poScreenCenter, a component or
// method name), a set ([a, b]), binary data ({hex}) or a list of values
// (('a' 'b')).
struct TLayoutValue {
  enum class TKind { Integer, Float, String, Identifier, Set, Binary, List };

  TKind Kind = TKind::Integer;
  std::int64_t Integer = 0;
  double Float = 0;
  // String and Identifier.
  std::string Text;
  // Set.
  std::vector<std::string> Names;
  std::vector<std::uint8_t> Bytes;
  std::vector<TLayoutValue> Items;

  static TLayoutValue MakeInteger(std::int64_t value) {
    TLayoutValue v;
    v.Kind = TKind::Integer;
    v.Integer = value;
    return v;
  }
  static TLayoutValue MakeFloat(double value) {
    TLayoutValue v;
    v.Kind = TKind::Float;
    v.Float = value;
    return v;
  }
  static TLayoutValue MakeString(std::string text) {
    TLayoutValue v;
    v.Kind = TKind::String;
    v.Text = std::move(text);
    return v;
  }
  static TLayoutValue MakeIdentifier(std::string name) {
    TLayoutValue v;
    v.Kind = TKind::Identifier;
    v.Text = std::move(name);
    return v;
  }
  static TLayoutValue MakeSet(std::vector<std::string> names) {
    TLayoutValue v;
    v.Kind = TKind::Set;
    v.Names = std::move(names);
    return v;
  }
  static TLayoutValue MakeBinary(std::vector<std::uint8_t> bytes) {
    TLayoutValue v;
    v.Kind = TKind::Binary;
    v.Bytes = std::move(bytes);
    return v;
  }
  static TLayoutValue MakeList(std::vector<TLayoutValue> items) {
    TLayoutValue v;
    v.Kind = TKind::List;
    v.Items = std::move(items);
    return v;
  }
};

// A property line: "Font.Name = 'Arial'" has the path {"Font", "Name"}.
struct TLayoutProperty {
  std::vector<std::string> Path;
  TLayoutValue Value;
  int Line = 0;
};

// "object Name: TClass ... end" with its properties and nested objects.
struct TLayoutObject {
  std::string Name;
  std::string ClassName;
  // "inherited" instead of "object" (kept for writing back).
  bool Inherited = false;
  std::vector<TLayoutProperty> Properties;
  std::vector<TLayoutObject> Children;
  int Line = 0;
};

// Reads the text of a layout; raises core::EReadError "Line <n>: <what>"
// for text that is not one.
TLayoutObject ParseLayout(std::string_view text);
// Writes an object tree as layout text (two spaces per level, strings cut
// into pieces of 64 bytes, binary data as lines of 64 hex digits).
std::string FormatLayout(const TLayoutObject& object);

}  // namespace ui
