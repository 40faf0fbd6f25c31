#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "platform/NotifyIcon.h"

namespace platform::win32 {

class Win32Platform;

// The notification-area icons through Shell_NotifyIconW. The shell sends
// its notices to a hidden top-level window of the service (a message-only
// window would miss the TaskbarCreated broadcast); the service turns them
// into NotifyIcon and TaskbarCreated events of the platform.
class Win32NotifyIcons final : public NotifyIconService {
 public:
  explicit Win32NotifyIcons(Win32Platform& platform);
  ~Win32NotifyIcons() override;

  bool Add(const NotifyIconData& data) override;
  bool Modify(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool SetVersion(const NotifyIconData& data) override;

  // The window the shell talks to (an HWND), for the backend's tests.
  void* Window() const { return FWindow; }

  // From the service window's procedure.
  void Notice(std::uintptr_t message, std::intptr_t lParam);
  void TaskbarCreated();

 private:
  struct Icon {
    std::uint32_t Number = 0;     // the uID the shell knows the icon by
    std::uint32_t Callback = 0;   // the owner's callback message
    void* Handle = nullptr;       // HICON shown
    bool InArea = false;          // the current notification area has it
  };
  using Key = std::pair<std::uintptr_t, std::uintptr_t>;

  bool Send(std::uint32_t message, const NotifyIconData& data, Icon& icon, std::uint32_t flags);

  Win32Platform& FPlatform;
  void* FWindow = nullptr;
  std::map<Key, Icon> FIcons;
  std::uint32_t FNextNumber = 1;
};

}  // namespace platform::win32
