#include "platform/NotifyIcon.h"

#include "gfx/TextUtf8.h"
#include "platform/NotifyIconState.h"

namespace platform {

bool NotifyIconService::Call(std::uint32_t message, const NotifyIconData& data) {
  switch (message) {
    case NIM_ADD: return Add(data);
    case NIM_MODIFY: return Modify(data);
    case NIM_DELETE: return Delete(data);
    case NIM_SETVERSION: return SetVersion(data);
    default: return false;
  }
}

std::string CutNotifyText(std::string_view text, std::size_t maxCharacters) {
  std::u32string characters = gfx::DecodeUtf8(text);
  const std::size_t end = characters.find(U'\0');
  if (end != std::u32string::npos) characters.resize(end);
  if (characters.size() > maxCharacters) characters.resize(maxCharacters);
  return gfx::EncodeUtf8(characters);
}

NotifyIconChanges ApplyNotifyIconData(NotifyIconState& state, const NotifyIconData& data) {
  NotifyIconChanges changes;
  if (data.Flags & NIF_MESSAGE) state.CallbackMessage = data.CallbackMessage;
  if (data.Flags & NIF_ICON) {
    changes.Icon = !state.Icon.SamePixels(data.Icon);
    state.Icon = data.Icon;
  }
  if (data.Flags & NIF_TIP) {
    std::string tip = CutNotifyText(data.Tip, NotifyTipLength);
    changes.Tip = tip != state.Tip;
    state.Tip = std::move(tip);
  }
  if (data.Flags & NIF_STATE) {
    const std::uint32_t mask = data.StateMask & (NIS_HIDDEN | NIS_SHAREDICON);
    const std::uint32_t next = (state.State & ~mask) | (data.State & mask);
    changes.Hidden = ((next ^ state.State) & NIS_HIDDEN) != 0;
    state.State = next;
  }
  if (data.Flags & NIF_INFO) {
    std::string text = CutNotifyText(data.Info, NotifyInfoLength);
    if (text.empty()) {
      changes.RemoveBalloon = state.Balloon.has_value();
      state.Balloon.reset();
    } else {
      NotifyBalloon balloon;
      balloon.Title = CutNotifyText(data.InfoTitle, NotifyInfoTitleLength);
      balloon.Text = std::move(text);
      balloon.Timeout = data.Timeout;
      balloon.Kind = data.InfoKind <= bkError ? data.InfoKind : bkNone;
      state.Balloon = std::move(balloon);
      changes.ShowBalloon = true;
    }
  }
  return changes;
}

}  // namespace platform
