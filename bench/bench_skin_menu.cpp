// Opening the system menu with the stored skin: building its items, sizing
// and placing the window, and its first paint, beside a plain copy of the
// menu window's pixels (the least a first paint can cost).

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/headless/HeadlessPlatform.h"
#include "skin/data/SkinData.Container.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/WindowSystem.h"

namespace {

struct Desk {
  Desk() : System(std::make_unique<platform::headless::HeadlessPlatform>()) {
    App = core::CreateUnowned<ui::TApplication>();
    Form = App->CreateForm<ui::TForm>();
    Form->SetBounds(100, 100, 700, 480);
    Form->Show();
    std::ifstream in(OSTVANE_BINARY_DIR "/resources/StoredSkin.skn", std::ios::binary);
    std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(*Form);
    stored->SetCompressedData(skin::ParseCompressedSkinFile(file).Block);
    Skin = core::Create<skin::TskSkinData>(*Form);
    Skin->SetCompressedStoredSkin(stored);
    Menu = core::Create<skin::TskSkinMenu>(*Form);
    Menu->SetForm(Form);
    Root = core::Create<ui::TMenuItem>(*Form);
    for (const char* caption : {"最小化(&N)", "最大化(&X)", "卷起(&L)", "最小化到系统托盘区(&T)", "-", "关闭(&C)"}) {
      auto* item = core::Create<ui::TMenuItem>(*Form);
      item->SetCaption(caption);
      Root->Add(item);
    }
    App->ProcessMessages();
  }
  ~Desk() { App.reset(); }

  ui::WindowSystem System;
  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  skin::TskSkinData* Skin = nullptr;
  skin::TskSkinMenu* Menu = nullptr;
  ui::TMenuItem* Root = nullptr;
};

void OpenSystemMenu(benchmark::State& state) {
  Desk desk;
  for (auto _ : state) {
    desk.Menu->Popup(nullptr, desk.Skin, skin::TskPopupDirection::Down, desk.Root, gfx::Rect{300, 300, 300, 300}, 0);
    desk.App->ProcessMessages();
    state.PauseTiming();
    desk.Menu->CloseAll();
    desk.App->ProcessMessages();
    state.ResumeTiming();
  }
}
BENCHMARK(OpenSystemMenu)->Unit(benchmark::kMicrosecond);

void CopyMenuPixels(benchmark::State& state) {
  Desk desk;
  desk.Menu->Popup(nullptr, desk.Skin, skin::TskPopupDirection::Down, desk.Root, gfx::Rect{300, 300, 300, 300}, 0);
  desk.App->ProcessMessages();
  const skin::TskSkinPopupWindow& window = *desk.Menu->PopupList().front();
  gfx::Bitmap source(window.Width(), window.Height());
  gfx::Bitmap target(window.Width(), window.Height());
  for (auto _ : state) {
    std::copy(source.Data(), source.Data() + std::size_t(source.Width()) * std::size_t(source.Height()), target.Data());
    benchmark::DoNotOptimize(target.Data());
  }
  state.SetLabel(std::to_string(window.Width()) + "x" + std::to_string(window.Height()));
}
BENCHMARK(CopyMenuPixels)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
