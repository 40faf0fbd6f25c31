#pragma once

#include <stdexcept>
#include <string>

namespace gfx {

// Raised by the pixel layer for input it cannot use (a damaged picture, a
// size out of range). The message says what and, where known, where.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace gfx
