#pragma once

#include <cstdint>

namespace platform {

// The pointer shapes the window system asks for. Every backend offers each
// one, falling back to the arrow where the system has no match.
enum class CursorShape : std::uint8_t {
  Arrow,
  IBeam,
  Wait,
  AppStarting,  // arrow with a small busy sign
  Cross,
  UpArrow,
  SizeNS,    // vertical double arrow (top and bottom borders)
  SizeWE,    // horizontal double arrow (left and right borders)
  SizeNWSE,  // top-left and bottom-right corners
  SizeNESW,  // top-right and bottom-left corners
  SizeAll,
  No,
  Hand,
  Help,
  Hidden,  // no pointer drawn
};

}  // namespace platform
