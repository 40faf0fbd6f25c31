#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <stdexcept>

namespace platform::headless {
namespace {

const gfx::Bitmap EmptyBitmap;

int ButtonKey(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return VK_LBUTTON;
    case MouseButton::Right: return VK_RBUTTON;
    case MouseButton::Middle: return VK_MBUTTON;
    case MouseButton::X1: return VK_XBUTTON1;
    case MouseButton::X2: return VK_XBUTTON2;
    case MouseButton::None: break;
  }
  return 0;
}

std::uint8_t ButtonBit(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return ButtonMaskLeft;
    case MouseButton::Right: return ButtonMaskRight;
    case MouseButton::Middle: return ButtonMaskMiddle;
    case MouseButton::X1: return ButtonMaskX1;
    case MouseButton::X2: return ButtonMaskX2;
    case MouseButton::None: break;
  }
  return 0;
}

// The generic key a left or right modifier key also counts as.
int GenericKey(int virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return virtualKey;
  }
}

std::uint8_t Blend(std::uint8_t over, std::uint8_t under, int alpha) {
  return std::uint8_t((over * alpha + under * (255 - alpha) + 127) / 255);
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : FOptions(std::move(options)), FNow(FOptions.StartTime) {
  FMonitors = FOptions.Monitors;
  if (FMonitors.empty()) {
    gfx::Rect screen{0, 0, FOptions.ScreenSize.Width, FOptions.ScreenSize.Height};
    FMonitors.push_back(Monitor{screen, FOptions.WorkArea.Intersect(screen), true});
  }
  FCursor = gfx::Point{FOptions.ScreenSize.Width / 2, FOptions.ScreenSize.Height / 2};
}

HeadlessPlatform::~HeadlessPlatform() = default;

HeadlessPlatform::NativeWindowData* HeadlessPlatform::Find(NativeWindow window) {
  auto it = FWindows.find(window);
  return it == FWindows.end() ? nullptr : &it->second;
}

const HeadlessPlatform::NativeWindowData* HeadlessPlatform::Find(NativeWindow window) const {
  auto it = FWindows.find(window);
  return it == FWindows.end() ? nullptr : &it->second;
}

// ---- Windows ----

NativeWindow HeadlessPlatform::CreateWindow(const WindowOptions& options) {
  NativeWindow id = FNextWindow++;
  NativeWindowData& data = FWindows[id];
  data.Kind = options.Kind;
  data.Bounds = options.Bounds;
  data.Title = options.Title;
  data.Pixels = gfx::Bitmap(std::max(0, options.Bounds.Width()), std::max(0, options.Bounds.Height()));
  FZOrder.push_back(id);
  Raise(id);
  return id;
}

void HeadlessPlatform::DestroyWindow(NativeWindow window) {
  if (!Find(window)) return;
  FWindows.erase(window);
  FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
  if (FGrab == window) FGrab = NoWindow;
  if (FPressGrab == window) FPressGrab = NoWindow;
  if (FFocus == window) FFocus = NoWindow;
  if (FHover == window) FHover = NoWindow;
  std::lock_guard lock(FMutex);
  FEvents.erase(std::remove_if(FEvents.begin(), FEvents.end(),
                               [&](const Event& e) { return e.Window == window; }),
                FEvents.end());
}

void HeadlessPlatform::SetWindowBounds(NativeWindow window, const gfx::Rect& bounds) {
  NativeWindowData* data = Find(window);
  if (!data) return;
  if (bounds.Width() != data->Bounds.Width() || bounds.Height() != data->Bounds.Height()) {
    // The old pixels stay at the top-left, as a system keeps a resized
    // window's contents until the program presents new ones.
    gfx::Bitmap resized(std::max(0, bounds.Width()), std::max(0, bounds.Height()));
    gfx::CopyRect(resized, gfx::Point{}, data->Pixels, data->Pixels.Bounds());
    data->Pixels = std::move(resized);
  }
  data->Bounds = bounds;
  UpdateHover();
}

void HeadlessPlatform::ShowWindow(NativeWindow window, ShowMode mode) {
  NativeWindowData* data = Find(window);
  if (!data || data->Kind == WindowKind::Hidden) return;
  if (mode == ShowMode::Hide) {
    data->Visible = false;
    if (FFocus == window) SetFocus(NoWindow, FocusReport::Silent);
  } else {
    data->Visible = true;
    Raise(window);
    if (mode == ShowMode::Show && data->Kind == WindowKind::Normal) SetFocus(window, FocusReport::Silent);
  }
  UpdateHover();
}

void HeadlessPlatform::SetWindowState(NativeWindow window, WindowState state) {
  NativeWindowData* data = Find(window);
  if (!data) return;
  data->State = state;
  if (state == WindowState::Minimized && FFocus == window) SetFocus(NoWindow, FocusReport::Silent);
  UpdateHover();
}

void HeadlessPlatform::SetWindowTitle(NativeWindow window, std::string_view title) {
  if (NativeWindowData* data = Find(window)) data->Title = std::string(title);
}

void HeadlessPlatform::SetWindowIcon(NativeWindow window, const gfx::Bitmap& icon) {
  if (NativeWindowData* data = Find(window)) data->Icon = icon;
}

void HeadlessPlatform::SetWindowShape(NativeWindow window, const gfx::Region* shape) {
  NativeWindowData* data = Find(window);
  if (!data) return;
  if (shape) data->Shape = *shape;
  else data->Shape.reset();
  UpdateHover();
}

void HeadlessPlatform::SetWindowOpacity(NativeWindow window, std::uint8_t opacity) {
  if (NativeWindowData* data = Find(window)) data->Opacity = opacity;
}

void HeadlessPlatform::PresentWindow(NativeWindow window, const gfx::Bitmap& surface,
                                     const gfx::Rect& dirty) {
  NativeWindowData* data = Find(window);
  if (!data) return;
  gfx::Rect area = dirty.Intersect(surface.Bounds()).Intersect(data->Pixels.Bounds());
  gfx::CopyRect(data->Pixels, area.TopLeft(), surface, area);
  data->LastPresented = dirty;
  ++data->Presents;
}

void HeadlessPlatform::ActivateWindow(NativeWindow window) {
  NativeWindowData* data = Find(window);
  if (!data) return;
  Raise(window);
  if (data->Kind == WindowKind::Normal) SetFocus(window, FocusReport::Silent);
  UpdateHover();
}

void HeadlessPlatform::RaiseWindow(NativeWindow window) {
  if (!Find(window)) return;
  Raise(window);
  UpdateHover();
}

void HeadlessPlatform::GrabPointer(NativeWindow window) {
  if (!Find(window)) return;
  FGrab = window;
}

void HeadlessPlatform::ReleasePointer() {
  FGrab = NoWindow;
  // A grab the program ends while a button is still held leaves the
  // pointer free, not with the window that got the press.
  FPressGrab = NoWindow;
  UpdateHover();
}

void HeadlessPlatform::SetWindowCursor(NativeWindow window, CursorShape shape) {
  if (NativeWindowData* data = Find(window)) data->Cursor = shape;
}

// Popups stay above every normal window; among their own kind the raised
// window goes to the top.
void HeadlessPlatform::Raise(NativeWindow window) {
  const NativeWindowData* data = Find(window);
  if (!data) return;
  // Three layers, bottom up: normal windows, topmost normal windows,
  // popups; a window rises to the top of its own layer.
  auto layer = [](const NativeWindowData& d) { return d.Kind == WindowKind::Popup ? 2 : d.Topmost ? 1 : 0; };
  FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
  auto position = std::find_if(FZOrder.begin(), FZOrder.end(),
                               [&](NativeWindow w) { return layer(*Find(w)) > layer(*data); });
  FZOrder.insert(position, window);
}

void HeadlessPlatform::LowerWindow(NativeWindow window) {
  const NativeWindowData* data = Find(window);
  if (!data) return;
  auto layer = [](const NativeWindowData& d) { return d.Kind == WindowKind::Popup ? 2 : d.Topmost ? 1 : 0; };
  FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), window), FZOrder.end());
  auto position = std::find_if(FZOrder.begin(), FZOrder.end(),
                               [&](NativeWindow w) { return layer(*Find(w)) >= layer(*data); });
  FZOrder.insert(position, window);
  UpdateHover();
}

