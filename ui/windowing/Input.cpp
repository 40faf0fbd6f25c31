#include "ui/windowing/Input.h"

#include <algorithm>
#include <cstdlib>

#include "ui/windowing/Desktop.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/NotifyIconBridge.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/Windows.h"

namespace ui {
namespace {

// Sets a flag for the time a platform change is applied.
class PlatformChangeScope {
 public:
  explicit PlatformChangeScope(Desktop& desktop) : FDesktop(desktop), FOld(desktop.ApplyingPlatformChange) {
    desktop.ApplyingPlatformChange = true;
  }
  ~PlatformChangeScope() { FDesktop.ApplyingPlatformChange = FOld; }

 private:
  Desktop& FDesktop;
  bool FOld;
};

bool Activatable(const Window* window) {
  return window && window->Surface && !window->Destroying && !(window->ExStyle & WS_EX_NOACTIVATE) &&
         !(window->Style & WS_DISABLED);
}

// Decodes UTF-8 into code points; a broken sequence gives U+FFFD.
std::vector<char32_t> CodePoints(const std::string& text) {
  std::vector<char32_t> points;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + std::size_t(length) > text.size()) {
      points.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + std::size_t(k)]);
      if ((next & 0xC0) != 0x80) valid = false;
      point = (point << 6) | (next & 0x3F);
    }
    points.push_back(valid ? point : char32_t(0xFFFD));
    i += valid ? std::size_t(length) : 1;
  }
  return points;
}

// Whether a key types a character with its key down.
bool KeyTypesChar(int key) {
  using namespace platform;
  return key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE ||
         (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_DIVIDE) ||
         (key >= VK_OEM_1 && key <= VK_OEM_7);
}

// Whether ch can be the character of key; keys whose character depends on
// the keyboard layout take any.
bool IsCharOfKey(int key, char32_t ch) {
  using namespace platform;
  switch (key) {
    case VK_BACK: return ch == U'\b' || ch == 0x7F;
    case VK_TAB: return ch == U'\t';
    case VK_RETURN: return ch == U'\r' || ch == U'\n';
    case VK_ESCAPE: return ch == 0x1B;
    case VK_SPACE: return ch == U' ';
    default: break;
  }
  // Letters come in either case, or as the control character with Ctrl.
  if (key >= 'A' && key <= 'Z') {
    return ch == char32_t(key) || ch == char32_t(key + 32) || ch == char32_t(key - 64);
  }
  return true;
}

// The button-down message a parent hears of, whatever the click became
// (a double click, a click on the frame).
UINT ParentNotifyEvent(platform::MouseButton button) {
  switch (button) {
    case platform::MouseButton::Left: return WM_LBUTTONDOWN;
    case platform::MouseButton::Right: return WM_RBUTTONDOWN;
    case platform::MouseButton::Middle: return WM_MBUTTONDOWN;
    default: return 0;
  }
}

// The platform raises the window it activates; the window system's stack
// follows (topmost windows stay above the others).
void RaiseInStack(std::vector<Window*>& tops, Window* window) {
  auto isTopmost = [](const Window* w) { return (w->ExStyle & WS_EX_TOPMOST) != 0; };
  tops.erase(std::remove(tops.begin(), tops.end(), window), tops.end());
  tops.insert(isTopmost(window) ? tops.end() : std::find_if(tops.begin(), tops.end(), isTopmost), window);
}

}  // namespace

// ---- Desktop: activation, focus, capture ----

