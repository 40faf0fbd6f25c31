#include "platform/x11/XlibHeaders.h"

#include "platform/x11/X11Platform.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/x11/KeySymbols.h"

namespace platform::x11 {
namespace {

// How long the answer to a request of ours (activation, bounds, state) may
// take before a different outcome counts as the system's own doing.
constexpr std::uint64_t SettleTime = 1000;

std::uint8_t ModifiersOf(unsigned state) {
  std::uint8_t modifiers = 0;
  if (state & ShiftMask) modifiers |= ModifierShift;
  if (state & ControlMask) modifiers |= ModifierControl;
  if (state & Mod1Mask) modifiers |= ModifierAlt;
  return modifiers;
}

std::uint8_t ModifierOfKey(int virtualKey) {
  switch (virtualKey) {
    case VK_SHIFT: return ModifierShift;
    case VK_CONTROL: return ModifierControl;
    case VK_MENU: return ModifierAlt;
    default: return 0;
  }
}

bool IsKeypadSymbol(KeySym symbol) { return symbol >= XK_KP_Space && symbol <= XK_KP_Equal; }

}  // namespace

std::uint64_t X11Platform::Now() {
  using namespace std::chrono;
  return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Server timestamps are milliseconds on another clock; the offset between
// the two is taken from the first event and taken again whenever an event
// would lie in the future or implausibly far back (the server's 32-bit
// clock wraps after 49 days).
std::uint64_t X11Platform::EventTime(unsigned long serverTime) {
  const std::uint64_t now = Now();
  if (serverTime == 0) return now;
  FLastServerTime = serverTime;
  const std::int64_t candidate = std::int64_t(serverTime) + FTimeOffset;
  if (!FHaveTimeOffset || candidate > std::int64_t(now) || candidate + 10000 < std::int64_t(now)) {
    FTimeOffset = std::int64_t(now) - std::int64_t(serverTime);
    FHaveTimeOffset = true;
    return now;
  }
  return std::uint64_t(candidate);
}

void X11Platform::Queue(Event event) {
  if (event.Time == 0) event.Time = Now();
  FEvents.push_back(std::move(event));
}

bool X11Platform::NextEvent(Event& event) {
  if (FEvents.empty()) PumpEvents();
  while (!FEvents.empty()) {
    event = std::move(FEvents.front());
    FEvents.pop_front();
    if (event.Window == NoWindow || FWindows.count(event.Window)) return true;
  }
  return false;
}

void X11Platform::WaitForEvent(int timeoutMilliseconds) {
  const std::uint64_t start = Now();
  for (;;) {
    PumpEvents();
    if (!FEvents.empty()) return;
    // Requests made while translating, and the flush itself, may have read
    // events into Xlib's queue, where poll cannot see them.
    XFlush(FDisplay);
    if (XEventsQueued(FDisplay, QueuedAlready) > 0) continue;
    int wait = timeoutMilliseconds;
    if (timeoutMilliseconds != InfiniteTimeout) {
      const std::uint64_t elapsed = Now() - start;
      if (elapsed >= std::uint64_t(timeoutMilliseconds)) return;
      wait = timeoutMilliseconds - int(elapsed);
    }
    const int settle = PendingChangeDelay();
    if (settle >= 0 && (wait < 0 || settle < wait)) wait = settle;
    std::vector<pollfd> descriptors{{ConnectionNumber(FDisplay), POLLIN, 0},
                                    {FWakeDescriptor, POLLIN, 0}};
    if (FNotifyIcons) FNotifyIcons->PrepareWait(descriptors, wait);
    const int ready = poll(descriptors.data(), descriptors.size(), wait);
    if (ready < 0 && errno != EINTR) return;
    if (ready > 0 && (descriptors[1].revents & POLLIN)) {
      std::uint64_t count = 0;
      [[maybe_unused]] ssize_t n = read(FWakeDescriptor, &count, sizeof count);
      return;
    }
  }
}

void X11Platform::Wake() {
  // An eventfd write is safe from any thread and wakes the poll above.
  const std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(FWakeDescriptor, &one, sizeof one);
}

bool X11Platform::PumpEvents() {
  bool any = false;
  while (XPending(FDisplay) > 0) {
    XEvent event;
    XNextEvent(FDisplay, &event);
    any = true;
    // The input method takes the key events it composes from.
    if (XFilterEvent(&event, XNone)) continue;
    Translate(event);
  }
  if (FNotifyIcons) {
    FNotifyIcons->Dispatch();
    Event notice;
    while (FNotifyIcons->NextEvent(notice)) {
      Queue(notice);
      any = true;
    }
  }
  CheckPendingChanges();
  return any;
}

void X11Platform::Translate(XEvent& event) {
  switch (event.type) {
    case SelectionRequest:
      AnswerSelectionRequest(event);
      return;
    case SelectionClear:
      if (event.xselectionclear.window == FClipboardWindow) FClipboardText.clear();
      return;
    case MappingNotify:
      if (event.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&event.xmapping);
      return;
    default:
      break;
  }
  const NativeWindow window = FromHandle(event.xany.window);
  WindowData* data = Find(window);
  if (!data) return;
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
      TranslateKey(event, window);
      break;
    case ButtonPress:
    case ButtonRelease:
      TranslateButton(event, window);
      break;
    case MotionNotify: {
      // Only the latest position of a burst matters.
      XEvent next;
      while (XEventsQueued(FDisplay, QueuedAlready) > 0) {
        XPeekEvent(FDisplay, &next);
        if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
        XNextEvent(FDisplay, &event);
      }
      const XMotionEvent& motion = event.xmotion;
      Event e;
      e.Kind = EventKind::MouseMove;
      e.Window = window;
      e.Position = gfx::Point{motion.x, motion.y};
      e.ScreenPosition = gfx::Point{motion.x_root, motion.y_root};
      e.Buttons = ButtonsAfter(motion.state, 0, false);
      e.Modifiers = ModifiersOf(motion.state);
      e.Time = EventTime(motion.time);
      Queue(e);
      break;
    }
    case EnterNotify:
    case LeaveNotify:
      TranslateCrossing(event, window);
      break;
    case EventFocusIn:
    case EventFocusOut:
      TranslateFocus(event, window);
      break;
    case EventExpose: {
      // A burst of exposures (count > 0 means more follow) becomes one.
      const ::XExposeEvent& expose = event.xexpose;
      data->ExposeArea = data->ExposeArea.Union(
          gfx::Rect::FromSize(expose.x, expose.y, expose.width, expose.height));
      if (expose.count == 0 && !data->ExposeArea.IsEmpty()) {
        Event e;
        e.Kind = EventKind::Expose;
        e.Window = window;
        e.Area = data->ExposeArea;
        data->ExposeArea = gfx::Rect{};
        Queue(e);
      }
      break;
    }
    case ConfigureNotify:
      TranslateConfigure(window, *data, event.xconfigure.width, event.xconfigure.height);
      break;
    case ClientMessage:
      if (event.xclient.message_type == FAtoms.WmProtocols && event.xclient.format == 32 &&
          XId(event.xclient.data.l[0]) == FAtoms.WmDeleteWindow) {
        Event e;
        e.Kind = EventKind::CloseRequest;
        e.Window = window;
        Queue(e);
      }
      break;
    case PropertyNotify:
      TranslateProperty(event, window);
      break;
    default:
      break;
  }
}

std::uint8_t X11Platform::ButtonsAfter(unsigned state, int changedButton, bool pressed) const {
  std::uint8_t buttons = FExtraButtons;
  if (state & Button1Mask) buttons |= ButtonMaskLeft;
  if (state & Button2Mask) buttons |= ButtonMaskMiddle;
  if (state & Button3Mask) buttons |= ButtonMaskRight;
  std::uint8_t bit = 0;
  switch (changedButton) {
    case 1: bit = ButtonMaskLeft; break;
    case 2: bit = ButtonMaskMiddle; break;
    case 3: bit = ButtonMaskRight; break;
    case 8: bit = ButtonMaskX1; break;
    case 9: bit = ButtonMaskX2; break;
    default: break;
  }
  if (pressed) buttons |= bit;
  else buttons &= std::uint8_t(~bit);
  return buttons;
}

void X11Platform::TranslateButton(XEvent& event, NativeWindow window) {
  const XButtonEvent& button = event.xbutton;
  const bool pressed = event.type == ButtonPress;
  Event e;
  e.Window = window;
  e.Position = gfx::Point{button.x, button.y};
  e.ScreenPosition = gfx::Point{button.x_root, button.y_root};
  e.Modifiers = ModifiersOf(button.state);
  e.Time = EventTime(button.time);
  switch (button.button) {
    case 1: e.Button = MouseButton::Left; break;
    case 2: e.Button = MouseButton::Middle; break;
    case 3: e.Button = MouseButton::Right; break;
    case 8: e.Button = MouseButton::X1; break;
    case 9: e.Button = MouseButton::X2; break;
    case 4:
    case 5:
      // The wheel comes as presses and releases of buttons 4 (away from
      // the user) and 5; one press is one notch.
      if (!pressed) return;
      e.Kind = EventKind::MouseWheel;
      e.WheelDelta = button.button == 4 ? 120 : -120;
      e.Buttons = ButtonsAfter(button.state, 0, false);
      Queue(e);
      return;
    default:
      return;  // horizontal wheel and unknown buttons
  }
  e.Kind = pressed ? EventKind::MouseDown : EventKind::MouseUp;
  e.Buttons = ButtonsAfter(button.state, int(button.button), pressed);
  const std::uint8_t extra = button.button == 8 ? ButtonMaskX1 : button.button == 9 ? ButtonMaskX2 : 0;
  if (pressed) FExtraButtons |= extra;
  else FExtraButtons &= std::uint8_t(~extra);
  Queue(e);
}

void X11Platform::TranslateKey(XEvent& event, NativeWindow window) {
  XKeyEvent& key = event.xkey;
  const unsigned code = key.keycode & 0xFF;
  Event e;
  e.Window = window;
  e.ScreenPosition = gfx::Point{key.x_root, key.y_root};
  e.Buttons = ButtonsAfter(key.state, 0, false);
  e.Modifiers = ModifiersOf(key.state);
  e.Time = EventTime(key.time);

  if (event.type == KeyRelease) {
    // A server without detectable auto-repeat sends a held key as a
    // release and a press with the same time: the key never went up.
    if (XEventsQueued(FDisplay, QueuedAfterReading) > 0) {
      XEvent next;
      XPeekEvent(FDisplay, &next);
      if (next.type == KeyPress && next.xkey.keycode == key.keycode && next.xkey.time == key.time &&
          next.xkey.window == key.window) {
        return;
      }
    }
    FKeysDown[code] = false;
    KeySym symbol = XLookupKeysym(&key, 0);
    if (IsKeypadSymbol(symbol)) {
      char ignored[8];
      XLookupString(&key, ignored, sizeof ignored, &symbol, nullptr);
    }
    e.VirtualKey = VirtualKeyFromKeySymbol(symbol);
    if (e.VirtualKey == 0) return;
    e.Kind = EventKind::KeyUp;
    e.Modifiers &= std::uint8_t(~ModifierOfKey(e.VirtualKey));
    Queue(e);
    return;
  }

  const bool repeat = FKeysDown[code];
  FKeysDown[code] = true;

  // The typed text, and the key symbol as the modifiers make it.
  std::string text;
  KeySym typed = 0;
  char buffer[64];
  if (FInputContext) {
    if (FInputContextWindow != key.window) {
      XSetICValues(FInputContext, XNFocusWindow, key.window, nullptr);
      FInputContextWindow = key.window;
    }
    XStatus status = 0;
    int length = Xutf8LookupString(FInputContext, &key, buffer, int(sizeof buffer), &typed, &status);
    if (status == XBufferOverflow) {
      std::string large(std::size_t(length), '\0');
      length = Xutf8LookupString(FInputContext, &key, large.data(), length, &typed, &status);
      if (status == XLookupChars || status == XLookupBoth) text = large.substr(0, std::size_t(length));
    } else if (status == XLookupChars || status == XLookupBoth) {
      text.assign(buffer, std::size_t(length));
    }
    // A locale whose character set lacks the character (the C locale of a
    // program that never set one) gives only the symbol: the character
    // comes from the symbol then. Keys the input method composes from
    // never get here; XFilterEvent took them.
    if (text.empty() && status == XLookupKeySym) {
      if (char32_t character = CharacterOfKeySymbol(typed)) AppendUtf8(text, character);
    }
  } else {
    const int length = XLookupString(&key, buffer, int(sizeof buffer), &typed, nullptr);
    // Without an input method the lookup speaks Latin-1, and nothing
    // beyond it: other characters come from the symbol itself.
    if (length > 0) text = Latin1ToUtf8(buffer, length);
    else if (char32_t character = CharacterOfKeySymbol(typed)) AppendUtf8(text, character);
  }

  KeySym symbol = XLookupKeysym(&key, 0);
  // The keypad's keys are digits or movement keys depending on Num Lock.
  if (IsKeypadSymbol(symbol) && typed != 0) symbol = typed;
  e.VirtualKey = VirtualKeyFromKeySymbol(symbol);
  if (e.VirtualKey != 0) {
    e.Kind = EventKind::KeyDown;
    e.Repeat = repeat;
    e.Modifiers |= ModifierOfKey(e.VirtualKey);
    Queue(e);
  }
  // The delete key types nothing, as on the classic desktop.
  if (text == "\x7f" && e.VirtualKey == VK_DELETE) text.clear();
  if (!text.empty()) {
    Event t = e;
    t.Kind = EventKind::Text;
    t.VirtualKey = 0;
    t.Repeat = false;
    t.Text = std::move(text);
    Queue(t);
  }
}

// Crossings follow the pointer as seen without grabs: while our grab holds
// the pointer none is reported, and when it ends the crossings the server
// sends (mode NotifyUngrab) bring the state up to date.
void X11Platform::TranslateCrossing(XEvent& event, NativeWindow window) {
  const XCrossingEvent& crossing = event.xcrossing;
  if (FGrab != NoWindow || crossing.mode == NotifyGrab) return;
  if (crossing.detail == NotifyInferior) return;
  Event e;
  e.Window = window;
  e.Position = gfx::Point{crossing.x, crossing.y};
  e.ScreenPosition = gfx::Point{crossing.x_root, crossing.y_root};
  e.Buttons = ButtonsAfter(crossing.state, 0, false);
  e.Modifiers = ModifiersOf(crossing.state);
  e.Time = EventTime(crossing.time);
  if (event.type == EnterNotify) {
    if (FHover == window) return;
    if (FHover != NoWindow) {
      Event leave = e;
      leave.Kind = EventKind::MouseLeave;
      leave.Window = FHover;
      Queue(leave);
    }
    FHover = window;
    e.Kind = EventKind::MouseEnter;
    Queue(e);
  } else {
    if (FHover != window) return;
    FHover = NoWindow;
    e.Kind = EventKind::MouseLeave;
    Queue(e);
  }
}

void X11Platform::ReportFocus(NativeWindow window) {
  if (window == FFocus) return;
  if (FFocus != NoWindow) {
    Event out;
    out.Kind = EventKind::FocusOut;
    out.Window = FFocus;
    Queue(out);
  }
  FFocus = window;
  if (window != NoWindow) {
    Event in;
    in.Kind = EventKind::FocusIn;
    in.Window = window;
    Queue(in);
  }
}

// Only the system's own focus changes are news to the program. After the
// program moved the focus, the window manager answers with a few changes
// of its own (focus on map, again on activation, away on iconify); those
// are left alone until they settle, and then the real focus is compared
// with what the program knows (CheckPendingChanges).
void X11Platform::TranslateFocus(XEvent& event, NativeWindow window) {
  const XFocusChangeEvent& focus = event.xfocus;
  if (focus.mode == NotifyGrab || focus.mode == NotifyUngrab) return;
  if (focus.detail == NotifyPointer || focus.detail == NotifyPointerRoot ||
      focus.detail == NotifyDetailNone || focus.detail == NotifyInferior) {
    return;
  }
  if (event.type == EventFocusIn) {
    if (FInputContext) {
      if (FInputContextWindow != focus.window) {
        XSetICValues(FInputContext, XNFocusWindow, focus.window, nullptr);
        FInputContextWindow = focus.window;
      }
      XSetICFocus(FInputContext);
    }
    if (!FFocusSettling) ReportFocus(window);
  } else {
    if (FInputContext && FInputContextWindow == focus.window) XUnsetICFocus(FInputContext);
    if (!FFocusSettling && window == FFocus) ReportFocus(NoWindow);
  }
}

gfx::Point X11Platform::RootPosition(XId handle) {
  int x = 0;
  int y = 0;
  ::Window child = 0;
  XTranslateCoordinates(FDisplay, handle, FRoot, 0, 0, &x, &y, &child);
  return gfx::Point{x, y};
}

// The window manager reparents our windows into frames, so the position in
// a ConfigureNotify is relative to the frame (or, in the synthetic ones it
// sends, already on the root): the root position is asked of the server.
void X11Platform::TranslateConfigure(NativeWindow window, WindowData& data, int width, int height) {
  const gfx::Point origin = RootPosition(data.Handle);
  const gfx::Rect actual = gfx::Rect::FromSize(origin.X, origin.Y, width, height);
  auto& pending = data.PendingBounds;
  for (auto it = pending.begin(); it != pending.end(); ++it) {
    if (it->first == actual) {
      // Our own request; older ones were overtaken by it.
      pending.erase(pending.begin(), it + 1);
      return;
    }
  }
  // Something in between while requests are still on their way: wait for
  // them to settle (CheckPendingChanges) before telling the program.
  if (!pending.empty()) return;
  const gfx::Rect known = gfx::Rect::FromSize(data.Bounds.Left, data.Bounds.Top,
                                              std::max(1, data.Bounds.Width()),
                                              std::max(1, data.Bounds.Height()));
  if (actual == known) return;
  data.Bounds = actual;
  Event e;
  e.Kind = EventKind::BoundsChanged;
  e.Window = window;
  e.Area = actual;
  Queue(e);
}

std::optional<WindowState> X11Platform::ReadWindowState(XId handle) {
  std::optional<WindowState> state;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* value = nullptr;
  if (XGetWindowProperty(FDisplay, handle, FAtoms.WmState, 0, 2, False, FAtoms.WmState, &type,
                         &format, &count, &after, &value) == Success &&
      value) {
    if (format == 32 && count >= 1) {
      const long wmState = reinterpret_cast<long*>(value)[0];
      if (wmState == IconicState) state = WindowState::Minimized;
      else if (wmState == NormalState) state = WindowState::Normal;
    }
    XFree(value);
  }
  value = nullptr;
  if (XGetWindowProperty(FDisplay, handle, FAtoms.NetWmState, 0, 64, False, XA_ATOM, &type,
                         &format, &count, &after, &value) == Success &&
      value) {
    if (format == 32) {
      const long* atoms = reinterpret_cast<long*>(value);
      for (unsigned long i = 0; i < count; ++i) {
        if (XId(atoms[i]) == FAtoms.NetWmStateHidden) state = WindowState::Minimized;
      }
    }
    XFree(value);
  }
  return state;
}

void X11Platform::TranslateProperty(XEvent& event, NativeWindow window) {
  const XPropertyEvent& property = event.xproperty;
  if (property.atom != FAtoms.WmState && property.atom != FAtoms.NetWmState) return;
  WindowData* data = Find(window);
  if (!data || !data->Mapped) return;
  const std::optional<WindowState> actual = ReadWindowState(data->Handle);
  if (!actual) return;
  if (data->StatePending) {
    if (*actual == data->State) {
      data->StatePending = false;
      return;
    }
    if (Now() - data->StateAskedAt < SettleTime) return;
    data->StatePending = false;
  }
  if (*actual == data->State) return;
  data->State = *actual;
  Event e;
  e.Kind = EventKind::StateChanged;
  e.Window = window;
  e.State = *actual;
  Queue(e);
}

int X11Platform::PendingChangeDelay() {
  std::uint64_t earliest = 0;
  bool any = false;
  auto consider = [&](std::uint64_t since) {
    if (!any || since < earliest) earliest = since;
    any = true;
  };
  if (FFocusSettling) consider(FFocusChangedAt);
  for (const auto& [id, data] : FWindows) {
    if (!data.PendingBounds.empty()) consider(data.PendingBounds.back().second);
    if (data.StatePending) consider(data.StateAskedAt);
  }
  if (!any) return -1;
  const std::uint64_t now = Now();
  const std::uint64_t due = earliest + SettleTime;
  return due <= now ? 0 : int(due - now);
}

// Requests whose answer did not come in time: what the server shows now
// is the truth, and where it differs from what the program knows, the
// program is told.
void X11Platform::CheckPendingChanges() {
  const std::uint64_t now = Now();
  if (FFocusSettling && now - FFocusChangedAt >= SettleTime) {
    FFocusSettling = false;
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(FDisplay, &focus, &revert);
    ReportFocus(FromHandle(focus));
  }
  for (auto& [id, data] : FWindows) {
    if (!data.PendingBounds.empty() && now - data.PendingBounds.back().second >= SettleTime) {
      data.PendingBounds.clear();
      if (data.Handle) {
        ::Window root = 0;
        int x = 0;
        int y = 0;
        unsigned width = 0;
        unsigned height = 0;
        unsigned border = 0;
        unsigned depth = 0;
        if (XGetGeometry(FDisplay, data.Handle, &root, &x, &y, &width, &height, &border, &depth)) {
          TranslateConfigure(id, data, int(width), int(height));
        }
      }
    }
    if (data.StatePending && now - data.StateAskedAt >= SettleTime) {
      data.StatePending = false;
      if (data.Handle && data.Mapped) {
        const std::optional<WindowState> actual = ReadWindowState(data.Handle);
        if (actual && *actual != data.State) {
          data.State = *actual;
          Event e;
          e.Kind = EventKind::StateChanged;
          e.Window = id;
          e.State = *actual;
          Queue(e);
        }
      }
    }
  }
}

}  // namespace platform::x11
