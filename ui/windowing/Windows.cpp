#include "ui/windowing/Windows.h"

#include <algorithm>
#include <cstring>

#include "ui/windowing/DefaultFrame.h"
#include "ui/windowing/Desktop.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/ScreenUtils.h"

namespace ui {
namespace {

Window* FindWindow(HWND window) {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop ? desktop->Find(window) : nullptr;
}

platform::WindowKind KindFor(DWORD exStyle) {
  return (exStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE)) ? platform::WindowKind::Popup
                                                         : platform::WindowKind::Normal;
}

void CollectSubtree(Window* window, std::vector<HWND>& handles) {
  handles.push_back(window->Handle);
  for (Window* child : window->Children) CollectSubtree(child, handles);
}

bool InSubtree(Desktop& desktop, HWND root, HWND window) {
  for (Window* w = desktop.Find(window); w; w = w->Parent) {
    if (w->Handle == root) return true;
  }
  return false;
}

// WM_DESTROY goes to a window before its children.
void SendDestroy(Desktop& desktop, HWND handle) {
  Window* window = desktop.Find(handle);
  if (!window) return;
  window->Destroying = true;
  desktop.Send(handle, WM_DESTROY, 0, 0);
  window = desktop.Find(handle);
  if (!window) return;
  std::vector<HWND> children;
  for (Window* child : window->Children) children.push_back(child->Handle);
  for (HWND child : children) SendDestroy(desktop, child);
}

// WM_NCDESTROY goes to the children first; each window is forgotten right
// after its own.
void SendNcDestroy(Desktop& desktop, HWND handle) {
  Window* window = desktop.Find(handle);
  if (!window) return;
  std::vector<HWND> children;
  for (Window* child : window->Children) children.push_back(child->Handle);
  for (HWND child : children) SendNcDestroy(desktop, child);
  desktop.Send(handle, WM_NCDESTROY, 0, 0);
  if ((window = desktop.Find(handle))) desktop.ForgetWindow(window);
}

// A top-level window the activation can move to when the active one goes:
// its owner, else the most recent visible normal window.
HWND NextToActivate(Desktop& desktop, Window* leaving) {
  if (Window* owner = desktop.Find(leaving->Owner)) {
    if (owner->IsVisible() && !(owner->Style & (WS_DISABLED | WS_MINIMIZE)) && owner->Surface) {
      return owner->Handle;
    }
  }
  for (auto it = desktop.TopLevels.rbegin(); it != desktop.TopLevels.rend(); ++it) {
    Window* w = *it;
    if (w == leaving || !w->Surface || !w->IsVisible() || w->Destroying) continue;
    if (w->Style & (WS_DISABLED | WS_MINIMIZE)) continue;
    if (w->ExStyle & (WS_EX_NOACTIVATE | WS_EX_TOPMOST)) continue;
    return w->Handle;
  }
  return nullptr;
}

WPARAM SizeKind(const Window* window) {
  if (window->Style & WS_MINIMIZE) return SIZE_MINIMIZED;
  if (window->Style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}

gfx::Point ClientOriginInParent(const Window* window) {
  return gfx::Point{window->Bounds.Left + window->Client.Left, window->Bounds.Top + window->Client.Top};
}


// Puts a window at its new place among its siblings (insertAfter: a
// sibling it goes just below, or one of the HWND_ places). Top-level
// windows keep the topmost ones above the rest. True when a top-level
// window ended up on top of its group, so the native window must rise.
bool Restack(Desktop& desktop, Window* window, HWND insertAfter) {
  bool topLevel = window->Parent == nullptr;
  std::vector<Window*>& siblings = topLevel ? desktop.TopLevels : window->Parent->Children;
  DWORD wasTopmost = window->ExStyle & WS_EX_TOPMOST;
  if (insertAfter == HWND_TOPMOST) window->ExStyle |= WS_EX_TOPMOST;
  if (insertAfter == HWND_NOTOPMOST || (insertAfter == HWND_BOTTOM && topLevel)) window->ExStyle &= ~WS_EX_TOPMOST;
  if ((window->ExStyle & WS_EX_TOPMOST) != wasTopmost && window->Surface) {
    // Windows made topmost after their creation are normal native windows
    // that the platform keeps in a layer of their own.
    desktop.Platform.SetWindowTopmost(window->Surface->Native, wasTopmost == 0);
  }
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  Window* after = desktop.Find(insertAfter);
  auto found = after ? std::find(siblings.begin(), siblings.end(), after) : siblings.end();
  auto place = siblings.end();
  if (insertAfter == HWND_BOTTOM) {
    place = siblings.begin();
  } else if (found != siblings.end()) {
    // "After" in the classic order means just below that sibling.
    place = found;
  }
  bool topmost = (window->ExStyle & WS_EX_TOPMOST) != 0;
  if (topLevel) {
    // The first topmost window from the bottom starts the upper group.
    auto firstTopmost = std::find_if(siblings.begin(), siblings.end(),
                                     [](const Window* w) { return (w->ExStyle & WS_EX_TOPMOST) != 0; });
    if (!topmost && place > firstTopmost) place = firstTopmost;
    if (topmost && place < firstTopmost) place = firstTopmost;
  }
  place = siblings.insert(place, window);
  if (!topLevel || !window->Surface) return false;
  // On top of its group: nothing of the same group above it.
  for (auto it = place + 1; it != siblings.end(); ++it) {
    if (((*it)->ExStyle & WS_EX_TOPMOST) == (window->ExStyle & WS_EX_TOPMOST) && (*it)->Surface) return false;
  }
  return true;
}

}  // namespace

MinMaxInfo DefaultMinMaxInfo(const Window* window) {
  DefaultFrameMetrics frame = GetDefaultFrameMetrics(window->Style, window->ExStyle);
  gfx::Rect work = MonitorBoundsNear(window->Bounds, ScreenArea::WorkArea);
  gfx::Rect screen = GetVirtualScreen();
  MinMaxInfo info;
  int border = frame.Border + frame.Edge;
  info.MaxSize = gfx::Point{work.Width() + 2 * border, work.Height() + 2 * border};
  info.MaxPosition = gfx::Point{-border, -border};
  info.MinTrackSize = frame.Caption > 0 ? gfx::Point{112, frame.Caption + 2 * border} : gfx::Point{1, 1};
  info.MaxTrackSize = gfx::Point{screen.Width() + 2 * border + 8, screen.Height() + 2 * border + 8};
  return info;
}

// ---- Classes ----

bool RegisterClass(const WindowClass& windowClass) {
  Desktop& desktop = CurrentDesktop();
  if (windowClass.Name.empty() || desktop.Classes.count(windowClass.Name)) return false;
  desktop.Classes[windowClass.Name] = std::make_shared<const WindowClass>(windowClass);
  return true;
}

bool UnregisterClass(std::string_view name) {
  Desktop& desktop = CurrentDesktop();
  // Windows of the class keep their own reference to it.
  return desktop.Classes.erase(std::string(name)) != 0;
}

// ---- Creation and destruction ----

HWND CreateWindowEx(DWORD exStyle, std::string_view className, std::string_view windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    void* createParams) {
  Desktop& desktop = CurrentDesktop();
  auto found = desktop.Classes.find(std::string(className));
  if (found == desktop.Classes.end()) return nullptr;
  bool messageOnly = parent == HWND_MESSAGE;
  bool child = (style & WS_CHILD) && parent && !messageOnly;
  Window* parentWindow = child ? desktop.Find(parent) : nullptr;
  if (child && (!parentWindow || parentWindow->Destroying)) return nullptr;
  Window* owner = (!child && !messageOnly) ? Desktop::TopLevelOf(desktop.Find(parent)) : nullptr;

  if (x == CW_USEDEFAULT) x = y = 40;
  if (width == CW_USEDEFAULT) {
    width = 400;
    height = 300;
  }
  auto window = std::make_unique<Window>();
  window->Handle = reinterpret_cast<HWND>(desktop.NextHandle);
  desktop.NextHandle += 4;
  window->Class = found->second;
  window->Procedure = found->second->Procedure;
  // Visibility and the window states are applied once the window exists.
  window->Style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  window->ExStyle = exStyle;
  window->Bounds = gfx::Rect::FromSize(x, y, std::max(0, width), std::max(0, height));
  window->Client = gfx::Rect{0, 0, window->Bounds.Width(), window->Bounds.Height()};
  window->Owner = owner ? owner->Handle : nullptr;
  window->MessageOnly = messageOnly;
  window->Parent = parentWindow;
  if (!child && !messageOnly) {
    auto surface = std::make_unique<TopLevelSurface>();
    platform::WindowOptions options;
    options.Kind = KindFor(exStyle);
    options.Bounds = window->Bounds;
    options.Title = std::string(windowName);
    surface->Native = desktop.Platform.CreateWindow(options);
    // A popup made topmost from the start stays above the normal windows
    // of other programs too.
    if (exStyle & WS_EX_TOPMOST) desktop.Platform.SetWindowTopmost(surface->Native, true);
    surface->BackBuffer = std::make_shared<gfx::Bitmap>(window->Bounds.Width(), window->Bounds.Height());
    window->Surface = std::move(surface);
  }
  HWND handle = window->Handle;
  Window* raw = window.get();
  desktop.Windows[reinterpret_cast<std::uintptr_t>(handle)] = std::move(window);
  if (parentWindow) {
    parentWindow->Children.push_back(raw);
  } else if (exStyle & WS_EX_TOPMOST) {
    desktop.TopLevels.push_back(raw);
  } else {
    // A new normal window starts below the topmost ones.
    auto& tops = desktop.TopLevels;
    tops.insert(std::find_if(tops.begin(), tops.end(), [](const Window* w) { return (w->ExStyle & WS_EX_TOPMOST) != 0; }),
                raw);
  }

  CreateStruct create;
  create.CreateParams = createParams;
  create.Parent = parent;
  create.ClassName = std::string(className);
  create.WindowName = std::string(windowName);
  create.Style = style;
  create.ExStyle = exStyle;
  create.X = x;
  create.Y = y;
  create.Width = width;
  create.Height = height;

  if (!child && !messageOnly) {
    MinMaxInfo info = DefaultMinMaxInfo(raw);
    desktop.Send(handle, WM_GETMINMAXINFO, 0, ToLParam(&info));
    if (!(raw = desktop.Find(handle))) return nullptr;
    if (raw->Style & (WS_THICKFRAME | WS_CAPTION)) {
      int w = std::min(raw->Bounds.Width(), info.MaxTrackSize.X);
      int h = std::min(raw->Bounds.Height(), info.MaxTrackSize.Y);
      raw->Bounds = gfx::Rect::FromSize(raw->Bounds.Left, raw->Bounds.Top, w, h);
    }
  }
  if (!desktop.Send(handle, WM_NCCREATE, 0, ToLParam(&create))) {
    if ((raw = desktop.Find(handle))) {
      raw->Destroying = true;
      desktop.Send(handle, WM_NCDESTROY, 0, 0);
      if ((raw = desktop.Find(handle))) desktop.ForgetWindow(raw);
    }
    return nullptr;
  }
  if (!(raw = desktop.Find(handle))) return nullptr;
  gfx::Rect client = raw->Bounds;
  desktop.Send(handle, WM_NCCALCSIZE, 0, ToLParam(&client));
  if (!(raw = desktop.Find(handle))) return nullptr;
  raw->Client = client.Offset(-raw->Bounds.Left, -raw->Bounds.Top);
  desktop.ResizeSurface(raw);
  if (desktop.Send(handle, WM_CREATE, 0, ToLParam(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (!(raw = desktop.Find(handle))) return nullptr;
  // Ancestors hear about a new child unless one of them opted out.
  for (Window* w = raw; w->Parent && !(w->ExStyle & WS_EX_NOPARENTNOTIFY); w = w->Parent) {
    HWND ancestor = w->Parent->Handle;
    desktop.Send(ancestor, WM_PARENTNOTIFY, MakeWParam(int(WM_CREATE), int(raw->Id)), LPARAM(handle));
    if (!(raw = desktop.Find(handle)) || !desktop.Find(ancestor)) break;
  }
  if (!(raw = desktop.Find(handle))) return nullptr;
  desktop.Send(handle, WM_SIZE, SizeKind(raw), MakeLParam(raw->Client.Width(), raw->Client.Height()));
  if (!(raw = desktop.Find(handle))) return nullptr;
  gfx::Point origin = ClientOriginInParent(raw);
  desktop.Send(handle, WM_MOVE, 0, MakeLParam(origin.X, origin.Y));
  if (!desktop.Find(handle)) return nullptr;
  if (style & WS_MAXIMIZE) ShowWindow(handle, SW_SHOWMAXIMIZED);
  else if (style & WS_MINIMIZE) ShowWindow(handle, SW_SHOWMINNOACTIVE);
  else if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return desktop.Find(handle) ? handle : nullptr;
}

bool DestroyWindow(HWND handle) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  Window* window = desktop->Find(handle);
  if (!window || window->Destroying) return false;

  // Owned windows go first.
  std::vector<HWND> owned;
  for (Window* top : desktop->TopLevels) {
    if (top->Owner == handle) owned.push_back(top->Handle);
  }
  for (HWND w : owned) DestroyWindow(w);
  if (!(window = desktop->Find(handle)) || window->Destroying) return false;

  if (window->Parent && !(window->ExStyle & WS_EX_NOPARENTNOTIFY)) {
    HWND parent = window->Parent->Handle;
    desktop->Send(parent, WM_PARENTNOTIFY, MakeWParam(int(WM_DESTROY), int(window->Id)), LPARAM(handle));
    if (!(window = desktop->Find(handle)) || window->Destroying) return false;
  }
  if (window->Style & WS_VISIBLE) {
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(window = desktop->Find(handle)) || window->Destroying) return false;
  }
  if (desktop->Active == handle) {
    desktop->Activate(NextToActivate(*desktop, window), WA_ACTIVE, Desktop::TellPlatform::Yes);
    if (!(window = desktop->Find(handle)) || window->Destroying) return false;
  }
  if (desktop->Capture && InSubtree(*desktop, handle, desktop->Capture)) {
    desktop->ChangeCapture(nullptr);
    if (!(window = desktop->Find(handle)) || window->Destroying) return false;
  }
  if (desktop->Focus && InSubtree(*desktop, handle, desktop->Focus)) {
    desktop->ChangeFocus(nullptr);
    if (!(window = desktop->Find(handle)) || window->Destroying) return false;
  }
  SendDestroy(*desktop, handle);
  SendNcDestroy(*desktop, handle);
  return true;
}

void Desktop::ForgetWindow(Window* window) {
  HWND handle = window->Handle;
  // Children that survived their own notices (a handler re-parented
  // nothing; they only remain when WM_NCDESTROY was skipped) go first.
  while (!window->Children.empty()) ForgetWindow(window->Children.back());
  if (window->Parent) {
    auto& siblings = window->Parent->Children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  } else {
    TopLevels.erase(std::remove(TopLevels.begin(), TopLevels.end(), window), TopLevels.end());
  }
  if (Capture == handle) {
    Capture = nullptr;
    Platform.ReleasePointer();
  }
  if (Focus == handle) Focus = nullptr;
  if (Active == handle) Active = nullptr;
  if (MouseWindow == handle) MouseWindow = nullptr;
  if (LastClickWindow == handle) LastClickWindow = nullptr;
  std::erase_if(LeaveTracking, [&](const MouseLeaveTracking& t) { return t.Window == handle; });
  std::erase_if(Timers, [&](const Timer& t) { return t.Window == handle; });
  std::erase_if(Posted, [&](const TMsg& m) { return m.Window == handle; });
  std::erase_if(Input, [&](const TMsg& m) { return m.Window == handle; });
  PaintPending.erase(reinterpret_cast<std::uintptr_t>(handle));
  for (Window* top : TopLevels) {
    if (top->Owner == handle) top->Owner = nullptr;
  }
  // Contexts still open keep the surface alive and draw into nothing that
  // is shown; ReleaseDC frees them.
  if (window->Surface) Platform.DestroyWindow(window->Surface->Native);
  Windows.erase(reinterpret_cast<std::uintptr_t>(handle));
}

bool IsWindow(HWND window) { return FindWindow(window) != nullptr; }

// ---- Tree ----

HWND GetParent(HWND handle) {
  Window* window = FindWindow(handle);
  if (!window) return nullptr;
  return window->Parent ? window->Parent->Handle : window->Owner;
}

HWND GetAncestor(HWND handle, UINT flags) {
  Window* window = FindWindow(handle);
  if (!window) return nullptr;
  switch (flags) {
    case GA_PARENT: return window->Parent ? window->Parent->Handle : nullptr;
    case GA_ROOT: return Desktop::TopLevelOf(window)->Handle;
    case GA_ROOTOWNER: {
      Window* root = Desktop::TopLevelOf(window);
      Desktop& desktop = CurrentDesktop();
      while (Window* owner = desktop.Find(root->Owner)) root = owner;
      return root->Handle;
    }
    default: return nullptr;
  }
}

bool IsChild(HWND parent, HWND handle) {
  Window* window = FindWindow(handle);
  if (!window || !parent) return false;
  for (Window* w = window->Parent; w; w = w->Parent) {
    if (w->Handle == parent) return true;
  }
  return false;
}

HWND GetWindow(HWND handle, UINT relation) {
  Window* window = FindWindow(handle);
  if (!window) return nullptr;
  if (relation == GW_CHILD) return window->Children.empty() ? nullptr : window->Children.back()->Handle;
  if (relation == GW_OWNER) return window->Owner;
  Desktop& desktop = CurrentDesktop();
  const std::vector<Window*>& siblings = window->Parent ? window->Parent->Children : desktop.TopLevels;
  if (siblings.empty()) return nullptr;
  // Sibling lists run bottom to top; the classic relations count from the
  // top.
  auto it = std::find(siblings.begin(), siblings.end(), window);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.back()->Handle;
    case GW_HWNDLAST: return siblings.front()->Handle;
    case GW_HWNDNEXT: return it == siblings.begin() ? nullptr : (*(it - 1))->Handle;
    case GW_HWNDPREV: return it + 1 == siblings.end() ? nullptr : (*(it + 1))->Handle;
    default: return nullptr;
  }
}

HWND SetParent(HWND handle, HWND newParent) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window || window->Destroying || window->MessageOnly) return nullptr;
  Window* parent = nullptr;
  if (newParent) {
    parent = desktop->Find(newParent);
    if (!parent || parent->Destroying || parent->MessageOnly || InSubtree(*desktop, handle, newParent)) {
      return nullptr;
    }
  }
  Window* oldParent = window->Parent;
  HWND oldParentHandle = oldParent ? oldParent->Handle : nullptr;
  if (parent == oldParent) {
    // Same place: only the z-order changes, as for a new arrival.
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return oldParentHandle;
  }
  Window* oldTop = Desktop::TopLevelOf(window);
  Window* newTop = parent ? Desktop::TopLevelOf(parent) : window;
  bool leavesTopLevel = newTop != oldTop;

  // What the window held in its old top-level window goes first, with the
  // usual notices, while the tree is still whole.
  if (leavesTopLevel) {
    if (desktop->Active == handle) {
      // An active top-level window becoming a child hands the activation
      // to its new top-level window (or on).
      Window* next = newTop->IsVisible() && !(newTop->Style & (WS_DISABLED | WS_MINIMIZE)) ? newTop : nullptr;
      desktop->Activate(next ? next->Handle : NextToActivate(*desktop, window), WA_ACTIVE,
                        Desktop::TellPlatform::Yes);
      if (!(window = desktop->Find(handle))) return nullptr;
    }
    if (desktop->Focus && InSubtree(*desktop, handle, desktop->Focus)) {
      desktop->ChangeFocus(nullptr);
      if (!(window = desktop->Find(handle))) return nullptr;
    }
    if (desktop->Capture && InSubtree(*desktop, handle, desktop->Capture)) {
      desktop->ChangeCapture(nullptr);
      if (!(window = desktop->Find(handle))) return nullptr;
    }
    // A handler may have destroyed or moved the parent meanwhile.
    if (newParent && (!(parent = desktop->Find(newParent)) || parent->Destroying ||
                      InSubtree(*desktop, handle, newParent))) {
      return nullptr;
    }
    oldParent = window->Parent;
    oldParentHandle = oldParent ? oldParent->Handle : nullptr;
  }
  bool wasVisible = window->IsVisible();
  gfx::Rect oldBounds = window->Bounds;

  // Out of the old sibling list, into the new one on top.
  std::vector<Window*>& oldSiblings = oldParent ? oldParent->Children : desktop->TopLevels;
  oldSiblings.erase(std::remove(oldSiblings.begin(), oldSiblings.end(), window), oldSiblings.end());
  window->Parent = parent;
  if (parent) {
    parent->Children.push_back(window);
    window->Style |= WS_CHILD;
    window->Style &= ~WS_POPUP;
    // Windows it owned follow its new top-level window.
    for (Window* top : desktop->TopLevels) {
      if (top->Owner == handle) top->Owner = Desktop::TopLevelOf(parent)->Handle;
    }
    window->Owner = nullptr;
    if (window->Surface) {
      desktop->Platform.DestroyWindow(window->Surface->Native);
      window->Surface.reset();
    }
  } else {
    desktop->TopLevels.push_back(window);
    window->Style &= ~WS_CHILD;
    window->Owner = nullptr;
    Restack(*desktop, window, HWND_TOP);
    auto surface = std::make_unique<TopLevelSurface>();
    platform::WindowOptions options;
    options.Kind = KindFor(window->ExStyle);
    options.Bounds = window->Bounds;
    options.Title = window->Text;
    surface->Native = desktop->Platform.CreateWindow(options);
    surface->BackBuffer = std::make_shared<gfx::Bitmap>(window->Bounds.Width(), window->Bounds.Height());
    window->Surface = std::move(surface);
    platform::NativeWindow native = window->Surface->Native;
    if (window->Shape) desktop->Platform.SetWindowShape(native, &*window->Shape);
    if ((window->ExStyle & WS_EX_LAYERED) && window->Alpha != 255) {
      desktop->Platform.SetWindowOpacity(native, window->Alpha);
    }
    if (!window->Icon.IsEmpty()) desktop->Platform.SetWindowIcon(native, window->Icon);
    if (window->Style & WS_VISIBLE) desktop->Platform.ShowWindow(native, platform::ShowMode::ShowNoActivate);
  }
  // Its pixels now belong to another surface, under another clip.
  if (oldParent && wasVisible) desktop->InvalidateUncovered(oldParent, oldBounds);
  if (window->IsVisible()) desktop->InvalidateTree(window);
  return oldParentHandle;
}