void Desktop::Activate(HWND topLevel, WPARAM how, TellPlatform tell) {
  HWND target = nullptr;
  if (topLevel) {
    Window* window = TopLevelOf(Find(topLevel));
    if (!Activatable(window)) return;
    target = window->Handle;
  }
  if (target == Active) {
    if (target && tell == TellPlatform::Yes) {
      RaiseInStack(TopLevels, Find(target));
      Platform.ActivateWindow(Find(target)->Surface->Native);
    }
    return;
  }
  HWND old = Active;
  Active = target;
  if (Find(old)) {
    Send(old, WM_NCACTIVATE, 0, 0);
    Send(old, WM_ACTIVATE, MakeWParam(int(WA_INACTIVE), IsIconic(old) ? 1 : 0), LPARAM(target));
  }
  if (Active != target) return;  // a handler moved the activation on
  auto tellApplication = [&](bool active) {
    std::vector<HWND> tops;
    for (Window* w : TopLevels) {
      if (w->Surface && !w->Destroying) tops.push_back(w->Handle);
    }
    for (HWND w : tops) Send(w, WM_ACTIVATEAPP, active ? 1 : 0, 0);
  };
  if (!target) {
    if (Find(Focus)) ChangeFocus(nullptr);
    Focus = nullptr;
    if (old) tellApplication(false);
    return;
  }
  if (!old) tellApplication(true);
  Window* window = Find(target);
  if (Active != target || !window) return;
  RaiseInStack(TopLevels, window);
  if (tell == TellPlatform::Yes) Platform.ActivateWindow(window->Surface->Native);
  Send(target, WM_NCACTIVATE, 1, 0);
  Send(target, WM_ACTIVATE, MakeWParam(int(how), IsIconic(target) ? 1 : 0), LPARAM(old));
  // A focus left in the window that lost the activation goes.
  if (Active == target) {
    Window* focus = Find(Focus);
    if (focus && TopLevelOf(focus)->Handle != target) ChangeFocus(nullptr);
  }
}

void Desktop::ChangeFocus(HWND handle) {
  if (handle == Focus) return;
  if (handle) {
    Window* window = Find(handle);
    if (!window || window->Destroying) return;
    Window* top = TopLevelOf(window);
    if (top->Handle != Active && Activatable(top)) {
      Activate(top->Handle, WA_ACTIVE, TellPlatform::Yes);
      if (Focus == handle || !Find(handle)) return;
    }
  }
  HWND old = Focus;
  Focus = handle;
  if (Find(old)) Send(old, WM_KILLFOCUS, WPARAM(handle), 0);
  if (handle && Focus == handle && Find(handle)) Send(handle, WM_SETFOCUS, WPARAM(old), 0);
}

void Desktop::ChangeCapture(HWND handle) {
  if (handle == Capture) return;
  HWND old = Capture;
  Capture = handle;
  Window* top = handle ? TopLevelOf(Find(handle)) : nullptr;
  if (top && top->Surface) Platform.GrabPointer(top->Surface->Native);
  else Platform.ReleasePointer();
  if (Find(old)) Send(old, WM_CAPTURECHANGED, 0, LPARAM(handle));
}

void Desktop::CheckMouseLeave(HWND target, LRESULT hitTest, gfx::Point screen) {
  bool captured = Find(Capture) != nullptr;
  for (auto it = LeaveTracking.begin(); it != LeaveTracking.end();) {
    Window* window = Find(it->Window);
    if (!window) {
      it = LeaveTracking.erase(it);
      continue;
    }
    bool nonClient = (it->Flags & TME_NONCLIENT) != 0;
    bool over;
    if (captured) {
      // The capture hides which window is under the pointer; go by shape.
      gfx::Point origin = ClientOriginOnScreen(window);
      gfx::Rect client = gfx::Rect::FromSize(origin.X, origin.Y, window->Client.Width(), window->Client.Height());
      over = nonClient ? ScreenBounds(window).Contains(screen) && !client.Contains(screen)
                       : client.Contains(screen);
    } else {
      over = target == it->Window &&
             (nonClient ? hitTest != HTCLIENT && hitTest != HTNOWHERE : hitTest == HTCLIENT);
    }
    if (over) {
      ++it;
      continue;
    }
    Posted.push_back(TMsg{it->Window, nonClient ? UINT(WM_NCMOUSELEAVE) : UINT(WM_MOUSELEAVE), 0, 0,
                          Platform.Now(), screen});
    it = LeaveTracking.erase(it);
  }
}

// ---- Desktop: input translation ----

bool Desktop::NextPlatformEvent(platform::Event& event) {
  if (Lookahead) {
    event = std::move(*Lookahead);
    Lookahead.reset();
    return true;
  }
  return Platform.NextEvent(event);
}

namespace {

struct ButtonMessages {
  UINT Down = 0;
  UINT Up = 0;
  UINT NonClientDown = 0;
  UINT NonClientUp = 0;
};

ButtonMessages MessagesFor(platform::MouseButton button) {
  switch (button) {
    case platform::MouseButton::Left:
      return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP};
    case platform::MouseButton::Right:
      return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP};
    case platform::MouseButton::Middle:
      return {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP};
    default:
      return {};
  }
}

