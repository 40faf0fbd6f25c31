#include "platform/PlatformFactory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace platform {
namespace {

struct Entry {
  std::string Name;
  int Priority;
  PlatformFactory Factory;
};

// A function-local list, so that registrations from static objects of other
// translation units find it constructed whatever their order.
std::vector<Entry>& Registry() {
  static std::vector<Entry> entries;
  return entries;
}

}  // namespace

void RegisterBackend(std::string name, int priority, PlatformFactory factory) {
  auto& entries = Registry();
  auto same = [&](const Entry& e) { return e.Name == name; };
  entries.erase(std::remove_if(entries.begin(), entries.end(), same), entries.end());
  entries.push_back(Entry{std::move(name), priority, std::move(factory)});
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.Priority > b.Priority; });
}

std::vector<std::string> RegisteredBackends() {
  std::vector<std::string> names;
  for (const auto& e : Registry()) names.push_back(e.Name);
  return names;
}

std::unique_ptr<Platform> CreatePlatform(std::string_view name) {
  std::string wanted(name);
  if (wanted.empty()) {
    if (const char* fromEnvironment = std::getenv("OSTVANE_PLATFORM")) wanted = fromEnvironment;
  }
  const auto& entries = Registry();
  if (wanted.empty()) {
    if (entries.empty()) throw std::runtime_error("No platform backend is linked into the program");
    return entries.front().Factory();
  }
  for (const auto& e : entries) {
    if (e.Name == wanted) return e.Factory();
  }
  throw std::runtime_error("Platform backend \"" + wanted + "\" is not linked into the program");
}

std::unique_ptr<Platform> CreatePlatformOrReport(std::string_view program) {
  try {
    return CreatePlatform();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%.*s: %s\n", int(program.size()), program.data(), error.what());
    return nullptr;
  }
}

}  // namespace platform
