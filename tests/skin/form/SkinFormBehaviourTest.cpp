// The window commands around the frame: the system menu built for the
// state, the menu key, minimising, the tray, the buttons the border icons
// allow, translucency and the caption text.

#include <string>
#include <vector>

#include "SkinFormTestSupport.h"
#include "platform/VirtualKeys.h"

namespace skin::testing {
namespace {

using gfx::Rect;

std::vector<std::string> Captions(const TskFrameMenu& menu) {
  std::vector<std::string> captions;
  for (const auto& item : menu) captions.push_back(item.Caption + (item.ShortCut.empty() ? "" : " " + item.ShortCut));
  return captions;
}

TEST_F(SkinFormTest, TheSystemMenuIsBuiltForTheCurrentState) {
  MakeForm({100, 100, 452, 325});
  using Items = std::vector<std::string>;
  EXPECT_EQ(Captions(Frame->SysMenuButtonMenu()),
            (Items{"最小化(&N)", "最大化(&X)", "卷起(&L)", "-", "关闭(&C) Alt+F4"}));
  Frame->SetSkinWindowState(wsMaximized);
  EXPECT_EQ(Captions(Frame->SysMenuButtonMenu()), (Items{"最小化(&N)", "恢复(&R)", "卷起(&L)", "-", "关闭(&C) Alt+F4"}));
  Frame->SetSkinWindowState(wsNormal);
  Frame->RollUp(true);
  EXPECT_EQ(Captions(Frame->SysMenuButtonMenu()), (Items{"最小化(&N)", "最大化(&X)", "恢复(&R)", "-", "关闭(&C) Alt+F4"}));
  // Restore on a rolled-up window rolls it down.
  for (const auto& item : Frame->SysMenuButtonMenu()) {
    if (item.Name == "SKF_RESTORE") item.OnClick();
  }
  EXPECT_FALSE(Frame->RollUpState());
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
  Frame->SetBorderIcons({biMinimizeToTray});
  EXPECT_EQ(Captions(Frame->SysMenuButtonMenu()), (Items{"最小化到系统托盘区(&T)", "-", "关闭(&C) Alt+F4"}));
  Frame->SetBorderIcons({});
  EXPECT_EQ(Captions(Frame->SysMenuButtonMenu()), (Items{"关闭(&C) Alt+F4"}));
}

TEST_F(SkinFormTest, TheMenuKeyAloneOpensNothing) {
  MakeForm({100, 100, 452, 325});
  const auto before = ui::GetTopLevelWindows().size();
  Headless->StrokeKey(platform::VK_MENU);
  Run();
  Headless->StrokeKey(platform::VK_F10);
  Run();
  EXPECT_EQ(ui::GetTopLevelWindows().size(), before);
  EXPECT_EQ(ui::GetActiveWindow(), Window());
}

TEST_F(SkinFormTest, MinimisingTheMainFormMinimisesTheApplication) {
  MakeForm({100, 100, 452, 325});
  Press(Centre(ObjectRect("minimizebutton")));
  Release();
  EXPECT_TRUE(ui::IsIconic(Window()));
  // The application is down, not the frame's state.
  EXPECT_EQ(Frame->SkinWindowState(), wsNormal);
  App->Restore();
  Run();
  EXPECT_FALSE(ui::IsIconic(Window()));
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
}

TEST_F(SkinFormTest, TheTrayCommandsNeedATrayIcon) {
  MakeForm({100, 100, 452, 325});
  Frame->MinimizeToTray();
  EXPECT_FALSE(ui::IsIconic(Window()));
  auto* tray = core::Create<TskTrayIcon>(*Form);
  tray->SetIconVisible(true);
  Frame->SetTrayIcon(tray);
  EXPECT_FALSE(tray->IconVisible());
  ASSERT_EQ(Captions(tray->PopupMenu), (std::vector<std::string>{"恢复(&R)", "-", "关闭(&C) Alt+F4"}));
  Frame->MinimizeToTray();
  EXPECT_TRUE(tray->MinimizeToTray);
  EXPECT_TRUE(ui::IsIconic(Window()));
  tray->OnDblClick(tray);
  Run();
  EXPECT_FALSE(tray->MinimizeToTray);
  EXPECT_FALSE(ui::IsIconic(Window()));
  tray->Free();
  Frame->MinimizeToTray();  // the reference went with the icon
  EXPECT_FALSE(ui::IsIconic(Window()));
}

TEST_F(SkinFormTest, BorderIconsAndHideCaptionButtonsDisableButtons) {
  MakeForm({100, 100, 452, 325});
  EXPECT_EQ(Object("closebutton").Hint, "关闭");
  EXPECT_EQ(Object("sysmenubutton").Hint, "系统菜单");
  Frame->SetBorderIcons({biSystemMenu, biMinimize});
  LoadSkin(StoredSkinBytes());
  EXPECT_TRUE(Object("closebutton").Enabled);
  EXPECT_TRUE(Object("minimizebutton").Enabled);
  EXPECT_FALSE(Object("maximizebutton").Enabled);
  EXPECT_FALSE(Object("rollupbutton").Enabled);
  // Drawn from the frame picture, so it stays, as a dead button.
  EXPECT_TRUE(Object("maximizebutton").Visible);
  Hover(Centre(ObjectRect("maximizebutton")));
  EXPECT_FALSE(Hot("maximizebutton"));
  Press(Centre(ObjectRect("maximizebutton")));
  Release();
  EXPECT_EQ(Frame->SkinWindowState(), wsNormal);
  Frame->HideCaptionButtons = true;
  LoadSkin(StoredSkinBytes());
  for (const char* name : {"closebutton", "minimizebutton", "maximizebutton", "rollupbutton", "sysmenubutton"}) {
    EXPECT_FALSE(Object(name).Enabled) << name;
  }
}

TEST_F(SkinFormTest, TranslucencyUsesTheLayeredWindowCalls) {
  MakeForm({100, 100, 452, 325});
  const auto native = System->NativeWindowOf(Window());
  EXPECT_EQ(Headless->Opacity(native), 255);
  Frame->SetAlphaBlendValue(10);
  Frame->SetAlphaBlend(true);
  EXPECT_NE(ui::GetWindowLong(Window(), ui::GWL_EXSTYLE) & ui::WS_EX_LAYERED, 0);
  EXPECT_EQ(Headless->Opacity(native), 10);
  Frame->SetAlphaBlendValue(128);
  EXPECT_EQ(Headless->Opacity(native), 128);
  Frame->SetAlphaBlend(false);
  EXPECT_EQ(ui::GetWindowLong(Window(), ui::GWL_EXSTYLE) & ui::WS_EX_LAYERED, 0);
  // Shown again translucent: opacity 0 at first, the value once the
  // window's timer 1 has run; the animated fade-in ends at the value too.
  Frame->SetAlphaBlend(true);
  Form->Hide();
  Run();
  EXPECT_EQ(ui::GetWindowLong(Window(), ui::GWL_EXSTYLE) & ui::WS_EX_LAYERED, 0);
  Form->Show();
  EXPECT_EQ(Headless->Opacity(native), 0);
  Tick(20);
  EXPECT_EQ(Headless->Opacity(native), 128);
  Frame->AlphaBlendAnimation = true;
  Form->Hide();
  Run();
  Form->Show();
  Tick(20);
  EXPECT_EQ(Headless->Opacity(native), 128);
}

TEST_F(SkinFormTest, TheCaptionFollowsTheFormsText) {
  MakeForm({100, 100, 452, 325});
  auto& caption = static_cast<TskSkinCaptionObject&>(Object("caption1"));
  EXPECT_TRUE(caption.DefaultCaption);
  EXPECT_EQ(caption.CaptionText, "Ostvane");
  Form->SetCaption("扫描");
  Run();
  EXPECT_EQ(caption.CaptionText, "扫描");
}

}  // namespace
}  // namespace skin::testing
