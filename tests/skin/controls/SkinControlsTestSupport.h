#pragma once

// A headless desktop with a form, the program's stored skin (built from
// resources/skin once per test program) and the helpers the skinned
// control tests share.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gfx/Bitmap.h"
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
