#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace platform {

// The notification-area icon with balloon messages, in the shape of the
// classic shell call: one record describes an icon, and a call adds,
// modifies or deletes it, or sets the notification behaviour. The numbers
// below are the classic ones, so the window system above can pass them on
// unchanged.

// The calls (dwMessage).
constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;
constexpr std::uint32_t NIM_SETVERSION = 4;

// Which fields of the record a call carries (NotifyIconData::Flags).
constexpr std::uint32_t NIF_MESSAGE = 0x01;
constexpr std::uint32_t NIF_ICON = 0x02;
constexpr std::uint32_t NIF_TIP = 0x04;
constexpr std::uint32_t NIF_STATE = 0x08;
constexpr std::uint32_t NIF_INFO = 0x10;

// State bits (NotifyIconData::State, changed where StateMask has them).
constexpr std::uint32_t NIS_HIDDEN = 0x01;
constexpr std::uint32_t NIS_SHAREDICON = 0x02;

// The notification behaviour SetVersion accepts: the classic one, where
// every notice below arrives as it stands.
constexpr std::uint32_t NotifyIconClassicVersion = 0;

// Notices about an icon, delivered as EventKind::NotifyIcon with one of
// these codes (the lParam of the classic callback message).
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr std::uint32_t NIN_BALLOONSHOW = 0x0400 + 2;
constexpr std::uint32_t NIN_BALLOONHIDE = 0x0400 + 3;
constexpr std::uint32_t NIN_BALLOONTIMEOUT = 0x0400 + 4;
constexpr std::uint32_t NIN_BALLOONUSERCLICK = 0x0400 + 5;

// The icon of a balloon; the values are those of the classic info flags
// (NIIF_NONE ... NIIF_ERROR), and the tray component uses this type as its
// own balloon kind.
enum TBalloonKind : std::uint8_t { bkNone = 0, bkInfo = 1, bkWarning = 2, bkError = 3 };

// The longest texts the area shows, in characters. Callers cut their texts
// to these; the services cut again, so longer texts are safe.
constexpr std::size_t NotifyTipLength = 127;
constexpr std::size_t NotifyInfoLength = 255;
constexpr std::size_t NotifyInfoTitleLength = 63;

// The record of every call (the classic NOTIFYICONDATA). Texts are UTF-8.
struct NotifyIconData {
  // Who owns the icon: the window that gets its callback messages. Together
  // with Id it names the icon.
  std::uintptr_t Owner = 0;
  // The owner's number for the icon (the tray component passes its own
  // address).
  std::uintptr_t Id = 0;
  // The NIF_ bits of the fields below that the call carries; the others
  // are ignored and keep their earlier values.
  std::uint32_t Flags = 0;
  // NIF_MESSAGE: the message number the owner gets the notices with.
  std::uint32_t CallbackMessage = 0;
  // NIF_ICON: the picture; an empty one gives a blank icon.
  gfx::Bitmap Icon;
  // NIF_TIP: the tooltip; empty for none.
  std::string Tip;
  // NIF_STATE: the new values of the state bits StateMask names.
  std::uint32_t State = 0;
  std::uint32_t StateMask = 0;
  // NIF_INFO: the balloon. A non-empty Info shows it (replacing a balloon
  // of this icon still shown), an empty one removes a shown balloon.
  std::string Info;
  std::string InfoTitle;
  // How long the balloon stays, milliseconds; 0 leaves it to the system.
  std::uint32_t Timeout = 0;
  TBalloonKind InfoKind = bkNone;
  // SetVersion: the notification behaviour asked for.
  std::uint32_t Version = 0;
};

// The shell's side of the notification area. Every call answers whether
// it succeeded and nothing else: it never throws and reports no error.
// Calls fail when no notification area is there, when Add names an icon
// that exists, and when Modify, Delete or SetVersion name one that does
// not. Notices arrive through Platform::NextEvent as EventKind::NotifyIcon
// (the icon, the callback message and the code) and
// EventKind::TaskbarCreated (the area started again: add the icons again;
// an Add that follows the notice succeeds for an icon the service still
// knows).
class NotifyIconService {
 public:
  virtual ~NotifyIconService() = default;

  // Puts the icon into the area with the fields data.Flags names.
  virtual bool Add(const NotifyIconData& data) = 0;
  // Changes the fields data.Flags names; with NIF_INFO shows or removes
  // the icon's balloon.
  virtual bool Modify(const NotifyIconData& data) = 0;
  // Removes the icon and a balloon of it still shown.
  virtual bool Delete(const NotifyIconData& data) = 0;
  // Sets the notification behaviour (data.Version); only the classic one,
  // NotifyIconClassicVersion, is there.
  virtual bool SetVersion(const NotifyIconData& data) = 0;

  // The classic single entry: one of the NIM_ calls by its number; an
  // unknown number fails.
  bool Call(std::uint32_t message, const NotifyIconData& data);
};

// The first maxCharacters characters of a text, made safe for every
// consumer: bytes that are not UTF-8 become U+FFFD and a NUL ends the text
// (as it ends the classic record's fixed text fields).
std::string CutNotifyText(std::string_view text, std::size_t maxCharacters);

}  // namespace platform
