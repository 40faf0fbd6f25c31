#include "platform/headless/HeadlessNotifyIcon.h"

#include "platform/headless/HeadlessPlatform.h"

namespace platform::headless {
namespace {

std::uint8_t Bit(NotifyIconCall call) { return std::uint8_t(1u << unsigned(call)); }

struct ButtonCodes {
  std::uint32_t Down, Up, DoubleClick;
};

ButtonCodes CodesOf(MouseButton button) {
  switch (button) {
    case MouseButton::Right: return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};
    case MouseButton::Middle: return {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK};
    default: return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
  }
}

}  // namespace

bool HeadlessNotifyIcon::Refuses(NotifyIconCall call) const {
  return !FAvailable || (FFailing & Bit(call)) != 0;
}

bool HeadlessNotifyIcon::Record(NotifyIconCall call, const NotifyIconData& data, bool result) {
  FCalls.push_back(NotifyIconRecord{call, data, result});
  return result;
}

bool HeadlessNotifyIcon::Add(const NotifyIconData& data) {
  const NotifyIconKey key = NotifyIconKey::Of(data);
  if (Refuses(NotifyIconCall::Add) || FIcons.count(key)) {
    return Record(NotifyIconCall::Add, data, false);
  }
  NotifyIconState& state = FIcons[key];
  state.Key = key;
  ApplyNotifyIconData(state, data);
  return Record(NotifyIconCall::Add, data, true);
}

bool HeadlessNotifyIcon::Modify(const NotifyIconData& data) {
  auto it = FIcons.find(NotifyIconKey::Of(data));
  if (Refuses(NotifyIconCall::Modify) || it == FIcons.end()) {
    return Record(NotifyIconCall::Modify, data, false);
  }
  ApplyNotifyIconData(it->second, data);
  return Record(NotifyIconCall::Modify, data, true);
}

bool HeadlessNotifyIcon::Delete(const NotifyIconData& data) {
  auto it = FIcons.find(NotifyIconKey::Of(data));
  if (Refuses(NotifyIconCall::Delete) || it == FIcons.end()) {
    return Record(NotifyIconCall::Delete, data, false);
  }
  FIcons.erase(it);
  return Record(NotifyIconCall::Delete, data, true);
}

bool HeadlessNotifyIcon::SetVersion(const NotifyIconData& data) {
  auto it = FIcons.find(NotifyIconKey::Of(data));
  if (Refuses(NotifyIconCall::SetVersion) || it == FIcons.end() ||
      data.Version != NotifyIconClassicVersion) {
    return Record(NotifyIconCall::SetVersion, data, false);
  }
  it->second.Version = data.Version;
  return Record(NotifyIconCall::SetVersion, data, true);
}

const NotifyIconState* HeadlessNotifyIcon::Find(std::uintptr_t owner, std::uintptr_t id) const {
  auto it = FIcons.find(NotifyIconKey{owner, id});
  return it == FIcons.end() ? nullptr : &it->second;
}

const NotifyIconState* HeadlessNotifyIcon::FindById(std::uintptr_t id) const {
  for (const auto& [key, state] : FIcons) {
    if (key.Id == id) return &state;
  }
  return nullptr;
}

void HeadlessNotifyIcon::SetAreaAvailable(bool available) {
  if (available == FAvailable) return;
  FAvailable = available;
  if (!available) {
    FIcons.clear();
    return;
  }
  Event event;
  event.Kind = EventKind::TaskbarCreated;
  Queue(event);
}

void HeadlessNotifyIcon::RestartArea() {
  SetAreaAvailable(false);
  SetAreaAvailable(true);
}

void HeadlessNotifyIcon::SetFailing(NotifyIconCall call, bool failing) {
  if (failing) FFailing |= Bit(call);
  else FFailing &= std::uint8_t(~Bit(call));
}

bool HeadlessNotifyIcon::SendNotice(std::uintptr_t id, std::uint32_t code) {
  NotifyIconState* state = nullptr;
  for (auto& [key, icon] : FIcons) {
    if (key.Id == id) {
      state = &icon;
      break;
    }
  }
  if (!state) return false;
  if (code == NIN_BALLOONTIMEOUT || code == NIN_BALLOONHIDE || code == NIN_BALLOONUSERCLICK) {
    state->Balloon.reset();
  }
  Event event;
  event.Kind = EventKind::NotifyIcon;
  event.ScreenPosition = FPlatform.CursorPosition();
  event.Notice = NotifyIconNotice{state->Key.Owner, state->Key.Id, state->CallbackMessage, code};
  Queue(event);
  return true;
}

bool HeadlessNotifyIcon::SendClick(std::uintptr_t id, MouseButton button) {
  const ButtonCodes codes = CodesOf(button);
  return SendNotice(id, codes.Down) && SendNotice(id, codes.Up);
}

bool HeadlessNotifyIcon::SendDoubleClick(std::uintptr_t id, MouseButton button) {
  const ButtonCodes codes = CodesOf(button);
  return SendNotice(id, codes.Down) && SendNotice(id, codes.Up) &&
         SendNotice(id, codes.DoubleClick) && SendNotice(id, codes.Up);
}

void HeadlessNotifyIcon::Queue(Event event) {
  event.Time = FPlatform.Now();
  FPlatform.InjectEvent(event);
}

}  // namespace platform::headless
