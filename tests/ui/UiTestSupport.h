#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace ui::testing {

struct LoggedMessage {
  HWND Window;
  UINT Message;
  WPARAM WParam;
  LPARAM LParam;
};

// A window system on a fresh headless desktop (1024 x 768, work area
// without the bottom 28 pixels) per test, with a window class whose
// procedure logs every message and lets a test answer some itself.
class UiTest : public ::testing::Test {
 protected:
  // Returns true when it handled the message (result in the reference).
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

  UiTest() {
    auto headless = std::make_unique<platform::headless::HeadlessPlatform>();
    Headless = headless.get();
    System = std::make_unique<WindowSystem>(std::move(headless));
    WindowClass logged;
    logged.Name = "Logged";
    logged.Style = CS_DBLCLKS;
    logged.Background = gfx::MakeColor(255, 255, 255);
    logged.Procedure = MakeWindowProc([this](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      Log.push_back(LoggedMessage{w, m, wp, lp});
      LRESULT result = 0;
      if (OnMessage && OnMessage(w, m, wp, lp, result)) return result;
      return DefWindowProc(w, m, wp, lp);
    });
    RegisterClass(logged);
  }

  ~UiTest() override {
    // A test's handler may refer to its locals, which are gone by now.
    OnMessage = nullptr;
    for (HWND w : GetTopLevelWindows()) DestroyWindow(w);
    System.reset();
  }

  HWND CreateTopLevel(DWORD style = WS_OVERLAPPEDWINDOW, gfx::Rect bounds = {100, 100, 300, 250},
                      DWORD exStyle = 0) {
    return CreateWindowEx(exStyle, "Logged", "Test", style, bounds.Left, bounds.Top, bounds.Width(),
                          bounds.Height(), nullptr);
  }
  HWND CreateChild(HWND parent, gfx::Rect bounds, DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowEx(0, "Logged", "", style, bounds.Left, bounds.Top, bounds.Width(),
                          bounds.Height(), parent);
  }

  // Message numbers logged for one window (all windows with nullptr).
  std::vector<UINT> Messages(HWND window = nullptr) const {
    std::vector<UINT> result;
    for (const auto& m : Log) {
      if (!window || m.Window == window) result.push_back(m.Message);
    }
    return result;
  }
  // The same without the messages a test does not care about.
  std::vector<UINT> MessagesWithout(HWND window, std::vector<UINT> ignored) const {
    std::vector<UINT> result;
    for (UINT m : Messages(window)) {
      if (std::find(ignored.begin(), ignored.end(), m) == ignored.end()) result.push_back(m);
    }
    return result;
  }
  int Count(HWND window, UINT message) const {
    int count = 0;
    for (const auto& m : Log) count += (m.Window == window && m.Message == message) ? 1 : 0;
    return count;
  }
  const LoggedMessage* Last(HWND window, UINT message) const {
    for (auto it = Log.rbegin(); it != Log.rend(); ++it) {
      if (it->Window == window && it->Message == message) return &*it;
    }
    return nullptr;
  }

  platform::NativeWindow Native(HWND window) const { return System->NativeWindowOf(window); }
  gfx::Pixel ScreenPixel(int x, int y) const { return Headless->Screen().GetPixel(x, y); }
  gfx::Pixel WindowPixel(HWND window, int x, int y) const { return Headless->Pixels(Native(window)).GetPixel(x, y); }

  platform::headless::HeadlessPlatform* Headless = nullptr;
  std::unique_ptr<WindowSystem> System;
  std::vector<LoggedMessage> Log;
  Handler OnMessage;
};

constexpr gfx::Pixel PixelOf(gfx::Color color) { return gfx::ColorToPixel(color); }

}  // namespace ui::testing
