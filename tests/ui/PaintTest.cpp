#include "UiTestSupport.h"

#include <map>

#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/SystemMetrics.h"

namespace ui::testing {
namespace {

constexpr gfx::Color Red = gfx::MakeColor(255, 0, 0);
constexpr gfx::Color Green = gfx::MakeColor(0, 255, 0);
constexpr gfx::Color Blue = gfx::MakeColor(0, 0, 255);

class PaintTest : public UiTest {
 protected:
  // Each window paints its whole client area in its colour.
  void SetUp() override {
    OnMessage = [this](HWND w, UINT m, WPARAM, LPARAM, LRESULT& result) {
      auto colour = Colours.find(w);
      if (m != WM_PAINT || colour == Colours.end()) return false;
      PaintStruct paint;
      HDC dc = BeginPaint(w, paint);
      Painted.push_back(paint.Paint);
      dc->Canvas().SetBrush(colour->second);
      dc->Canvas().FillRect(gfx::Rect{-1000, -1000, 1000, 1000});
      EndPaint(w, paint);
      result = 0;
      return true;
    };
  }

  std::map<HWND, gfx::Color> Colours;
  std::vector<gfx::Rect> Painted;
};

TEST_F(PaintTest, ChildrenPaintIntoTheirTopLevelSurfaceClippedToWhatTheyShow) {
  HWND top = CreateTopLevel(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
  HWND lower = CreateChild(top, {10, 10, 110, 110});
  HWND upper = CreateChild(top, {60, 60, 160, 160});
  HWND inner = CreateChild(lower, {-20, 80, 30, 130});  // sticks out of its parent
  const gfx::Color dark = gfx::MakeColor(10, 20, 30);
  Colours = {{top, Red}, {lower, Green}, {upper, Blue}, {inner, dark}};
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(105, 105), PixelOf(Red));
  EXPECT_EQ(ScreenPixel(115, 115), PixelOf(Green));
  // The upper sibling covers the lower one.
  EXPECT_EQ(ScreenPixel(165, 165), PixelOf(Blue));
  EXPECT_EQ(ScreenPixel(255, 255), PixelOf(Blue));
  EXPECT_EQ(ScreenPixel(265, 265), PixelOf(Red));
  // The grandchild shows only inside its parent.
  EXPECT_EQ(ScreenPixel(115, 195), PixelOf(dark));
  EXPECT_EQ(ScreenPixel(105, 195), PixelOf(Red));
  EXPECT_EQ(ScreenPixel(115, 215), PixelOf(Red));
  EXPECT_EQ(WindowFromPoint({115, 195}), inner);
  EXPECT_EQ(WindowFromPoint({105, 195}), top);
}

TEST_F(PaintTest, InvalidatingAChildRepaintsOnlyItAndPresentsOnlyItsArea) {
  HWND top = CreateTopLevel(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
  HWND child = CreateChild(top, {10, 20, 60, 70});
  Colours = {{top, Red}, {child, Green}};
  ProcessMessages();
  int presents = Headless->PresentCount(Native(top));
  Log.clear();
  Painted.clear();
  gfx::Rect part{5, 5, 15, 15};
  InvalidateRect(child, &part, false);
  ProcessMessages();
  EXPECT_EQ(Count(top, WM_PAINT), 0);
  EXPECT_EQ(Count(child, WM_PAINT), 1);
  EXPECT_EQ(Painted, (std::vector<gfx::Rect>{part}));
  EXPECT_EQ(Headless->PresentCount(Native(top)), presents + 1);
  EXPECT_EQ(Headless->LastPresentedArea(Native(top)), (gfx::Rect{15, 25, 25, 35}));
  // Nothing pending: nothing presented.
  ProcessMessages();
  EXPECT_EQ(Headless->PresentCount(Native(top)), presents + 1);
}

TEST_F(PaintTest, TheUpdateRegionLimitsPaintingAndValidateRemovesIt) {
  HWND top = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Colours = {{top, Red}};
  ProcessMessages();
  Colours[top] = Green;
  gfx::Rect a{0, 0, 10, 10};
  gfx::Rect b{50, 50, 60, 60};
  InvalidateRect(top, &a, false);
  InvalidateRect(top, &b, false);
  ValidateRect(top, &b);
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(5, 5), PixelOf(Green));
  EXPECT_EQ(ScreenPixel(55, 55), PixelOf(Red));
  EXPECT_EQ(ScreenPixel(20, 20), PixelOf(Red));
  // UpdateWindow paints at once.
  Colours[top] = Blue;
  InvalidateRect(top, nullptr, false);
  UpdateWindow(top);
  EXPECT_EQ(ScreenPixel(55, 55), PixelOf(Blue));
}

TEST_F(PaintTest, HiddenWindowsDoNotPaintUntilShown) {
  HWND top = CreateTopLevel(WS_POPUP, {0, 0, 100, 100});
  Colours = {{top, Green}};
  InvalidateRect(top, nullptr, true);
  ProcessMessages();
  EXPECT_EQ(Count(top, WM_PAINT), 0);
  ShowWindow(top, SW_SHOWNA);
  ProcessMessages();
  EXPECT_EQ(Count(top, WM_PAINT), 1);
  EXPECT_EQ(ScreenPixel(50, 50), PixelOf(Green));
  // Hiding a child uncovers its parent, which paints the gap.
  HWND child = CreateChild(top, {10, 10, 20, 20});
  Colours[child] = Red;
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(15, 15), PixelOf(Red));
  ShowWindow(child, SW_HIDE);
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(15, 15), PixelOf(Green));
  // Moving a child repaints where it was and where it is.
  ShowWindow(child, SW_SHOWNA);
  MoveWindow(child, 50, 50, 10, 10, true);
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(15, 15), PixelOf(Green));
  EXPECT_EQ(ScreenPixel(55, 55), PixelOf(Red));
}

