#include "ui/windowing/SystemMetrics.h"

#include <array>

#include "ui/windowing/Desktop.h"
#include "ui/windowing/ScreenUtils.h"

namespace ui {
namespace {

// The classic grey scheme.
constexpr std::array<gfx::Color, 31> Colors = {
    gfx::MakeColor(212, 208, 200),  // scroll bar
    gfx::MakeColor(58, 110, 165),   // desktop
    gfx::MakeColor(10, 36, 106),    // active caption
    gfx::MakeColor(128, 128, 128),  // inactive caption
    gfx::MakeColor(212, 208, 200),  // menu
    gfx::MakeColor(255, 255, 255),  // window
    gfx::MakeColor(0, 0, 0),        // window frame
    gfx::MakeColor(0, 0, 0),        // menu text
    gfx::MakeColor(0, 0, 0),        // window text
    gfx::MakeColor(255, 255, 255),  // caption text
    gfx::MakeColor(212, 208, 200),  // active border
    gfx::MakeColor(212, 208, 200),  // inactive border
    gfx::MakeColor(128, 128, 128),  // application workspace
    gfx::MakeColor(10, 36, 106),    // highlight
    gfx::MakeColor(255, 255, 255),  // highlight text
    gfx::MakeColor(212, 208, 200),  // button face
    gfx::MakeColor(128, 128, 128),  // button shadow
    gfx::MakeColor(128, 128, 128),  // grey text
    gfx::MakeColor(0, 0, 0),        // button text
    gfx::MakeColor(212, 208, 200),  // inactive caption text
    gfx::MakeColor(255, 255, 255),  // button highlight
    gfx::MakeColor(64, 64, 64),     // 3D dark shadow
    gfx::MakeColor(212, 208, 200),  // 3D light
    gfx::MakeColor(0, 0, 0),        // tooltip text
    gfx::MakeColor(255, 255, 225),  // tooltip background
    gfx::MakeColor(181, 181, 181),  // (unused)
    gfx::MakeColor(0, 0, 128),      // hot-tracked item
    gfx::MakeColor(166, 202, 240),  // active caption gradient
    gfx::MakeColor(192, 192, 192),  // inactive caption gradient
    gfx::MakeColor(10, 36, 106),    // menu highlight
    gfx::MakeColor(212, 208, 200),  // menu bar
};

}  // namespace

gfx::Color GetSysColor(int index) {
  if (index < 0 || index >= int(Colors.size())) return 0;
  return Colors[std::size_t(index)];
}

int GetSystemMetrics(int index) {
  Desktop* desktop = CurrentDesktopOrNull();
  gfx::Rect primary;
  gfx::Rect work;
  gfx::Rect virtualScreen;
  int monitors = 0;
  if (desktop) {
    auto list = desktop->Platform.Monitors();
    monitors = int(list.size());
    if (!list.empty()) {
      primary = list.front().Bounds;
      work = list.front().WorkArea;
    }
    virtualScreen = GetVirtualScreen();
  }
  switch (index) {
    case SM_CXSCREEN: return primary.Width();
    case SM_CYSCREEN: return primary.Height();
    case SM_CXVSCROLL: return 16;
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: return 1;
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: return 3;
    case SM_CYDLGFRAME: return 3;
    case SM_CYVTHUMB: return 16;
    case SM_CXHTHUMB: return 16;
    case SM_CXICON: return 32;
    case SM_CYICON: return 32;
    case SM_CXCURSOR: return 32;
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return work.Width();
    case SM_CYFULLSCREEN: return work.Height() - 19;
    case SM_CYVSCROLL: return 16;
    case SM_CXHSCROLL: return 16;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE: return 18;
    case SM_CYSIZE: return 18;
    case SM_CXFRAME: return 4;
    case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: return 4;
    case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE: return 2;
    case SM_CYEDGE: return 2;
    case SM_CXSMICON: return 16;
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 16;
    case SM_CXMAXTRACK: return virtualScreen.Width() + 12;
    case SM_CYMAXTRACK: return virtualScreen.Height() + 12;
    case SM_CXMAXIMIZED: return work.Width() + 8;
    case SM_CYMAXIMIZED: return work.Height() + 8;
    case SM_XVIRTUALSCREEN: return virtualScreen.Left;
    case SM_YVIRTUALSCREEN: return virtualScreen.Top;
    case SM_CXVIRTUALSCREEN: return virtualScreen.Width();
    case SM_CYVIRTUALSCREEN: return virtualScreen.Height();
    case SM_CMONITORS: return monitors;
    default: return 0;
  }
}

bool SystemParametersInfo(unsigned action, unsigned, void* value, unsigned) {
  switch (action) {
    case SPI_GETDRAGFULLWINDOWS:
      if (!value) return false;
      *static_cast<bool*>(value) = true;
      return true;
    default:
      return false;
  }
}

}  // namespace ui