std::vector<HWND> GetChildWindows(HWND parent) {
  std::vector<HWND> children;
  if (Window* window = FindWindow(parent)) {
    for (auto it = window->Children.rbegin(); it != window->Children.rend(); ++it) {
      children.push_back((*it)->Handle);
    }
  }
  return children;
}

std::vector<HWND> GetTopLevelWindows() {
  std::vector<HWND> windows;
  if (Desktop* desktop = CurrentDesktopOrNull()) {
    for (Window* w : desktop->TopLevels) windows.push_back(w->Handle);
  }
  return windows;
}

std::string GetClassName(HWND handle) {
  Window* window = FindWindow(handle);
  return window ? window->Class->Name : std::string();
}

// ---- Procedures ----

WNDPROC GetWindowProc(HWND handle) {
  Window* window = FindWindow(handle);
  return window ? window->Procedure : nullptr;
}

WNDPROC SetWindowProc(HWND handle, WNDPROC procedure) {
  Window* window = FindWindow(handle);
  if (!window) return nullptr;
  WNDPROC previous = std::move(window->Procedure);
  window->Procedure = std::move(procedure);
  return previous;
}

LRESULT CallWindowProc(const WNDPROC& procedure, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) {
  if (!procedure) return DefWindowProc(window, message, wParam, lParam);
  // A copy keeps the procedure alive should it be replaced while it runs.
  WNDPROC keep = procedure;
  return (*keep)(window, message, wParam, lParam);
}