WPARAM MouseKeys(std::uint8_t buttons, std::uint8_t modifiers) {
  WPARAM keys = 0;
  if (buttons & platform::ButtonMaskLeft) keys |= MK_LBUTTON;
  if (buttons & platform::ButtonMaskRight) keys |= MK_RBUTTON;
  if (buttons & platform::ButtonMaskMiddle) keys |= MK_MBUTTON;
  if (buttons & platform::ButtonMaskX1) keys |= MK_XBUTTON1;
  if (buttons & platform::ButtonMaskX2) keys |= MK_XBUTTON2;
  if (modifiers & platform::ModifierShift) keys |= MK_SHIFT;
  if (modifiers & platform::ModifierControl) keys |= MK_CONTROL;
  return keys;
}

void TranslateMouse(Desktop& desktop, const platform::Event& event) {
  using platform::EventKind;
  desktop.Modifiers = event.Modifiers;
  desktop.Buttons = event.Buttons;
  desktop.LastScreenPoint = event.ScreenPosition;
  desktop.PointerNative = event.Window;
  gfx::Point screen = event.ScreenPosition;
  auto push = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    desktop.Input.push_back(TMsg{window, message, wParam, lParam, event.Time, screen});
  };
  WPARAM keys = MouseKeys(event.Buttons, event.Modifiers);

  HWND target = nullptr;
  LRESULT hit = HTCLIENT;
  bool captured = desktop.Find(desktop.Capture) != nullptr;
  if (captured) {
    target = desktop.Capture;
  } else {
    Window* top = desktop.FromNative(event.Window);
    Window* window = top ? desktop.ChildFromScreenPoint(top, screen) : nullptr;
    while (window) {
      HWND handle = window->Handle;
      hit = desktop.Send(handle, WM_NCHITTEST, 0, PointToLParam(screen));
      if (!(window = desktop.Find(handle))) return;
      if (hit == HTTRANSPARENT && window->Parent) {
        window = window->Parent;
        continue;
      }
      target = handle;
      break;
    }
    if (hit == HTTRANSPARENT) hit = HTNOWHERE;
  }
  if (!target) {
    if (event.Kind == EventKind::MouseMove) {
      desktop.CheckMouseLeave(nullptr, HTNOWHERE, screen);
      desktop.MouseWindow = nullptr;
    }
    return;
  }
  auto clientPoint = [&]() {
    gfx::Point origin = Desktop::ClientOriginOnScreen(desktop.Find(target));
    return gfx::Point{screen.X - origin.X, screen.Y - origin.Y};
  };
  bool client = captured || hit == HTCLIENT;

  switch (event.Kind) {
    case EventKind::MouseMove:
      desktop.CheckMouseLeave(target, hit, screen);
      desktop.MouseWindow = target;
      desktop.MouseHitTest = hit;
      if (!captured) {
        desktop.Send(target, WM_SETCURSOR, WPARAM(target), MakeLParam(int(hit), int(WM_MOUSEMOVE)));
        if (!desktop.Find(target)) return;
      }
      if (client) push(target, WM_MOUSEMOVE, keys, PointToLParam(clientPoint()));
      else push(target, WM_NCMOUSEMOVE, WPARAM(hit), PointToLParam(screen));
      break;

    case EventKind::MouseDown: {
      ButtonMessages messages = MessagesFor(event.Button);
      if (!messages.Down) return;
      desktop.AltAlone = false;
      UINT down = client ? messages.Down : messages.NonClientDown;
      // Every ancestor hears of a press on a child, up to the first child
      // that opted out, with the point in its own client coordinates
      // (the skinned frame closes its menus on it).
      for (Window* w = desktop.Find(target); w && w->Parent && !(w->ExStyle & WS_EX_NOPARENTNOTIFY);) {
        HWND child = w->Handle;
        HWND parent = w->Parent->Handle;
        gfx::Point origin = Desktop::ClientOriginOnScreen(w->Parent);
        desktop.Send(parent, WM_PARENTNOTIFY, MakeWParam(int(ParentNotifyEvent(event.Button)), 0),
                     MakeLParam(screen.X - origin.X, screen.Y - origin.Y));
        if (!desktop.Find(target)) return;
        w = desktop.Find(child) ? desktop.Find(parent) : nullptr;
      }
      if (!captured) {
        Window* top = Desktop::TopLevelOf(desktop.Find(target));
        HWND topHandle = top->Handle;
        if (topHandle != desktop.Active && Activatable(top)) {
          LRESULT answer = desktop.Send(target, WM_MOUSEACTIVATE, WPARAM(topHandle),
                                        MakeLParam(int(hit), int(down)));
          if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
            desktop.Activate(topHandle, WA_CLICKACTIVE, Desktop::TellPlatform::Yes);
          }
          if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return;
          if (!desktop.Find(target)) return;
        }
        desktop.Send(target, WM_SETCURSOR, WPARAM(target), MakeLParam(int(hit), int(down)));
        if (!desktop.Find(target)) return;
      }
      UINT message = down;
      int slackX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
      int slackY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
      bool again = desktop.LastClickWindow == target && desktop.LastClickMessage == down &&
                   event.Time - desktop.LastClickTime <= std::uint64_t(desktop.Platform.DoubleClickTime()) &&
                   std::abs(screen.X - desktop.LastClickPoint.X) <= slackX &&
                   std::abs(screen.Y - desktop.LastClickPoint.Y) <= slackY;
      bool wantsDouble = !client || (desktop.Find(target)->Class->Style & CS_DBLCLKS);
      if (again && wantsDouble) {
        // The third click starts over.
        message = down + 2;
        desktop.LastClickWindow = nullptr;
      } else {
        desktop.LastClickWindow = target;
        desktop.LastClickMessage = down;
        desktop.LastClickTime = event.Time;
        desktop.LastClickPoint = screen;
      }
      if (client) push(target, message, keys, PointToLParam(clientPoint()));
      else push(target, message, WPARAM(hit), PointToLParam(screen));
      break;
    }

    case EventKind::MouseUp: {
      ButtonMessages messages = MessagesFor(event.Button);
      if (!messages.Up) return;
      if (client) push(target, messages.Up, keys, PointToLParam(clientPoint()));
      else push(target, messages.NonClientUp, WPARAM(hit), PointToLParam(screen));
      break;
    }

    case EventKind::MouseWheel: {
      // The wheel scrolls what has the focus, as on the classic desktop.
      HWND to = desktop.Find(desktop.Focus) ? desktop.Focus
                : desktop.Find(desktop.Active) ? desktop.Active
                                               : target;
      push(to, WM_MOUSEWHEEL, MakeWParam(int(keys), event.WheelDelta), PointToLParam(screen));
      break;
    }

    default:
      break;
  }
}

