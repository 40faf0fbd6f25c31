// Skin changes reaching the frame and, through it, the form's skin-aware
// controls; skins that cannot draw a frame; the plain frame; taking the
// frame away again.

#include <string>
#include <vector>

#include "SkinFormTestSupport.h"
#include "skin/data/SkinBroadcast.h"
#include "skin/data/SkinChangeReceiver.h"
#include "ui/classlib/Controls.h"

namespace skin::testing {
namespace {

using gfx::Point;
using gfx::Rect;

Point ClientOrigin(ui::HWND window) {
  Point origin;
  ui::ClientToScreen(window, origin);
  return origin;
}

// A windowed control that logs the skin changes it is told about.
class TLoggingReceiver : public ui::TWinControl, public SkinChangeReceiver {
 public:
  TLoggingReceiver(core::TComponent* owner, std::vector<std::string>* log) : TWinControl(owner), FLog(log) {}
  TskSkinData* Source = nullptr;
  TskSkinData* SkinChangeSource() const override { return Source; }
  void SkinBeforeChange() override { FLog->push_back(Name() + ":before"); }
  void SkinChanged() override { FLog->push_back(Name() + ":changed"); }

 private:
  std::vector<std::string>* FLog;
};

TEST_F(SkinFormTest, LosingTheSkinLeavesThePlainFrameWithoutARegion) {
  MakeForm({100, 100, 452, 325});
  ASSERT_TRUE(ui::GetWindowRgn(Window()).has_value());
  ui::SendMessage(Window(), WMSKIN_BEFORECHANGE, reinterpret_cast<ui::WPARAM>(SkinData), SkinMessageLParam);
  Run();
  EXPECT_FALSE(Frame->SkinReady());
  EXPECT_TRUE(Frame->ObjectList().empty());
  EXPECT_FALSE(ui::GetWindowRgn(Window()).has_value());
  // The plain frame: 3-pixel border, 19-pixel caption.
  EXPECT_EQ(ClientOrigin(Window()), (Point{103, 122}));
  EXPECT_EQ(HitTest(150, 10), ui::HTCAPTION);
  EXPECT_EQ(HitTest(351, 150), ui::HTRIGHT);
  // The skin comes back complete.
  LoadSkin(StoredSkinBytes());
  Run();
  EXPECT_TRUE(Frame->SkinReady());
  EXPECT_TRUE(ui::GetWindowRgn(Window()).has_value());
  EXPECT_EQ(ClientOrigin(Window()), (Point{105, 129}));
}

TEST_F(SkinFormTest, ASkinWithoutAClientRectangleGivesThePlainFrame) {
  SkinCopy copy;
  copy.ReplaceLine("clientrect=5,29,147,120", "clientrect=0,0,0,0");
  const Bytes skin = copy.Pack();
  MakeForm({100, 100, 452, 325}, &skin);
  ASSERT_FALSE(SkinData->Empty());
  EXPECT_FALSE(Frame->SkinReady());
  EXPECT_FALSE(ui::GetWindowRgn(Window()).has_value());
  EXPECT_EQ(ClientOrigin(Window()), (Point{103, 122}));
}

TEST_F(SkinFormTest, SkinChangesReachTheFormsReceiversInVisitingOrder) {
  std::vector<std::string> log;
  MakeForm({100, 100, 452, 325});
  auto add = [&](ui::TWinControl* parent, const char* name, TskSkinData* source) {
    auto* control = core::Create<TLoggingReceiver>(*Form, &log);
    control->SetName(name);
    control->Source = source;
    control->SetParent(parent);
    return control;
  };
  auto* outer = add(Form, "outer", SkinData);
  add(outer, "inner", SkinData);
  add(Form, "foreign", reinterpret_cast<TskSkinData*>(&log));
  add(Form, "last", SkinData);
  LoadSkin(StoredSkinBytes());
  EXPECT_EQ(log, (std::vector<std::string>{"outer:before", "inner:before", "last:before", "outer:changed",
                                           "inner:changed", "last:changed"}));
  // A message without a sender reaches every receiver.
  log.clear();
  ui::SendMessage(Window(), WMSKIN_CHANGED, 0, SkinMessageLParam);
  EXPECT_EQ(log.size(), 4u);
  EXPECT_TRUE(Frame->SkinReady());
}

TEST_F(SkinFormTest, ThePlainFrameHasWorkingButtons) {
  MakeForm({100, 100, 452, 325}, nullptr);
  int closes = 0;
  Form->OnClose = [&](core::TComponent*, ui::TCloseAction& action) {
    ++closes;
    action = ui::caNone;
  };
  EXPECT_EQ(ClientOrigin(Window()), (Point{103, 122}));
  // Close is the rightmost 17-pixel square at y = 4.
  const Point close = At(352 - 3 - 8, 12);
  EXPECT_EQ(HitTest(352 - 3 - 8, 12), HTOBJECT);
  Press(close);
  Headless->MoveMouse(At(150, 100));
  Release();
  EXPECT_EQ(closes, 0);
  Press(close);
  Release();
  EXPECT_EQ(closes, 1);
  // Maximise sits left of it.
  Press(At(352 - 3 - 17 - 8, 12));
  Release();
  EXPECT_EQ(Frame->SkinWindowState(), wsMaximized);
}

TEST_F(SkinFormTest, FreeingTheFrameGivesTheFormItsWindowProcedureBack) {
  MakeForm({100, 100, 452, 325});
  Frame->Free();
  Frame = nullptr;
  Run();
  EXPECT_FALSE(ui::GetWindowRgn(Window()).has_value());
  // The form answers its own messages again (its frame is the default one).
  EXPECT_NE(ui::SendMessage(Window(), ui::WM_NCHITTEST, 0, ui::PointToLParam(At(200, 150))), HTOBJECT);
  EXPECT_NE(ClientOrigin(Window()), (Point{105, 129}));
  // The skin's messages no longer reach a frame.
  LoadSkin(StoredSkinBytes());
  Run();
  EXPECT_FALSE(ui::GetWindowRgn(Window()).has_value());
}

}  // namespace
}  // namespace skin::testing