void HeadlessPlatform::SetWindowTopmost(NativeWindow window, bool topmost) {
  NativeWindowData* data = Find(window);
  if (!data || data->Topmost == topmost) return;
  data->Topmost = topmost;
  Raise(window);
  UpdateHover();
}

bool HeadlessPlatform::IsTopmost(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data && data->Topmost;
}

void HeadlessPlatform::SetFocus(NativeWindow window, FocusReport report) {
  if (window == FFocus) return;
  NativeWindow old = FFocus;
  FFocus = window;
  if (report == FocusReport::Silent) return;
  if (old != NoWindow) {
    Event e;
    e.Kind = EventKind::FocusOut;
    e.Window = old;
    Queue(e);
  }
  if (window != NoWindow) {
    Event e;
    e.Kind = EventKind::FocusIn;
    e.Window = window;
    Queue(e);
  }
}

// ---- Events ----

void HeadlessPlatform::Queue(Event event) {
  event.Time = FNow;
  {
    std::lock_guard lock(FMutex);
    FEvents.push_back(std::move(event));
  }
  FSignal.notify_all();
}

bool HeadlessPlatform::NextEvent(Event& event) {
  std::lock_guard lock(FMutex);
  while (!FEvents.empty()) {
    event = std::move(FEvents.front());
    FEvents.pop_front();
    if (event.Window == NoWindow || FWindows.count(event.Window)) return true;
  }
  return false;
}

