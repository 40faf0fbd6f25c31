#include "platform/x11/KeySymbols.h"

#include <X11/keysym.h>

#include <iterator>

#include "platform/VirtualKeys.h"

namespace platform::x11 {
namespace {

struct KeyPair {
  KeySymbol Symbol;
  int VirtualKey;
};

// Symbols whose key has a code of its own. Letters, digits and function
// keys are ranges and handled in code. Where two symbols share one key
// (the keypad with and without Num Lock) the caller passes the symbol the
// key produces in its current state.
constexpr KeyPair KeyTable[] = {
    {XK_BackSpace, VK_BACK},       {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},     {XK_Clear, VK_CLEAR},
    {XK_Return, VK_RETURN},        {XK_Pause, VK_PAUSE},
    {XK_Scroll_Lock, VK_SCROLL},   {XK_Escape, VK_ESCAPE},
    {XK_Delete, VK_DELETE},        {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},            {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},          {XK_Down, VK_DOWN},
    {XK_Prior, VK_PRIOR},          {XK_Next, VK_NEXT},
    {XK_End, VK_END},              {XK_Begin, VK_CLEAR},
    {XK_Select, VK_SELECT},        {XK_Print, VK_SNAPSHOT},
    {XK_Insert, VK_INSERT},        {XK_Menu, VK_APPS},
    {XK_Cancel, VK_CANCEL},        {XK_Help, VK_HELP},
    {XK_Break, VK_CANCEL},         {XK_Num_Lock, VK_NUMLOCK},
    {XK_Caps_Lock, VK_CAPITAL},    {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},        {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},    {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},           {XK_Meta_L, VK_MENU},
    {XK_Meta_R, VK_MENU},          {XK_ISO_Level3_Shift, VK_MENU},
    {XK_Super_L, VK_LWIN},         {XK_Super_R, VK_RWIN},
    {XK_space, VK_SPACE},
    // The keypad: digits with Num Lock, movement keys without.
    {XK_KP_Space, VK_SPACE},       {XK_KP_Tab, VK_TAB},
    {XK_KP_Enter, VK_RETURN},      {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT},         {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},       {XK_KP_Down, VK_DOWN},
    {XK_KP_Prior, VK_PRIOR},       {XK_KP_Next, VK_NEXT},
    {XK_KP_End, VK_END},           {XK_KP_Begin, VK_CLEAR},
    {XK_KP_Insert, VK_INSERT},     {XK_KP_Delete, VK_DELETE},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},
    {XK_KP_Separator, VK_SEPARATOR}, {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL},   {XK_KP_Divide, VK_DIVIDE},
    {XK_KP_Equal, VK_OEM_PLUS},
    // Punctuation, by the key of a US keyboard that carries the symbol.
    {XK_semicolon, VK_OEM_1},      {XK_colon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},       {XK_plus, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},      {XK_less, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},      {XK_underscore, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD},    {XK_greater, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},          {XK_question, VK_OEM_2},
    {XK_grave, VK_OEM_3},          {XK_asciitilde, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},    {XK_braceleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},      {XK_bar, VK_OEM_5},
    {XK_bracketright, VK_OEM_6},   {XK_braceright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},     {XK_quotedbl, VK_OEM_7},
};

// Keypad symbols that type a character of their own.
constexpr struct {
  KeySymbol Symbol;
  char32_t Character;
} KeypadCharacters[] = {
    {XK_KP_Space, U' '},    {XK_KP_Tab, U'\t'},     {XK_KP_Enter, U'\r'},
    {XK_KP_Multiply, U'*'}, {XK_KP_Add, U'+'},      {XK_KP_Separator, U','},
    {XK_KP_Subtract, U'-'}, {XK_KP_Decimal, U'.'},  {XK_KP_Divide, U'/'},
    {XK_KP_Equal, U'='},
};

}  // namespace

int VirtualKeyFromKeySymbol(KeySymbol symbol) {
  if (symbol >= XK_a && symbol <= XK_z) return int('A' + (symbol - XK_a));
  if (symbol >= XK_A && symbol <= XK_Z) return int('A' + (symbol - XK_A));
  if (symbol >= XK_0 && symbol <= XK_9) return int('0' + (symbol - XK_0));
  if (symbol >= XK_KP_0 && symbol <= XK_KP_9) return VK_NUMPAD0 + int(symbol - XK_KP_0);
  // F13 to F24 follow F12 in both numberings.
  if (symbol >= XK_F1 && symbol <= XK_F24) return VK_F1 + int(symbol - XK_F1);
  for (const KeyPair& pair : KeyTable) {
    if (pair.Symbol == symbol) return pair.VirtualKey;
  }
  return 0;
}

