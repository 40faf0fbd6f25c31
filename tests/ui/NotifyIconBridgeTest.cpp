#include "UiTestSupport.h"
#include "ui/windowing/NotifyIconBridge.h"

namespace ui::testing {
namespace {

class NotifyIconBridgeTest : public UiTest {
 protected:
  void SetUp() override {
    Owner = CreateWindowEx(0, "Logged", "", 0, 0, 0, 0, 0, HWND_MESSAGE);
    Data.Owner = std::uintptr_t(Owner);
    Data.Id = 77;
    Data.Flags = platform::NIF_MESSAGE | platform::NIF_TIP;
    Data.CallbackMessage = 0x0800;
    Data.Tip = "tip";
  }
  platform::headless::HeadlessNotifyIcon& Area() { return Headless->NotifyIconArea(); }

  HWND Owner = nullptr;
  platform::NotifyIconData Data;
};

TEST_F(NotifyIconBridgeTest, TheShellCallReachesThePlatformsArea) {
  EXPECT_TRUE(Shell_NotifyIcon(platform::NIM_ADD, Data));
  EXPECT_FALSE(Shell_NotifyIcon(platform::NIM_ADD, Data));
  ASSERT_NE(Area().Find(Data.Owner, 77), nullptr);
  EXPECT_EQ(Area().Find(Data.Owner, 77)->Tip, "tip");
  EXPECT_TRUE(Shell_NotifyIcon(platform::NIM_DELETE, Data));
  EXPECT_FALSE(Shell_NotifyIcon(99, Data));
}

TEST_F(NotifyIconBridgeTest, NoticesBecomeTheCallbackMessageOfTheOwner) {
  Shell_NotifyIcon(platform::NIM_ADD, Data);
  Headless->SetCursorPosition({900, 750});
  Area().SendClick(77, platform::MouseButton::Right);
  ProcessMessages();
  std::vector<LPARAM> codes;
  for (const auto& m : Log) {
    if (m.Window == Owner && m.Message == 0x0800) {
      EXPECT_EQ(m.WParam, 77u);
      codes.push_back(m.LParam);
    }
  }
  EXPECT_EQ(codes, (std::vector<LPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

TEST_F(NotifyIconBridgeTest, NoticesForAnOwnerDestroyedMeanwhileAreDropped) {
  Shell_NotifyIcon(platform::NIM_ADD, Data);
  Area().SendNotice(77, WM_MOUSEMOVE);
  DestroyWindow(Owner);
  Log.clear();
  ProcessMessages();
  EXPECT_TRUE(Log.empty());
}

TEST_F(NotifyIconBridgeTest, ARestartedAreaIsAnnouncedToEveryTopLevelAndMessageWindow) {
  const UINT taskbarCreated = RegisterWindowMessage(TaskbarCreatedMessageName);
  ASSERT_NE(taskbarCreated, 0u);
  HWND top = CreateTopLevel();
  HWND child = CreateChild(top, {0, 0, 10, 10});
  Area().RestartArea();
  ProcessMessages();
  EXPECT_EQ(Count(Owner, taskbarCreated), 1);
  EXPECT_EQ(Count(top, taskbarCreated), 1);
  EXPECT_EQ(Count(child, taskbarCreated), 0);
}

}  // namespace
}  // namespace ui::testing