void HeadlessPlatform::WaitForEvent(int timeoutMilliseconds) {
  std::unique_lock lock(FMutex);
  if (!FEvents.empty() || FWakePending) {
    FWakePending = false;
    return;
  }
  if (timeoutMilliseconds == InfiniteTimeout) {
    // Only another thread (a Wake or an injected event) can end this wait.
    FSignal.wait(lock, [&] { return !FEvents.empty() || FWakePending; });
    FWakePending = false;
    return;
  }
  if (FOptions.Clock == WaitClock::AdvanceOnWait && timeoutMilliseconds > 0) {
    FNow += std::uint64_t(timeoutMilliseconds);
  }
}

void HeadlessPlatform::Wake() {
  {
    std::lock_guard lock(FMutex);
    FWakePending = true;
  }
  FSignal.notify_all();
}

std::uint64_t HeadlessPlatform::Now() {
  std::lock_guard lock(FMutex);
  return FNow;
}

void HeadlessPlatform::AdvanceClock(std::uint64_t milliseconds) {
  std::lock_guard lock(FMutex);
  FNow += milliseconds;
}

std::size_t HeadlessPlatform::PendingEventCount() const {
  std::lock_guard lock(FMutex);
  return FEvents.size();
}

// ---- Services ----

std::string HeadlessPlatform::ClipboardText() { return FClipboard; }

void HeadlessPlatform::SetClipboardText(std::string_view text) { FClipboard = std::string(text); }

void HeadlessPlatform::SetCursorPosition(gfx::Point position) { MoveMouse(position); }

bool HeadlessPlatform::IsKeyDown(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= VirtualKeyCount) return false;
  if (FKeys[std::size_t(virtualKey)]) return true;
  switch (virtualKey) {
    case VK_SHIFT: return FKeys[VK_LSHIFT] || FKeys[VK_RSHIFT];
    case VK_CONTROL: return FKeys[VK_LCONTROL] || FKeys[VK_RCONTROL];
    case VK_MENU: return FKeys[VK_LMENU] || FKeys[VK_RMENU];
    default: return false;
  }
}

bool HeadlessPlatform::CaptureScreen(const gfx::Rect& area, gfx::Bitmap& picture) {
  picture = gfx::Bitmap(std::max(0, area.Width()), std::max(0, area.Height()));
  gfx::Bitmap screen = Screen();
  gfx::Rect inside = area.Intersect(screen.Bounds());
  if (!inside.IsEmpty()) {
    gfx::CopyRect(picture, gfx::Point{inside.Left - area.Left, inside.Top - area.Top}, screen, inside);
  }
  return true;
}

// ---- Input ----

bool HeadlessPlatform::ShowsAt(const NativeWindowData& data, gfx::Point screen) const {
  if (!data.Visible || data.State == WindowState::Minimized) return false;
  if (!data.Bounds.Contains(screen)) return false;
  if (!data.Shape) return true;
  return data.Shape->Contains(gfx::Point{screen.X - data.Bounds.Left, screen.Y - data.Bounds.Top});
}

NativeWindow HeadlessPlatform::WindowAt(gfx::Point screen) const {
  for (auto it = FZOrder.rbegin(); it != FZOrder.rend(); ++it) {
    if (ShowsAt(*Find(*it), screen)) return *it;
  }
  return NoWindow;
}

NativeWindow HeadlessPlatform::PointerTarget() const {
  if (FGrab != NoWindow) return FGrab;
  if (FPressGrab != NoWindow) return FPressGrab;
  return WindowAt(FCursor);
}

std::uint8_t HeadlessPlatform::Modifiers() const {
  auto down = [&](int a, int b, int c) { return FKeys[std::size_t(a)] || FKeys[std::size_t(b)] || FKeys[std::size_t(c)]; };
  std::uint8_t m = 0;
  if (down(VK_SHIFT, VK_LSHIFT, VK_RSHIFT)) m |= ModifierShift;
  if (down(VK_CONTROL, VK_LCONTROL, VK_RCONTROL)) m |= ModifierControl;
  if (down(VK_MENU, VK_LMENU, VK_RMENU)) m |= ModifierAlt;
  return m;
}

