#include "ui/windowing/MessageLoop.h"

#include <algorithm>
#include <map>
#include <string>

#include "ui/windowing/Desktop.h"
#include "ui/windowing/Windows.h"

namespace ui {

LRESULT Desktop::Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(handle);
  if (!window) return 0;
  // The copy keeps the procedure alive while it runs, whatever it does to
  // its window.
  WNDPROC procedure = window->Procedure;
  if (!procedure) return DefWindowProc(handle, message, wParam, lParam);
  return (*procedure)(handle, message, wParam, lParam);
}

bool Desktop::HasPendingWork() {
  if (!Posted.empty() || QuitPosted || !Input.empty()) return true;
  for (std::uintptr_t key : PaintPending) {
    Window* window = Find(reinterpret_cast<HWND>(key));
    if (window && window->IsVisible()) return true;
  }
  if (auto due = NextTimerDue(); due && *due <= Platform.Now()) return true;
  return TranslateNextEvent();
}

namespace {

bool Matches(Desktop& desktop, const TMsg& message, HWND window, UINT first, UINT last) {
  if (window && message.Window != window) {
    Window* w = desktop.Find(message.Window);
    bool descendant = false;
    for (; w && !descendant; w = w->Parent) descendant = w->Handle == window;
    if (!descendant) return false;
  }
  if (first == 0 && last == 0) return true;
  return message.Message >= first && message.Message <= last;
}

bool InRange(UINT message, UINT first, UINT last) {
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

// The first window with something to paint that the filter allows.
Window* NextToPaint(Desktop& desktop, HWND filter) {
  for (auto it = desktop.PaintPending.begin(); it != desktop.PaintPending.end();) {
    Window* window = desktop.Find(reinterpret_cast<HWND>(*it));
    if (!window) {
      it = desktop.PaintPending.erase(it);
      continue;
    }
    ++it;
    if (!window->IsVisible()) continue;
    if (filter && window->Handle != filter && !IsChild(filter, window->Handle)) continue;
    return window;
  }
  return nullptr;
}

}  // namespace

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop ? desktop->Send(window, message, wParam, lParam) : 0;
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  if (window && !desktop->Find(window)) return false;
  desktop->Posted.push_back(TMsg{window, message, wParam, lParam, desktop->Platform.Now(),
                                 desktop->LastScreenPoint});
  return true;
}

bool PeekMessage(TMsg& message, HWND window, UINT first, UINT last, UINT remove) {
  Desktop& desktop = CurrentDesktop();
  bool take = (remove & PM_REMOVE) != 0;
  for (;;) {
    // Posted messages first.
    for (auto it = desktop.Posted.begin(); it != desktop.Posted.end(); ++it) {
      if (!Matches(desktop, *it, window, first, last)) continue;
      message = *it;
      if (take) desktop.Posted.erase(it);
      return true;
    }
    if (desktop.QuitPosted && !window) {
      message = TMsg{nullptr, WM_QUIT, WPARAM(desktop.QuitCode), 0, desktop.Platform.Now(),
                     desktop.LastScreenPoint};
      if (take) desktop.QuitPosted = false;
      return true;
    }
    // Input, in the order it came; a filter that refuses the oldest input
    // message leaves all input waiting.
    if (!desktop.Input.empty()) {
      if (!Matches(desktop, desktop.Input.front(), window, first, last)) break;
      // A claimed character is gone even for a look without taking.
      const TMsg& front = desktop.Input.front();
      bool isChar = front.Message == WM_CHAR || front.Message == WM_SYSCHAR;
      if ((take || isChar) && desktop.DropClaimedInput(front)) {
        desktop.Input.pop_front();
        continue;
      }
      message = front;
      if (take) desktop.Input.pop_front();
      return true;
    }
    // Translating an event may post messages or make input: look again.
    if (!desktop.TranslateNextEvent()) break;
  }
  if (InRange(WM_PAINT, first, last)) {
    if (Window* target = NextToPaint(desktop, window)) {
      message = TMsg{target->Handle, WM_PAINT, 0, 0, desktop.Platform.Now(), desktop.LastScreenPoint};
      return true;
    }
  }
  // Everything painted so far is shown before timers or waiting.
  desktop.FlushPresentation();
  if (InRange(WM_TIMER, first, last) && desktop.TakeDueTimer(message, take)) {
    if (!window || message.Window == window || IsChild(window, message.Window)) return true;
  }
  return false;
}