// ---- Styles and data ----

LONG_PTR GetWindowLong(HWND handle, int index) {
  Window* window = FindWindow(handle);
  if (!window) return 0;
  switch (index) {
    case GWL_STYLE: return LONG_PTR(window->Style);
    case GWL_EXSTYLE: return LONG_PTR(window->ExStyle);
    case GWL_ID: return window->Id;
    case GWL_USERDATA: return window->UserData;
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(handle));
    default: return 0;
  }
}

LONG_PTR SetWindowLong(HWND handle, int index, LONG_PTR value) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return 0;
  LONG_PTR previous = GetWindowLong(handle, index);
  switch (index) {
    case GWL_STYLE:
      window->Style = DWORD(value);
      break;
    case GWL_EXSTYLE: {
      DWORD old = window->ExStyle;
      window->ExStyle = DWORD(value);
      // Leaving the layered style makes the window opaque again.
      if ((old & WS_EX_LAYERED) && !(window->ExStyle & WS_EX_LAYERED) && window->Surface) {
        window->Alpha = 255;
        desktop->Platform.SetWindowOpacity(window->Surface->Native, 255);
      }
      break;
    }
    case GWL_ID: window->Id = value; break;
    case GWL_USERDATA: window->UserData = value; break;
    case GWL_HWNDPARENT:
      if (!window->Parent) {
        Window* owner = Desktop::TopLevelOf(desktop->Find(reinterpret_cast<HWND>(value)));
        window->Owner = owner && owner != window ? owner->Handle : nullptr;
      }
      break;
    default: return 0;
  }
  return previous;
}

