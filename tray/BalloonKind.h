#pragma once

#include "platform/NotifyIcon.h"

namespace tray {

// The icon of a balloon message: the notification area's own kind, whose
// values are the info flags of its record (none, information, warning,
// error), so the tray icon hands it to the shell unchanged.
using TBalloonKind = platform::TBalloonKind;
using platform::bkError;
using platform::bkInfo;
using platform::bkNone;
using platform::bkWarning;

}  // namespace tray
