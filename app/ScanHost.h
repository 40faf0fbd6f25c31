#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ArpResolver.h"
#include "tray/BalloonKind.h"

namespace app {

// Everything the scan needs from the main window, and nothing more: the
// inputs it reads, the log it appends to, the tray balloon it shows and the
// message processing it lets run between two addresses. The main window
// implements it; tests implement it with plain values.
class ScanHost {
 public:
  virtual ~ScanHost() = default;

  // The three octet texts, read anew for every address and used unchanged.
  virtual std::string FirstOctetText() = 0;
  virtual std::string SecondOctetText() = 0;
  virtual std::string ThirdOctetText() = 0;
  // The host number texts, read once when a scan starts.
  virtual std::string FirstHostText() = 0;
  virtual std::string LastHostText() = 0;
  // Whether addresses without an answer are left out of the log (the check
  // box's state), read anew for every such address.
  virtual bool HideSilentHosts() = 0;

  // Appends one line to the scan log.
  virtual void AppendLogLine(const std::string& line) = 0;
  // Handles every message waiting on the GUI thread; handlers of the window
  // (the stop button, a second scan, edits) run inside it.
  virtual void ProcessMessages() = 0;
  // The tray icon's balloon; its result is whether the shell accepted it.
  virtual bool ShowBalloonMessage(const std::string& title, const std::string& text,
                                  tray::TBalloonKind kind, std::uint8_t timeoutSeconds) = 0;
  // Resolves one address (network byte order, as platform::InetAddr gives
  // it) by the system's ARP; blocks until the system answers or gives up.
  virtual std::optional<platform::MacAddress> ResolveAddress(std::uint32_t address) = 0;
};

}  // namespace app
