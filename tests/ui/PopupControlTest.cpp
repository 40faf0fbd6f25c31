#include <gtest/gtest.h>

#include <algorithm>

#include "FormTestSupport.h"

namespace ui::testing {
namespace {

// A control in a window of its own above everything, as a skin menu is.
class TPopupProbe : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;

 protected:
  void CreateParams(TCreateParams& params) override {
    TProbeControl::CreateParams(params);
    params.Style = WS_POPUP | (params.Style & WS_VISIBLE);
    params.ExStyle |= WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    params.WndParent = nullptr;
  }
};

class PopupControlTest : public FormTest {};

TEST_F(PopupControlTest, APopupControlIsATopmostWindowThatNeverTakesTheActivationOrTheFocus) {
  TForm* form = MakeForm();
  auto* field = Add<TProbeControl>(form, {10, 10, 110, 40});
  form->Show();
  App->ProcessMessages();
  ASSERT_EQ(GetFocus(), field->Handle());

  auto* popup = core::Create<TPopupProbe>(*form);
  popup->PaintColor = clRed;
  int clicks = 0;
  popup->OnClick = [&](core::TComponent*) { ++clicks; };
  popup->SetBounds(500, 400, 80, 60);  // on the screen: it has no parent
  HWND window = popup->Handle();
  App->ProcessMessages();
  EXPECT_EQ(GetAncestor(window, GA_ROOT), window);
  EXPECT_EQ(GetParent(window), nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(Headless->IsTopmost(Native(window)));
  EXPECT_EQ(ScreenPixel(510, 410), PixelOf(clRed));
  EXPECT_EQ(GetActiveWindow(), form->Handle());

  ClickOn(popup);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetActiveWindow(), form->Handle());
  EXPECT_EQ(GetFocus(), field->Handle());
  EXPECT_EQ(std::count(popup->Events.begin(), popup->Events.end(), "focus"), 0);

  // Hidden and shown again, still without taking anything.
  popup->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(window));
  popup->SetVisible(true);
  App->ProcessMessages();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetFocus(), field->Handle());
}

}  // namespace
}  // namespace ui::testing
