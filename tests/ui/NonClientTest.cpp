#include "UiTestSupport.h"

#include "ui/windowing/DefaultFrame.h"
#include "ui/windowing/SystemMetrics.h"

namespace ui::testing {
namespace {

class NonClientTest : public UiTest {
 protected:
  gfx::Rect ClientOnScreen(HWND window) {
    gfx::Rect client;
    GetClientRect(window, client);
    gfx::Point origin;
    ClientToScreen(window, origin);
    return client.Offset(origin.X, origin.Y);
  }
  LRESULT HitTest(HWND window, int x, int y) { return SendMessage(window, WM_NCHITTEST, 0, MakeLParam(x, y)); }
};

TEST_F(NonClientTest, TheDefaultFrameLeavesTheClientInsideBordersAndCaption) {
  // Sizing border 4, caption 18 + 1.
  EXPECT_EQ(ClientOnScreen(CreateTopLevel(WS_OVERLAPPEDWINDOW, {100, 100, 300, 250})),
            (gfx::Rect{104, 123, 296, 246}));
  // Fixed border 3.
  EXPECT_EQ(ClientOnScreen(CreateTopLevel(WS_CAPTION | WS_SYSMENU, {0, 0, 100, 100})),
            (gfx::Rect{3, 22, 97, 97}));
  // Tool window caption 15 + 1.
  EXPECT_EQ(ClientOnScreen(CreateTopLevel(WS_CAPTION, {0, 0, 100, 100}, WS_EX_TOOLWINDOW)),
            (gfx::Rect{3, 19, 97, 97}));
  // No frame at all.
  EXPECT_EQ(ClientOnScreen(CreateTopLevel(WS_POPUP, {0, 0, 100, 100})), (gfx::Rect{0, 0, 100, 100}));
  // Children: thin border, sunken client edge.
  HWND parent = CreateTopLevel(WS_POPUP, {0, 0, 200, 200});
  EXPECT_EQ(ClientOnScreen(CreateChild(parent, {10, 10, 50, 50}, WS_CHILD | WS_BORDER)),
            (gfx::Rect{11, 11, 49, 49}));
  HWND edged = CreateWindowEx(WS_EX_CLIENTEDGE, "Logged", "", WS_CHILD, 10, 10, 40, 40, parent);
  EXPECT_EQ(ClientOnScreen(edged), (gfx::Rect{12, 12, 48, 48}));
  // A window smaller than its frame has an empty client area, never an
  // inverted one.
  HWND tiny = CreateTopLevel(WS_OVERLAPPEDWINDOW, {0, 0, 5, 5});
  gfx::Rect client;
  GetClientRect(tiny, client);
  EXPECT_EQ(client, (gfx::Rect{0, 0, 0, 0}));
}

TEST_F(NonClientTest, AProcedureAnsweringTheFrameMessagesReplacesTheDefaultFrame) {
  const gfx::Color red = gfx::MakeColor(255, 0, 0);
  OnMessage = [&](HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (m) {
      case WM_NCCALCSIZE: {
        gfx::Rect* r = wp ? &FromLParam<CalcSizeParams>(lp)->Rects[0] : FromLParam<gfx::Rect>(lp);
        *r = r->Inflate(-10, -10);
        result = 0;
        return true;
      }
      case WM_NCPAINT: {
        WindowDC dc(w, WindowDC::Area::Window);
        dc.Canvas().SetBrush(red);
        dc.Canvas().FillRect(gfx::Rect{0, 0, 1000, 1000});
        result = 0;
        return true;
      }
      case WM_NCHITTEST:
        result = HTCAPTION;
        return true;
      default:
        return false;
    }
  };
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 250});
  ProcessMessages();
  EXPECT_EQ(ClientOnScreen(window), (gfx::Rect{110, 110, 290, 240}));
  // The window context covers the whole window, but children and client
  // are painted by their own: the frame is red, the client erased white.
  EXPECT_EQ(ScreenPixel(100, 100), PixelOf(red));
  EXPECT_EQ(ScreenPixel(109, 200), PixelOf(red));
  EXPECT_EQ(ScreenPixel(289, 239), PixelOf(gfx::MakeColor(255, 255, 255)));
  EXPECT_EQ(ScreenPixel(299, 249), PixelOf(red));
  EXPECT_EQ(HitTest(window, 200, 200), HTCAPTION);
}

