#include "core/PathUtils.h"

#include <sys/stat.h>

namespace core {

namespace {
std::size_t LastDelimiter(std::string_view path) { return path.find_last_of("/\\"); }
}  // namespace

std::string ExtractFileName(std::string_view path) {
  std::size_t delimiter = LastDelimiter(path);
  return std::string(delimiter == std::string_view::npos ? path : path.substr(delimiter + 1));
}

std::string ExtractFilePath(std::string_view path) {
  std::size_t delimiter = LastDelimiter(path);
  return delimiter == std::string_view::npos ? std::string() : std::string(path.substr(0, delimiter + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::size_t dot = path.find_last_of('.');
  std::size_t delimiter = LastDelimiter(path);
  if (dot == std::string_view::npos || (delimiter != std::string_view::npos && dot < delimiter)) return {};
  return std::string(path.substr(dot));
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string result(path);
  if (result.empty() || (result.back() != '/' && result.back() != '\\')) result += '/';
  return result;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace core
