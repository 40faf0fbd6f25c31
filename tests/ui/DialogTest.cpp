#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "ui/classlib/Dialogs.h"

namespace ui::testing {
namespace {

using platform::VK_ESCAPE;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_TAB;

// Drives a message box: once it is up, the keys or the click given are
// injected, and what the box looked like is kept.
class DialogTest : public FormTest {
 protected:
  struct Seen {
    std::string Caption;
    std::vector<std::string> Buttons;
    std::string Focused;
    bool Centred = false;
  };

  // Boxes freed and made again may reuse an address: each call starts
  // afresh.
  void WhenUp(std::function<void(TCustomForm*)> action) {
    Handled.clear();
    Screen->OnActiveFormChange = [this, action](core::TComponent*) {
      TCustomForm* box = Screen->ActiveForm();
      if (!box || !box->FormState().Contains(fsModal) || Handled.count(box)) return;
      Handled.insert(box);
      Seen seen;
      seen.Caption = box->Caption();
      for (int i = 0; i < box->ControlCount(); ++i) seen.Buttons.push_back(box->Controls(i)->Caption());
      if (TWinControl* focused = FindControl(GetFocus())) seen.Focused = focused->Caption();
      seen.Centred = box->Left() == (Screen->Width() - box->Width()) / 2 &&
                     box->Top() == (Screen->Height() - box->Height()) / 2;
      Boxes.push_back(seen);
      action(box);
    };
  }
  void Keys(std::vector<int> keys) {
    WhenUp([this, keys](TCustomForm*) {
      for (int key : keys) Headless->StrokeKey(key);
    });
  }

  std::vector<Seen> Boxes;
  std::set<TCustomForm*> Handled;
};

TEST_F(DialogTest, EnterPressesTheDefaultButton) {
  Keys({VK_RETURN});
  EXPECT_EQ(MessageBox("Save the log?", "Ostvane", MB_YESNOCANCEL | MB_ICONQUESTION), IDYES);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Ostvane");
  EXPECT_EQ(Boxes[0].Buttons, (std::vector<std::string>{"&Yes", "&No", "Cancel"}));
  EXPECT_EQ(Boxes[0].Focused, "&Yes");
  EXPECT_TRUE(Boxes[0].Centred);
  EXPECT_EQ(Screen->FormCount(), 0) << "the box is gone";
}

TEST_F(DialogTest, DefaultButtonFlagChoosesTheFirstFocus) {
  Keys({VK_RETURN});
  EXPECT_EQ(MessageBox("Retry?", "", MB_RETRYCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(Boxes[0].Focused, "Cancel");
}

TEST_F(DialogTest, EscapePressesCancelOrTheLoneOk) {
  Keys({VK_ESCAPE});
  EXPECT_EQ(MessageBox("Really?", "Ostvane", MB_OKCANCEL), IDCANCEL);
  Keys({VK_ESCAPE});
  EXPECT_EQ(MessageBox("Done.", "Ostvane", MB_OK), IDOK);
  // A box without a Cancel button ignores Escape; Enter still answers.
  Keys({VK_ESCAPE, VK_RETURN});
  EXPECT_EQ(MessageBox("Yes or no?", "Ostvane", MB_YESNO), IDYES);
}

TEST_F(DialogTest, TabAndArrowsMoveBetweenButtonsAndEnterPressesTheFocusedOne) {
  Keys({VK_TAB, VK_RETURN});
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_YESNOCANCEL), IDNO);
  Keys({VK_RIGHT, VK_RIGHT, VK_RETURN});
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_YESNOCANCEL), IDCANCEL);
  // Wraps round, and Shift+Tab goes back.
  Keys({VK_LEFT, VK_RETURN});
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_YESNOCANCEL), IDCANCEL);
  WhenUp([this](TCustomForm*) {
    Headless->PressKey(platform::VK_SHIFT);
    Headless->StrokeKey(VK_TAB);
    Headless->ReleaseKey(platform::VK_SHIFT);
    Headless->StrokeKey(VK_SPACE);
  });
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_ABORTRETRYIGNORE), IDIGNORE);
}

TEST_F(DialogTest, AcceleratorLettersAndClicksPressButtons) {
  Keys({'N'});
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_YESNO), IDNO);
  WhenUp([this](TCustomForm* box) {
    TControl* retry = box->Controls(1);
    Headless->Click(retry->ClientToScreen(gfx::Point{5, 5}));
  });
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION), IDRETRY);
}

TEST_F(DialogTest, ClosingTheBoxAnswersLikeItsCancelButton) {
  WhenUp([this](TCustomForm* box) { Headless->RequestClose(Native(box->Handle())); });
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_OK), IDOK);
  WhenUp([this](TCustomForm* box) { Headless->RequestClose(Native(box->Handle())); });
  EXPECT_EQ(MessageBox("?", "Ostvane", MB_YESNOCANCEL), IDCANCEL);
}

TEST_F(DialogTest, MessageDlgUsesTheTypeForCaptionAndButtonsForResults) {
  Keys({VK_RETURN});
  EXPECT_EQ(MessageDlg("Stop the scan?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}), mrYes);
  EXPECT_EQ(Boxes[0].Caption, "Confirm");
  Keys({VK_ESCAPE});
  EXPECT_EQ(MessageDlg("Stop the scan?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}), mrNo);
  Keys({VK_RETURN});
  EXPECT_EQ(MessageDlg("Disk full", mtError, TMsgDlgButtons{mbOK}), mrOk);
  EXPECT_EQ(Boxes.back().Caption, "Error");
}

TEST_F(DialogTest, BoxPaintsItsTextAndButtons) {
  TCustomForm* up = nullptr;
  WhenUp([&](TCustomForm* box) { up = box; });
  int dark = -1;
  // Once the loop is idle the box has been painted.
  App->OnIdle = [&](core::TComponent*) {
    if (!up || dark >= 0) return;
    dark = 0;
    gfx::Rect r = up->BoundsRect();
    gfx::Bitmap screen = Headless->Screen();
    for (int y = r.Top; y < r.Bottom; ++y) {
      for (int x = r.Left; x < r.Right; ++x) {
        gfx::Pixel p = screen.GetPixel(x, y);
        if (gfx::PixelRed(p) < 64 && gfx::PixelGreen(p) < 64 && gfx::PixelBlue(p) < 64) ++dark;
      }
    }
    Headless->StrokeKey(VK_RETURN);
  };
  EXPECT_EQ(MessageBox("The scan log was saved to mac.txt.", "Ostvane", MB_OK | MB_ICONINFORMATION), IDOK);
  // Text, button frames and captions are there.
  EXPECT_GT(dark, 100);
}

TEST_F(DialogTest, NeedsAnApplication) {
  App.reset();
  EXPECT_THROW(MessageBox("x", "y", MB_OK), core::EInvalidOperation);
}

}  // namespace
}  // namespace ui::testing
