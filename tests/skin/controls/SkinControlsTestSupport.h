#pragma once

// A headless desktop with a form, the program's stored skin (built from
// resources/skin once per test program) and the helpers the skinned
// control tests share.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"
#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinData.h"
#include "tests/skin/GoldenImage.h"
#include "tests/ui/FormTestSupport.h"
#include "ui/windowing/DeviceContext.h"

namespace skin::testing {

class SkinControlTest : public ui::testing::FormTest {
 protected:
  SkinControlTest() {
    Form = MakeForm(400, 300);
    Form->SetColor(ui::clBtnFace);
  }

  // The stored skin, loaded into a skin data component of the form.
  TskSkinData* StoredSkin() {
    if (!FSkin) {
      FSkin = core::Create<TskSkinData>(*Form);
      FSkin->LoadFromCompressedStoredSkin(StoredSkinComponent());
    }
    return FSkin;
  }

  // A skin nobody has seen: picture 0 and picture 1 (a mask, may be
  // empty) and the [SKINCONTROLS] entries and sections given (ASCII).
  TskSkinData* MakeSkin(const std::string& controls, const std::string& sections, const gfx::Bitmap& picture,
                        const gfx::Bitmap& mask = gfx::Bitmap()) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("ostvane-ctrl-skin-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    gfx::SaveBmpFile((dir / "p.bmp").string(), picture);
    gfx::SaveBmpFile((dir / "m.bmp").string(), mask.IsEmpty() ? gfx::Bitmap(1, 1) : mask);
    std::ofstream((dir / "skin.ini").string())
        << "[VERSION]\r\nskinname=test\r\nver=2\r\n\r\n"
        << "[PICTURES]\r\npicture=p.bmp\r\nactivepicturescount=2\r\n0=p.bmp\r\n1=m.bmp\r\n\r\n"
        << "[FORMINFO]\r\n\r\n[SKINOBJECTS]\r\ncount=0\r\n\r\n"
        << "[SKINCONTROLS]\r\n" << controls << "\r\n" << sections;
    auto* stored = core::Create<TskCompressedStoredSkin>(*Form);
    stored->BuildFromSkinFile((dir / "skin.ini").string());
    std::filesystem::remove_all(dir);
    auto* skin = core::Create<TskSkinData>(*Form);
    skin->LoadFromCompressedStoredSkin(*stored);
    return skin;
  }

  // A skin change as the skinned frame relays it.
  void RelayChange(TskSkinData* source) {
    RelaySkinChange(*Form, WMSKIN_BEFORECHANGE, source);
    RelaySkinChange(*Form, WMSKIN_CHANGED, source);
  }

  template <class T>
  T* AddSkinned(ui::TWinControl* parent, gfx::Rect bounds, TskSkinData* skin) {
    T* control = Add<T>(parent, bounds);
    control->SetSkinData(skin);
    return control;
  }

  void ShowForm() {
    Form->Show();
    App->ProcessMessages();
  }
  void Wait(int milliseconds) {
    Headless->AdvanceClock(std::uint64_t(milliseconds));
    App->ProcessMessages();
  }
  void Press(const ui::TControl* control) {
    Headless->MoveMouse(Centre(control));
    App->ProcessMessages();
    Headless->PressMouse(platform::MouseButton::Left);
    App->ProcessMessages();
  }
  void Release() {
    Headless->ReleaseMouse(platform::MouseButton::Left);
    App->ProcessMessages();
  }
  void MoveTo(gfx::Point screen) {
    Headless->MoveMouse(screen);
    App->ProcessMessages();
  }
  gfx::Point At(const ui::TControl* control, int x, int y) const {
    return control->ClientToScreen(gfx::Point{x, y});
  }

  // What the control paints, through WM_PAINT into a picture of its size.
  static gfx::Bitmap Snapshot(ui::TControl* control) {
    gfx::Bitmap picture(control->Width(), control->Height());
    ui::DeviceContext context(picture);
    control->Perform(ui::WM_PAINT, ui::WPARAM(&context), 0);
    return picture;
  }

  ui::TForm* Form = nullptr;

 private:
  static TskCompressedStoredSkin& StoredSkinComponent() {
    static core::TComponentPtr<TskCompressedStoredSkin> stored = [] {
      auto made = core::CreateUnowned<TskCompressedStoredSkin>();
      made->BuildFromSkinFile(OSTVANE_SOURCE_DIR "/resources/skin/skin.ini");
      return made;
    }();
    return *stored;
  }

  TskSkinData* FSkin = nullptr;
};

}  // namespace skin::testing
