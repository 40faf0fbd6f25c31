#pragma once

// A headless desktop with an application, one form with the skinned frame
// and the program's stored skin (built from resources/skin as the program
// packs it), or a changed copy of it.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/Component.h"
#include "gfx/Geometry.h"
#include "platform/headless/HeadlessPlatform.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace gfx {
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.X << ", " << p.Y << ")"; }
}  // namespace gfx

namespace skin::testing {

using Bytes = std::vector<std::uint8_t>;

inline const std::string StoredSkinDir = OSTVANE_SOURCE_DIR "/resources/skin";

// The compressed stored skin of a skin directory.
inline Bytes PackSkin(const std::string& iniPath) {
  auto stored = core::CreateUnowned<TskCompressedStoredSkin>();
  stored->BuildFromSkinFile(iniPath);
  return Bytes(stored->CompressedData().begin(), stored->CompressedData().end());
}

inline const Bytes& StoredSkinBytes() {
  static const Bytes bytes = PackSkin(StoredSkinDir + "/skin.ini");
  return bytes;
}

// A copy of the stored skin's files in a fresh directory, for tests that
// change a key or a picture.
class SkinCopy {
 public:
  SkinCopy() {
    FDir = std::filesystem::temp_directory_path() /
           ("ostvane-skinform-" + std::to_string(::getpid()) + "-" + std::to_string(Counter()++));
    std::filesystem::create_directories(FDir);
    for (const auto& entry : std::filesystem::directory_iterator(StoredSkinDir)) {
      std::filesystem::copy_file(entry.path(), FDir / entry.path().filename());
    }
  }
  ~SkinCopy() { std::filesystem::remove_all(FDir); }
  std::string File(const std::string& name) const { return (FDir / name).string(); }
  // Replaces one line of the description (GBK keeps ASCII as it is).
  void ReplaceLine(const std::string& from, const std::string& to) {
    std::ifstream in(File("skin.ini"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(File("skin.ini"), std::ios::binary) << text;
  }
  Bytes Pack() const { return PackSkin(File("skin.ini")); }

 private:
  static int& Counter() {
    static int counter = 0;
    return counter;
  }
  std::filesystem::path FDir;
};

class SkinFormTest : public ::testing::Test {
 protected:
  virtual platform::headless::HeadlessOptions Options() const { return {}; }

  void SetUp() override {
    auto headless = std::make_unique<platform::headless::HeadlessPlatform>(Options());
    Headless = headless.get();
    System = std::make_unique<ui::WindowSystem>(std::move(headless));
    App = core::CreateUnowned<ui::TApplication>();
    App->SetTitle("Ostvane");
  }

  void TearDown() override {
    App.reset();
    System.reset();
  }

  // A shown form with the frame at the given outer bounds, skinned with
  // skin (none: the plain frame).
  void MakeForm(gfx::Rect bounds, const Bytes* skin = &StoredSkinBytes(), const std::string& caption = "Ostvane") {
    Form = App->CreateForm<ui::TForm>();
    Form->SetCaption(caption);
    Frame = core::Create<TskSkinForm>(*Form);
    SkinData = core::Create<TskSkinData>(*Form);
    Stored = core::Create<TskCompressedStoredSkin>(*Form);
    Frame->SetSkinData(SkinData);
    Form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    if (skin) LoadSkin(*skin);
    Form->Show();
    Run();
    // The skin may have nudged the size: the bounds asked for win.
    Form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    Run();
  }

  void LoadSkin(const Bytes& skin) {
    Stored->SetCompressedData(skin);
    SkinData->SetCompressedStoredSkin(nullptr);
    SkinData->SetCompressedStoredSkin(Stored);
  }

  void Run() { App->ProcessMessages(); }
  // Lets the frame's mouse timer see where the pointer is.
  void Tick(int milliseconds = 60) {
    Headless->AdvanceClock(std::uint64_t(milliseconds));
    Run();
  }

  ui::HWND Window() const { return Form->Handle(); }
  gfx::Rect Bounds() const {
    gfx::Rect r;
    ui::GetWindowRect(Form->Handle(), r);
    return r;
  }
  // A window point on the screen.
  gfx::Point At(int x, int y) const { return gfx::Point{Bounds().Left + x, Bounds().Top + y}; }
  gfx::Point Centre(const gfx::Rect& r) const { return At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
  void Hover(gfx::Point screen) {
    Headless->MoveMouse(screen);
    Run();
    Tick();
  }
  void Press(gfx::Point screen) {
    Headless->MoveMouse(screen);
    Run();
    Headless->PressMouse(platform::MouseButton::Left);
    Run();
  }
  void Release() {
    Headless->ReleaseMouse(platform::MouseButton::Left);
    Run();
  }

  TskActiveSkinObject& Object(const std::string& name) const {
    for (const auto& object : Frame->ObjectList()) {
      if (object->IDName == name) return *object;
    }
    ADD_FAILURE() << "no object " << name;
    return *Frame->ObjectList().front();
  }
  gfx::Rect ObjectRect(const std::string& name) const { return Object(name).ObjectRect; }
  bool Hot(const std::string& name) const { return Object(name).Active; }

  ui::LRESULT HitTest(int x, int y) {
    return ui::SendMessage(Window(), ui::WM_NCHITTEST, 0, ui::PointToLParam(At(x, y)));
  }

  platform::headless::HeadlessPlatform* Headless = nullptr;
  std::unique_ptr<ui::WindowSystem> System;
  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  TskSkinForm* Frame = nullptr;
  TskSkinData* SkinData = nullptr;
  TskCompressedStoredSkin* Stored = nullptr;
};

}  // namespace skin::testing
