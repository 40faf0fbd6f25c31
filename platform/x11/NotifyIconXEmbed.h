#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "platform/x11/PixelFormat.h"

struct _XDisplay;
struct _XGC;
union _XEvent;

namespace platform::x11 {

using XId = unsigned long;

// What every XEmbed icon of one connection shares.
struct XEmbedContext {
  _XDisplay* Display = nullptr;
  int Screen = 0;
  XId Root = 0;
  _XGC* Gc = nullptr;
  int Depth = 24;
  PixelFormat Format;
  XId EmbedInfoAtom = 0;     // _XEMBED_INFO
  XId TrayOpcodeAtom = 0;    // _NET_SYSTEM_TRAY_OPCODE
  XId WindowTypeAtom = 0;    // _NET_WM_WINDOW_TYPE
  XId TooltipTypeAtom = 0;   // _NET_WM_WINDOW_TYPE_TOOLTIP
  int DoubleClickTime = 500;
};

// One icon docked into an XEmbed tray (the System Tray Protocol): a 22x22
// window the tray reparents into itself, painted from the icon on every
// exposure, with a tooltip window of its own (these trays show none) and
// the buttons turned into the classic notices.
class NotifyIconXEmbed {
 public:
  using NoticeHandler = std::function<void(std::uint32_t code, gfx::Point screen)>;

  // The side the tray is asked for.
  static constexpr int IconSide = 22;

  NotifyIconXEmbed(const XEmbedContext& context, NoticeHandler onNotice);
  ~NotifyIconXEmbed();
  NotifyIconXEmbed(const NotifyIconXEmbed&) = delete;
  NotifyIconXEmbed& operator=(const NotifyIconXEmbed&) = delete;

  XId Window() const { return FWindow; }
  // Asks the tray that owns the tray selection to take the window.
  void Dock(XId trayOwner);
  // Inside a tray now (reparented away from the root).
  bool Docked() const { return FDocked; }

  void SetIcon(const gfx::Bitmap& icon);
  void SetTip(const std::string& tip);

  // Handles an event of the icon's windows; false when it is not theirs.
  bool Handle(_XEvent& event);

 private:
  void Paint();
  void ShowTooltip(gfx::Point pointer);
  void HideTooltip();
  void PaintTooltip();
  void PutBitmap(XId window, const gfx::Bitmap& picture);
  void Button(const _XEvent& event, bool pressed);

  XEmbedContext FContext;
  NoticeHandler FOnNotice;
  XId FWindow = 0;
  gfx::Size FSize{IconSide, IconSide};
  bool FDocked = false;
  gfx::Bitmap FIcon;
  std::string FTip;

  XId FTooltip = 0;
  bool FTooltipShown = false;
  gfx::Bitmap FTooltipPicture;

  // The last press, for telling a double click.
  unsigned FLastButton = 0;
  unsigned long FLastPressTime = 0;
  gfx::Point FLastPressPoint;
};

}  // namespace platform::x11
