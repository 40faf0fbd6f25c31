#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace netns {

// What a command printed on its standard output and how it ended (the exit
// status, or 128 + the signal that ended it).
struct CommandResult {
  int ExitStatus = -1;
  std::string Output;
};

// Runs command (a program found through PATH and its arguments) and waits
// for it; a command still running after timeoutSeconds is killed. Standard
// error goes to the test's own.
CommandResult RunCommand(const std::vector<std::string>& command, int timeoutSeconds = 120);

// The project's virtual LAN (scripts/lan.sh) for one test: Up builds it,
// Down and the destructor remove it. While it is up the test holds a lock,
// so that test programs run in parallel take turns instead of tearing down
// each other's LAN.
//
// Everything that may send a packet runs inside the scanner namespace
// ostv-scan, through the members below; the machine's own namespace never
// sees any of it.
class VirtualLan {
 public:
  static constexpr const char* ScannerNamespace = "ostv-scan";
  static constexpr const char* ScannerAddress = "192.168.1.200";
  static constexpr const char* ScannerMac = "02-00-00-00-01-C8";
  static constexpr int LiveHosts[] = {1, 7, 20, 21, 100, 254};

  VirtualLan() = default;
  ~VirtualLan();
  VirtualLan(const VirtualLan&) = delete;
  VirtualLan& operator=(const VirtualLan&) = delete;

  // Why the LAN cannot be built here (not root, no ip netns, no setpriv),
  // or empty when it can.
  static std::string Unavailable();

  // Builds the LAN with the default live hosts. False (with the script's
  // complaint on standard error) when the script failed.
  bool Up();
  void Down();

  // Runs lan.sh with arguments (silent-fast 100 1, host 7 ip link set ...).
  CommandResult Script(const std::vector<std::string>& arguments);
  // Runs command inside the scanner namespace as root (reading the
  // neighbour table, changing settings).
  CommandResult InScanner(const std::vector<std::string>& command, int timeoutSeconds = 120);
  // Runs command inside the scanner namespace as the user nobody, with at
  // most fileLimit open descriptors when fileLimit > 0.
  CommandResult AsNobody(const std::vector<std::string>& command, int fileLimit = 0,
                         int timeoutSeconds = 120);

  // The scanner's neighbour entries for lan0, one "ADDRESS ... STATE" line
  // each, as ip prints them.
  std::string Neighbours();

 private:
  int FLock = -1;
  bool FUp = false;
};

// A copy of a built program that the user nobody can run: the build tree
// may lie in a folder nobody cannot enter. Removed with the object.
class PublicCopy {
 public:
  explicit PublicCopy(const std::filesystem::path& program);
  ~PublicCopy();
  PublicCopy(const PublicCopy&) = delete;
  PublicCopy& operator=(const PublicCopy&) = delete;

  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FFolder;
  std::filesystem::path FPath;
};

}  // namespace netns
