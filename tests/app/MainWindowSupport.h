#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/Ostvane.h"
#include "app/Unit1.h"
#include "core/Component.h"
#include "platform/VirtualKeys.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/ScriptedArpResolver.h"
#include "tray/TrayIcon.h"
#include "ui/classlib/Forms.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/WindowSystem.h"

namespace app::testing {

// What a modal box showed while it was up (it is gone when the test
// looks).
struct SeenBox {
  std::string Caption;
  std::vector<std::string> Buttons;
};

// The whole program on a headless desktop: Form1 from the built-in layout,
// shown, with a scripted resolver, and the program file in a fresh
// directory of its own (so "mac.txt" lands there).
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    char pattern[] = "/tmp/ostvane-app-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    TempDir = made ? made : "/tmp";
  }
  ~MainWindowTest() override {
    App.reset();
    System.reset();
    std::error_code ignored;
    std::filesystem::remove_all(TempDir, ignored);
  }

  // Starts the program as if its file were programDirectory/ostvane.
  void Start(const std::string& programDirectory) {
    platform::headless::HeadlessOptions options;
    options.ProgramFilePath = programDirectory + "/ostvane";
    auto headless = std::make_unique<platform::headless::HeadlessPlatform>(options);
    Headless = headless.get();
    System = std::make_unique<ui::WindowSystem>(std::move(headless));
    App = core::CreateUnowned<ui::TApplication>();
    App->SetTitle("Ostvane");
    Form = CreateForm1(&Resolver);
    Form->Show();
    App->ProcessMessages();
  }
  void Start() { Start(TempDir); }

  // The scripted LAN: these hosts of 192.168.1.x answer with
  // 02-00-00-00-01-<host>.
  void AnswerHosts(std::initializer_list<int> hosts) {
    for (int host : hosts) {
      Resolver.SetAnswer("192.168.1." + std::to_string(host),
                         platform::MacAddress::FromBytes({0x02, 0x00, 0x00, 0x00, 0x01, std::uint8_t(host)}));
    }
  }

  gfx::Point Centre(const ui::TControl* control) const {
    return control->ClientToScreen(gfx::Point{control->Width() / 2, control->Height() / 2});
  }
  // A click as the user makes it; far enough from the last one in time
  // not to make a double click.
  void ClickOn(const ui::TControl* control) {
    Headless->AdvanceClock(1000);
    Headless->Click(Centre(control));
    App->ProcessMessages();
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < Form->MAC->Lines()->Count(); ++i) lines.push_back(Form->MAC->Lines()->Get(i));
    return lines;
  }

  // Records every modal form that becomes active.
  void WatchBoxes() {
    ui::Screen->OnActiveFormChange = [this](core::TComponent*) {
      ui::TCustomForm* form = ui::Screen->ActiveForm();
      if (!form || !form->FormState().Contains(ui::fsModal)) return;
      SeenBox box{form->Caption(), {}};
      for (int i = 0; i < form->ControlCount(); ++i) box.Buttons.push_back(form->Controls(i)->Caption());
      Boxes.push_back(box);
    };
  }

  // The tray icon as the notification area shows it, nullptr when absent.
  const platform::NotifyIconState* ShownIcon() {
    return Headless->NotifyIconArea().FindById(Form->TextTrayIcon->IconKey());
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  std::string TempDir;
  platform::ScriptedArpResolver Resolver;
  platform::headless::HeadlessPlatform* Headless = nullptr;
  std::unique_ptr<ui::WindowSystem> System;
  core::TComponentPtr<ui::TApplication> App;
  TForm1* Form = nullptr;
  std::vector<SeenBox> Boxes;
};

}  // namespace app::testing
