// The skinned memo with its bar in step, the way the scan fills its log:
// 100 000 lines, timed per line over the first 1000 and the last 1000
// (both should cost the same; bench_memo has the plain memo's figure).
// And one key typed into a skinned numeric edit up to the repainted
// control.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/headless/HeadlessPlatform.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/data/SkinData.Container.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/WindowSystem.h"

namespace {

constexpr int TotalLines = 100000;
constexpr int Measured = 1000;

std::string ResultLine(int index) {
  return "192.168." + std::to_string(index / 254 % 256) + "." + std::to_string(index % 254 + 1) + ":00-1A-2B-3C-4D-" +
         std::to_string(10 + index % 90);
}

struct Desk {
  Desk() : System(std::make_unique<platform::headless::HeadlessPlatform>()) {
    App = core::CreateUnowned<ui::TApplication>();
    Form = App->CreateForm<ui::TForm>();
    Form->SetBounds(100, 100, 10, 10);
    Form->SetClientSize(500, 420);
    std::ifstream in(OSTVANE_BINARY_DIR "/resources/StoredSkin.skn", std::ios::binary);
    std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(*Form);
    stored->SetCompressedData(skin::ParseCompressedSkinFile(file).Block);
    Skin = core::Create<skin::TskSkinData>(*Form);
    Skin->SetCompressedStoredSkin(stored);
    Memo = core::Create<skin::TskSkinMemo>(*Form);
    Memo->SetParent(Form);
    Memo->SetBounds(1, 8, 454, 404);
    Bar = core::Create<skin::TskSkinScrollBar>(*Form);
    Bar->SetParent(Form);
    Bar->SetKind(ui::sbVertical);
    Bar->SetSkinDataName("vscrollbar");
    Bar->SetSkinData(Skin);
    Bar->SetBounds(455, 8, 17, 404);
    Memo->SetVScrollBar(Bar);
    Edit = core::Create<skin::TskSkinNumericEdit>(*Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 40, 21);
    Edit->SetMinValue(1);
    Edit->SetMaxValue(255);
    Edit->SetMaxLength(3);
    Edit->SetSkinData(Skin);
    Form->Show();
    App->ProcessMessages();
  }
  ~Desk() { App.reset(); }

  ui::WindowSystem System;
  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  skin::TskSkinData* Skin = nullptr;
  skin::TskSkinMemo* Memo = nullptr;
  skin::TskSkinScrollBar* Bar = nullptr;
  skin::TskSkinNumericEdit* Edit = nullptr;
};

void Append(benchmark::State& state, bool atEnd) {
  Desk desk;
  desk.Memo->SetWordWrap(state.range(0) != 0);
  core::TStrings* lines = desk.Memo->Lines();
  for (auto _ : state) {
    state.PauseTiming();
    lines->Clear();
    int first = atEnd ? TotalLines - Measured : 0;
    for (int i = 0; i < first; ++i) lines->Add(ResultLine(i));
    desk.App->ProcessMessages();
    state.ResumeTiming();
    for (int i = first; i < first + Measured; ++i) lines->Add(ResultLine(i));
  }
  if (lines->Count() != (atEnd ? TotalLines : Measured)) state.SkipWithError("lines were lost");
  if (desk.Bar->Position() != desk.Memo->FirstVisibleRow() || desk.Bar->Max() != desk.Memo->RowCount()) {
    state.SkipWithError("the bar is not in step");
  }
  state.counters["per_line"] =
      benchmark::Counter(double(Measured) * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SkinnedMemoAppendFirst1000(benchmark::State& state) { Append(state, false); }
void SkinnedMemoAppendLast1000(benchmark::State& state) { Append(state, true); }

// Argument: word wrap off (0) or on (1).
BENCHMARK(SkinnedMemoAppendFirst1000)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(SkinnedMemoAppendLast1000)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(3);

// One digit typed over the selected text, through the key filter and
// the clamp, to the repainted edit.
void NumericEditKeyToPaint(benchmark::State& state) {
  Desk desk;
  desk.Edit->SetFocus();
  desk.App->ProcessMessages();
  char digit = '1';
  for (auto _ : state) {
    desk.Edit->SelectAll();
    desk.Edit->Perform(ui::WM_CHAR, ui::WPARAM(digit), 0);
    desk.App->ProcessMessages();
    digit = digit == '9' ? '1' : char(digit + 1);
  }
  if (desk.Edit->Text().size() != 1) state.SkipWithError("the key did not arrive");
}
BENCHMARK(NumericEditKeyToPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
