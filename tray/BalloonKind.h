#pragma once

#include <cstdint>

namespace tray {

// The icon of a balloon message. The values are the info flags of the
// notification-area record (none, information, warning, error), so the tray
// icon hands them to the shell unchanged.
enum TBalloonKind : std::uint8_t { bkNone = 0, bkInfo = 1, bkWarning = 2, bkError = 3 };

}  // namespace tray