// ---- Geometry ----

bool GetWindowRect(HWND handle, gfx::Rect& rect) {
  Window* window = FindWindow(handle);
  if (!window) return false;
  rect = Desktop::ScreenBounds(window);
  return true;
}

bool GetClientRect(HWND handle, gfx::Rect& rect) {
  Window* window = FindWindow(handle);
  if (!window) return false;
  rect = gfx::Rect{0, 0, window->Client.Width(), window->Client.Height()};
  return true;
}

bool ClientToScreen(HWND handle, gfx::Point& point) {
  Window* window = FindWindow(handle);
  if (!window) return false;
  gfx::Point origin = Desktop::ClientOriginOnScreen(window);
  point = gfx::Point{point.X + origin.X, point.Y + origin.Y};
  return true;
}

bool ScreenToClient(HWND handle, gfx::Point& point) {
  Window* window = FindWindow(handle);
  if (!window) return false;
  gfx::Point origin = Desktop::ClientOriginOnScreen(window);
  point = gfx::Point{point.X - origin.X, point.Y - origin.Y};
  return true;
}

gfx::Point MapWindowPoint(HWND from, HWND to, gfx::Point point) {
  if (from) ClientToScreen(from, point);
  if (to) ScreenToClient(to, point);
  return point;
}

bool SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  if ((flags & SWP_SHOWWINDOW) && (window->Style & WS_VISIBLE)) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !(window->Style & WS_VISIBLE)) flags &= ~SWP_HIDEWINDOW;
  if (window->MessageOnly) flags &= ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW);

  WindowPos position{handle, insertAfter, x, y, width, height, flags};
  if (flags & SWP_NOMOVE) {
    position.X = window->Bounds.Left;
    position.Y = window->Bounds.Top;
  }
  if (flags & SWP_NOSIZE) {
    position.Width = window->Bounds.Width();
    position.Height = window->Bounds.Height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    desktop->Send(handle, WM_WINDOWPOSCHANGING, 0, ToLParam(&position));
    if (!(window = desktop->Find(handle))) return false;
  }
  flags = position.Flags;
  gfx::Rect old = window->Bounds;
  gfx::Rect bounds = gfx::Rect::FromSize(
      (flags & SWP_NOMOVE) ? old.Left : position.X, (flags & SWP_NOMOVE) ? old.Top : position.Y,
      std::max(0, (flags & SWP_NOSIZE) ? old.Width() : position.Width),
      std::max(0, (flags & SWP_NOSIZE) ? old.Height() : position.Height));
  bool moved = bounds.TopLeft() != old.TopLeft();
  bool sized = bounds.Width() != old.Width() || bounds.Height() != old.Height();
  bool wasVisible = window->IsVisible();
  gfx::Rect oldClient = window->Client;

  if (sized || (flags & SWP_FRAMECHANGED)) {
    CalcSizeParams params;
    params.Rects[0] = bounds;
    params.Rects[1] = old;
    params.Rects[2] = oldClient.Offset(old.Left, old.Top);
    params.Position = &position;
    desktop->Send(handle, WM_NCCALCSIZE, 1, ToLParam(&params));
    if (!(window = desktop->Find(handle))) return false;
    gfx::Rect client = params.Rects[0];
    client.Right = std::max(client.Right, client.Left);
    client.Bottom = std::max(client.Bottom, client.Top);
    window->Client = client.Offset(-bounds.Left, -bounds.Top);
  }
  window->Bounds = bounds;

  bool raisedTopLevel = false;
  bool loweredTopLevel = false;
  if (!(flags & SWP_NOZORDER)) {
    raisedTopLevel = Restack(*desktop, window, position.InsertAfter);
    loweredTopLevel = !window->Parent && position.InsertAfter == HWND_BOTTOM;
    if (window->IsVisible() && window->Parent) desktop->InvalidateTree(window);
  }
  if (flags & SWP_SHOWWINDOW) window->Style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) window->Style &= ~WS_VISIBLE;

  if (window->Surface) {
    platform::NativeWindow native = window->Surface->Native;
    if ((moved || sized) && !desktop->ApplyingPlatformChange) desktop->Platform.SetWindowBounds(native, bounds);
    if (sized) desktop->ResizeSurface(window);
    if (flags & SWP_SHOWWINDOW) {
      desktop->InvalidateTree(window);
      desktop->Platform.ShowWindow(native, platform::ShowMode::ShowNoActivate);
    }
    if (flags & SWP_HIDEWINDOW) desktop->Platform.ShowWindow(native, platform::ShowMode::Hide);
    // Showing raises the native window already.
    if (raisedTopLevel && !(flags & SWP_SHOWWINDOW)) desktop->Platform.RaiseWindow(native);
    if (loweredTopLevel) desktop->Platform.LowerWindow(native);
  }
  bool nowVisible = window->IsVisible();
  if (!(flags & SWP_NOREDRAW)) {
    if (window->Parent && wasVisible && (moved || sized || !nowVisible)) {
      desktop->InvalidateUncovered(window->Parent, old);
    }
    if (nowVisible && (sized || (flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)) ||
                       (moved && window->Parent))) {
      desktop->InvalidateTree(window);
    }
  }
  // Hiding gives up what the window held.
  if (flags & SWP_HIDEWINDOW) {
    if (desktop->Capture && InSubtree(*desktop, handle, desktop->Capture)) desktop->ChangeCapture(nullptr);
    if (!(window = desktop->Find(handle))) return false;
    if (desktop->Active == handle) {
      desktop->Activate(NextToActivate(*desktop, window), WA_ACTIVE, Desktop::TellPlatform::Yes);
      if (!(window = desktop->Find(handle))) return false;
    }
  }

  if (!moved) position.Flags |= SWP_NOMOVE;
  if (!sized) position.Flags |= SWP_NOSIZE;
  position.X = bounds.Left;
  position.Y = bounds.Top;
  position.Width = bounds.Width();
  position.Height = bounds.Height();
  desktop->Send(handle, WM_WINDOWPOSCHANGED, 0, ToLParam(&position));
  if (!(window = desktop->Find(handle))) return true;

  if ((flags & SWP_SHOWWINDOW || raisedTopLevel) && !(flags & SWP_NOACTIVATE) && window->Surface &&
      !(window->ExStyle & WS_EX_NOACTIVATE) && window->IsVisible()) {
    desktop->Activate(handle, WA_ACTIVE, Desktop::TellPlatform::Yes);
  }
  return true;
}

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(HWND handle) {
  Window* window = FindWindow(handle);
  if (!window) return false;
  if (!SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE)) return false;
  Desktop& desktop = CurrentDesktop();
  if (!(window = desktop.Find(handle))) return false;
  if (window->Surface && !(window->ExStyle & WS_EX_NOACTIVATE) && window->IsVisible()) {
    desktop.Activate(handle, WA_ACTIVE, Desktop::TellPlatform::Yes);
  }
  return true;
}

