#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::x11 {

// An X key symbol (KeySym); kept as a plain integer so that this header
// needs no X11 header.
using KeySymbol = unsigned long;

// The classic virtual-key code of a key symbol, 0 when the key has none.
// Letters map to their upper-case code whichever case the symbol has;
// left and right modifier keys map to the generic code (VK_SHIFT ...), as
// key events carry it.
int VirtualKeyFromKeySymbol(KeySymbol symbol);

// The key symbols that produce virtualKey, for asking which keys are down.
// The generic modifier codes list both sides; the sided ones (VK_LSHIFT)
// only theirs. Empty for mouse buttons and unknown codes.
std::vector<KeySymbol> KeySymbolsOfVirtualKey(int virtualKey);

// The character a key symbol types, 0 when it types none (function keys,
// modifiers, dead keys).
char32_t CharacterOfKeySymbol(KeySymbol symbol);

// Appends the UTF-8 form of a code point; invalid ones (surrogates, above
// U+10FFFF) are skipped.
void AppendUtf8(std::string& text, char32_t character);

// Latin-1 bytes (what XLookupString gives without an input method) as UTF-8.
std::string Latin1ToUtf8(const char* bytes, int length);

// UTF-8 as Latin-1, for clients that ask for the STRING type; characters
// Latin-1 cannot hold and malformed bytes become '?'.
std::string Utf8ToLatin1(const std::string& text);

}  // namespace platform::x11
