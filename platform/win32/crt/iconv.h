#pragma once

// The part of iconv that the program uses, on the code pages of Windows
// (which has no iconv of its own): conversions between "UTF-8" and "GBK"
// (code page 936), with iconv's errors (EILSEQ for a bad or unconvertible
// character, EINVAL for an incomplete one at the end, E2BIG for a full
// output buffer).

#include <cstddef>

typedef void* iconv_t;

extern "C" {
iconv_t iconv_open(const char* to, const char* from);
std::size_t iconv(iconv_t converter, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft);
int iconv_close(iconv_t converter);
}
