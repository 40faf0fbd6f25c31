#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/Event.h"
#include "platform/NotifyIcon.h"
#include "platform/NotifyIconState.h"

namespace platform::headless {

class HeadlessPlatform;

enum class NotifyIconCall : std::uint8_t { Add, Modify, Delete, SetVersion };

// One call as the program made it: the record exactly as passed (texts not
// cut), and what the call answered.
struct NotifyIconRecord {
  NotifyIconCall Call = NotifyIconCall::Add;
  NotifyIconData Data;
  bool Result = false;
};

// A notification area in memory that records every call. It keeps the
// icons as a shell would (Add of an existing icon fails, Modify of a
// missing one fails ...), and a test plays the user and the shell: it
// sends the icons' notices, takes the area away and brings it back. The
// notices arrive from the platform's NextEvent in the order they were sent.
class HeadlessNotifyIcon : public NotifyIconService {
 public:
  explicit HeadlessNotifyIcon(HeadlessPlatform& platform) : FPlatform(platform) {}

  // ---- NotifyIconService ----
  bool Add(const NotifyIconData& data) override;
  bool Modify(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool SetVersion(const NotifyIconData& data) override;

  // ---- Reading back ----
  const std::vector<NotifyIconRecord>& Calls() const { return FCalls; }
  void ClearCalls() { FCalls.clear(); }
  // The icon as the area shows it now (texts cut to their limits; Balloon
  // is the balloon shown); nullptr when the area has no such icon.
  const NotifyIconState* Find(std::uintptr_t owner, std::uintptr_t id) const;
  // The same by id alone, whatever the owner.
  const NotifyIconState* FindById(std::uintptr_t id) const;
  std::size_t IconCount() const { return FIcons.size(); }

  // ---- Switches ----
  // Without an area every call fails and the icons are gone. When the area
  // comes back, it sends TaskbarCreated.
  void SetAreaAvailable(bool available);
  bool AreaAvailable() const { return FAvailable; }
  // The area goes away and comes back at once.
  void RestartArea();
  // Calls of one kind fail (and change nothing) while set.
  void SetFailing(NotifyIconCall call, bool failing);

  // ---- Notices, as the area sends them ----
  // Sends code (WM_LBUTTONDOWN ..., NIN_BALLOONSHOW ...) about the icon
  // with this id, with the pointer's position; false when the area has no
  // such icon. A balloon that times out, hides or is clicked is gone.
  bool SendNotice(std::uintptr_t id, std::uint32_t code);
  // Button down and up.
  bool SendClick(std::uintptr_t id, MouseButton button = MouseButton::Left);
  // What the area sends for a double click: down, up, double click, up.
  bool SendDoubleClick(std::uintptr_t id, MouseButton button = MouseButton::Left);

 private:
  bool Record(NotifyIconCall call, const NotifyIconData& data, bool result);
  bool Refuses(NotifyIconCall call) const;
  void Queue(Event event);

  HeadlessPlatform& FPlatform;
  std::vector<NotifyIconRecord> FCalls;
  std::map<NotifyIconKey, NotifyIconState> FIcons;
  bool FAvailable = true;
  std::uint8_t FFailing = 0;  // bit per NotifyIconCall
};

}  // namespace platform::headless
