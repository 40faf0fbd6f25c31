#pragma once

// What the tests on the virtual desktop share: the helpers they call by
// name, the colours they paint their windows in, and a fixture holding the
// backend and the log of its events.

#include <memory>

#include "X11TestSupport.h"

namespace platform::x11 {

using testing::EventLog;
using testing::ForeignClient;
using testing::HasEvent;
using testing::PumpFor;
using testing::PumpUntil;
using testing::RunCommand;
using testing::ShowSolidWindow;

constexpr gfx::Pixel Red = gfx::MakePixel(0xCC, 0x22, 0x33);
constexpr gfx::Pixel Blue = gfx::MakePixel(0x11, 0x44, 0xDD);
constexpr gfx::Pixel Green = gfx::MakePixel(0x22, 0xAA, 0x44);
constexpr gfx::Pixel Grey = gfx::MakePixel(0x80, 0x80, 0x80);

// Skipped without a display. A derived SetUp calls this one first and
// returns when IsSkipped().
class X11DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    FPlatform = std::make_unique<X11Platform>();
  }
  X11Platform& Platform() { return *FPlatform; }

  std::unique_ptr<X11Platform> FPlatform;
  EventLog FLog;
};

}  // namespace platform::x11
