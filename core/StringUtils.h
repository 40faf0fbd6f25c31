#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// Text helpers of the class library. Texts are UTF-8; case folding and
// trimming work on ASCII only, so multi-byte characters pass through
// untouched.

// Integer conversion: optional leading blanks (spaces and tabs), an optional
// sign, then decimal digits, or hexadecimal digits after "$", "0x" or "0X".
// Nothing may follow the number. Decimal values must fit 32 bits signed;
// hexadecimal values up to 8 digits wrap ("$FFFFFFFF" is -1), as colour
// values are often written that way.
// StrToInt raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int defaultValue);
bool TryStrToInt(std::string_view text, int& value);
// The same rules over 64 bits (hexadecimal up to 16 digits).
std::int64_t StrToInt64(std::string_view text);
bool TryStrToInt64(std::string_view text, std::int64_t& value);

std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal with at least `digits` digits. Negative values are
// shown in two's complement of their type (IntToHex(-1, 2) is "FFFFFFFF").
std::string IntToHex(int value, int digits);
std::string IntToHex(std::int64_t value, int digits);

// Remove characters up to and including ' ' (controls and blanks).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// ASCII case-insensitive comparison; CompareText folds to upper case and
// returns <0, 0 or >0.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);

// Classic identifier: a letter or "_", then letters, digits or "_" (ASCII).
bool IsValidIdent(std::string_view text);

}  // namespace core