TEST_F(PaintTest, ContextsOutlivingTheirWindowOrSurfaceAreHarmless) {
  HWND top = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  ProcessMessages();
  HDC dc = GetDC(top);
  MoveWindow(top, 0, 0, 300, 300, true);  // a new surface
  dc->Canvas().SetBrush(Red);
  dc->Canvas().FillRect(gfx::Rect{0, 0, 50, 50});
  DestroyWindow(top);
  dc->Canvas().FillRect(gfx::Rect{0, 0, 50, 50});
  EXPECT_EQ(ReleaseDC(top, dc), 1);
  EXPECT_EQ(ReleaseDC(top, dc), 0);
  WindowDC nothing(top);
  nothing.Canvas().FillRect(gfx::Rect{0, 0, 10, 10});
}

TEST_F(PaintTest, EraseUsesTheClassBackgroundAndRedrawWindowReachesChildren) {
  HWND top = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = CreateChild(top, {10, 10, 50, 50});
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(5, 5), PixelOf(gfx::MakeColor(255, 255, 255)));
  Log.clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(Count(top, WM_PAINT), 1);
  EXPECT_EQ(Count(child, WM_PAINT), 1);
  EXPECT_EQ(Count(child, WM_ERASEBKGND), 1);
  // A window of the standard class erases with the button face.
  HWND standard = CreateWindowEx(0, DefaultWindowClassName, "", WS_POPUP | WS_VISIBLE, 200, 0, 50, 50, nullptr);
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(225, 25), PixelOf(GetSysColor(COLOR_BTNFACE)));
  DestroyWindow(standard);
}

TEST_F(PaintTest, LayeredWindowsBlendWithWhatIsBehind) {
  HWND back = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND front = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Colours = {{back, gfx::MakeColor(0, 0, 0)}, {front, gfx::MakeColor(255, 255, 255)}};
  ProcessMessages();
  EXPECT_FALSE(SetLayeredWindowAttributes(front, 0, 128, LWA_ALPHA));
  SetWindowLong(front, GWL_EXSTYLE, LONG_PTR(WS_EX_LAYERED));
  SetWindowAlpha(front, 128);
  EXPECT_EQ(Headless->Opacity(Native(front)), 128);
  std::uint8_t alpha = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(front, alpha));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(ScreenPixel(50, 50), gfx::MakePixel(128, 128, 128));
  // Leaving the layered style makes it opaque again.
  SetWindowLong(front, GWL_EXSTYLE, 0);
  EXPECT_EQ(Headless->Opacity(Native(front)), 255);
}

TEST_F(PaintTest, CopyScreenRectReadsWhatTheUserSees) {
  HWND top = CreateTopLevel(WS_POPUP | WS_VISIBLE, {10, 10, 20, 20});
  Colours = {{top, Green}};
  ProcessMessages();
  gfx::Bitmap picture(20, 20);
  CopyScreenRect(5, 5, picture);
  EXPECT_EQ(picture.GetPixel(0, 0), gfx::MakePixel(0x3A, 0x6E, 0xA5));
  EXPECT_EQ(picture.GetPixel(5, 5), PixelOf(Green));
  EXPECT_EQ(picture.GetPixel(15, 15), gfx::MakePixel(0x3A, 0x6E, 0xA5));
  // Off the screen is black.
  gfx::Bitmap off(4, 4);
  off.Fill(0xFFFFFF);
  CopyScreenRect(-2, -2, off);
  EXPECT_EQ(off.GetPixel(0, 0), 0u);
  EXPECT_EQ(off.GetPixel(3, 3), gfx::MakePixel(0x3A, 0x6E, 0xA5));
}

}  // namespace
}  // namespace ui::testing
