#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/ScanHost.h"

namespace core {
class TComponent;
}

namespace app {

// The scan: walks a range of host numbers of one /24 network in ascending
// order, resolves each address by ARP and writes one line per address to
// the log. The main window owns one and wires its buttons to StarClick and
// MACStopClick.
//
// Everything runs on the GUI thread. Between two addresses the scan lets
// the host process the waiting messages, so the window stays usable, the
// stop button can set the stop flag, and a click on the scan button runs a
// second scan nested inside this one.
class ScanEngine {
 public:
  // The balloon a reversed host range shows.
  static constexpr std::string_view RangeBalloonTitle = "Ostvane";
  static constexpr std::string_view RangeBalloonText = "IP输入错误,请重新输入!";
  static constexpr std::uint8_t RangeBalloonSeconds = 10;
  // What the log shows for an address without an answer when silent
  // addresses are not hidden.
  static constexpr std::string_view SilentMac = "00-00-00-00-00-00";

  explicit ScanEngine(ScanHost& host) : FHost(host) {}

  // Resolves one dotted IPv4 text: the hardware address as upper-case
  // hexadecimal bytes joined by "-", or empty when the system gave no
  // answer (text that is no address included).
  std::string GetMacByIp(std::string_view ip);

  // The scan button. Reads the host numbers (a text that is no integer
  // raises core::EConvertError "'<text>' is not a valid integer value"
  // before anything else happens), shows the warning balloon and returns
  // for a reversed range, else clears the stop flag and scans. For each
  // address, in this fixed order: lookup, stop test (a stop ends the scan
  // and discards this address), message processing, result line. So after
  // a stop exactly one more lookup is made and no line is written for it.
  void StarClick(core::TComponent* Sender);
  // The stop button: sets the stop flag and nothing else. The flag stays
  // set until the next scan starts, so one stop also ends every scan that
  // a nested one interrupted, each after its next lookup.
  void MACStopClick(core::TComponent* Sender);

  bool ScanStopRequested() const { return FScanStopRequested; }

 private:
  ScanHost& FHost;
  bool FScanStopRequested = false;
};

}  // namespace app
