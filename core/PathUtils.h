#pragma once

#include <string>
#include <string_view>

namespace core {

// File name helpers. Both "/" and "\" count as path delimiters, because
// stored layouts and skins carry names written on the original platform.

// The part after the last delimiter.
std::string ExtractFileName(std::string_view path);
// The part up to and including the last delimiter ("" when none).
std::string ExtractFilePath(std::string_view path);
// The extension with its dot (".bmp"), "" when none.
std::string ExtractFileExt(std::string_view path);
// path with a delimiter at its end ("/" unless it already ends in one).
std::string IncludeTrailingPathDelimiter(std::string_view path);
bool FileExists(const std::string& path);

}  // namespace core