TEST_F(NonClientTest, TheDefaultFrameIsDrawnInTheClassicLook) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 250});
  ProcessMessages();
  auto pixel = [&](int x, int y) { return WindowPixel(window, x, y); };
  // Border rings: light, highlight, face, face; dark shadows bottom-right.
  EXPECT_EQ(pixel(0, 50), PixelOf(GetSysColor(COLOR_3DLIGHT)));
  EXPECT_EQ(pixel(1, 50), PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(pixel(2, 50), PixelOf(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(pixel(3, 50), PixelOf(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(pixel(199, 149), PixelOf(GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(pixel(198, 148), PixelOf(GetSysColor(COLOR_BTNSHADOW)));
  // The active caption runs from dark blue on the left to light blue.
  EXPECT_EQ(pixel(4, 4), PixelOf(GetSysColor(COLOR_ACTIVECAPTION)));
  EXPECT_EQ(pixel(195, 4), PixelOf(GetSysColor(COLOR_GRADIENTACTIVECAPTION)));
  // A line of face colour separates caption and client.
  EXPECT_EQ(pixel(50, 22), PixelOf(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(pixel(50, 23), PixelOf(gfx::MakeColor(255, 255, 255)));
  // The close button: raised, 16 x 14 at 2 px from the right and top.
  gfx::Rect close = DefaultFrameButtonRect(WS_OVERLAPPEDWINDOW, 0, {200, 150}, HTCLOSE);
  EXPECT_EQ(close, (gfx::Rect{178, 6, 194, 20}));
  EXPECT_EQ(pixel(close.Left, close.Top), PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(pixel(close.Right - 1, close.Bottom - 1), PixelOf(GetSysColor(COLOR_3DDKSHADOW)));
  // Its X crosses the middle in black.
  int blackPixels = 0;
  for (int y = close.Top + 2; y < close.Bottom - 2; ++y) {
    for (int x = close.Left + 2; x < close.Right - 2; ++x) blackPixels += pixel(x, y) == 0 ? 1 : 0;
  }
  EXPECT_EQ(blackPixels, 26);
  // The title text is drawn in white somewhere on the caption.
  bool white = false;
  for (int x = 10; x < 60 && !white; ++x) {
    for (int y = 6; y < 20; ++y) white = white || pixel(x, y) == PixelOf(GetSysColor(COLOR_CAPTIONTEXT));
  }
  EXPECT_TRUE(white);

  // Inactive: grey caption.
  SetActiveWindow(nullptr);
  ProcessMessages();
  EXPECT_EQ(pixel(4, 4), PixelOf(GetSysColor(COLOR_INACTIVECAPTION)));
}

TEST_F(NonClientTest, DefaultHitTestFindsBordersCornersCaptionAndButtons) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {100, 100, 300, 250});
  EXPECT_EQ(HitTest(window, 150, 150), HTCLIENT);
  EXPECT_EQ(HitTest(window, 150, 110), HTCAPTION);
  EXPECT_EQ(HitTest(window, 100, 150), HTLEFT);
  EXPECT_EQ(HitTest(window, 299, 150), HTRIGHT);
  EXPECT_EQ(HitTest(window, 200, 100), HTTOP);
  EXPECT_EQ(HitTest(window, 200, 249), HTBOTTOM);
  EXPECT_EQ(HitTest(window, 100, 100), HTTOPLEFT);
  // Corners reach along the edges.
  EXPECT_EQ(HitTest(window, 115, 101), HTTOPLEFT);
  EXPECT_EQ(HitTest(window, 299, 248), HTBOTTOMRIGHT);
  EXPECT_EQ(HitTest(window, 101, 240), HTBOTTOMLEFT);
  EXPECT_EQ(HitTest(window, 290, 100), HTTOPRIGHT);
  EXPECT_EQ(HitTest(window, 285, 110), HTCLOSE);
  EXPECT_EQ(HitTest(window, 265, 110), HTMAXBUTTON);
  EXPECT_EQ(HitTest(window, 250, 110), HTMINBUTTON);
  EXPECT_EQ(HitTest(window, 108, 110), HTSYSMENU);
  EXPECT_EQ(HitTest(window, 99, 150), HTNOWHERE);
  // A fixed frame cannot be sized; a maximised window has no sizing
  // borders.
  HWND fixed = CreateTopLevel(WS_CAPTION | WS_SYSMENU, {0, 0, 100, 100});
  EXPECT_EQ(HitTest(fixed, 0, 50), HTBORDER);
  ShowWindow(window, SW_MAXIMIZE);
  gfx::Rect bounds;
  GetWindowRect(window, bounds);
  EXPECT_EQ(HitTest(window, bounds.Left + 1, bounds.Top + 50), HTBORDER);
}

TEST_F(NonClientTest, TheWindowRegionShapesHitTestingAndTheNativeWindow) {
  HWND window = CreateTopLevel(WS_POPUP | WS_VISIBLE, {100, 100, 200, 200});
  gfx::Region shape(gfx::Rect{0, 0, 50, 100});
  shape.Unite(gfx::Rect{50, 0, 100, 50});
  SetWindowRgn(window, shape, true);
  ProcessMessages();
  EXPECT_EQ(HitTest(window, 110, 110), HTCLIENT);
  EXPECT_EQ(HitTest(window, 190, 190), HTNOWHERE);
  ASSERT_TRUE(Headless->Shape(Native(window)).has_value());
  EXPECT_EQ(*Headless->Shape(Native(window)), shape);
  // The desktop shows through the cut corner.
  EXPECT_EQ(ScreenPixel(190, 190), gfx::MakePixel(0x3A, 0x6E, 0xA5));
  EXPECT_EQ(ScreenPixel(110, 190), PixelOf(gfx::MakeColor(255, 255, 255)));
  EXPECT_EQ(WindowFromPoint({190, 190}), nullptr);
  EXPECT_EQ(WindowFromPoint({110, 110}), window);
  SetWindowRgn(window, std::nullopt, true);
  EXPECT_FALSE(Headless->Shape(Native(window)).has_value());
  EXPECT_EQ(HitTest(window, 190, 190), HTCLIENT);
}

TEST_F(NonClientTest, ChildRegionsDecideWhichWindowTheMouseReaches) {
  HWND parent = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND child = CreateChild(parent, {10, 10, 110, 110});
  SetWindowRgn(child, gfx::Region(gfx::Rect{0, 0, 50, 50}), true);
  ProcessMessages();
  Log.clear();
  Headless->MoveMouse({20, 20});
  Headless->MoveMouse({100, 100});
  ProcessMessages();
  ASSERT_EQ(Count(child, WM_MOUSEMOVE), 1);
  EXPECT_EQ(Last(child, WM_MOUSEMOVE)->LParam, MakeLParam(10, 10));
  ASSERT_EQ(Count(parent, WM_MOUSEMOVE), 1);
  EXPECT_EQ(Last(parent, WM_MOUSEMOVE)->LParam, MakeLParam(100, 100));
}

TEST_F(NonClientTest, SettingTheTextRepaintsTheCaptionAndRenamesTheNativeWindow) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ProcessMessages();
  Log.clear();
  EXPECT_TRUE(SetWindowText(window, "扫描 scanner"));
  EXPECT_EQ(GetWindowText(window), "扫描 scanner");
  EXPECT_EQ(Headless->Title(Native(window)), "扫描 scanner");
  ProcessMessages();
  EXPECT_EQ(Count(window, WM_NCPAINT), 1);
  // WM_GETTEXT never cuts a character in two.
  char buffer[5];
  EXPECT_EQ(SendMessage(window, WM_GETTEXT, sizeof buffer, ToLParam(buffer)), 3);
  EXPECT_EQ(std::string(buffer), "扫");
}

}  // namespace
}  // namespace ui::testing