void TranslateKey(Desktop& desktop, const platform::Event& event) {
  using platform::EventKind;
  desktop.Modifiers = event.Modifiers;
  HWND to = desktop.Find(desktop.Focus) ? desktop.Focus : desktop.Find(desktop.Active) ? desktop.Active : nullptr;
  bool alt = (event.Modifiers & platform::ModifierAlt) != 0;
  int key = event.VirtualKey;
  if (event.Kind == EventKind::KeyDown) {
    if (key == platform::VK_F10 && !event.Repeat) {
      desktop.F10Alone = !(event.Modifiers & platform::ModifierShift);
    }
    if (key == platform::VK_MENU) {
      if (!event.Repeat) desktop.AltAlone = true;
    } else {
      desktop.AltAlone = false;
    }
  } else if (event.Kind == EventKind::KeyUp && key == platform::VK_MENU) {
    desktop.AltReleasedAlone = desktop.AltAlone;
    desktop.AltAlone = false;
  }
  if (!to) return;
  // Without a focus window the active window gets the keys as system keys.
  bool system = alt || key == platform::VK_MENU || key == platform::VK_F10 || !desktop.Find(desktop.Focus);
  auto push = [&](UINT message, WPARAM wParam, LPARAM lParam) {
    desktop.Input.push_back(TMsg{to, message, wParam, lParam, event.Time, event.ScreenPosition});
  };
  LPARAM context = alt ? (LPARAM(1) << 29) : 0;
  switch (event.Kind) {
    case EventKind::KeyDown:
      push(system ? WM_SYSKEYDOWN : WM_KEYDOWN, WPARAM(key),
           1 | context | (event.Repeat ? (LPARAM(1) << 30) : 0));
      break;
    case EventKind::KeyUp:
      push(system ? WM_SYSKEYUP : WM_KEYUP, WPARAM(key),
           1 | context | (LPARAM(1) << 30) | LPARAM(std::int32_t(0x80000000u)));
      break;
    case EventKind::Text:
      for (char32_t point : CodePoints(event.Text)) {
        push(alt ? WM_SYSCHAR : WM_CHAR, WPARAM(point), 1 | context);
      }
      break;
    default:
      break;
  }
}

}  // namespace

