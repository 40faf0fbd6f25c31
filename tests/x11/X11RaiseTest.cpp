// Restacking on the virtual desktop (openbox): raising or lowering a window
// leaves the input focus and the active window where they are, popups stay
// above, and a topmost window stays above the normal ones when another is
// activated.

#include "X11DesktopFixture.h"

namespace platform::x11 {
namespace {

// Two normal windows overlapping around (300, 220); the second, shown
// last, has the focus.
class X11Raise : public X11DesktopTest {
 protected:
  void SetUp() override {
    X11DesktopTest::SetUp();
    if (IsSkipped()) return;
    FBack = ShowSolidWindow(*FPlatform, FLog, WindowKind::Normal, gfx::Rect::FromSize(100, 100, 300, 200), Red);
    FFront = ShowSolidWindow(*FPlatform, FLog, WindowKind::Normal, gfx::Rect::FromSize(250, 150, 300, 200), Blue);
    FObserver = std::make_unique<ForeignClient>();
    ASSERT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) {
      return FObserver->FocusedWindow() == Front() && FObserver->ActiveWindow() == Front() &&
             PixelAt(OverlapPoint) == Blue;
    })) << "the second window did not come up focused and on top";
    FLog.clear();
  }
  ::Window Front() const { return FPlatform->XWindow(FFront); }
  // What a window shows where it was covered is lost; as the window system
  // does on Expose, the test presents both windows again before looking.
  gfx::Pixel PixelAt(gfx::Point point) {
    for (auto [window, pixel] : {std::pair{FBack, Red}, std::pair{FFront, Blue}}) {
      gfx::Bitmap surface(300, 200);
      surface.Fill(pixel);
      FPlatform->PresentWindow(window, surface, surface.Bounds());
    }
    XSync(FPlatform->XDisplay(), False);
    gfx::Bitmap picture;
    if (!FPlatform->CaptureScreen(gfx::Rect::FromSize(point.X, point.Y, 1, 1), picture)) return 0;
    return picture.GetPixel(0, 0);
  }

  static constexpr gfx::Point OverlapPoint{300, 220};
  std::unique_ptr<ForeignClient> FObserver;
  NativeWindow FBack = NoWindow;
  NativeWindow FFront = NoWindow;
};

TEST_F(X11Raise, RaisingDoesNotMoveTheInputFocus) {
  FPlatform->RaiseWindow(FBack);
  EXPECT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return PixelAt(OverlapPoint) == Red; }))
      << "the raised window did not come to the top";
  PumpFor(*FPlatform, FLog, 300);
  EXPECT_EQ(FObserver->FocusedWindow(), Front());
  EXPECT_EQ(FObserver->ActiveWindow(), Front());
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusOut));
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusIn));
}

TEST_F(X11Raise, LoweringDoesNotMoveTheInputFocusEither) {
  FPlatform->LowerWindow(FFront);
  EXPECT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return PixelAt(OverlapPoint) == Red; }))
      << "the lowered window stayed on top";
  PumpFor(*FPlatform, FLog, 300);
  EXPECT_EQ(FObserver->FocusedWindow(), Front());
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusOut));
}

TEST_F(X11Raise, PopupsStayAboveARaisedWindow) {
  const NativeWindow popup = ShowSolidWindow(*FPlatform, FLog, WindowKind::Popup,
                                             gfx::Rect::FromSize(280, 200, 60, 60), Green, ShowMode::ShowNoActivate);
  ASSERT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return PixelAt(OverlapPoint) == Green; }));
  FPlatform->RaiseWindow(FBack);
  EXPECT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return PixelAt({380, 180}) == Red; }));
  PumpFor(*FPlatform, FLog, 300);
  EXPECT_EQ(PixelAt(OverlapPoint), Green);
  EXPECT_EQ(FObserver->FocusedWindow(), Front());
  FPlatform->DestroyWindow(popup);
}

TEST_F(X11Raise, ATopmostWindowStaysAboveWhenAnotherIsActivated) {
  FPlatform->SetWindowTopmost(FBack, true);
  ASSERT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return PixelAt(OverlapPoint) == Red; }))
      << "the window made topmost did not rise";
  FPlatform->ActivateWindow(FFront);
  PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return FObserver->ActiveWindow() == Front(); });
  PumpFor(*FPlatform, FLog, 300);
  EXPECT_EQ(FObserver->ActiveWindow(), Front());
  EXPECT_EQ(PixelAt(OverlapPoint), Red);

  FPlatform->SetWindowTopmost(FBack, false);
  FPlatform->ActivateWindow(FFront);
  EXPECT_TRUE(PumpUntil(*FPlatform, FLog, [&](const EventLog&) { return PixelAt(OverlapPoint) == Blue; }));
}

}  // namespace
}  // namespace platform::x11
