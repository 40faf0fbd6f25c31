#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include "gfx/Bitmap.h"
#include "platform/NotifyIcon.h"

namespace platform {

// Names one icon of the notification area.
struct NotifyIconKey {
  std::uintptr_t Owner = 0;
  std::uintptr_t Id = 0;

  static NotifyIconKey Of(const NotifyIconData& data) { return {data.Owner, data.Id}; }
  friend auto operator<=>(const NotifyIconKey&, const NotifyIconKey&) = default;
};

// A balloon as the calls asked for it, texts already cut to their limits.
struct NotifyBalloon {
  std::string Title;
  std::string Text;
  std::uint32_t Timeout = 0;
  TBalloonKind Kind = bkNone;

  friend bool operator==(const NotifyBalloon&, const NotifyBalloon&) = default;
};

// What the calls made of one icon so far. Every service keeps one per
// icon, so that the rules for the fields (which flags carry what, the
// limits of the texts, the state mask) are the same everywhere.
struct NotifyIconState {
  NotifyIconKey Key;
  std::uint32_t CallbackMessage = 0;
  gfx::Bitmap Icon;
  std::string Tip;
  std::uint32_t State = 0;
  // The balloon last asked for while it has not been removed by a call.
  std::optional<NotifyBalloon> Balloon;
  std::uint32_t Version = NotifyIconClassicVersion;

  bool Hidden() const { return (State & NIS_HIDDEN) != 0; }
};

// What a call changed, for the service to pass on to the system.
struct NotifyIconChanges {
  bool Icon = false;
  bool Tip = false;
  bool Hidden = false;
  // A balloon is to be shown (NIF_INFO with text): state.Balloon.
  bool ShowBalloon = false;
  // The shown balloon is to be removed (NIF_INFO without text).
  bool RemoveBalloon = false;
};

// Applies the fields data.Flags names to state. Icon, tip and state count
// as changed only when their values differ; a balloon is shown again each
// time it is asked for.
NotifyIconChanges ApplyNotifyIconData(NotifyIconState& state, const NotifyIconData& data);

}  // namespace platform