// ---- Visibility and state ----

namespace {

void Minimize(Desktop& desktop, HWND handle) {
  Window* window = desktop.Find(handle);
  if (!window || !window->Surface || (window->Style & WS_MINIMIZE)) return;
  window->Style |= WS_MINIMIZE;
  if (!desktop.ApplyingPlatformChange) {
    desktop.Platform.SetWindowState(window->Surface->Native, platform::WindowState::Minimized);
  }
  if (desktop.Active == handle) {
    desktop.Activate(nullptr, WA_ACTIVE, Desktop::TellPlatform::No);
    if (!(window = desktop.Find(handle))) return;
  }
  desktop.Send(handle, WM_SIZE, SIZE_MINIMIZED, 0);
}

void Maximize(Desktop& desktop, HWND handle) {
  Window* window = desktop.Find(handle);
  if (!window || !window->Surface) return;
  if (window->Style & WS_MINIMIZE) {
    window->Style &= ~WS_MINIMIZE;
    desktop.Platform.SetWindowState(window->Surface->Native, platform::WindowState::Normal);
  }
  if (window->Style & WS_MAXIMIZE) return;
  window->RestoreBounds = window->Bounds;
  MinMaxInfo info = DefaultMinMaxInfo(window);
  desktop.Send(handle, WM_GETMINMAXINFO, 0, ToLParam(&info));
  if (!(window = desktop.Find(handle))) return;
  gfx::Rect work = MonitorBoundsNear(window->Bounds, ScreenArea::WorkArea);
  window->Style |= WS_MAXIMIZE;
  SetWindowPos(handle, nullptr, work.Left + info.MaxPosition.X, work.Top + info.MaxPosition.Y,
               info.MaxSize.X, info.MaxSize.Y, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Restore(Desktop& desktop, HWND handle) {
  Window* window = desktop.Find(handle);
  if (!window || !window->Surface) return;
  if (window->Style & WS_MINIMIZE) {
    window->Style &= ~WS_MINIMIZE;
    if (!desktop.ApplyingPlatformChange) {
      desktop.Platform.SetWindowState(window->Surface->Native, platform::WindowState::Normal);
    }
    desktop.InvalidateTree(window);
    desktop.Send(handle, WM_SIZE, SizeKind(window),
                 MakeLParam(window->Client.Width(), window->Client.Height()));
    return;
  }
  if (!(window->Style & WS_MAXIMIZE)) return;
  window->Style &= ~WS_MAXIMIZE;
  gfx::Rect target = window->RestoreBounds.value_or(window->Bounds);
  window->RestoreBounds.reset();
  desktop.InvalidateFrame(window);
  SetWindowPos(handle, nullptr, target.Left, target.Top, target.Width(), target.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

bool ShowWindow(HWND handle, int command) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  bool wasVisible = (window->Style & WS_VISIBLE) != 0;
  bool activate = false;
  bool show = true;
  switch (command) {
    case SW_HIDE:
      show = false;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      Restore(*desktop, handle);
      activate = true;
      break;
    case SW_SHOWNOACTIVATE:
      Restore(*desktop, handle);
      break;
    case SW_SHOW:
      activate = true;
      break;
    case SW_SHOWNA:
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      Minimize(*desktop, handle);
      break;
    case SW_SHOWMAXIMIZED:
      Maximize(*desktop, handle);
      activate = true;
      break;
    default:
      return wasVisible;
  }
  if (!(window = desktop->Find(handle))) return wasVisible;
  if (window->Style & WS_MINIMIZE) activate = false;
  if (!show) {
    if (!wasVisible) return false;
    desktop->Send(handle, WM_SHOWWINDOW, 0, 0);
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
  }
  if (!wasVisible && !window->MessageOnly) {
    desktop->Send(handle, WM_SHOWWINDOW, 1, 0);
    if (!desktop->Find(handle)) return false;
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     (activate ? 0 : SWP_NOACTIVATE));
  } else if (activate && window->Surface && !(window->ExStyle & WS_EX_NOACTIVATE) && wasVisible) {
    desktop->Activate(handle, WA_ACTIVE, Desktop::TellPlatform::Yes);
  }
  return wasVisible;
}

bool IsWindowVisible(HWND handle) {
  Window* window = FindWindow(handle);
  return window && window->IsVisible();
}

bool IsIconic(HWND handle) {
  Window* window = FindWindow(handle);
  return window && (window->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND handle) {
  Window* window = FindWindow(handle);
  return window && (window->Style & WS_MAXIMIZE);
}

bool EnableWindow(HWND handle, bool enable) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  bool wasDisabled = (window->Style & WS_DISABLED) != 0;
  if (enable == !wasDisabled) return wasDisabled;
  if (enable) {
    window->Style &= ~WS_DISABLED;
  } else {
    window->Style |= WS_DISABLED;
    if (desktop->Focus && InSubtree(*desktop, handle, desktop->Focus)) desktop->ChangeFocus(nullptr);
    if (desktop->Find(handle) && desktop->Capture == handle) desktop->Send(handle, WM_CANCELMODE, 0, 0);
    if (desktop->Find(handle) && desktop->Capture == handle) desktop->ChangeCapture(nullptr);
  }
  desktop->Send(handle, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool IsWindowEnabled(HWND handle) {
  Window* window = FindWindow(handle);
  return window && !(window->Style & WS_DISABLED);
}

HWND WindowFromPoint(gfx::Point screen) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return nullptr;
  platform::NativeWindow native = platform::NoWindow;
  // The platform knows the stacking of the native windows; ask it through
  // the topmost of ours that holds the point.
  for (auto it = desktop->TopLevels.rbegin(); it != desktop->TopLevels.rend(); ++it) {
    Window* top = *it;
    if (!top->Surface || !top->IsVisible() || (top->Style & WS_MINIMIZE)) continue;
    if (Window* hit = desktop->ChildFromScreenPoint(top, screen)) {
      if (top->ExStyle & WS_EX_TOPMOST) return hit->Handle;
      if (native == platform::NoWindow) native = top->Surface->Native;
    }
  }
  Window* top = desktop->FromNative(native);
  Window* hit = top ? desktop->ChildFromScreenPoint(top, screen) : nullptr;
  return hit ? hit->Handle : nullptr;
}

HWND ChildWindowFromPoint(HWND parent, gfx::Point client) {
  Window* window = FindWindow(parent);
  if (!window) return nullptr;
  if (!gfx::Rect{0, 0, window->Client.Width(), window->Client.Height()}.Contains(client)) return nullptr;
  for (auto it = window->Children.rbegin(); it != window->Children.rend(); ++it) {
    Window* child = *it;
    if (!(child->Style & WS_VISIBLE) || !child->Bounds.Contains(client)) continue;
    if (child->Shape && !child->Shape->Contains(gfx::Point{client.X - child->Bounds.Left,
                                                           client.Y - child->Bounds.Top})) {
      continue;
    }
    return child->Handle;
  }
  return parent;
}

// ---- Text and icon ----

bool SetWindowText(HWND window, std::string_view text) {
  std::string copy(text);
  return SendMessage(window, WM_SETTEXT, 0, ToLParam(copy.c_str())) != 0;
}

std::string GetWindowText(HWND window) {
  int length = GetWindowTextLength(window);
  std::string text(std::size_t(length) + 1, '\0');
  LRESULT copied = SendMessage(window, WM_GETTEXT, WPARAM(text.size()), ToLParam(text.data()));
  text.resize(std::size_t(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

int GetWindowTextLength(HWND window) { return int(SendMessage(window, WM_GETTEXTLENGTH, 0, 0)); }

bool SetWindowIcon(HWND handle, const gfx::Bitmap& icon) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  window->Icon = icon;
  if (window->Surface) desktop->Platform.SetWindowIcon(window->Surface->Native, icon);
  desktop->InvalidateFrame(window);
  return true;
}

// ---- Region and opacity ----

bool SetWindowRgn(HWND handle, std::optional<gfx::Region> region, bool redraw) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  window->Shape = std::move(region);
  if (window->Surface) {
    desktop->Platform.SetWindowShape(window->Surface->Native, window->Shape ? &*window->Shape : nullptr);
  }
  if (redraw && window->IsVisible()) {
    if (window->Parent) desktop->InvalidateUncovered(window->Parent, window->Bounds);
    desktop->InvalidateTree(window);
  }
  return true;
}

std::optional<gfx::Region> GetWindowRgn(HWND handle) {
  Window* window = FindWindow(handle);
  return window ? window->Shape : std::nullopt;
}

bool SetLayeredWindowAttributes(HWND handle, gfx::Color, std::uint8_t alpha, DWORD flags) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window || !(window->ExStyle & WS_EX_LAYERED)) return false;
  if (flags & LWA_ALPHA) {
    window->Alpha = alpha;
    if (window->Surface) desktop->Platform.SetWindowOpacity(window->Surface->Native, alpha);
  }
  return true;
}

bool GetLayeredWindowAttributes(HWND handle, std::uint8_t& alpha) {
  Window* window = FindWindow(handle);
  if (!window || !(window->ExStyle & WS_EX_LAYERED)) return false;
  alpha = window->Alpha;
  return true;
}

}  // namespace ui
