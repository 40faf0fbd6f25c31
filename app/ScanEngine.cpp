#include "app/ScanEngine.h"

#include <cstdint>

#include "core/StringUtils.h"
#include "platform/ArpResolver.h"

namespace app {

std::string ScanEngine::GetMacByIp(std::string_view ip) {
  // Text that is no address gives InetNone, which no resolver answers; it is
  // passed on like any other value so that it costs one failed lookup.
  const std::uint32_t address = platform::InetAddr(ip);
  const std::optional<platform::MacAddress> mac = FHost.ResolveAddress(address);
  if (!mac) return {};
  return platform::FormatMac(*mac);
}

void ScanEngine::StarClick(core::TComponent* /*Sender*/) {
  const int first = core::StrToInt(FHost.FirstHostText());
  const int last = core::StrToInt(FHost.LastHostText());
  if (last < first) {
    FHost.ShowBalloonMessage(std::string(RangeBalloonTitle), std::string(RangeBalloonText),
                             tray::bkWarning, RangeBalloonSeconds);
    return;
  }

  FScanStopRequested = false;
  // 64 bits, so that no range of 32-bit host numbers overflows the count.
  const std::int64_t count = std::int64_t(last) - first + 1;
  std::int64_t host = first;
  for (std::int64_t done = 0; done < count; ++done, ++host) {
    const std::string ip = FHost.FirstOctetText() + "." + FHost.SecondOctetText() + "." +
                           FHost.ThirdOctetText() + "." + std::to_string(host);
    const std::string mac = GetMacByIp(ip);
    if (FScanStopRequested) return;
    FHost.ProcessMessages();
    // An answer of fewer than two bytes has no "-" and counts as none.
    if (mac.find('-') != std::string::npos) {
      FHost.AppendLogLine(ip + ":" + mac);
    } else if (!FHost.HideSilentHosts()) {
      FHost.AppendLogLine(ip + ":" + std::string(SilentMac));
    }
  }
}

void ScanEngine::MACStopClick(core::TComponent* /*Sender*/) { FScanStopRequested = true; }

}  // namespace app
