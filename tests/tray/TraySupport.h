#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/WindowSystem.h"

namespace tray::testing {

// A window system on a fresh headless desktop per test; the clock moves
// only when the test says so.
class HeadlessTest : public ::testing::Test {
 protected:
  HeadlessTest() {
    auto headless = std::make_unique<platform::headless::HeadlessPlatform>();
    Headless = headless.get();
    System = std::make_unique<ui::WindowSystem>(std::move(headless));
  }

  // Moves the clock and lets the due timers tick.
  void Advance(std::uint64_t milliseconds) {
    Headless->AdvanceClock(milliseconds);
    ui::ProcessMessages();
  }

  platform::headless::HeadlessPlatform* Headless = nullptr;
  std::unique_ptr<ui::WindowSystem> System;
};

}  // namespace tray::testing