bool Desktop::DropClaimedInput(const TMsg& message) {
  switch (message.Message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      ClaimedCharKey = 0;
      return false;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (int(message.WParam) == ClaimedCharKey) ClaimedCharKey = 0;
      return false;
    case WM_CHAR:
    case WM_SYSCHAR: {
      int key = ClaimedCharKey;
      ClaimedCharKey = 0;
      return key != 0 && IsCharOfKey(key, char32_t(message.WParam));
    }
    default:
      return false;
  }
}

bool Desktop::TranslateNextEvent() {
  using platform::EventKind;
  platform::Event event;
  if (!NextPlatformEvent(event)) return false;
  Window* top = FromNative(event.Window);
  switch (event.Kind) {
    case EventKind::MouseMove:
    case EventKind::MouseDown:
    case EventKind::MouseUp:
    case EventKind::MouseWheel:
      TranslateMouse(*this, event);
      break;
    case EventKind::MouseEnter:
      PointerNative = event.Window;
      break;
    case EventKind::MouseLeave:
      if (!Find(Capture) && top) {
        for (auto it = LeaveTracking.begin(); it != LeaveTracking.end();) {
          Window* window = Find(it->Window);
          if (window && TopLevelOf(window) != top) {
            ++it;
            continue;
          }
          if (window) {
            UINT message = (it->Flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE;
            Posted.push_back(TMsg{it->Window, message, 0, 0, event.Time, event.ScreenPosition});
          }
          it = LeaveTracking.erase(it);
        }
        MouseWindow = nullptr;
      }
      break;
    case EventKind::KeyDown:
    case EventKind::KeyUp:
    case EventKind::Text:
      TranslateKey(*this, event);
      break;
    case EventKind::FocusIn:
      if (top && top->Handle != Active) Activate(top->Handle, WA_ACTIVE, TellPlatform::No);
      break;
    case EventKind::FocusOut: {
      if (!top || top->Handle != Active) break;
      // Focus moving between two of our windows comes as out, then in:
      // that is one change of the active window, not the program losing
      // and regaining the activation.
      platform::Event next;
      if (NextPlatformEvent(next)) {
        Window* nextTop = FromNative(next.Window);
        if (next.Kind == EventKind::FocusIn && nextTop) {
          Activate(nextTop->Handle, WA_ACTIVE, TellPlatform::No);
          break;
        }
        Lookahead = std::move(next);
      }
      Activate(nullptr, WA_INACTIVE, TellPlatform::No);
      break;
    }
    case EventKind::Expose:
      if (top) MarkDirty(top, gfx::Region(event.Area));
      break;
    case EventKind::CloseRequest:
      if (top) Input.push_back(TMsg{top->Handle, WM_SYSCOMMAND, SC_CLOSE, 0, event.Time, LastScreenPoint});
      break;
    case EventKind::StateChanged:
      if (top) {
        PlatformChangeScope scope(*this);
        ShowWindow(top->Handle, event.State == platform::WindowState::Minimized ? SW_SHOWMINNOACTIVE
                                                                               : SW_SHOWNOACTIVATE);
      }
      break;
    case EventKind::BoundsChanged:
      if (top) {
        PlatformChangeScope scope(*this);
        SetWindowPos(top->Handle, nullptr, event.Area.Left, event.Area.Top, event.Area.Width(),
                     event.Area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    case EventKind::NotifyIcon:
    case EventKind::TaskbarCreated:
      TranslateNotifyIconEvent(*this, event);
      break;
    default:
      // Events of services the window system does not route are dropped.
      break;
  }
  return true;
}

// ---- Capture ----

HWND SetCapture(HWND window) {
  Desktop& desktop = CurrentDesktop();
  HWND previous = desktop.Capture;
  if (!desktop.Find(window)) return previous;
  desktop.ChangeCapture(window);
  return previous;
}

bool ReleaseCapture() {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  desktop->ChangeCapture(nullptr);
  return true;
}

HWND GetCapture() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && desktop->Find(desktop->Capture) ? desktop->Capture : nullptr;
}

// ---- Focus and activation ----

HWND SetFocus(HWND window) {
  Desktop& desktop = CurrentDesktop();
  HWND previous = desktop.Focus;
  if (window && !desktop.Find(window)) return nullptr;
  desktop.ChangeFocus(window);
  return previous;
}

HWND GetFocus() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && desktop->Find(desktop->Focus) ? desktop->Focus : nullptr;
}

HWND SetActiveWindow(HWND window) {
  Desktop& desktop = CurrentDesktop();
  HWND previous = desktop.Active;
  desktop.Activate(window, WA_ACTIVE, Desktop::TellPlatform::Yes);
  return previous;
}

HWND GetActiveWindow() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && desktop->Find(desktop->Active) ? desktop->Active : nullptr;
}

