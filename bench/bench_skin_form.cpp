// The skinned frame with the stored skin at a typical window size
// (700 x 480): one size step (geometry, border strips of the mask, region)
// and one frame paint (four strips cut and drawn), each beside a plain
// copy of the frame's bytes as a yardstick.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/Component.h"
#include "gfx/Canvas.h"
#include "platform/headless/HeadlessPlatform.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace {

constexpr int FrameWidth = 700;
constexpr int FrameHeight = 480;

struct SkinnedWindow {
  SkinnedWindow() {
    auto headless = std::make_unique<platform::headless::HeadlessPlatform>();
    System = std::make_unique<ui::WindowSystem>(std::move(headless));
    App = core::CreateUnowned<ui::TApplication>();
    Form = App->CreateForm<ui::TForm>();
    Form->SetCaption("Ostvane");
    Frame = core::Create<skin::TskSkinForm>(*Form);
    auto* data = core::Create<skin::TskSkinData>(*Form);
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(*Form);
    stored->BuildFromSkinFile(OSTVANE_SOURCE_DIR "/resources/skin/skin.ini");
    Frame->SetSkinData(data);
    Form->SetBounds(50, 50, FrameWidth, FrameHeight);
    data->SetCompressedStoredSkin(stored);
    Form->Show();
    App->ProcessMessages();
    Form->SetBounds(50, 50, FrameWidth, FrameHeight);
    App->ProcessMessages();
  }
  ~SkinnedWindow() {
    App.reset();
    System.reset();
  }
  std::unique_ptr<ui::WindowSystem> System;
  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  skin::TskSkinForm* Frame = nullptr;
};

SkinnedWindow& Window() {
  static SkinnedWindow window;
  return window;
}

// The frame's pixels: the window less its client area (stored skin:
// client 5,29,147,120 of 152 x 125).
std::size_t FrameBytes() {
  const std::size_t client = std::size_t(FrameWidth - 10) * std::size_t(FrameHeight - 34);
  return (std::size_t(FrameWidth) * FrameHeight - client) * sizeof(gfx::Pixel);
}

void BM_FrameSizeStep(benchmark::State& state) {
  SkinnedWindow& window = Window();
  ui::HWND handle = window.Form->Handle();
  for (auto _ : state) {
    ui::SendMessage(handle, ui::WM_SIZE, ui::SIZE_RESTORED, ui::MakeLParam(FrameWidth - 10, FrameHeight - 34));
    benchmark::DoNotOptimize(window.Frame->FormRegion());
  }
  window.App->ProcessMessages();
}
BENCHMARK(BM_FrameSizeStep)->Unit(benchmark::kMicrosecond);

// The frame's own work: strips cut and drawn into a window-sized picture.
void BM_FramePaint(benchmark::State& state) {
  SkinnedWindow& window = Window();
  gfx::Bitmap target(FrameWidth, FrameHeight);
  gfx::Canvas canvas(target);
  for (auto _ : state) {
    window.Frame->PaintSkinFrame(canvas);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FramePaint)->Unit(benchmark::kMicrosecond);

// The same through WM_NCPAINT, with the window system's context and the
// presentation to the (headless) screen.
void BM_FramePaintMessage(benchmark::State& state) {
  SkinnedWindow& window = Window();
  ui::HWND handle = window.Form->Handle();
  for (auto _ : state) ui::SendMessage(handle, ui::WM_NCPAINT, 1, 0);
  window.App->ProcessMessages();
}
BENCHMARK(BM_FramePaintMessage)->Unit(benchmark::kMicrosecond);

void BM_CopyFrameBytes(benchmark::State& state) {
  std::vector<std::uint8_t> from(FrameBytes(), 7), to(FrameBytes());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyFrameBytes)->Unit(benchmark::kMicrosecond);

// The same bytes put where a frame goes in a window-sized picture: the
// four bands row by row (top 29 rows, bottom 5, left 5 and right 5 pixels
// wide between them), the least any frame drawing copies.
void BM_CopyFrameRows(benchmark::State& state) {
  std::vector<gfx::Pixel> from(std::size_t(FrameWidth) * FrameHeight, 7), to(from.size());
  const int top = 29, bottom = 5, left = 5, right = 5;
  auto rows = [&](int x, int y, int width, int height) {
    for (int row = y; row < y + height; ++row) {
      const std::size_t at = std::size_t(row) * FrameWidth + std::size_t(x);
      std::memcpy(&to[at], &from[at], std::size_t(width) * sizeof(gfx::Pixel));
    }
  };
  for (auto _ : state) {
    rows(0, 0, FrameWidth, top);
    rows(0, top, left, FrameHeight - top - bottom);
    rows(FrameWidth - right, top, right, FrameHeight - top - bottom);
    rows(0, FrameHeight - bottom, FrameWidth, bottom);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyFrameRows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