std::vector<KeySymbol> KeySymbolsOfVirtualKey(int virtualKey) {
  std::vector<KeySymbol> symbols;
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    symbols.push_back(XK_a + KeySymbol(virtualKey - 'A'));
    return symbols;
  }
  if (virtualKey >= '0' && virtualKey <= '9') {
    symbols.push_back(XK_0 + KeySymbol(virtualKey - '0'));
    return symbols;
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
    symbols.push_back(XK_KP_0 + KeySymbol(virtualKey - VK_NUMPAD0));
    return symbols;
  }
  if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 24) {
    symbols.push_back(XK_F1 + KeySymbol(virtualKey - VK_F1));
    return symbols;
  }
  switch (virtualKey) {
    case VK_LSHIFT: return {XK_Shift_L};
    case VK_RSHIFT: return {XK_Shift_R};
    case VK_LCONTROL: return {XK_Control_L};
    case VK_RCONTROL: return {XK_Control_R};
    case VK_LMENU: return {XK_Alt_L, XK_Meta_L};
    case VK_RMENU: return {XK_Alt_R, XK_Meta_R, XK_ISO_Level3_Shift};
    default: break;
  }
  for (const KeyPair& pair : KeyTable) {
    if (pair.VirtualKey == virtualKey) symbols.push_back(pair.Symbol);
  }
  return symbols;
}

char32_t CharacterOfKeySymbol(KeySymbol symbol) {
  // Latin-1 symbols are their own code points; 0x01000000 + n is U+n.
  if ((symbol >= 0x20 && symbol <= 0x7E) || (symbol >= 0xA0 && symbol <= 0xFF)) {
    return char32_t(symbol);
  }
  if (symbol >= 0x01000100 && symbol <= 0x0110FFFF) return char32_t(symbol - 0x01000000);
  if (symbol >= XK_KP_0 && symbol <= XK_KP_9) return U'0' + char32_t(symbol - XK_KP_0);
  for (const auto& entry : KeypadCharacters) {
    if (entry.Symbol == symbol) return entry.Character;
  }
  switch (symbol) {
    case XK_BackSpace: return U'\b';
    case XK_Tab: case XK_ISO_Left_Tab: return U'\t';
    case XK_Return: return U'\r';
    case XK_Linefeed: return U'\n';
    case XK_Escape: return U'\x1b';
    case XK_EuroSign: return U'\u20ac';
    default: return 0;
  }
}

void AppendUtf8(std::string& text, char32_t character) {
  auto add = [&](unsigned value) { text.push_back(static_cast<char>(value)); };
  if (character < 0x80) {
    add(unsigned(character));
  } else if (character < 0x800) {
    add(0xC0 | unsigned(character >> 6));
    add(0x80 | (unsigned(character) & 0x3F));
  } else if (character < 0x10000) {
    if (character >= 0xD800 && character <= 0xDFFF) return;
    add(0xE0 | unsigned(character >> 12));
    add(0x80 | (unsigned(character >> 6) & 0x3F));
    add(0x80 | (unsigned(character) & 0x3F));
  } else if (character <= 0x10FFFF) {
    add(0xF0 | unsigned(character >> 18));
    add(0x80 | (unsigned(character >> 12) & 0x3F));
    add(0x80 | (unsigned(character >> 6) & 0x3F));
    add(0x80 | (unsigned(character) & 0x3F));
  }
}

std::string Latin1ToUtf8(const char* bytes, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) AppendUtf8(text, static_cast<unsigned char>(bytes[i]));
  return text;
}

std::string Utf8ToLatin1(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(char(lead));
      ++i;
      continue;
    }
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t value = length == 1 ? 0xFFFD : char32_t(lead & (0x3F >> (length - 1)));
    bool valid = length > 1 && lead < 0xF8 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      else value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms are no characters either.
    constexpr char32_t Shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && value < Shortest[length]) valid = false;
    if (!valid) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(value <= 0xFF ? char(value) : '?');
    i += length;
  }
  return out;
}

}  // namespace platform::x11
