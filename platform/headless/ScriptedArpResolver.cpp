#include "platform/headless/ScriptedArpResolver.h"

#include <utility>

namespace platform {

void ScriptedArpResolver::SetAnswer(std::uint32_t address, const MacAddress& mac) {
  FAnswers[address] = mac;
}

void ScriptedArpResolver::SetAnswer(std::string_view address, const MacAddress& mac) {
  SetAnswer(InetAddr(address), mac);
}

void ScriptedArpResolver::RemoveAnswer(std::uint32_t address) { FAnswers.erase(address); }

void ScriptedArpResolver::RemoveAnswer(std::string_view address) { RemoveAnswer(InetAddr(address)); }

void ScriptedArpResolver::SetRequestHook(RequestHook hook) { FRequestHook = std::move(hook); }

std::vector<std::string> ScriptedArpResolver::RequestTexts() const {
  std::vector<std::string> texts;
  texts.reserve(FRequests.size());
  for (std::uint32_t address : FRequests) texts.push_back(FormatInetAddr(address));
  return texts;
}

std::optional<MacAddress> ScriptedArpResolver::Resolve(std::uint32_t address) {
  FRequests.push_back(address);
  if (FRequestHook) {
    // A copy, so that a hook may replace or clear itself while it runs.
    RequestHook hook = FRequestHook;
    hook(address);
  }
  // No real system answers these, whatever a test put in the table.
  if (address == InetNone) return std::nullopt;
  auto found = FAnswers.find(address);
  if (found == FAnswers.end()) return std::nullopt;
  return found->second;
}

}  // namespace platform