bool GetMessage(TMsg& message, HWND window, UINT first, UINT last) {
  while (!PeekMessage(message, window, first, last, PM_REMOVE)) WaitMessage();
  return message.Message != WM_QUIT;
}

LRESULT DispatchMessage(const TMsg& message) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return 0;
  if (message.Message == WM_TIMER) {
    auto timer = std::find_if(desktop->Timers.begin(), desktop->Timers.end(), [&](const Timer& t) {
      return t.Window == message.Window && t.Id == message.WParam;
    });
    if (timer != desktop->Timers.end() && timer->Procedure) {
      TimerProcedure procedure = timer->Procedure;
      procedure(message.Window, WM_TIMER, message.WParam, std::uint32_t(message.Time));
      return 0;
    }
  }
  if (!message.Window) return 0;
  if (message.Message == WM_PAINT) {
    Window* window = desktop->Find(message.Window);
    if (window) desktop->PaintNow(window);
    return 0;
  }
  return desktop->Send(message.Window, message.Message, message.WParam, message.LParam);
}

bool TranslateMessage(const TMsg&) { return false; }

void WaitMessage() {
  Desktop& desktop = CurrentDesktop();
  if (desktop.HasPendingWork()) return;
  desktop.FlushPresentation();
  int timeout = platform::InfiniteTimeout;
  if (auto due = desktop.NextTimerDue()) {
    std::uint64_t now = desktop.Platform.Now();
    timeout = *due <= now ? 0 : int(std::min<std::uint64_t>(*due - now, 0x7FFFFFFF));
  }
  desktop.Platform.WaitForEvent(timeout);
}

void PostQuitMessage(int exitCode) {
  Desktop& desktop = CurrentDesktop();
  desktop.QuitPosted = true;
  desktop.QuitCode = exitCode;
}

namespace {

void DispatchGuarded(Desktop& desktop, const TMsg& message) {
  if (!desktop.ErrorHandler) {
    DispatchMessage(message);
    return;
  }
  try {
    DispatchMessage(message);
  } catch (...) {
    // The handler may be replaced while it runs; keep a copy.
    auto handler = desktop.ErrorHandler;
    handler(std::current_exception());
  }
}

}  // namespace

void ProcessMessages() {
  Desktop& desktop = CurrentDesktop();
  TMsg message;
  while (PeekMessage(message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.Message == WM_QUIT) {
      // The quit stays for the loop that ends the program.
      PostQuitMessage(int(message.WParam));
      return;
    }
    DispatchGuarded(desktop, message);
  }
}

int RunMessageLoop() {
  Desktop& desktop = CurrentDesktop();
  TMsg message;
  while (GetMessage(message)) DispatchGuarded(desktop, message);
  return int(message.WParam);
}

UINT RegisterWindowMessage(std::string_view name) {
  // Names outlive window systems: a component may have kept its number.
  static std::map<std::string, UINT, std::less<>> numbers;
  if (name.empty()) return 0;
  auto found = numbers.find(name);
  if (found != numbers.end()) return found->second;
  UINT number = UINT(0xC000 + numbers.size());
  if (number > 0xFFFF) return 0;
  numbers.emplace(std::string(name), number);
  return number;
}

std::uint64_t GetTickCount64() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop ? desktop->Platform.Now() : 0;
}

std::uint32_t GetTickCount() { return std::uint32_t(GetTickCount64()); }

}  // namespace ui
