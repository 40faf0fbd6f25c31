#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace platform {

using PlatformFactory = std::function<std::unique_ptr<Platform>()>;

// Makes a backend known by name. A backend library registers itself from a
// static BackendRegistration in its own factory file, so nothing above the
// platform names a backend in code. The higher the priority, the more a
// backend is preferred when no name is asked for (x11 over headless).
void RegisterBackend(std::string name, int priority, PlatformFactory factory);

// Registers at static-initialisation time:
//   static platform::BackendRegistration Registration{"x11", 10, [] { ... }};
// The object file holding it must be linked in whole (a static library is
// linked with the whole-archive option), or the registration is dropped.
struct BackendRegistration {
  BackendRegistration(std::string name, int priority, PlatformFactory factory) {
    RegisterBackend(std::move(name), priority, std::move(factory));
  }
};

// The names of the registered backends, most preferred first.
std::vector<std::string> RegisteredBackends();

// Creates a backend: the one named, or, when name is empty, the one the
// environment variable OSTVANE_PLATFORM names, or else the registered one
// of highest priority. Throws std::runtime_error naming what was
// asked for when no such backend is registered.
std::unique_ptr<Platform> CreatePlatform(std::string_view name = {});

// For a program's entry: CreatePlatform() from the environment, or, when no
// backend can start (no display, unknown name), the reason on stderr as
// "program: reason" and nullptr, so main can return 1.
std::unique_ptr<Platform> CreatePlatformOrReport(std::string_view program);

}  // namespace platform