Event HeadlessPlatform::MouseEvent(EventKind kind, NativeWindow window) const {
  Event e;
  e.Kind = kind;
  e.Window = window;
  e.ScreenPosition = FCursor;
  if (const NativeWindowData* data = Find(window)) {
    e.Position = gfx::Point{FCursor.X - data->Bounds.Left, FCursor.Y - data->Bounds.Top};
  }
  e.Buttons = FButtons;
  e.Modifiers = Modifiers();
  return e;
}

// Enter and leave follow the window under the pointer, but not while a
// grab holds the pointer: the grabbing window gets every event then, and
// the crossing is reported when the grab ends.
void HeadlessPlatform::UpdateHover() {
  if (FGrab != NoWindow || FPressGrab != NoWindow) return;
  NativeWindow now = WindowAt(FCursor);
  if (now == FHover) return;
  if (FHover != NoWindow && Find(FHover)) Queue(MouseEvent(EventKind::MouseLeave, FHover));
  FHover = now;
  if (now != NoWindow) Queue(MouseEvent(EventKind::MouseEnter, now));
}

void HeadlessPlatform::MoveMouse(gfx::Point screen) {
  FCursor = screen;
  UpdateHover();
  NativeWindow target = PointerTarget();
  if (target != NoWindow) Queue(MouseEvent(EventKind::MouseMove, target));
}

void HeadlessPlatform::PressMouse(MouseButton button) {
  NativeWindow target = PointerTarget();
  // The first button pressed holds the pointer for its window until the
  // last one goes up, as the X server's automatic grab does.
  if (FButtons == 0 && FGrab == NoWindow) FPressGrab = target;
  FButtons |= ButtonBit(button);
  FKeys[std::size_t(ButtonKey(button))] = true;
  if (target == NoWindow) return;
  Event e = MouseEvent(EventKind::MouseDown, target);
  e.Button = button;
  Queue(e);
}

void HeadlessPlatform::ReleaseMouse(MouseButton button) {
  FButtons &= std::uint8_t(~ButtonBit(button));
  FKeys[std::size_t(ButtonKey(button))] = false;
  NativeWindow target = PointerTarget();
  if (target != NoWindow) {
    Event e = MouseEvent(EventKind::MouseUp, target);
    e.Button = button;
    Queue(e);
  }
  // The crossings held back by the press come after the release.
  if (FButtons == 0 && FPressGrab != NoWindow) {
    FPressGrab = NoWindow;
    UpdateHover();
  }
}

void HeadlessPlatform::Click(gfx::Point screen, MouseButton button) {
  MoveMouse(screen);
  PressMouse(button);
  ReleaseMouse(button);
}

void HeadlessPlatform::TurnWheel(int notches) {
  NativeWindow target = PointerTarget();
  if (target == NoWindow) return;
  Event e = MouseEvent(EventKind::MouseWheel, target);
  e.WheelDelta = notches * 120;
  Queue(e);
}

Event HeadlessPlatform::KeyEvent(EventKind kind, int virtualKey) const {
  Event e;
  e.Kind = kind;
  e.Window = FFocus;
  e.VirtualKey = virtualKey;
  e.Buttons = FButtons;
  e.Modifiers = Modifiers();
  e.ScreenPosition = FCursor;
  return e;
}

void HeadlessPlatform::PressKey(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= VirtualKeyCount) return;
  bool repeat = FKeys[std::size_t(virtualKey)];
  FKeys[std::size_t(virtualKey)] = true;
  if (FFocus == NoWindow) return;
  Event e = KeyEvent(EventKind::KeyDown, GenericKey(virtualKey));
  e.Repeat = repeat;
  Queue(e);
}

void HeadlessPlatform::ReleaseKey(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= VirtualKeyCount) return;
  FKeys[std::size_t(virtualKey)] = false;
  if (FFocus == NoWindow) return;
  Queue(KeyEvent(EventKind::KeyUp, GenericKey(virtualKey)));
}

