#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ArpResolver.h"

namespace platform {

// A resolver that answers from a table the test fills in, for the scan and
// the programs built on it. It sends nothing. Addresses not in the table do
// not answer. Every request is recorded in order, and an optional hook runs
// inside each request, where the real call would block (a test presses the
// stop button there, or changes the table).
class ScriptedArpResolver final : public ArpResolver {
 public:
  using RequestHook = std::function<void(std::uint32_t address)>;

  // The answer for address from now on; address as InetAddr gives it.
  void SetAnswer(std::uint32_t address, const MacAddress& mac);
  void SetAnswer(std::string_view address, const MacAddress& mac);
  // address does not answer from now on.
  void RemoveAnswer(std::uint32_t address);
  void RemoveAnswer(std::string_view address);
  // The hook runs after a request is recorded and before the table is read,
  // so what it changes in the table applies to that request. An empty hook
  // removes it.
  void SetRequestHook(RequestHook hook);

  // Every address asked for since the start or ClearRequests, in order.
  const std::vector<std::uint32_t>& Requests() const { return FRequests; }
  // The same as dotted text ("192.168.1.7"), for readable expectations.
  std::vector<std::string> RequestTexts() const;
  void ClearRequests() { FRequests.clear(); }

  std::optional<MacAddress> Resolve(std::uint32_t address) override;

 private:
  std::map<std::uint32_t, MacAddress> FAnswers;
  std::vector<std::uint32_t> FRequests;
  RequestHook FRequestHook;
};

}  // namespace platform