bool SetForegroundWindow(HWND window) {
  Desktop& desktop = CurrentDesktop();
  if (!desktop.Find(window)) return false;
  desktop.Activate(window, WA_ACTIVE, Desktop::TellPlatform::Yes);
  return desktop.Active == GetAncestor(window, GA_ROOT);
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

// ---- Mouse leave ----

bool TrackMouseEvent(TrackMouseEventInfo& info) {
  Desktop& desktop = CurrentDesktop();
  if (info.Flags & TME_QUERY) {
    info = TrackMouseEventInfo{};
    if (!desktop.LeaveTracking.empty()) {
      info.Window = desktop.LeaveTracking.front().Window;
      info.Flags = desktop.LeaveTracking.front().Flags;
    }
    return true;
  }
  Window* window = desktop.Find(info.Window);
  if (!window) return false;
  DWORD kind = info.Flags & TME_NONCLIENT;
  auto same = [&](const MouseLeaveTracking& t) { return t.Window == info.Window && (t.Flags & TME_NONCLIENT) == kind; };
  std::erase_if(desktop.LeaveTracking, same);
  if ((info.Flags & TME_CANCEL) || !(info.Flags & TME_LEAVE)) return true;
  desktop.LeaveTracking.push_back(MouseLeaveTracking{info.Window, TME_LEAVE | kind});
  // Not over the area right now: the leave is due at once.
  gfx::Point screen = desktop.LastScreenPoint;
  HWND under = desktop.Find(desktop.Capture) ? desktop.Capture : desktop.MouseWindow;
  desktop.CheckMouseLeave(under, desktop.MouseHitTest, screen);
  return true;
}

// ---- Pointer and keyboard ----

bool GetCursorPos(gfx::Point& point) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  point = desktop->Platform.CursorPosition();
  return true;
}

bool SetCursorPos(int x, int y) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  desktop->Platform.SetCursorPosition(gfx::Point{x, y});
  return true;
}

void SetCursor(CursorShape shape) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return;
  platform::NativeWindow native = desktop->PointerNative;
  if (Window* capture = desktop->Find(desktop->Capture)) {
    Window* top = Desktop::TopLevelOf(capture);
    if (top->Surface) native = top->Surface->Native;
  }
  if (native != platform::NoWindow) desktop->Platform.SetWindowCursor(native, shape);
}

std::int16_t GetAsyncKeyState(int virtualKey) {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && desktop->Platform.IsKeyDown(virtualKey) ? std::int16_t(0x8000) : std::int16_t(0);
}

// The modifiers and buttons come from the input event whose messages are
// being handled, not from the keyboard now: a busy program (or a test) may
// see the keys released before it handles their messages.
std::int16_t GetKeyState(int virtualKey) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return 0;
  auto state = [](bool down) { return down ? std::int16_t(0x8000) : std::int16_t(0); };
  switch (virtualKey) {
    case platform::VK_SHIFT: return state(desktop->Modifiers & platform::ModifierShift);
    case platform::VK_CONTROL: return state(desktop->Modifiers & platform::ModifierControl);
    case platform::VK_MENU: return state(desktop->Modifiers & platform::ModifierAlt);
    case platform::VK_LBUTTON: return state(desktop->Buttons & platform::ButtonMaskLeft);
    case platform::VK_RBUTTON: return state(desktop->Buttons & platform::ButtonMaskRight);
    case platform::VK_MBUTTON: return state(desktop->Buttons & platform::ButtonMaskMiddle);
    default: return GetAsyncKeyState(virtualKey);
  }
}

void SwallowCharOfKey(int virtualKey) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (desktop) desktop->ClaimedCharKey = KeyTypesChar(virtualKey) ? virtualKey : 0;
}

std::uint32_t GetDoubleClickTime() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop ? std::uint32_t(desktop->Platform.DoubleClickTime()) : 500;
}

bool MessageBeep(std::uint32_t) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  desktop->Platform.Beep();
  return true;
}

std::string GetClipboardText() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop ? desktop->Platform.ClipboardText() : std::string();
}

bool SetClipboardText(std::string_view text) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  desktop->Platform.SetClipboardText(text);
  return true;
}

}  // namespace ui
