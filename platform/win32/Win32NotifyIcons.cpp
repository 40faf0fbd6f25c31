#include "platform/win32/Win32NotifyIcons.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowsHeaders.h"

namespace platform::win32 {

namespace {

constexpr wchar_t ServiceClassName[] = L"OstvaneNotifyIcons";
// The message the shell sends the icons' notices with (wParam: the icon's
// number, lParam: the mouse message or the balloon notice).
constexpr UINT IconMessage = WM_APP + 1;

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

LRESULT CALLBACK ServiceProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(handle, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* service = reinterpret_cast<Win32NotifyIcons*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (service && message == IconMessage) {
    service->Notice(wParam, lParam);
    return 0;
  }
  if (service && message == TaskbarCreatedMessage() && message != 0) {
    service->TaskbarCreated();
    return 0;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

template <std::size_t N>
void CopyText(wchar_t (&field)[N], const std::string& text, std::size_t maxCharacters) {
  const std::wstring wide = ToWide(CutNotifyText(text, maxCharacters));
  const std::size_t length = std::min(wide.size(), N - 1);
  std::wmemcpy(field, wide.data(), length);
  field[length] = L'\0';
}

}  // namespace

Win32NotifyIcons::Win32NotifyIcons(Win32Platform& platform) : FPlatform(platform) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ServiceProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ServiceClassName;
    registered = RegisterClassExW(&windowClass) != 0;
  }
  TaskbarCreatedMessage();
  FWindow = CreateWindowExW(WS_EX_TOOLWINDOW, ServiceClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
}

Win32NotifyIcons::~Win32NotifyIcons() {
  for (auto& [key, icon] : FIcons) {
    if (icon.InArea) {
      NOTIFYICONDATAW record{};
      record.cbSize = sizeof record;
      record.hWnd = static_cast<HWND>(FWindow);
      record.uID = icon.Number;
      Shell_NotifyIconW(NIM_DELETE, &record);
    }
    if (icon.Handle) DestroyIcon(static_cast<HICON>(icon.Handle));
  }
  if (FWindow) DestroyWindow(static_cast<HWND>(FWindow));
}

bool Win32NotifyIcons::Send(std::uint32_t message, const NotifyIconData& data, Icon& icon, std::uint32_t flags) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = static_cast<HWND>(FWindow);
  record.uID = icon.Number;
  // The shell always calls back with the service's message; the owner's own
  // number goes into the event.
  record.uFlags = NIF_MESSAGE;
  record.uCallbackMessage = IconMessage;
  if (flags & NIF_ICON) {
    HICON next = data.Icon.IsEmpty() ? nullptr : CreateIconFromBitmap(data.Icon, GetSystemMetrics(SM_CXSMICON));
    if (!next) next = LoadIconW(nullptr, IDI_APPLICATION);
    if (icon.Handle) DestroyIcon(static_cast<HICON>(icon.Handle));
    icon.Handle = next;
  }
  if (icon.Handle) {
    record.uFlags |= NIF_ICON;
    record.hIcon = static_cast<HICON>(icon.Handle);
  }
  if (flags & NIF_TIP) {
    record.uFlags |= NIF_TIP;
    CopyText(record.szTip, data.Tip, NotifyTipLength);
  }
  if (flags & NIF_STATE) {
    record.uFlags |= NIF_STATE;
    record.dwState = data.State & (NIS_HIDDEN | NIS_SHAREDICON);
    record.dwStateMask = data.StateMask & (NIS_HIDDEN | NIS_SHAREDICON);
  }
  if (flags & NIF_INFO) {
    record.uFlags |= NIF_INFO;
    CopyText(record.szInfo, data.Info, NotifyInfoLength);
    CopyText(record.szInfoTitle, data.InfoTitle, NotifyInfoTitleLength);
    record.uTimeout = data.Timeout;
    record.dwInfoFlags = DWORD(data.InfoKind) & 0x3;
  }
  return Shell_NotifyIconW(message, &record) != FALSE;
}

bool Win32NotifyIcons::Add(const NotifyIconData& data) {
  const Key key{data.Owner, data.Id};
  auto found = FIcons.find(key);
  // Known and in the current area: an Add for an icon that exists fails.
  if (found != FIcons.end() && found->second.InArea) return false;
  Icon fresh;
  fresh.Number = FNextNumber++;
  Icon& icon = found != FIcons.end() ? found->second : fresh;
  if (data.Flags & NIF_MESSAGE) icon.Callback = data.CallbackMessage;
  bool added = Send(NIM_ADD, data, icon, data.Flags | NIF_ICON);
  // A TaskbarCreated that came without a new area (another program sent it)
  // leaves the icon there: bring it up to date instead.
  if (!added && &icon != &fresh) added = Send(NIM_MODIFY, data, icon, data.Flags | NIF_ICON);
  if (!added) {
    if (&icon == &fresh && fresh.Handle) DestroyIcon(static_cast<HICON>(fresh.Handle));
    return false;
  }
  icon.InArea = true;
  if (&icon == &fresh) FIcons.emplace(key, fresh);
  return true;
}

bool Win32NotifyIcons::Modify(const NotifyIconData& data) {
  auto found = FIcons.find(Key{data.Owner, data.Id});
  if (found == FIcons.end() || !found->second.InArea) return false;
  if (data.Flags & NIF_MESSAGE) found->second.Callback = data.CallbackMessage;
  return Send(NIM_MODIFY, data, found->second, data.Flags);
}

bool Win32NotifyIcons::Delete(const NotifyIconData& data) {
  auto found = FIcons.find(Key{data.Owner, data.Id});
  if (found == FIcons.end()) return false;
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = static_cast<HWND>(FWindow);
  record.uID = found->second.Number;
  const bool wasInArea = found->second.InArea;
  const bool removed = wasInArea && Shell_NotifyIconW(NIM_DELETE, &record) != FALSE;
  if (found->second.Handle) DestroyIcon(static_cast<HICON>(found->second.Handle));
  FIcons.erase(found);
  return removed || !wasInArea;
}

bool Win32NotifyIcons::SetVersion(const NotifyIconData& data) {
  const auto found = FIcons.find(Key{data.Owner, data.Id});
  if (found == FIcons.end()) return false;
  // Only the classic behaviour, which the shell has without being asked.
  return data.Version == NotifyIconClassicVersion;
}

void Win32NotifyIcons::Notice(std::uintptr_t number, std::intptr_t code) {
  for (const auto& [key, icon] : FIcons) {
    if (icon.Number != number) continue;
    FPlatform.PostNotifyIcon(key.first, key.second, icon.Callback, std::uint32_t(LOWORD(code)));
    return;
  }
}

void Win32NotifyIcons::TaskbarCreated() {
  // The new area has none of the icons: each may be added again.
  for (auto& entry : FIcons) entry.second.InArea = false;
  Event event;
  event.Kind = EventKind::TaskbarCreated;
  event.Time = TickNow();
  FPlatform.Post(std::move(event));
}

}  // namespace platform::win32
