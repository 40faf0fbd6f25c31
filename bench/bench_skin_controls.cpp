// A full repaint of each skinned control at its size in the main window,
// with the program's stored skin, beside a plain copy of as many pixels as
// the yardstick (target: a repaint within 4 times the copy).

#include <benchmark/benchmark.h>

#include <string>

#include "core/Component.h"
#include "gfx/Canvas.h"
#include "platform/headless/HeadlessPlatform.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/data/SkinData.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/windowing/WindowSystem.h"

namespace {

// The main window's controls at their sizes with the stored skin.
struct Desk {
  Desk() : System(std::make_unique<platform::headless::HeadlessPlatform>()) {
    App = core::CreateUnowned<ui::TApplication>();
    Form = App->CreateForm<ui::TForm>();
    Form->SetBounds(100, 100, 10, 10);
    Form->SetClientSize(700, 450);
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(*Form);
    stored->BuildFromSkinFile(OSTVANE_SOURCE_DIR "/resources/skin/skin.ini");
    Skin = core::Create<skin::TskSkinData>(*Form);
    Skin->LoadFromCompressedStoredSkin(*stored);
    Box = Add<skin::TskSkinGroupBox>(Form, {0, 0, 490, 420});
    Box->SetCaption("MacLog");
    Button = Add<skin::TskSkinButton>(Form, {500, 300, 575, 325});
    Button->SetCaption("Scan");
    Check = Add<skin::TskSkinCheckRadioBox>(Box, {10, 30, 160, 50});
    Check->SetCaption("Hide silent hosts");
    // As a layout reads it: kind and section before the bounds.
    Bar = core::Create<skin::TskSkinScrollBar>(*Form);
    Bar->SetKind(ui::sbVertical);
    Bar->SetSkinDataName("vscrollbar");
    Bar->SetParent(Box);
    Bar->SetBounds(472, 0, 17, 404);
    Bar->SetSkinData(Skin);
    Form->Show();
    App->ProcessMessages();
  }
  ~Desk() { App.reset(); }

  template <class T>
  T* Add(ui::TWinControl* parent, gfx::Rect bounds) {
    T* control = core::Create<T>(*Form);
    control->SetParent(parent);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    control->SetSkinData(Skin);
    return control;
  }

  ui::WindowSystem System;
  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  skin::TskSkinData* Skin = nullptr;
  skin::TskSkinGroupBox* Box = nullptr;
  skin::TskSkinButton* Button = nullptr;
  skin::TskSkinCheckRadioBox* Check = nullptr;
  skin::TskSkinScrollBar* Bar = nullptr;
};

Desk& TheDesk() {
  static Desk desk;
  return desk;
}

ui::TControl* ControlOf(int index) {
  Desk& desk = TheDesk();
  switch (index) {
    case 0: return desk.Button;
    case 1: return desk.Box;
    case 2: return desk.Check;
    default: return desk.Bar;
  }
}

const char* NameOf(int index) {
  static const char* const names[] = {"button", "groupbox", "checkbox", "vscrollbar"};
  return names[index];
}

// The control paints itself whole into a memory context of its size.
void Repaint(benchmark::State& state) {
  ui::TControl* control = ControlOf(int(state.range(0)));
  gfx::Bitmap target(control->Width(), control->Height());
  ui::DeviceContext context(target);
  for (auto _ : state) {
    control->Perform(ui::WM_PAINT, ui::WPARAM(&context), 0);
    benchmark::DoNotOptimize(target.Data());
  }
  state.SetLabel(std::string(NameOf(int(state.range(0)))) + " " + std::to_string(control->Width()) + "x" +
                 std::to_string(control->Height()));
}

// The yardstick: copying the control's pixels from one picture to another.
void PlainCopy(benchmark::State& state) {
  ui::TControl* control = ControlOf(int(state.range(0)));
  gfx::Bitmap source(control->Width(), control->Height());
  source.Fill(0x336699);
  gfx::Bitmap target(control->Width(), control->Height());
  gfx::Canvas canvas(target);
  for (auto _ : state) {
    canvas.Draw(0, 0, source);
    benchmark::DoNotOptimize(target.Data());
  }
  state.SetLabel(std::string(NameOf(int(state.range(0)))) + " " + std::to_string(control->Width()) + "x" +
                 std::to_string(control->Height()));
}

}  // namespace

BENCHMARK(Repaint)->DenseRange(0, 3);
BENCHMARK(PlainCopy)->DenseRange(0, 3);
BENCHMARK_MAIN();