void HeadlessPlatform::StrokeKey(int virtualKey) {
  PressKey(virtualKey);
  std::string text;
  bool shift = (Modifiers() & ModifierShift) != 0;
  if (virtualKey >= 'A' && virtualKey <= 'Z') text = char(shift ? virtualKey : virtualKey + 32);
  else if (virtualKey >= '0' && virtualKey <= '9') text = char(virtualKey);
  else if (virtualKey == VK_SPACE) text = " ";
  else if (virtualKey == VK_RETURN) text = "\r";
  else if (virtualKey == VK_BACK) text = "\b";
  else if (virtualKey == VK_TAB) text = "\t";
  else if (virtualKey == VK_ESCAPE) text = "\x1b";
  if (!text.empty() && FFocus != NoWindow) {
    Event e = KeyEvent(EventKind::Text, 0);
    e.Text = text;
    Queue(e);
  }
  ReleaseKey(virtualKey);
}

void HeadlessPlatform::TypeText(std::string_view utf8) {
  if (FFocus == NoWindow) return;
  std::size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    Event e = KeyEvent(EventKind::Text, 0);
    e.Text = std::string(utf8.substr(i, length));
    Queue(e);
    i += length;
  }
}

void HeadlessPlatform::InjectEvent(const Event& event) {
  Event copy = event;
  {
    std::lock_guard lock(FMutex);
    FEvents.push_back(std::move(copy));
  }
  FSignal.notify_all();
}

void HeadlessPlatform::RequestClose(NativeWindow window) {
  if (!Find(window)) return;
  Event e;
  e.Kind = EventKind::CloseRequest;
  e.Window = window;
  Queue(e);
}

void HeadlessPlatform::SystemActivate(NativeWindow window) {
  if (window != NoWindow && !Find(window)) return;
  if (window != NoWindow) Raise(window);
  SetFocus(window, FocusReport::Report);
  UpdateHover();
}

// ---- Reading back ----

bool HeadlessPlatform::IsVisible(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data && data->Visible;
}

gfx::Rect HeadlessPlatform::Bounds(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Bounds : gfx::Rect{};
}

std::string HeadlessPlatform::Title(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Title : std::string();
}

WindowKind HeadlessPlatform::Kind(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Kind : WindowKind::Hidden;
}

WindowState HeadlessPlatform::State(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->State : WindowState::Normal;
}

std::uint8_t HeadlessPlatform::Opacity(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Opacity : 0;
}

std::optional<gfx::Region> HeadlessPlatform::Shape(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Shape : std::nullopt;
}

const gfx::Bitmap& HeadlessPlatform::Icon(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Icon : EmptyBitmap;
}

CursorShape HeadlessPlatform::Cursor(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Cursor : CursorShape::Arrow;
}

CursorShape HeadlessPlatform::CurrentCursor() const {
  NativeWindow target = PointerTarget();
  return target == NoWindow ? CursorShape::Arrow : Cursor(target);
}

const gfx::Bitmap& HeadlessPlatform::Pixels(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Pixels : EmptyBitmap;
}

gfx::Rect HeadlessPlatform::LastPresentedArea(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->LastPresented : gfx::Rect{};
}

int HeadlessPlatform::PresentCount(NativeWindow window) const {
  const NativeWindowData* data = Find(window);
  return data ? data->Presents : 0;
}

gfx::Bitmap HeadlessPlatform::Screen() const {
  gfx::Bitmap screen(FOptions.ScreenSize.Width, FOptions.ScreenSize.Height);
  screen.Fill(FOptions.DesktopPixel);
  for (NativeWindow id : FZOrder) {
    const NativeWindowData& data = *Find(id);
    if (!data.Visible || data.State == WindowState::Minimized || data.Opacity == 0) continue;
    gfx::Region visible(data.Bounds.Offset(-data.Bounds.Left, -data.Bounds.Top));
    if (data.Shape) visible.Intersect(*data.Shape);
    for (const gfx::Rect& r : visible.Rects()) {
      gfx::Rect target = r.Offset(data.Bounds.Left, data.Bounds.Top).Intersect(screen.Bounds());
      for (int y = target.Top; y < target.Bottom; ++y) {
        gfx::Pixel* row = screen.Row(y);
        const gfx::Pixel* source = data.Pixels.Row(y - data.Bounds.Top);
        for (int x = target.Left; x < target.Right; ++x) {
          gfx::Pixel over = source[x - data.Bounds.Left];
          if (data.Opacity == 255) {
            row[x] = over;
          } else {
            gfx::Pixel under = row[x];
            row[x] = gfx::MakePixel(Blend(gfx::PixelRed(over), gfx::PixelRed(under), data.Opacity),
                                    Blend(gfx::PixelGreen(over), gfx::PixelGreen(under), data.Opacity),
                                    Blend(gfx::PixelBlue(over), gfx::PixelBlue(under), data.Opacity));
          }
        }
      }
    }
  }
  return screen;
}

}  // namespace platform::headless
